#include "app/DesktopShortcut.h"
#include "app/Startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

namespace corvane {

namespace {

QString homeFolder()
{
    return QDir::homePath();
}

// $XDG_CONFIG_HOME or ~/.config, as the XDG base directories say.
QString configFolder()
{
    const QString set = qEnvironmentVariable("XDG_CONFIG_HOME");
    return QDir::isAbsolutePath(set) ? set : homeFolder() + QStringLiteral("/.config");
}

// The value of XDG_DESKTOP_DIR in user-dirs.dirs: a shell assignment of "$HOME/…" or of an
// absolute path. Null when the file or the line is absent.
QString xdgDesktopDir()
{
    QFile file(configFolder() + QStringLiteral("/user-dirs.dirs"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QString found;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (!line.startsWith(QLatin1String("XDG_DESKTOP_DIR=")))
            continue;
        QString value = line.mid(int(qstrlen("XDG_DESKTOP_DIR=")));
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        QString unescaped;   // inside double quotes a backslash takes the next character literally
        for (int i = 0; i < value.size(); ++i) {
            if (value.at(i) == QLatin1Char('\\') && i + 1 < value.size())
                ++i;
            unescaped += value.at(i);
        }
        value = unescaped;
        if (value.startsWith(QLatin1String("$HOME")))
            value = homeFolder() + value.mid(5);
        if (QDir::isAbsolutePath(value))
            found = QDir::cleanPath(value);   // the last assignment wins, as in the shell
    }
    return found;
}

}

QString DesktopShortcut::desktopFolder()
{
    const QString xdg = xdgDesktopDir();
    if (xdg.isNull())
        return homeFolder() + QStringLiteral("/Desktop");
    // A desktop folder set to the home folder means the user has none.
    if (xdg == QDir::cleanPath(homeFolder()))
        return {};
    return xdg;
}

QString DesktopShortcut::filePath()
{
    const QString folder = desktopFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + applicationTitle() + QStringLiteral(".desktop");
}

QString DesktopShortcut::applicationsFolder()
{
    const QString set = qEnvironmentVariable("XDG_DATA_HOME");
    const QString data = QDir::isAbsolutePath(set) ? set : homeFolder() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/applications");
}

QString DesktopShortcut::menuEntryPath()
{
    return applicationsFolder() + QStringLiteral("/corvane.desktop");
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
    text += QStringLiteral("Categories=Office;\n");
    // Lets a launcher match the running program's windows to this entry.
    text += QStringLiteral("StartupWMClass=corvane\n");
    return text.toUtf8();
}

namespace {

bool writeEntry(const QString& path, const QByteArray& content)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(content) != content.size())
        return false;
    if (!file.commit())
        return false;
    // Desktops start only entries marked executable.
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                           | QFile::ReadGroup | QFile::ExeGroup
                                           | QFile::ReadOther | QFile::ExeOther);
}

}

DesktopShortcut::Written DesktopShortcut::write(const QString& executable)
{
    const QString icon = iconPath(executable);
    if (!QFile::exists(icon))
        QImage(QStringLiteral(":/art/corvane.png")).save(icon);   // best effort: a missing icon is no failure
    const QByteArray content = entry(executable, icon);

    Written written;
    // A desktop folder that does not exist is the user's choice: none is made.
    const QString desktop = desktopFolder();
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir())
        written.desktop = writeEntry(filePath(), content);
    // The applications folder is the program's to make; menus and launchers read it.
    if (QDir().mkpath(applicationsFolder()))
        written.menu = writeEntry(menuEntryPath(), content);
    return written;
}

}
