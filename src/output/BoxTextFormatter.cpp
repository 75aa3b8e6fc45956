#include "output/BoxTextFormatter.h"

#include "core/ParagraphWrap.h"
#include "output/FaceLineMetrics.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QPaintDevice>
#include <QPainter>

namespace corvane {

namespace {

// The PDF writer (a PDF file, or a CUPS queue) is given the glyphs the line breaking found, so
// a line is not shaped a second time; other devices (the preview's recordings, which keep text)
// are given the text.
bool takesGlyphRuns(const QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Pdf;
}

// One line at its start on its baseline.
void drawLine(QPainter& painter, const QPointF& start, const QString& text, const QList<QGlyphRun>* glyphs)
{
    if (!glyphs || glyphs->isEmpty()) {
        painter.drawText(start, text);
        return;
    }
    for (const QGlyphRun& run : *glyphs)
        painter.drawGlyphRun(start, run);
}

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
    const bool glyphRuns = takesGlyphRuns(painter);
    for (qsizetype p = 0; p < paragraphs.size(); ++p) {
        const QString& paragraph = paragraphs.at(p);
        const ShapedParagraph shaped = glyphRuns ? shapeParagraph(paragraph, deviceFont, device, box.width())
                                                 : ShapedParagraph{wrapParagraph(paragraph, deviceFont, device, box.width()), {}, {}};
        for (qsizetype l = 0; l < shaped.lines.size(); ++l) {
            const auto& [start, length] = shaped.lines.at(l);
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
            if (length > 0) {
                const bool textNeeded = !glyphRuns || shaped.glyphs.at(l).isEmpty();
                const QString text = textNeeded ? paragraph.mid(start, length) : QString();
                const double x = alignment & Qt::AlignLeft || alignment == 0
                                     ? box.left()
                                     : alignedX(box, glyphRuns ? shaped.advances.at(l) : fontMetrics.horizontalAdvance(text),
                                                alignment);
                drawLine(painter, QPointF(x, lineTop + metrics.ascent), text, glyphRuns ? &shaped.glyphs.at(l) : nullptr);
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
    const bool glyphRuns = takesGlyphRuns(painter);
    const ShapedParagraph shaped = glyphRuns ? shapeParagraph(caption, deviceFont, device, box.width())
                                             : ShapedParagraph{wrapParagraph(caption, deviceFont, device, box.width()), {}, {}};
    for (qsizetype l = 0; l < shaped.lines.size(); ++l) {
        const auto& [start, length] = shaped.lines.at(l);
        if (lineTop + lineHeight > lineLimit)
            break;
        drawLine(painter, QPointF(box.left(), lineTop + metrics.ascent), caption.mid(start, length),
                 glyphRuns ? &shaped.glyphs.at(l) : nullptr);
        lineTop += lineHeight;
        ++drawn;
    }
    painter.setFont(previousFont);
    return drawn;
}

}
