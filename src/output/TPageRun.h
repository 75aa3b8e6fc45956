#pragma once
#include "output/PrinterJobSettings.h"
#include "output/DeviceScale.h"
#include "output/PageSetup.h"
#include "output/PrinterCapabilities.h"
#include "output/PageCanvas.h"
#include "output/PrinterDevice.h"
#include "output/TPageStore.h"

#include <QObject>
#include <QPicture>
#include <QString>
#include <memory>

namespace corvane {

class PrintingSystem;
class ReportPage;

// One layout of a report page towards one destination: the preview (pages recorded into a
// page store) or a printer (pages drawn sheet by sheet into one print job). Tells its client
// about finished pages and progress through queued signals, delivered only while the run
// (or anything else) processes events.
class TPageRun : public QObject {
    Q_OBJECT
public:
    enum class Destination { Preview, Printer };
    enum class Status { Idle, Running, Finished };

    // The output settings: first from the printer, then from the report page.
    // What the printer is asked for, plus what only the run needs.
    struct OutputSettings : PrinterJobSettings {
        int printerIndex = -1;
        QString outputFileName;           // print to a PDF file instead of a printer
        int firstPage = 0;
        int lastPage = 0;
        PrinterCapabilities printer;      // as read from the printer
    };

    // Binds the run to the printing system's default printer (none when none is installed).
    explicit TPageRun(PrintingSystem& system, QObject* parent = nullptr);
    ~TPageRun() override;

    bool hasPrinter() const { return m_printer != nullptr; }
    QString printerName() const;
    // Re-binds to printer `index` of the printing system (-1: the default printer).
    void selectPrinter(int index);
    // Printer selection, paper selection and the report page's printer settings.
    void applySettings(const ReportPage& page);

    Destination destination() const { return m_destination; }
    void setDestination(Destination destination) { m_destination = destination; }
    const OutputSettings& settings() const { return m_settings; }
    const DeviceScale& scale() const { return m_scale; }

    // The page in tenths of a millimetre: the paper, exchanged for landscape.
    double pageWidth() const;
    double pageHeight() const;
    // The length that decides page breaks (a custom paper keeps its length in landscape).
    double breakLength() const;

    Status status() const { return m_status; }
    bool cancelled() const { return m_cancelled; }
    void cancel() { m_cancelled = true; }
    int pageCount() const { return m_pageCount; }        // pages begun
    int pagesFinished() const { return m_pagesFinished; }
    int progress() const { return m_progress; }
    const QString& title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    bool previewOpen() const { return m_previewOpen; }
    void setPreviewOpen(bool open) { m_previewOpen = open; }
    bool jobOpened() const { return m_jobOpen; }
    TPageStore* store() const { return m_store.get(); }

    // A print box whose text did not fit: the page it is on, what it prints and the whole value.
    struct CutText {
        int page = 0;
        QString field;
        QString value;
    };
    // The print boxes of this run that printed only part of their text, in layout order.
    const QList<CutText>& cutTexts() const { return m_cutTexts; }
    void recordCutText(const QString& field, const QString& value) { m_cutTexts.append({m_pageCount, field, value}); }

    // Recorded page n of a preview run, or nullptr (not finished, or the run not begun).
    std::unique_ptr<QPicture> GetPage(int n) const;

    // Steps of the layout run (ReportPage drives them).
    void begin();
    PageCanvas* newPage();
    // What the open page is drawn on, or nullptr.
    PageCanvas* canvas() const { return m_canvas; }
    bool pageOpen() const { return m_canvas != nullptr; }
    void reportProgress(int percent);
    // Ends the run: the last page is stored or the job ended; when the report page was
    // cancelled, the page in progress is still stored but a print job is aborted.
    void finish(bool reportPageCancelled);

Q_SIGNALS:
    void pageAvailable(int pagesFinished);
    void progressChanged(int percent);

private:
    void bindPrinter(std::unique_ptr<PrinterDevice> printer, int index);
    void closePage();
    void notifyPageAvailable(int pages);
    void startRecording(PageRecording& recording);

    PrintingSystem& m_system;
    std::unique_ptr<PrinterDevice> m_printer;
    int m_boundPrinter = -1;                  // the printing system's printer m_printer is, while unused
    OutputSettings m_settings;
    DeviceScale m_scale;
    Destination m_destination = Destination::Preview;
    Status m_status = Status::Idle;
    bool m_cancelled = false;
    int m_pageCount = 0;
    int m_pagesFinished = 0;
    int m_progress = 0;
    bool m_progressReported = false;
    QString m_title;
    bool m_previewOpen = false;
    std::unique_ptr<TPageStore> m_store;
    QList<CutText> m_cutTexts;

    PageCanvas* m_canvas = nullptr;                // the open page's
    std::unique_ptr<PageRecording> m_recording;    // preview page (types in the store)
    QList<QFont> m_skippedFonts;                   // types of the printer pages outside the range
    std::unique_ptr<PageRecording> m_skipped;      // a printer page outside the range
    std::unique_ptr<PainterCanvas> m_sheet;        // the printer's sheet
    bool m_jobOpen = false;
};

}
