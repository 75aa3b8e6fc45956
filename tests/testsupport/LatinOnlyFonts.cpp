#include "testsupport/LatinOnlyFonts.h"

#include <QDir>
#include <QFile>

namespace corvane::test {

QString writeLatinOnlyFontConfig(const QString& folder)
{
    const QDir dir(folder);
    const QString config = dir.filePath(QStringLiteral("fonts.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    const QByteArray text = "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
                            "<dir>/usr/share/fonts/truetype/dejavu</dir>\n<cachedir>"
                            + dir.filePath(QStringLiteral("cache")).toUtf8() + "</cachedir>\n</fontconfig>\n";
    if (file.write(text) != text.size() || !file.flush())
        return {};
    return config;
}

}
