#pragma once
#include "core/PageUnits.h"
#include "templates/SlotRole.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

namespace corvane {

// One text slot of a template: print box QRichTextK (printed) and view box DBMemoK (screen).
struct TextSlot {
    int number = 0;          // 1..597, unique over the catalogue
    int templateNumber = 0;  // 1..33
    SlotRole role = SlotRole::Sender;
    QString column;          // column of outr (sender) or inr/excel (recipient)
    QRect rect;              // print box, pixels on the template page
    QRect viewRect;          // view box, pixels; equals rect except for a few slots
    QFont font;              // type of the print box and the view box (they always agree)
    QColor colour = Qt::black;
    bool largeType = false;  // a 29/48/56 px city box: keeps its type when the user sets the type
    QStringList lines;       // the print box's current text, one entry per line

    QRectF rectTenths() const { return tenthsFromPixels(rect); }
    // Character height in pixels at 96 dpi (15, 29, 48, 56 as built).
    int fontPixelSize() const;
    // Whole points, as the output device takes them (15 px = 11 pt, 29 = 22, 48 = 36, 56 = 42).
    int fontPointSize() const;
};

// The built-in slot type: 宋体, GB2312, the given character height in pixels.
QFont slotFont(int pixelSize, bool bold);
// Pixel size (96 dpi) and whole point size of any font, whichever way it was specified.
int fontPixelSizeAt96(const QFont& font);
int fontWholePoints(const QFont& font);

}
