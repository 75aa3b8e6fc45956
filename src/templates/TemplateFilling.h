#pragma once
#include "templates/SlotRows.h"
#include "templates/TextSlot.h"
#include "templates/WaybillTemplate.h"

#include <QFont>
#include <QString>
#include <QStringList>

namespace corvane {

// The value of the slot's column in the row of the slot's role; null gives "".
QString slotText(const TextSlot& slot, const SlotRows& rows);

// Width available to text inside a bordered view box of the given outer width.
int viewBoxTextWidth(int viewBoxWidth);

// The lines a view box shows for a value: the value's own line breaks, plus the breaks
// where a line wraps at the box's width in the box's font (word boundary, else anywhere).
// An empty value gives no lines. Needs a QGuiApplication (font metrics).
QStringList viewBoxLines(const QString& value, const QFont& font, int viewBoxWidth);

// The lines slot's view box shows for these rows.
QStringList viewBoxLines(const TextSlot& slot, const SlotRows& rows);

// Before-print filling: every print box of the template takes its view box's lines.
// Touches nothing else (rectangles, type, other templates, the banner).
void fillTemplate(WaybillTemplate& waybillTemplate, const SlotRows& rows);

}
