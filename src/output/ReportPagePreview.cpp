#include "output/ReportPage.h"

#include "core/Dialogs.h"
#include "core/Error.h"
#include "output/PrintingSystem.h"
#include "output/ReportWindows.h"
#include "output/TPageRun.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace corvane {

void ReportPage::Preview()
{
    QCoreApplication::processEvents();
    // One preview run at a time: a second request while the window is open is ignored.
    if (m_busy || m_previewWindow)
        return;
    m_previewEnded = false;
    try {
        m_previewRun = std::make_unique<TPageRun>(printingSystem());
        m_previewRun->setDestination(TPageRun::Destination::Preview);
        m_previewRun->setTitle(ReportTitle);
        m_previewRun->applySettings(*this);
    } catch (const Error& e) {
        m_previewRun.reset();
        Dialogs::showError(nullptr, e.message());
        return;
    }

    ReportWindows& windows = ReportWindows::current();
    m_previewWindow = windows.showPages(*this, *m_previewRun);

    try {
        layout(*m_previewRun);
    } catch (const Error& e) {
        windows.showError(m_previewWindow, e.message());
    } catch (const std::exception& e) {
        windows.showError(m_previewWindow, QString::fromLocal8Bit(e.what()));
    }
    // The window may have gone while the run pumped events; only the guarded pointer knows.
    if (m_cancelled || m_previewEnded || !m_previewWindow) {
        m_previewRun.reset();
        return;
    }

    QEventLoop wait;
    connect(m_previewWindow, &QObject::destroyed, &wait, &QEventLoop::quit);
    connect(qApp, &QCoreApplication::aboutToQuit, &wait, &QEventLoop::quit);
    wait.exec();
}

}
