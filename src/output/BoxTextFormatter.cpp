#include "output/BoxTextFormatter.h"

#include "core/ParagraphWrap.h"
#include "output/FaceLineMetrics.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

namespace corvane {

namespace {

double alignedX(const QRect& box, double textWidth, Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return box.right() + 1 - textWidth;
    if (alignment & Qt::AlignHCenter)
        return box.left() + (box.width() - textWidth) / 2.0;
    return box.left();
}

}

int BoxTextFormatter::drawParagraphs(QPainter& painter, const QRect& box,
                                     const QStringList& paragraphs, const QFont& font,
                                     Qt::Alignment alignment, bool* complete)
{
    if (complete)
        *complete = true;
    QPaintDevice* device = painter.device();
    const QFont deviceFont(font, device);
    const LineMetrics metrics = lineMetrics(font, device);
    const QFontMetricsF fontMetrics(deviceFont, device);
    const double bottom = box.top() + box.height();
    double lineTop = box.top();
    int drawn = 0;
    const QFont previousFont = painter.font();
    painter.setFont(deviceFont);
    for (qsizetype p = 0; p < paragraphs.size(); ++p) {
        const QString& paragraph = paragraphs.at(p);
        const QList<std::pair<int, int>> lines = wrapParagraph(paragraph, deviceFont, device, box.width());
        for (const auto& [start, length] : lines) {
            if (lineTop + metrics.height() > bottom) {
                painter.setFont(previousFont);
                if (complete) {
                    QString rest = paragraph.mid(start);
                    for (qsizetype q = p + 1; q < paragraphs.size(); ++q)
                        rest += paragraphs.at(q);
                    *complete = rest.trimmed().isEmpty();
                }
                return drawn;
            }
            const QString text = paragraph.mid(start, length);
            if (!text.isEmpty()) {
                const double x = alignment & Qt::AlignLeft || alignment == 0
                                     ? box.left()
                                     : alignedX(box, fontMetrics.horizontalAdvance(text), alignment);
                painter.drawText(QPointF(x, lineTop + metrics.ascent), text);
            }
            lineTop += metrics.height();
            ++drawn;
        }
    }
    painter.setFont(previousFont);
    return drawn;
}

int BoxTextFormatter::drawCaption(QPainter& painter, const QRect& box, const QString& caption,
                                  const QFont& font, double lineHeight, double lineLimit)
{
    QPaintDevice* device = painter.device();
    const QFont deviceFont(font, device);
    const LineMetrics metrics = lineMetrics(font, device);
    const QFont previousFont = painter.font();
    painter.setFont(deviceFont);
    int drawn = 0;
    double lineTop = box.top();
    for (const auto& [start, length] : wrapParagraph(caption, deviceFont, device, box.width())) {
        if (lineTop + lineHeight > lineLimit)
            break;
        painter.drawText(QPointF(box.left(), lineTop + metrics.ascent), caption.mid(start, length));
        lineTop += lineHeight;
        ++drawn;
    }
    painter.setFont(previousFont);
    return drawn;
}

}
