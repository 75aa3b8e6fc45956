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

}
