#pragma once
#include "app/Desktop.h"

#include <memory>

namespace corvane {

class GlobalHelpKey;

// The real desktop: an XDG desktop entry, QDesktopServices, and an X11 key grab.
class SystemDesktop : public Desktop {
public:
    SystemDesktop();
    ~SystemDesktop() override;

    void writeShortcut() override;
    void open(const QUrl& url) override;
    bool grabHelpKey(std::function<void()> pressed) override;
    void releaseHelpKey() override;

private:
    std::unique_ptr<GlobalHelpKey> m_helpKey;
};

}
