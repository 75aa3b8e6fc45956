#pragma once
#include "output/QtPrintingSystem.h"

namespace corvane {

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
