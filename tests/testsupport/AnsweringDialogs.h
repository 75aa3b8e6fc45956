#pragma once
#include "core/Dialogs.h"

#include <QList>
#include <QStringList>
#include <QVector>

namespace corvane::test {

struct RecordedMessage {
    QString title;
    QString text;
    MessageIcon icon;
    MessageButtons buttons;
};

// Answers every message box without showing one, and remembers what was asked.
// Installed while it lives.
class AnsweringDialogs : public Dialogs {
public:
    AnsweringDialogs();
    ~AnsweringDialogs() override;

    MessageResult message(QWidget* parent, const QString& title, const QString& text, MessageIcon icon,
                          MessageButtons buttons) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override;

    QStringList texts() const;
    void clear() { messages.clear(); }

    QVector<RecordedMessage> messages;
    QList<MessageResult> answers;     // taken in order; OK once they run out
    QStringList fileNames;            // taken in order; cancelled once they run out
    QVector<QStringList> fileDialogs; // each file dialog shown: "open" or "save", title, filter
};

}
