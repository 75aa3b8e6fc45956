#pragma once
#include "templates/Catalogue.h"

#include <QByteArray>

namespace corvane {

// One window's copy as a single-line JSON object (UTF-8): window, then every template with
// its page, band, picture, banner and slots. Positions in pixels, page sizes in tenths of a mm.
QByteArray catalogueJson(const Catalogue& catalogue);

}
