#include "app/SystemDesktop.h"
#include "app/DesktopShortcut.h"
#include "app/GlobalHelpKey.h"

#include <QCoreApplication>
#include <QDesktopServices>

namespace corvane {

Desktop& Desktop::builtIn()
{
    static SystemDesktop real;
    return real;
}

SystemDesktop::SystemDesktop() = default;
SystemDesktop::~SystemDesktop() = default;

void SystemDesktop::writeShortcut()
{
    DesktopShortcut::write(QCoreApplication::applicationFilePath());
}

void SystemDesktop::open(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

bool SystemDesktop::grabHelpKey(std::function<void()> pressed)
{
    releaseHelpKey();
    auto key = std::make_unique<GlobalHelpKey>(std::move(pressed));
    if (!key->grab())
        return false;
    m_helpKey = std::move(key);
    return true;
}

void SystemDesktop::releaseHelpKey()
{
    m_helpKey.reset();
}

}
