#include "templates/TemplateFilling.h"

#include "core/ParagraphWrap.h"

#include <QImage>

namespace corvane {

namespace {

// A view box is a sunken-bordered text box: 2 px of border and 1 px of text margin each side.
constexpr int viewBoxBorder = 2;
constexpr int viewBoxTextMargin = 1;

// Text is measured as on a 96-dpi screen, whatever the display in use.
const QImage& screenAt96Dpi()
{
    static const QImage image = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        img.setDotsPerMeterX(3780);
        img.setDotsPerMeterY(3780);
        return img;
    }();
    return image;
}

QStringList wrappedLines(const QString& paragraph, const QFont& font, int width)
{
    if (paragraph.isEmpty())
        return {QString()};
    QStringList lines;
    QPaintDevice* screen = const_cast<QImage*>(&screenAt96Dpi());
    for (const auto& [start, length] : wrapParagraph(paragraph, font, screen, width))
        lines << paragraph.mid(start, length);
    return lines;
}

}

QString slotText(const TextSlot& slot, const SlotRows& rows)
{
    const auto& read = slot.role == SlotRole::Sender ? rows.sender : rows.recipient;
    if (!read)
        return QString(QLatin1String(""));
    const QString value = read(slot.column);
    return value.isNull() ? QString(QLatin1String("")) : value;
}

int viewBoxTextWidth(int viewBoxWidth)
{
    return qMax(1, viewBoxWidth - 2 * (viewBoxBorder + viewBoxTextMargin));
}

QStringList viewBoxLines(const QString& value, const QFont& font, int viewBoxWidth)
{
    QString text = value;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const int width = viewBoxTextWidth(viewBoxWidth);
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n')))
        lines << wrappedLines(paragraph, font, width);
    // A text box does not count the empty line after a final line break (nor an empty value).
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList viewBoxLines(const TextSlot& slot, const SlotRows& rows)
{
    return viewBoxLines(slotText(slot, rows), slot.font, slot.viewRect.width());
}

void fillTemplate(WaybillTemplate& waybillTemplate, const SlotRows& rows)
{
    for (TextSlot& slot : waybillTemplate.textSlots)
        slot.lines = viewBoxLines(slot, rows);
}

}
