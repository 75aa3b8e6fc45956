#include "outputwindows/TQRProgressForm.h"

#include "output/TPageRun.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace corvane {

TQRProgressForm::TQRProgressForm(TPageRun* run, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint
                          | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      m_run(run)
{
    setObjectName(QStringLiteral("QRProgressForm"));
    setWindowTitle(QStringLiteral("Printing progress"));
    setFixedSize(149, 97);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);

    m_gauge = new QProgressBar(this);
    m_gauge->setObjectName(QStringLiteral("Gauge"));
    m_gauge->setGeometry(16, 18, 114, 16);
    m_gauge->setRange(0, 100);
    m_gauge->setValue(0);
    m_gauge->setTextVisible(false);

    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("Info"));
    m_info->setGeometry(0, 44, 145, 13);
    m_info->setAlignment(Qt::AlignCenter);

    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("CancelButton"));
    m_cancelButton->setGeometry(36, 60, 75, 25);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] {
        if (m_run)
            m_run->cancel();
    });

    if (m_run)
        connect(m_run, &TPageRun::progressChanged, this, &TQRProgressForm::showProgress);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TQRProgressForm::showProgress(int percent)
{
    if (percent % 5 != 0)
        return;
    m_gauge->setValue(percent);
    m_info->setText(QString::number(percent) + QStringLiteral("% ") + QStringLiteral(" Completed"));
    QCoreApplication::processEvents();
}

}
