#pragma once
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <Qt>

class QPainter;

namespace corvane {

class PageCanvas;

// Lays text out into a box on the canvas's device, in device pixels, with word wrap.
class BoxTextFormatter {
public:
    // Print box: each paragraph wrapped at the box's width in the font and alignment;
    // only whole lines that end inside the box are drawn. Returns the lines drawn; `complete`,
    // when given, tells whether all of the text was drawn (blank lines left out do not count).
    static int drawParagraphs(PageCanvas& canvas, const QRect& box, const QStringList& paragraphs,
                              const QFont& font, Qt::Alignment alignment, bool* complete = nullptr);
    static int drawParagraphs(QPainter& painter, const QRect& box, const QStringList& paragraphs,
                              const QFont& font, Qt::Alignment alignment, bool* complete = nullptr);

    // Banner label: the caption broken into lines at the box's width, drawn one below the
    // other lineHeight apart from the box's top while a line still ends at or above lineLimit.
    static int drawCaption(PageCanvas& canvas, const QRect& box, const QString& caption,
                           const QFont& font, double lineHeight, double lineLimit);
};

}
