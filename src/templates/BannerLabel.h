#pragma once
#include <QFont>
#include <QSize>
#include <QString>

namespace corvane {

// The one-line banner printed on every template page.
QString productWebAddress();
QString bannerText();
QFont bannerFont();          // 微软雅黑, 16 px (12 pt), bold
// The label sized to its text on a 96-dpi screen (about 305 x 23 px); needs a QGuiApplication.
QSize bannerLabelSize();

}
