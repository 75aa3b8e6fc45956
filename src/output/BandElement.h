#pragma once
#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <Qt>

namespace corvane {

// A printable child of a detail band: a print box (QRRichTextK, rich text replaced by the
// before-print handler) or the banner label (QRLabelN, one fixed caption). Geometry is in
// tenths of a millimetre relative to the band's top-left corner, unrounded.
struct BandElement {
    enum class Kind { PrintBox, BannerLabel };

    Kind kind = Kind::PrintBox;
    QString name;               // "QRRichText12", "QRLabel1"
    QRectF rect;                // Left, Top, Width, Height
    QFont font;                 // applied to the whole text; whole points
    QColor colour = Qt::black;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool enabled = true;
    // Banner label: its width follows its caption on each device, so the one-line caption
    // is not wrapped where the device's type runs a little wider than the screen's.
    bool autoSize = false;
    QStringList lines;          // print box: one paragraph per entry
    QString field;              // print box: what it prints, as the user names it ("收件人城市")
    QString value;              // print box: the whole value its lines were made from
    QString caption;            // banner label
    bool printing = false;      // set while a run lays the element out (no painting on screen)

    static BandElement printBox(const QString& name, const QRectF& rect, const QFont& font)
    {
        BandElement e;
        e.name = name;
        e.rect = rect;
        e.font = font;
        return e;
    }
    static BandElement bannerLabel(const QString& name, const QRectF& rect, const QFont& font,
                                   const QString& caption)
    {
        BandElement e;
        e.kind = Kind::BannerLabel;
        e.name = name;
        e.rect = rect;
        e.font = font;
        e.caption = caption;
        e.autoSize = true;
        return e;
    }
};

}
