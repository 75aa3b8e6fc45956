#include "outputwindows/WidgetReportWindows.h"

#include "core/Dialogs.h"
#include "output/ReportPage.h"
#include "outputwindows/PrinterSetupDialog.h"
#include "outputwindows/TQRProgressForm.h"
#include "outputwindows/TQRStandardPreview.h"
#include "outputwindows/WidgetDialogs.h"

namespace corvane {

QObject* WidgetReportWindows::showPages(ReportPage& page, TPageRun& run)
{
    auto* window = new TQRStandardPreview(&page, &run);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (page.previewOptions.PrevFormStyleStayOnTop)
        window->setWindowFlag(Qt::WindowStaysOnTopHint);
    if (page.previewOptions.PreviewInitialStateMaximized)
        window->showMaximized();
    else
        window->show();
    window->writeStatus();
    Q_EMIT page.previewOpened(window);
    return window;
}

void WidgetReportWindows::showError(QObject* window, const QString& text)
{
    Dialogs::showError(qobject_cast<QWidget*>(window), text);
}

std::unique_ptr<QObject> WidgetReportWindows::showProgress(ReportPage& page, TPageRun& run)
{
    auto progress = std::make_unique<TQRProgressForm>(&run);
    if (page.ShowProgress)
        progress->show();
    Q_EMIT page.printStarted(&run, progress.get());
    return progress;
}

bool WidgetReportWindows::confirmSettings(QWidget* parent, PrinterSetupRequest& request)
{
    return runPrinterSetupDialog(parent, request);
}

void useWindowServices()
{
    static WidgetDialogs dialogs;
    static WidgetReportWindows windows;
    Dialogs::setReal(&dialogs);
    ReportWindows::setReal(&windows);
}

}
