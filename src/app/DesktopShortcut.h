#pragma once
#include <QByteArray>
#include <QString>

namespace corvane {

// The desktop entry that starts the program in its own folder, where data.mdb lies: one in the
// user's desktop folder ("Corvane快递单打印软件(专业版).desktop") and one in the user's
// applications folder ("corvane.desktop"), where menus and launchers look.
class DesktopShortcut {
public:
    // The desktop folder the XDG user directories name (~/.config/user-dirs.dirs, e.g. ~/桌面),
    // else ~/Desktop; empty when the user turned the desktop folder off (set to the home folder).
    static QString desktopFolder();
    static QString filePath();                              // the entry in the desktop folder
    static QString applicationsFolder();                    // $XDG_DATA_HOME/applications
    static QString menuEntryPath();                         // the entry in that folder
    static QString iconPath(const QString& executable);     // the icon shipped beside the program
    static QByteArray entry(const QString& executable, const QString& icon);

    struct Written {
        bool desktop = false;   // false too where there is no desktop folder: none is made
        bool menu = false;
    };
    // Writes (or overwrites) both entries and makes them executable.
    static Written write(const QString& executable);

    // Quoting of the Exec key and escaping of string values, as desktop entries want them.
    static QString execArgument(const QString& argument);
    static QString escapeValue(const QString& value);
};

}
