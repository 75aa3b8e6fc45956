#include "app/PageControl.h"

#include <QKeyEvent>
#include <QTabBar>

namespace corvane {

PageControl::PageControl(QWidget* parent) : QTabWidget(parent)
{
    tabBar()->setFocusPolicy(Qt::NoFocus);
}

void PageControl::keyPressEvent(QKeyEvent* event)
{
    const bool pageKey = (event->modifiers() & Qt::ControlModifier)
        && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab || event->key() == Qt::Key_PageUp
            || event->key() == Qt::Key_PageDown);
    if (pageKey) {
        event->ignore();
        return;
    }
    QTabWidget::keyPressEvent(event);
}

}
