#pragma once
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>

namespace corvane {

// Template geometry is whole pixels at 96 per inch; output geometry is tenths of a
// millimetre, kept unrounded (one pixel = 2.6458333 tenths).
constexpr double tenthsPerPixel = 254.0 / 96.0;

constexpr double tenthsFromPixels(double pixels) { return pixels * 254.0 / 96.0; }
inline QPointF tenthsFromPixels(QPoint p) { return {tenthsFromPixels(p.x()), tenthsFromPixels(p.y())}; }
inline QSizeF tenthsFromPixels(QSize s) { return {tenthsFromPixels(s.width()), tenthsFromPixels(s.height())}; }
inline QRectF tenthsFromPixels(const QRect& r)
{
    return {tenthsFromPixels(r.x()), tenthsFromPixels(r.y()), tenthsFromPixels(r.width()),
            tenthsFromPixels(r.height())};
}

}
