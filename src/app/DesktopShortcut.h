#pragma once
#include <QByteArray>
#include <QString>

namespace corvane {

// The desktop entry "Corvane快递单打印软件(专业版).desktop" in the user's desktop folder:
// it starts the program in its own folder, where data.mdb lies.
class DesktopShortcut {
public:
    static QString desktopFolder();                         // XDG user dirs, else ~/Desktop
    static QString filePath();                              // the entry in that folder
    static QString iconPath(const QString& executable);     // the icon shipped beside the program
    static QByteArray entry(const QString& executable, const QString& icon);
    // Writes (or overwrites) the entry and makes it executable; false when anything failed.
    static bool write(const QString& executable);

    // Quoting of the Exec key and escaping of string values, as desktop entries want them.
    static QString execArgument(const QString& argument);
    static QString escapeValue(const QString& value);
};

}
