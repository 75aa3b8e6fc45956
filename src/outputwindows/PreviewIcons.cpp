#include "outputwindows/PreviewIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace corvane {

namespace {

const QColor ink(0x2b, 0x4a, 0x7a);
const QColor paper(0xfd, 0xfd, 0xf8);
const QColor accent(0x2f, 0x8f, 0x4e);

void drawSheet(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(ink, 2));
    p.setBrush(paper);
    p.drawRect(r);
    p.setPen(QPen(QColor(0x9a, 0xa8, 0xbb), 1.5));
    for (double y = r.top() + 7; y < r.bottom() - 4; y += 5)
        p.drawLine(QPointF(r.left() + 5, y), QPointF(r.right() - 5, y));
}

void drawMagnifier(QPainter& p, QPointF centre, double radius)
{
    p.setPen(QPen(ink, 3));
    p.setBrush(QColor(0xd8, 0xe8, 0xf8, 200));
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(ink, 5, Qt::SolidLine, Qt::RoundCap));
    const QPointF handle = centre + QPointF(radius * 0.72, radius * 0.72);
    p.drawLine(handle, handle + QPointF(radius * 0.8, radius * 0.8));
}

void drawArrowHead(QPainter& p, QPointF tip, double dx, double size)
{
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(tip + QPointF(-dx * size, -size * 0.8));
    path.lineTo(tip + QPointF(-dx * size, size * 0.8));
    path.closeSubpath();
    p.fillPath(path, accent);
}

// A triangle pointing left (-1) or right (+1), with an optional bar at its tip.
void drawStep(QPainter& p, int direction, bool bar, bool doubled)
{
    p.setPen(Qt::NoPen);
    const double tipX = direction > 0 ? 34 : 14;
    for (int i = 0; i < (doubled ? 2 : 1); ++i) {
        const double shift = doubled ? (i == 0 ? -6 : 6) * direction : 0;
        QPainterPath path;
        path.moveTo(tipX + shift, 24);
        path.lineTo(tipX + shift - direction * 18, 10);
        path.lineTo(tipX + shift - direction * 18, 38);
        path.closeSubpath();
        p.fillPath(path, i == 0 && doubled ? accent.lighter(130) : accent);
    }
    if (bar) {
        const double x = direction > 0 ? 40 : 5;
        p.fillRect(QRectF(x, 10, 4, 28), ink);
    }
}

void drawPrinter(QPainter& p)
{
    p.setPen(QPen(ink, 2));
    p.setBrush(paper);
    p.drawRect(QRectF(14, 6, 20, 14));              // paper going in
    p.setBrush(QColor(0x8c, 0x9b, 0xb0));
    p.drawRoundedRect(QRectF(5, 18, 38, 18), 3, 3); // body
    p.setBrush(paper);
    p.drawRect(QRectF(12, 30, 24, 14));             // sheet coming out
    p.setPen(QPen(ink, 1.5));
    p.drawLine(QPointF(16, 35), QPointF(32, 35));
    p.drawLine(QPointF(16, 39), QPointF(28, 39));
    p.setBrush(accent);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(37, 23), 2, 2);
}

QPixmap draw(PreviewIcon icon)
{
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (icon) {
    case PreviewIcon::FitPage:
        drawSheet(p, QRectF(10, 4, 24, 34));
        drawMagnifier(p, QPointF(30, 30), 9);
        break;
    case PreviewIcon::FitWidth:
        drawSheet(p, QRectF(6, 8, 36, 30));
        p.setPen(QPen(accent, 3));
        p.drawLine(QPointF(10, 43), QPointF(38, 43));
        drawArrowHead(p, QPointF(44, 43), 1, 6);
        drawArrowHead(p, QPointF(4, 43), -1, 6);
        break;
    case PreviewIcon::Zoom100: {
        drawMagnifier(p, QPointF(20, 20), 15);
        QFont font(QStringLiteral("Sans"));
        font.setPixelSize(11);
        font.setBold(true);
        p.setFont(font);
        p.setPen(ink);
        p.drawText(QRectF(5, 5, 30, 30), Qt::AlignCenter, QStringLiteral("1:1"));
        break;
    }
    case PreviewIcon::FirstPage: drawStep(p, -1, true, false); break;
    case PreviewIcon::PreviousPage: drawStep(p, -1, false, false); break;
    case PreviewIcon::NextPage: drawStep(p, 1, false, false); break;
    case PreviewIcon::LastPage: drawStep(p, 1, true, false); break;
    case PreviewIcon::Setup: {
        drawPrinter(p);
        // A gear over the printer's corner.
        p.translate(35, 35);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xc0, 0x7a, 0x1c));
        for (int i = 0; i < 8; ++i) {
            p.drawRect(QRectF(-2.5, -12, 5, 6));
            p.rotate(45);
        }
        p.drawEllipse(QPointF(0, 0), 8.5, 8.5);
        p.setBrush(paper);
        p.drawEllipse(QPointF(0, 0), 3.5, 3.5);
        break;
    }
    case PreviewIcon::Print: drawPrinter(p); break;
    case PreviewIcon::Close:
        p.setPen(QPen(ink, 2));
        p.setBrush(QColor(0xe8, 0xd9, 0xc0));
        p.drawRect(QRectF(8, 4, 24, 40));           // door
        p.setBrush(QColor(0xb2, 0x3a, 0x2e));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(27, 25), 2, 2);
        p.setPen(QPen(QColor(0xb2, 0x3a, 0x2e), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(32, 24), QPointF(44, 24));
        {
            QPainterPath head;
            head.moveTo(46, 24);
            head.lineTo(39, 17);
            head.lineTo(39, 31);
            head.closeSubpath();
            p.fillPath(head, QColor(0xb2, 0x3a, 0x2e));
        }
        break;
    }
    return pixmap;
}

}

QIcon previewIcon(PreviewIcon icon)
{
    return QIcon(draw(icon));
}

}
