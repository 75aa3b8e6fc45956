#include "testsupport/PreviewLayout.h"

#include "output/ReportPage.h"
#include "outputwindows/TQRStandardPreview.h"

#include <QPointer>
#include <QTimer>

namespace corvane::test {

void whenLaidOut(ReportPage& page, TQRStandardPreview* window, std::function<void()> check)
{
    QTimer::singleShot(0, window, [&page, window, check] {
        if (!page.available()) {
            whenLaidOut(page, window, check);
            return;
        }
        QPointer<TQRStandardPreview> alive(window);
        check();
        if (alive)
            alive->close();
    });
}

}
