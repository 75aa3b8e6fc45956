#pragma once
#include "core/InstallableService.h"
#include "output/PrinterSetupRequest.h"

#include <QString>
#include <memory>

class QObject;
class QWidget;

namespace corvane {

class ReportPage;
class TPageRun;

// The windows a report page opens, provided by the window layer above the engine, which sets
// the real ones at start-up. The engine asks; it never builds a window itself.
class ReportWindows : public InstallableService<ReportWindows> {
public:
    virtual ~ReportWindows() = default;

    // Shows the pages of `run`, the preview run of `page`, in a window that deletes itself when
    // closed, and announces it with page.previewOpened. Returns the window, or nullptr when
    // there is none.
    virtual QObject* showPages(ReportPage& page, TPageRun& run) = 0;
    // The standard error box over a window showPages returned.
    virtual void showError(QObject* window, const QString& text) = 0;
    // The progress window of print run `run` of `page` (shown when page.ShowProgress), announced
    // with page.printStarted; it lasts as long as the returned object.
    virtual std::unique_ptr<QObject> showProgress(ReportPage& page, TPageRun& run) = 0;
    // The printer setup dialog over `parent`, filled from and into `request`; false when cancelled.
    virtual bool confirmSettings(QWidget* parent, PrinterSetupRequest& request) = 0;

    // Without windows: no preview or progress window, errors in the standard error box, and
    // the setup dialog counts as cancelled.
    static ReportWindows& builtIn();
};

}
