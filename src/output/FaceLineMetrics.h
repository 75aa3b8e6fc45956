#pragma once
#include <QFont>

class QPaintDevice;

namespace corvane {

// Ascent and descent of a text line on a device, in device pixels.
struct LineMetrics {
    double ascent = 0;
    double descent = 0;
    double height() const { return ascent + descent; }
};

// The line metrics a font has on a device. The templates name Windows faces (宋体, 微软雅黑)
// that are drawn here with substitutes whose lines differ (AR PL UMing 1.06 em, Noto CJK 1.45 em, against
// 宋体's 1.0 em); the boxes were sized for the original faces, so their ascent and descent are
// used for the line spacing. Other faces use the device font's own metrics.
LineMetrics lineMetrics(const QFont& font, QPaintDevice* device);

}
