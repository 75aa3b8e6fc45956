#include "output/ReportPage.h"

#include "core/Dialogs.h"
#include "core/Error.h"
#include "output/PrintingSystem.h"
#include "output/ReportWindows.h"
#include "output/TPageRun.h"

#include <exception>

namespace corvane {

namespace {

QString messageOf(const std::exception& e)
{
    if (const auto* error = dynamic_cast<const Error*>(&e))
        return error->message();
    return QString::fromLocal8Bit(e.what());
}

}

bool ReportPage::printJob()
{
    if (m_busy)
        return false;
    TPageRun run(printingSystem());
    if (!run.hasPrinter() && PrinterSettings.OutputFileName.isEmpty())
        return false;
    run.setDestination(TPageRun::Destination::Printer);
    const std::unique_ptr<QObject> progress = ReportWindows::current().showProgress(*this, run);
    return layout(run);
}

void ReportPage::Print()
{
    try {
        printJob();
    } catch (const std::exception& e) {
        Dialogs::showError(nullptr, messageOf(e));
    }
}

void ReportPage::PrinterSetup(QWidget* parent)
{
    PrintingSystem& system = printingSystem();
    const int defaultIndex = system.defaultPrinterIndex();
    if (defaultIndex < 0) {
        Dialogs::showError(parent, QStringLiteral("There is no default printer currently selected"));
        return;
    }
    PrinterSetupRequest request;
    request.printers = system.printerNames();
    request.printerIndex = PrinterSettings.PrinterIndex < 0 ? defaultIndex : PrinterSettings.PrinterIndex;
    if (request.printerIndex >= request.printers.size()) {
        Dialogs::showError(parent, QStringLiteral("Printer selection out of range"));
        return;
    }
    request.minPage = 0;
    request.maxPage = 9999;
    TPageRun* run = m_previewRun.get();
    if (run && run->status() == TPageRun::Status::Finished && run != m_activeRun) {
        request.minPage = 1;
        request.maxPage = run->pageCount();
        request.fromPage = 1;
        request.toPage = run->pageCount();
    }
    if (PrinterSettings.FirstPage > 0 || PrinterSettings.LastPage > 0) {
        request.pageRange = true;
        request.fromPage = PrinterSettings.FirstPage;
        request.toPage = PrinterSettings.LastPage;
    }
    request.copies = PrinterSettings.Copies;
    request.orientation = Page.Orientation;
    request.outputFileName = PrinterSettings.OutputFileName;

    if (!system.runSetupDialog(parent, request))
        return;

    PrinterSettings.Copies = request.copies;
    PrinterSettings.PrinterIndex = request.printerIndex;
    PrinterSettings.OutputFileName = request.outputFileName;
    Page.Orientation = request.orientation;
    PrinterSettings.FirstPage = request.pageRange ? request.fromPage : 0;
    PrinterSettings.LastPage = request.pageRange ? request.toPage : 0;
}

}
