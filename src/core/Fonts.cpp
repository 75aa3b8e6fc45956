#include "core/Fonts.h"

#include <QFont>
#include <QFontDatabase>

namespace corvane {

const QList<FaceStandIn>& faceStandIns()
{
    static const QList<FaceStandIn> standIns{
        // Noto Serif CJK SC types the few characters the Ming face lacks.
        {QStringLiteral("宋体"), QStringLiteral("SimSun"),
         {QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Serif CJK SC")},
         QStringLiteral("fonts-arphic-uming")},
        {QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"),
         {QStringLiteral("Noto Sans CJK SC")},
         QStringLiteral("fonts-noto-cjk")},
    };
    return standIns;
}

void installFontSubstitutions()
{
    for (const FaceStandIn& face : faceStandIns()) {
        QFont::removeSubstitutions(face.windowsFace);
        QFont::removeSubstitutions(face.alias);
        QFont::insertSubstitutions(face.windowsFace, face.families);
        QFont::insertSubstitutions(face.alias, face.families);
    }
}

QList<FaceStandIn> missingStandIns(const QStringList& installedFamilies)
{
    QList<FaceStandIn> missing;
    for (const FaceStandIn& face : faceStandIns()) {
        if (!installedFamilies.contains(face.families.first(), Qt::CaseInsensitive))
            missing.append(face);
    }
    return missing;
}

QString missingFontsMessage(const QStringList& installedFamilies, bool chineseShowable)
{
    const QList<FaceStandIn> missing = missingStandIns(installedFamilies);
    if (missing.isEmpty())
        return {};
    QStringList faces;
    QStringList packages;
    for (const FaceStandIn& face : missing) {
        faces << QStringLiteral("%1（代替%2）").arg(face.families.first(), face.windowsFace);
        if (!packages.contains(face.package))
            packages << face.package;
    }
    QString message = QStringLiteral("缺少打印快递单所需的字体：%1，无法正确打印。"
                                     "请安装软件包 %2（sudo apt-get install %2）后再启动本软件！")
                          .arg(faces.join(QStringLiteral("、")), packages.join(QLatin1Char(' ')));
    if (!chineseShowable) {
        message += QStringLiteral("\n\nNo Chinese font is installed, so nothing can be printed. "
                                  "Install the packages %1 and start the program again.")
                       .arg(packages.join(QLatin1Char(' ')));
    }
    return message;
}

bool chineseTextShowable()
{
    return !QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty();
}

QString missingFontsMessage()
{
    return missingFontsMessage(QFontDatabase::families(), chineseTextShowable());
}

}
