#pragma once
#include "core/InstallableService.h"
#include "output/PrinterDevice.h"
#include "output/PrinterSetupRequest.h"

#include <QStringList>
#include <memory>

class QWidget;

namespace corvane {

// The printing system: installed printers, the default printer, printer objects and the
// standard print dialog. The real one is CUPS through QPrinter; tests install a double.
class PrintingSystem : public InstallableService<PrintingSystem> {
public:
    virtual ~PrintingSystem() = default;

    virtual QStringList printerNames() const = 0;
    virtual int defaultPrinterIndex() const = 0; // -1 when no printer is installed
    // A new printer object on printer `index` of printerNames(); throws corvane::Error.
    virtual std::unique_ptr<PrinterDevice> openPrinter(int index) = 0;
    // A printer object writing a PDF file (print to file).
    virtual std::unique_ptr<PrinterDevice> openPdfFile(const QString& fileName) = 0;
    // The modal setup dialog; false when the user cancelled.
    virtual bool runSetupDialog(QWidget* parent, PrinterSetupRequest& request) = 0;

    bool hasPrinter() const { return defaultPrinterIndex() >= 0; }

    // CUPS through QPrinter.
    static PrintingSystem& builtIn();
};

}
