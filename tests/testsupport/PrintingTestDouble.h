#pragma once
#include "output/PrintingSystem.h"

#include <QFont>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPicture>
#include <QPointF>
#include <QRectF>
#include <functional>
#include <memory>

namespace corvane::test {

// What one sheet received: texts with their baseline points, and filled rectangles (device pixels).
struct DrawnText {
    QString text;
    QPointF baseline;
    QFont font;
};
struct RecordedSheet {
    QList<DrawnText> texts;
    QList<QRectF> fills;
    QString allText() const;
    const DrawnText* find(const QString& text) const;
};

// A paint device of a given size and resolution that logs what is drawn on it.
class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(QSize size, int dpiX, int dpiY);
    ~RecordingDevice() override;
    QPaintEngine* paintEngine() const override;
    RecordedSheet sheet;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_size;
    int m_dpiX;
    int m_dpiY;
    std::unique_ptr<QPaintEngine> m_engine;
};

// What a recorded preview page draws, replayed onto a 96-dpi recording device.
RecordedSheet replay(const QPicture& picture);

struct RecordedJob {
    QString printer;
    QString documentName;
    PrinterJobSettings settings;
    QList<RecordedSheet> sheets;
    bool ended = false;
    bool aborted = false;
};

// The printing system of the tests: printers with given capabilities, jobs recorded sheet by
// sheet, the setup dialog answered by a function.
class PrintingTestDouble : public PrintingSystem {
public:
    struct Printer {
        QString name;
        PrinterCapabilities capabilities;
    };

    // A printer that accepts a user-defined size (A4 loaded), with unprintable margins.
    static Printer customSizePrinter(const QString& name, int dpi = 300, double marginLeft = 0,
                                     double marginTop = 0);
    // A printer with A4 paper that takes standard sizes only.
    static Printer a4OnlyPrinter(const QString& name, int dpi = 300);

    PrintingTestDouble();
    ~PrintingTestDouble() override;

    QList<Printer> printers;
    int defaultIndex = 0;
    QList<RecordedJob> jobs;
    int printersOpened = 0;
    QList<PrinterSetupRequest> setupRequests;
    std::function<bool(PrinterSetupRequest&)> answerSetup;
    QString failJobWith;   // when set, opening a job throws corvane::Error with this text

    QStringList printerNames() const override;
    int defaultPrinterIndex() const override;
    std::unique_ptr<PrinterDevice> openPrinter(int index) override;
    std::unique_ptr<PrinterDevice> openPdfFile(const QString& fileName) override;
    bool runSetupDialog(QWidget* parent, PrinterSetupRequest& request) override;
};

// The fixture an output test case starts from: the printing double installed while it lives,
// with the program's font substitutions in place.
class InstalledPrintingDouble : public PrintingTestDouble {
public:
    InstalledPrintingDouble();
    ~InstalledPrintingDouble() override;
};

}
