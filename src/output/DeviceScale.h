#pragma once
#include <QRect>
#include <QRectF>
#include <cmath>

namespace corvane {

// Rounds to the nearest integer, ties to even (2.5 -> 2, 3.5 -> 4).
inline int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

// The one place where page geometry (tenths of a millimetre, unrounded) becomes device points:
// round((tenths - the device's unprintable margin) * dots per inch / 254).
struct DeviceScale {
    double dpiX = 96;
    double dpiY = 96;
    double marginLeft = 0; // tenths of a millimetre from the sheet's edge to the device origin
    double marginTop = 0;

    int x(double tenths) const { return roundHalfEven((tenths - marginLeft) * dpiX / 254.0); }
    int y(double tenths) const { return roundHalfEven((tenths - marginTop) * dpiY / 254.0); }
    // Corners are converted separately, so adjacent rectangles stay adjacent.
    QRect rect(const QRectF& tenths) const
    {
        const int left = x(tenths.left());
        const int top = y(tenths.top());
        return QRect(left, top, x(tenths.right()) - left, y(tenths.bottom()) - top);
    }
    // A length on the device's vertical axis back in tenths of a millimetre.
    double tenthsFromDotsY(double dots) const { return dots * 254.0 / dpiY; }
    // Device pixels of a whole length (a page), without margin.
    int lengthX(double tenths) const { return roundHalfEven(tenths * dpiX / 254.0); }
    int lengthY(double tenths) const { return roundHalfEven(tenths * dpiY / 254.0); }
};

}
