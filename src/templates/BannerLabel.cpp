#include "templates/BannerLabel.h"

#include <QFontMetrics>

namespace corvane {

QString productWebAddress() { return QStringLiteral("www.corvane.com"); }

QString bannerText()
{
    return QStringLiteral("Corvane快递单打印软件(") + productWebAddress() + QLatin1Char(')');
}

QFont bannerFont()
{
    QFont font(QStringLiteral("微软雅黑"));
    font.setPixelSize(16);
    font.setBold(true);
    return font;
}

QSize bannerLabelSize()
{
    const QFontMetrics metrics(bannerFont());
    return {metrics.horizontalAdvance(bannerText()), metrics.height()};
}

}
