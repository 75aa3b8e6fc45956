#include "core/Dialogs.h"
#include "core/ConsoleDialogs.h"

#include <QGuiApplication>
#include <cstdio>

namespace corvane {

MessageResult ConsoleDialogs::message(QWidget*, const QString&, const QString& text, MessageIcon,
                                     MessageButtons)
{
    std::fprintf(stderr, "%s\n", (m_prefix + text).toLocal8Bit().constData());
    return MessageResult::Ok;
}

Dialogs& Dialogs::builtIn()
{
    static ConsoleDialogs console;
    return console;
}

void Dialogs::hint(QWidget* parent, const QString& text, MessageIcon icon)
{
    current().message(parent, QStringLiteral("提示"), text, icon, MessageButtons::Ok);
}

bool Dialogs::confirm(QWidget* parent, const QString& text)
{
    return current().message(parent, QStringLiteral("提示"), text, MessageIcon::Warning,
                             MessageButtons::OkCancel) == MessageResult::Ok;
}

QString Dialogs::errorText(const QString& text)
{
    // A Chinese sentence already ends in its own stop; "。." would read as a typing slip.
    static const QString chineseStops = QStringLiteral("。！？");
    if (!text.isEmpty() && text.back() > QLatin1Char('.') && !chineseStops.contains(text.back()))
        return text + QLatin1Char('.');
    return text;
}

namespace {
QString& errorTitleSet()
{
    static QString title;
    return title;
}
}

void Dialogs::setErrorTitle(const QString& title)
{
    errorTitleSet() = title;
}

QString Dialogs::errorTitle()
{
    return errorTitleSet().isEmpty() ? QGuiApplication::applicationDisplayName() : errorTitleSet();
}

void Dialogs::showError(QWidget* parent, const QString& text)
{
    current().message(parent, errorTitle(), errorText(text),
                      MessageIcon::Stop, MessageButtons::Ok);
}

}
