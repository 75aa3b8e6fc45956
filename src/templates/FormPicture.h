#pragma once
#include "templates/WaybillTemplate.h"

#include <QByteArray>
#include <QImage>

namespace corvane {

// Decodes a baseline or progressive JPEG with libjpeg; a null image when the data is not a
// readable JPEG.
QImage decodeJpeg(const QByteArray& data);

// The template's blank form picture from the built-in resources, at its own pixel size
// (the screen scales it into the picture rectangle). Null if the resource is missing.
QImage formPicture(const WaybillTemplate& waybillTemplate);

}
