#pragma once
#include <QTabWidget>

namespace corvane {

// PageControl1: its tab strip lies under the navigation bar and is never seen; pages change only
// through the navigation bar and the "切换" buttons, so the keyboard's page switching is off too.
class PageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}
