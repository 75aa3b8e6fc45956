#pragma once
#include "output/PaperKind.h"

#include <QList>

namespace corvane {

// What a printer reports about itself; lengths in tenths of a millimetre.
struct PrinterCapabilities {
    int dpiX = 0;
    int dpiY = 0;
    // Where the device's origin lies from the sheet's physical edge (its unprintable offset).
    double unprintableLeft = 0;
    double unprintableTop = 0;
    double physicalWidth = a4WidthTenths;
    double physicalLength = a4LengthTenths;
    int currentPaperKind = PaperKind::A4;
    QList<int> supportedPaperKinds;
    bool reportsCopies = true;
    int copies = 1;
    int paperSource = 7;          // automatic
    int duplexCode = 1;           // 1: simplex
    bool supportsDuplex = false;
    int printQuality = 0;
    int collate = 0;
    int colour = 0;

    bool acceptsUserDefinedPaper() const { return supportedPaperKinds.contains(PaperKind::UserDefined); }
};

}
