#include "outputwindows/PrinterSetupDialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace corvane {

bool runPrinterSetupDialog(QWidget* parent, PrinterSetupRequest& request)
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
