#pragma once
#include <QImage>
#include <QRect>
#include <QString>

namespace corvane::test {

// Page `page` (from 1) of a PDF at 254 dpi, one pixel a tenth of a millimetre, in greys;
// a null image when pdftoppm could not draw it.
QImage pdfPageAt254Dpi(const QString& pdf, int page);

// The bounding box of the dark pixels inside `region` of a grey image, or an empty rect.
QRect inkIn(const QImage& image, const QRect& region);

}
