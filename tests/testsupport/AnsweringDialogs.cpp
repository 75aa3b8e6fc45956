#include "testsupport/AnsweringDialogs.h"

namespace corvane::test {

AnsweringDialogs::AnsweringDialogs()
{
    Dialogs::install(this);
}

AnsweringDialogs::~AnsweringDialogs()
{
    Dialogs::install(nullptr);
}

MessageResult AnsweringDialogs::message(QWidget*, const QString& title, const QString& text, MessageIcon icon,
                                       MessageButtons buttons)
{
    messages.push_back({title, text, icon, buttons});
    return answers.isEmpty() ? MessageResult::Ok : answers.takeFirst();
}

QString AnsweringDialogs::openFileName(QWidget*, const QString& title, const QString& filter)
{
    fileDialogs << QStringList{QStringLiteral("open"), title, filter};
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString AnsweringDialogs::saveFileName(QWidget*, const QString& title, const QString& filter)
{
    fileDialogs << QStringList{QStringLiteral("save"), title, filter};
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QStringList AnsweringDialogs::texts() const
{
    QStringList all;
    for (const RecordedMessage& m : messages)
        all << m.text;
    return all;
}

}
