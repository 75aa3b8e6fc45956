#include "output/QtPrintingSystem.h"

#include "app/Error.h"
#include "output/QtPrinterDevice.h"

#include <QPrintDialog>
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
    QPrinter printer(QPrinter::HighResolution);
    if (request.printerIndex >= 0 && request.printerIndex < request.printers.size())
        printer.setPrinterName(request.printers.at(request.printerIndex));
    printer.setCopyCount(request.copies);
    printer.setPageOrientation(request.orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                                 : QPageLayout::Portrait);
    printer.setPrintRange(request.pageRange ? QPrinter::PageRange : QPrinter::AllPages);
    if (request.pageRange)
        printer.setFromTo(request.fromPage, request.toPage);

    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(request.minPage, request.maxPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;

    request.outputFileName = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    if (request.outputFileName.isEmpty()) {
        const int chosen = request.printers.indexOf(printer.printerName());
        if (chosen >= 0)
            request.printerIndex = chosen;
    }
    request.copies = printer.copyCount();
    request.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? PageOrientation::Landscape
                                                                                       : PageOrientation::Portrait;
    request.pageRange = printer.printRange() == QPrinter::PageRange;
    request.fromPage = printer.fromPage();
    request.toPage = printer.toPage();
    return true;
}

}
