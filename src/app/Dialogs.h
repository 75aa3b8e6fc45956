#pragma once
#include <QString>
#include <QStringList>

class QWidget;

namespace corvane {

enum class MessageIcon { None, Information, Question, Warning, Stop };
enum class MessageButtons { Ok, OkCancel };
enum class MessageResult { Ok, Cancel };

// Every message box and file dialog of the program goes through here, so tests can answer them.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MessageResult message(QWidget* parent, const QString& title, const QString& text,
                                  MessageIcon icon, MessageButtons buttons) = 0;
    // Empty string when the user cancels.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter) = 0;

    // The installed service (the real one unless a test installed its own).
    static Dialogs& current();
    static void install(Dialogs* dialogs);   // nullptr restores the real one

    // "提示" box with an OK button.
    static void hint(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::None);
    // "提示" question with OK and Cancel and a warning icon; true on OK.
    static bool confirm(QWidget* parent, const QString& text);
    // The application's standard error box: application title, stop icon, OK.
    static void showError(QWidget* parent, const QString& text);
    // The error box's title: the one set, else the application's display name.
    static void setErrorTitle(const QString& title);
    static QString errorTitle();
    // The text the error box shows: a full stop is added when the last character sorts after '.'.
    static QString errorText(const QString& text);
};

// The real service: QMessageBox and QFileDialog.
class WidgetDialogs : public Dialogs {
public:
    MessageResult message(QWidget* parent, const QString& title, const QString& text,
                          MessageIcon icon, MessageButtons buttons) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override;
};

}
