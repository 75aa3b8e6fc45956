#include "outputwindows/PageImage.h"

#include <QPainter>
#include <QPicture>

namespace corvane {

void drawPageImage(QPainter& painter, const QPicture& page, int w, int h)
{
    painter.save();
    painter.fillRect(QRect(1, 1, w - 4, h - 4), Qt::white);
    const QRect bounds = page.boundingRect();
    if (bounds.width() > 0 && bounds.height() > 0) {
        painter.save();
        // What lies beyond the paper (a 230 mm band on a 210 mm A4 sheet) is not on the page,
        // as a printer would not print it either.
        painter.setClipRect(QRect(1, 1, w - 4, h - 4), Qt::IntersectClip);
        painter.scale(double(w) / bounds.width(), double(h) / bounds.height());
        painter.drawPicture(0, 0, page);
        painter.restore();
    }
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    const QPoint outline[] = {{0, 0}, {0, h - 3}, {w - 3, h - 3}, {w - 3, 0}, {0, 0}};
    painter.drawPolyline(outline, 5);
    painter.fillRect(QRect(QPoint(w - 2, 2), QPoint(w - 1, h - 1)), Qt::black);
    painter.fillRect(QRect(QPoint(2, h - 2), QPoint(w - 1, h - 1)), Qt::black);
    painter.restore();
}

PageImage::PageImage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PageImage"));
}

PageImage::~PageImage() = default;

void PageImage::setPage(std::unique_ptr<QPicture> page)
{
    m_page = std::move(page);
    update();
}

void PageImage::paintEvent(QPaintEvent*)
{
    if (!m_page)
        return;
    QPainter painter(this);
    drawPageImage(painter, *m_page, width(), height());
}

}
