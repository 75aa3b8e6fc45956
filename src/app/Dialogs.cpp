#include "app/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace corvane {

namespace {
Dialogs* installed = nullptr;
QString& errorTitleSet()
{
    static QString title;
    return title;
}
}

Dialogs& Dialogs::current()
{
    static WidgetDialogs real;
    return installed ? *installed : real;
}

void Dialogs::install(Dialogs* dialogs)
{
    installed = dialogs;
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
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

void Dialogs::setErrorTitle(const QString& title)
{
    errorTitleSet() = title;
}

QString Dialogs::errorTitle()
{
    return errorTitleSet().isEmpty() ? QApplication::applicationDisplayName() : errorTitleSet();
}

void Dialogs::showError(QWidget* parent, const QString& text)
{
    current().message(parent, errorTitle(), errorText(text),
                      MessageIcon::Stop, MessageButtons::Ok);
}

MessageResult WidgetDialogs::message(QWidget* parent, const QString& title, const QString& text,
                                     MessageIcon icon, MessageButtons buttons)
{
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Stop: box.setIcon(QMessageBox::Critical); break;
    }
    if (buttons == MessageButtons::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    return box.exec() == QMessageBox::Ok ? MessageResult::Ok : MessageResult::Cancel;
}

QString WidgetDialogs::openFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString WidgetDialogs::saveFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, title, QString(), filter);
}

}
