#pragma once
#include <functional>

namespace corvane {
class ReportPage;
class TQRStandardPreview;
}

namespace corvane::test {

// Runs `check` on the preview window once the page's layout run has ended, then closes the
// window (unless `check` already did).
void whenLaidOut(ReportPage& page, TQRStandardPreview* window, std::function<void()> check);

}
