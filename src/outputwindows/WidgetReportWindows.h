#pragma once
#include "output/ReportWindows.h"

namespace corvane {

// The real windows of a report page: the preview window, the progress window and the
// standard print dialog.
class WidgetReportWindows : public ReportWindows {
public:
    QObject* showPages(ReportPage& page, TPageRun& run) override;
    void showError(QObject* window, const QString& text) override;
    std::unique_ptr<QObject> showProgress(ReportPage& page, TPageRun& run) override;
    bool confirmSettings(QWidget* parent, PrinterSetupRequest& request) override;
};

// Makes the message boxes, file dialogs and report windows the real ones; the program does
// this once at start-up.
void useWindowServices();

}
