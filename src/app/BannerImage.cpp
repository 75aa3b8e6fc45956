#include "app/BannerImage.h"

#include <QMouseEvent>
#include <QWindow>

namespace corvane {

BannerImage::BannerImage(QWidget* parent) : QLabel(parent) {}

void BannerImage::mousePressEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        QLabel::mousePressEvent(event);
        return;
    }
    // The window manager moves the window where it can; otherwise we follow the mouse ourselves.
    QWindow* handle = window()->windowHandle();
    if (handle && handle->startSystemMove())
        return;
    m_dragging = true;
    m_grabOffset = event->globalPosition().toPoint() - window()->pos();
}

void BannerImage::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        window()->move(event->globalPosition().toPoint() - m_grabOffset);
    else
        QLabel::mouseMoveEvent(event);
}

void BannerImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        m_dragging = false;
    QLabel::mouseReleaseEvent(event);
}

}
