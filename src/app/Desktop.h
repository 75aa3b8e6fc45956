#pragma once
#include "core/InstallableService.h"

#include <QString>
#include <QUrl>
#include <functional>

namespace corvane {

// What the program asks of the desktop it runs on; tests install their own.
class Desktop : public InstallableService<Desktop> {
public:
    virtual ~Desktop() = default;

    // The desktop entry that starts this program, rewritten at every start. Failures say nothing.
    virtual void writeShortcut() = 0;
    // Opens a file or a web page with the desktop's associated program. Failures say nothing.
    virtual void open(const QUrl& url) = 0;
    // Calls `pressed` when F1 (no modifiers) is pressed anywhere on the desktop, where the
    // window system allows a global grab; returns false when it does not.
    virtual bool grabHelpKey(std::function<void()> pressed) = 0;
    virtual void releaseHelpKey() = 0;

    // The desktop this program runs on.
    static Desktop& builtIn();
};

}
