#pragma once
#include "output/PrintingSystem.h"

namespace corvane {

// The printing system of the machine: CUPS queues through QPrinterInfo and QPrinter.
class QtPrintingSystem : public PrintingSystem {
public:
    QStringList printerNames() const override;
    int defaultPrinterIndex() const override;
    std::unique_ptr<PrinterDevice> openPrinter(int index) override;
    std::unique_ptr<PrinterDevice> openPdfFile(const QString& fileName) override;
    bool runSetupDialog(QWidget* parent, PrinterSetupRequest& request) override;
};

// Prints into one PDF file as if it were the only, default printer (headless rendering).
class PdfFilePrintingSystem : public QtPrintingSystem {
public:
    explicit PdfFilePrintingSystem(QString fileName) : m_fileName(std::move(fileName)) {}
    QStringList printerNames() const override;
    int defaultPrinterIndex() const override { return 0; }
    std::unique_ptr<PrinterDevice> openPrinter(int index) override;

private:
    QString m_fileName;
};

}
