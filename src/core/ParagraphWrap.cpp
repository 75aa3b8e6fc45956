#include "core/ParagraphWrap.h"

#include <QTextLayout>

namespace corvane {

QList<std::pair<int, int>> wrapParagraph(const QString& text, const QFont& font, QPaintDevice* device,
                                         double width)
{
    QList<std::pair<int, int>> lines;
    if (text.isEmpty()) {
        lines.append({0, 0});
        return lines;
    }
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines.append({line.textStart(), line.textLength()});
    }
    layout.endLayout();
    return lines;
}

}
