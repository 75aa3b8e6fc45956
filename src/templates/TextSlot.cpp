#include "templates/TextSlot.h"

#include <QtMath>

namespace corvane {

QFont slotFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

int fontPixelSizeAt96(const QFont& font)
{
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return qRound(font.pointSizeF() * 96.0 / 72.0);
}

int fontWholePoints(const QFont& font)
{
    if (font.pixelSize() > 0)
        return qRound(font.pixelSize() * 72.0 / 96.0);
    return qRound(font.pointSizeF());
}

int TextSlot::fontPixelSize() const { return fontPixelSizeAt96(font); }

int TextSlot::fontPointSize() const { return fontWholePoints(font); }

}
