#include "output/BoxTextFormatter.h"

#include "core/ParagraphWrap.h"
#include "output/FaceLineMetrics.h"
#include "output/PageCanvas.h"

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

// The paragraph's lines, with their glyphs where the canvas takes them.
ShapedParagraph layOut(PageCanvas& canvas, const QString& paragraph, const QFont& deviceFont, int width)
{
    if (canvas.takesGlyphRuns())
        return shapeParagraph(paragraph, deviceFont, canvas.device(), width);
    return ShapedParagraph{wrapParagraph(paragraph, deviceFont, canvas.device(), width), {}};
}

const QList<QGlyphRun>& glyphsOf(const ShapedParagraph& shaped, qsizetype line)
{
    static const QList<QGlyphRun> none;
    return line < shaped.glyphs.size() ? shaped.glyphs.at(line) : none;
}

}

int BoxTextFormatter::drawParagraphs(QPainter& painter, const QRect& box, const QStringList& paragraphs,
                                     const QFont& font, Qt::Alignment alignment, bool* complete)
{
    PainterCanvas canvas(painter);
    const QFont previousFont = painter.font();
    const int drawn = drawParagraphs(canvas, box, paragraphs, font, alignment, complete);
    painter.setFont(previousFont);
    return drawn;
}

int BoxTextFormatter::drawParagraphs(PageCanvas& canvas, const QRect& box,
                                     const QStringList& paragraphs, const QFont& font,
                                     Qt::Alignment alignment, bool* complete)
{
    if (complete)
        *complete = true;
    QPaintDevice* device = canvas.device();
    const QFont deviceFont(font, device);
    const LineMetrics metrics = lineMetrics(font, device);
    const double bottom = box.top() + box.height();
    double lineTop = box.top();
    int drawn = 0;
    for (qsizetype p = 0; p < paragraphs.size(); ++p) {
        const QString& paragraph = paragraphs.at(p);
        const ShapedParagraph shaped = layOut(canvas, paragraph, deviceFont, box.width());
        for (qsizetype l = 0; l < shaped.lines.size(); ++l) {
            const auto& [start, length] = shaped.lines.at(l);
            if (lineTop + metrics.height() > bottom) {
                if (complete) {
                    QString rest = paragraph.mid(start);
                    for (qsizetype q = p + 1; q < paragraphs.size(); ++q)
                        rest += paragraphs.at(q);
                    *complete = rest.trimmed().isEmpty();
                }
                return drawn;
            }
            if (length > 0) {
                const QList<QGlyphRun>& glyphs = glyphsOf(shaped, l);
                const bool aligned = !(alignment & Qt::AlignLeft) && alignment != 0;
                const QString text = glyphs.isEmpty() || aligned ? paragraph.mid(start, length) : QString();
                const double x = aligned ? alignedX(box, textAdvance(text, deviceFont, device), alignment) : box.left();
                canvas.drawLine(QPointF(x, lineTop + metrics.ascent), text, deviceFont, glyphs);
            }
            lineTop += metrics.height();
            ++drawn;
        }
    }
    return drawn;
}

int BoxTextFormatter::drawCaption(PageCanvas& canvas, const QRect& box, const QString& caption,
                                  const QFont& font, double lineHeight, double lineLimit)
{
    QPaintDevice* device = canvas.device();
    const QFont deviceFont(font, device);
    const LineMetrics metrics = lineMetrics(font, device);
    int drawn = 0;
    double lineTop = box.top();
    const ShapedParagraph shaped = layOut(canvas, caption, deviceFont, box.width());
    for (qsizetype l = 0; l < shaped.lines.size(); ++l) {
        const auto& [start, length] = shaped.lines.at(l);
        if (lineTop + lineHeight > lineLimit)
            break;
        const QList<QGlyphRun>& glyphs = glyphsOf(shaped, l);
        canvas.drawLine(QPointF(box.left(), lineTop + metrics.ascent),
                        glyphs.isEmpty() ? caption.mid(start, length) : QString(), deviceFont, glyphs);
        lineTop += lineHeight;
        ++drawn;
    }
    return drawn;
}

}
