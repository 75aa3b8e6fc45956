#include "output/ReportWindows.h"

#include "core/Dialogs.h"
#include "output/ReportPage.h"

namespace corvane {

namespace {

class NoReportWindows : public ReportWindows {
public:
    QObject* showPages(ReportPage&, TPageRun&) override { return nullptr; }
    void showError(QObject*, const QString& text) override { Dialogs::showError(nullptr, text); }
    std::unique_ptr<QObject> showProgress(ReportPage& page, TPageRun& run) override
    {
        Q_EMIT page.printStarted(&run, nullptr);
        return nullptr;
    }
    bool confirmSettings(QWidget*, PrinterSetupRequest&) override { return false; }
};

}

ReportWindows& ReportWindows::builtIn()
{
    static NoReportWindows none;
    return none;
}

}
