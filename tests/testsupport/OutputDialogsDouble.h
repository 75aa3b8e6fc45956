#pragma once
#include "app/Dialogs.h"

namespace corvane::test {

// Answers every message box with OK and remembers what was shown.
class OutputDialogsDouble : public Dialogs {
public:
    struct Shown {
        QString title;
        QString text;
        MessageIcon icon;
    };
    QList<Shown> shown;

    OutputDialogsDouble() { Dialogs::install(this); }
    ~OutputDialogsDouble() override { Dialogs::install(nullptr); }

    MessageResult message(QWidget*, const QString& title, const QString& text, MessageIcon icon,
                          MessageButtons) override
    {
        shown.append({title, text, icon});
        return MessageResult::Ok;
    }
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
};

}
