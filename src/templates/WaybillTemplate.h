#pragma once
#include "core/PageUnits.h"
#include "templates/TextSlot.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace corvane {

// One waybill template: a page of the paper form's size, its form picture, banner and slots.
struct WaybillTemplate {
    int number = 0;        // 1..33 (TabSheetN / QuickRepN / QRBandN)
    QString company;       // as the template menus show it: "EMS", "申通", ...
    QString variant;       // "模板一".."模板五", or empty
    QString caption;       // the print window's caption when this template is opened
    double pageWidth = 0;  // tenths of a millimetre
    double pageLength = 0; // tenths of a millimetre
    QSize band;            // pixels: the detail band, as large as the page
    int screenOffset = 0;  // x of the page on its tab page, pixels
    QRect pictureRect;     // where the form picture is scaled to, pixels (ImageN)
    QSize pictureSize;     // the JPEG's own size in pixels
    QString pictureResource; // Qt resource path of the JPEG
    QPoint banner;         // banner label's top-left, pixels (QRLabelN)
    QList<TextSlot> textSlots; // ascending slot number

    QSizeF bandTenths() const { return tenthsFromPixels(band); }
    QPointF bannerTenths() const { return tenthsFromPixels(banner); }
};

}
