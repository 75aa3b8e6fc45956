#pragma once
#include "core/InstallableService.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace corvane {

enum class MessageIcon { None, Information, Question, Warning, Stop };
enum class MessageButtons { Ok, OkCancel };
enum class MessageResult { Ok, Cancel };

// Every message box and file dialog of the program goes through here, so tests can answer them.
// The real service (message boxes and file dialogs) belongs to the window layer, which sets it.
class Dialogs : public InstallableService<Dialogs> {
public:
    virtual ~Dialogs() = default;

    virtual MessageResult message(QWidget* parent, const QString& title, const QString& text,
                                  MessageIcon icon, MessageButtons buttons) = 0;
    // Empty string when the user cancels.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter) = 0;

    // Without windows: ConsoleDialogs.
    static Dialogs& builtIn();

    // "提示" box with an OK button.
    static void hint(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::None);
    // "提示" question with OK and Cancel and a warning icon; true on OK.
    static bool confirm(QWidget* parent, const QString& text);
    // The application's standard error box: application title, stop icon, OK.
    static void showError(QWidget* parent, const QString& text);
    // The error box's title: the one set, else the application's display name.
    static void setErrorTitle(const QString& title);
    static QString errorTitle();
    // The text the error box shows: a full stop is added when the last character sorts after '.',
    // unless the text already ends in a Chinese stop (。！？).
    static QString errorText(const QString& text);
};

}
