#include "output/QtPrintingSystem.h"

#include "core/Error.h"
#include "output/QtPrinterDevice.h"
#include "output/ReportWindows.h"

#include <QPrinterInfo>

namespace corvane {

QStringList QtPrintingSystem::printerNames() const
{
    return QPrinterInfo::availablePrinterNames();
}

int QtPrintingSystem::defaultPrinterIndex() const
{
    const QStringList names = printerNames();
    if (names.isEmpty())
        return -1;
    const int index = names.indexOf(QPrinterInfo::defaultPrinterName());
    return index < 0 ? 0 : index;
}

std::unique_ptr<PrinterDevice> QtPrintingSystem::openPrinter(int index)
{
    const QStringList names = printerNames();
    if (index < 0 || index >= names.size())
        throw Error(QStringLiteral("Printer selection out of range"));
    const QPrinterInfo info = QPrinterInfo::printerInfo(names.at(index));
    if (info.isNull())
        throw Error(QStringLiteral("The printer %1 is not available").arg(names.at(index)));
    return std::make_unique<QtPrinterDevice>(info);
}

std::unique_ptr<PrinterDevice> QtPrintingSystem::openPdfFile(const QString& fileName)
{
    return QtPrinterDevice::pdfFile(fileName);
}

bool QtPrintingSystem::runSetupDialog(QWidget* parent, PrinterSetupRequest& request)
{
    return ReportWindows::current().confirmSettings(parent, request);
}

}
