#include "output/FaceLineMetrics.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <array>

namespace corvane {

namespace {

struct FaceMetrics {
    const char16_t* family;
    double ascentEm;
    double descentEm;
};

// From the faces' own tables: SimSun 220/256 and 36/256; Microsoft YaHei 2167/2048 and 536/2048.
constexpr std::array faceMetrics{
    FaceMetrics{u"宋体", 220.0 / 256.0, 36.0 / 256.0},
    FaceMetrics{u"SimSun", 220.0 / 256.0, 36.0 / 256.0},
    FaceMetrics{u"微软雅黑", 2167.0 / 2048.0, 536.0 / 2048.0},
    FaceMetrics{u"Microsoft YaHei", 2167.0 / 2048.0, 536.0 / 2048.0},
};

}

LineMetrics lineMetrics(const QFont& font, QPaintDevice* device)
{
    const QString family = font.family();
    for (const FaceMetrics& face : faceMetrics) {
        if (family.compare(QStringView(face.family), Qt::CaseInsensitive) == 0) {
            const double em = font.pointSizeF() > 0
                                  ? font.pointSizeF() * device->logicalDpiY() / 72.0
                                  : QFontInfo(QFont(font, device)).pixelSize();
            return {face.ascentEm * em, face.descentEm * em};
        }
    }
    const QFontMetricsF metrics(font, device);
    return {metrics.ascent(), metrics.descent()};
}

}
