#pragma once
#include "output/PrinterDevice.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace corvane {

// A printer object over QPrinter: a CUPS queue, or a PDF file. Pages are drawn in full-page
// mode with zero margins, so the device origin is the sheet's physical corner and a position
// lands at its distance from the sheet's edge whatever the printer's unprintable margins.
class QtPrinterDevice : public PrinterDevice {
public:
    explicit QtPrinterDevice(const QPrinterInfo& info);
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
    QPrinter m_printer;
    QPrinterInfo m_info;
    bool m_pdf = false;
    QPainter m_painter;
};

}
