#pragma once
#include <QList>
#include <QString>
#include <utility>

class QFont;
class QPaintDevice;

namespace corvane {

// The line breaks of one paragraph at a width in the font on the device, at word boundaries
// or, for a word too long for a line, anywhere: (start, length) of every line. An empty
// paragraph is one empty line.
QList<std::pair<int, int>> wrapParagraph(const QString& text, const QFont& font, QPaintDevice* device,
                                         double width);

}
