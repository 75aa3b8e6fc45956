#pragma once
#include "core/Dialogs.h"

namespace corvane {

// The real dialog service: QMessageBox and QFileDialog.
class WidgetDialogs : public Dialogs {
public:
    MessageResult message(QWidget* parent, const QString& title, const QString& text,
                          MessageIcon icon, MessageButtons buttons) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override;
};

}
