#pragma once
#include "output/PrinterDevice.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <memory>

namespace corvane {

class OutputFile;

// A printer object over QPrinter: a CUPS queue, or a PDF file. Pages are drawn in full-page
// mode with zero margins, so the device origin is the sheet's physical corner and a position
// lands at its distance from the sheet's edge whatever the printer's unprintable margins.
// A queue's sheets are spooled into a PDF file of the printer's page layout and handed to
// CUPS only when the job ends, so that an aborted job prints nothing: QPrinter cannot abort
// a CUPS job and would send it all the same.
class QtPrinterDevice : public PrinterDevice {
public:
    explicit QtPrinterDevice(const QPrinterInfo& info);
    ~QtPrinterDevice() override;
    static std::unique_ptr<QtPrinterDevice> pdfFile(const QString& fileName);

    QString name() const override;
    PrinterCapabilities capabilities() const override;
    void applySettings(const PrinterJobSettings& settings) override;
    QPainter* beginJob(const QString& documentName) override;
    QPainter* newSheet() override;
    void endJob() override;
    void abortJob() override;

    QPrinter& printer() { return m_printer; }

private:
    QtPrinterDevice();
    void submitSpool();

    QPrinter m_printer;
    QPrinterInfo m_info;
    bool m_pdf = false;
    QString m_pdfFileName;              // the PDF's target; the job fills a temporary file beside it
    std::unique_ptr<OutputFile> m_output;
    std::unique_ptr<QTemporaryFile> m_spoolFile;
    std::unique_ptr<QPrinter> m_spool; // what the sheets are drawn on for a queue
    QPainter m_painter;
};

}
