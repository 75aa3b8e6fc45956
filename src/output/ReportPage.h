#pragma once
#include "output/DetailBand.h"
#include "output/PageSetup.h"
#include "output/PreviewOptions.h"
#include "output/PrinterSettings.h"
#include "output/ReportDataSet.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QWidget;

namespace corvane {

class PrintingSystem;
class TPageRun;
class TQRStandardPreview;

// A report page (QuickRepN): a page of the template's size with one detail band, laid out
// once or once per row of its data set, towards the preview or a printer.
class ReportPage : public QObject {
    Q_OBJECT
public:
    explicit ReportPage(const QString& name = QStringLiteral("QuickRep1"), QObject* parent = nullptr);
    ~ReportPage() override;

    PageSetup Page;
    corvane::PrinterSettings PrinterSettings;
    ReportDataSet* DataSet = nullptr;   // not owned
    bool PrintIfEmpty = true;
    QString ReportTitle;
    bool ShowProgress = true;
    PreviewOptions previewOptions;
    DetailBand band;

    // Lays the page out towards the preview and shows it; returns when the preview window
    // has been closed, processing events meanwhile.
    void Preview();
    // Lays the page out afresh towards the printer of PrinterSettings, with the progress window.
    void Print();
    // Print without the error box: false when nothing was printed because the page is busy
    // or no printer is installed; printing-system errors throw corvane::Error.
    bool printJob();
    // The printer setup dialog; its choices hold for every later Print of this page.
    void PrinterSetup(QWidget* parent = nullptr);

    // No layout run in progress.
    bool available() const { return !m_busy; }
    bool cancelled() const { return m_cancelled; }
    // The layout run: returns false when a run of this page is already in progress.
    // An exception from the before-print handler or the data set ends the run and propagates.
    bool layout(TPageRun& run);

    // The run of the open preview window, if any.
    TPageRun* previewRun() const { return m_previewRun.get(); }
    // The run being laid out right now, if any.
    TPageRun* activeRun() const { return m_activeRun; }
    // The preview window is closing: cancels a run in progress, else releases the preview run.
    void endPreview();

    // Engine state, in tenths of a millimetre (y is -1 before the first page).
    double currentX() const { return m_currentX; }
    double currentY() const { return m_currentY; }

    // The printing system used (the installed one unless set).
    PrintingSystem& printingSystem() const;
    void setPrintingSystem(PrintingSystem* system) { m_printingSystem = system; }

Q_SIGNALS:
    // A preview window was opened on a run of this page (sent by the window service that shows it).
    void previewOpened(corvane::TQRStandardPreview* window);
    // A print run started (after its progress window, if any, was created, before the layout;
    // sent by the window service that made it).
    void printStarted(corvane::TPageRun* run, QWidget* progressWindow);

private:
    void layoutRows(TPageRun& run);
    void layoutBand(TPageRun& run);
    void beginNewPage(TPageRun& run);
    void drawElement(TPageRun& run, const BandElement& element, double bandX, double bandY);
    void pump();

    bool m_busy = false;
    bool m_cancelled = false;
    double m_currentX = 0;
    double m_currentY = -1;
    TPageRun* m_activeRun = nullptr;
    std::unique_ptr<TPageRun> m_previewRun;
    QPointer<QObject> m_previewWindow;
    bool m_previewEnded = false;
    PrintingSystem* m_printingSystem = nullptr;
};

}
