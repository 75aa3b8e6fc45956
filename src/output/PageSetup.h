#pragma once
#include "output/PaperKind.h"

namespace corvane {

enum class PageOrientation { Portrait, Landscape };

// A report page's `Page`: paper and margins, tenths of a millimetre.
struct PageSetup {
    int PaperSize = PaperKind::UserDefined; // custom in every template
    PageOrientation Orientation = PageOrientation::Portrait;
    double Width = a4WidthTenths;
    double Length = a4LengthTenths;
    double TopMargin = 0;
    double BottomMargin = 0;
    double LeftMargin = 0;
    double RightMargin = 0;
    int Columns = 1;
    double ColumnSpace = 0;
};

}
