#pragma once
#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace corvane {

class TPageRun;

// The small window shown while a report page prints: a gauge, a percentage and Cancel.
class TQRProgressForm : public QDialog {
    Q_OBJECT
public:
    explicit TQRProgressForm(TPageRun* run, QWidget* parent = nullptr);

    QProgressBar* Gauge() const { return m_gauge; }
    QLabel* Info() const { return m_info; }
    QPushButton* CancelButton() const { return m_cancelButton; }

    // A progress notification: only multiples of 5 are shown.
    void showProgress(int percent);

private:
    TPageRun* m_run;
    QProgressBar* m_gauge;
    QLabel* m_info;
    QPushButton* m_cancelButton;
};

}
