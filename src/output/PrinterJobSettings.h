#pragma once
#include "output/PageSetup.h"
#include "output/PaperKind.h"

namespace corvane {

// The device settings handed to a printer before its job starts.
struct PrinterJobSettings {
    int paperKind = PaperKind::A4;
    double paperWidth = a4WidthTenths;   // tenths of a millimetre
    double paperLength = a4LengthTenths;
    PageOrientation orientation = PageOrientation::Portrait;
    int copies = 1;
    bool duplex = false;
    int extendedDuplex = 0;
    int paperSource = 7;                 // automatic
    int collate = 0;
    int printQuality = 0;
    int colour = 0;
};

}
