#include "app/DesktopShortcut.h"
#include "app/Startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QStandardPaths>

namespace corvane {

QString DesktopShortcut::desktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString DesktopShortcut::filePath()
{
    return desktopFolder() + QLatin1Char('/') + applicationTitle() + QStringLiteral(".desktop");
}

QString DesktopShortcut::iconPath(const QString& executable)
{
    return QFileInfo(executable).absolutePath() + QStringLiteral("/corvane.png");
}

QString DesktopShortcut::escapeValue(const QString& value)
{
    QString out;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

QString DesktopShortcut::execArgument(const QString& argument)
{
    // Inside double quotes ", `, $ and \ take a backslash; a literal % is doubled.
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    // The whole key value is a string, so its backslashes are escaped once more.
    return escapeValue(quoted);
}

QByteArray DesktopShortcut::entry(const QString& executable, const QString& icon)
{
    const QFileInfo exe(executable);
    QString text;
    text += QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Version=1.0\n");
    text += QStringLiteral("Name=") + escapeValue(applicationTitle()) + QLatin1Char('\n');
    text += QStringLiteral("Exec=") + execArgument(exe.absoluteFilePath()) + QLatin1Char('\n');
    text += QStringLiteral("Path=") + escapeValue(exe.absolutePath() + QLatin1Char('/')) + QLatin1Char('\n');
    text += QStringLiteral("Icon=") + escapeValue(icon) + QLatin1Char('\n');
    text += QStringLiteral("Terminal=false\n");
    return text.toUtf8();
}

bool DesktopShortcut::write(const QString& executable)
{
    const QString icon = iconPath(executable);
    if (!QFile::exists(icon))
        QImage(QStringLiteral(":/art/corvane.png")).save(icon);   // best effort: a missing icon is no failure

    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(entry(executable, icon));
    if (!file.commit())
        return false;
    // Desktops start only entries marked executable.
    return QFile::setPermissions(filePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                 | QFile::ReadGroup | QFile::ExeGroup
                                                 | QFile::ReadOther | QFile::ExeOther);
}

}
