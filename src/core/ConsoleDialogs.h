#pragma once
#include "core/Dialogs.h"

namespace corvane {

// Message boxes of a run without windows: each text goes to standard error after the prefix,
// and is answered OK; no file is ever chosen.
class ConsoleDialogs : public Dialogs {
public:
    explicit ConsoleDialogs(QString prefix = QString()) : m_prefix(std::move(prefix)) {}

    MessageResult message(QWidget* parent, const QString& title, const QString& text, MessageIcon icon,
                          MessageButtons buttons) override;
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }

private:
    QString m_prefix;
};

}
