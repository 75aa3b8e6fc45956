#include "core/Fonts.h"

#include <QFont>

namespace corvane {

void installFontSubstitutions()
{
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC"));
    QFont::insertSubstitution(QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"));
    QFont::insertSubstitution(QStringLiteral("微软雅黑"), QStringLiteral("Noto Sans CJK SC"));
    QFont::insertSubstitution(QStringLiteral("Microsoft YaHei"), QStringLiteral("Noto Sans CJK SC"));
}

}
