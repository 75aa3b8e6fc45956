// Where the desktop entries go: the desktop folder the XDG user directories name (~/桌面 on a
// Chinese desktop), and the user's applications folder, written at every start.
#include "app/DesktopShortcut.h"
#include "app/SystemDesktop.h"
#include "testsupport/ScopedEnv.h"
#include "testsupport/FileContents.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace corvane;
using namespace corvane::test;

namespace {

const QString entryName = QStringLiteral("Corvane快递单打印软件(专业版).desktop");

}

class DesktopEntryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void entriesGoWhereTheDesktopLooks_data();
    void entriesGoWhereTheDesktopLooks();
    void everyStartRewritesBoth();
};

void DesktopEntryTest::entriesGoWhereTheDesktopLooks_data()
{
    // user-dirs.dirs (null: no file), folders that exist under the home folder, XDG_DATA_HOME
    // under the home folder (null: unset), then where the two entries must be (empty: none).
    QTest::addColumn<QByteArray>("userDirs");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("dataHome");
    QTest::addColumn<QString>("desktopEntry");
    QTest::addColumn<QString>("menuEntry");

    const QString menu = QStringLiteral(".local/share/applications/corvane.desktop");
    QTest::newRow("chinese desktop") << QByteArray("XDG_DESKTOP_DIR=\"$HOME/桌面\"\n")
                                     << QStringList{"桌面", "Desktop"} << QString()
                                     << "桌面/" + entryName << menu;
    QTest::newRow("whole file as xdg-user-dirs writes it")
        << QByteArray("# This file is written by xdg-user-dirs-update\nXDG_DOWNLOAD_DIR=\"$HOME/下载\"\n"
                      "XDG_DESKTOP_DIR=\"$HOME/桌面\"\nXDG_DOCUMENTS_DIR=\"$HOME/文档\"\n")
        << QStringList{"桌面"} << QString() << "桌面/" + entryName << menu;
    QTest::newRow("no user dirs, ~/Desktop") << QByteArray() << QStringList{"Desktop"} << QString()
                                             << "Desktop/" + entryName << menu;
    QTest::newRow("no desktop folder at all") << QByteArray() << QStringList{} << QString() << QString() << menu;
    QTest::newRow("named folder missing") << QByteArray("XDG_DESKTOP_DIR=\"$HOME/桌面\"\n")
                                          << QStringList{"Desktop"} << QString() << QString() << menu;
    QTest::newRow("desktop turned off") << QByteArray("XDG_DESKTOP_DIR=\"$HOME/\"\n")
                                        << QStringList{"Desktop"} << QString() << QString() << menu;
    QTest::newRow("absolute path with a quote") << QByteArray("XDG_DESKTOP_DIR=\"@HOME@/my \\\"desk\\\"\"\n")
                                                << QStringList{"my \"desk\""} << QString()
                                                << "my \"desk\"/" + entryName << menu;
    QTest::newRow("own data home") << QByteArray("XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n")
                                   << QStringList{"Schreibtisch"} << QStringLiteral("data")
                                   << "Schreibtisch/" + entryName
                                   << QStringLiteral("data/applications/corvane.desktop");
}

void DesktopEntryTest::entriesGoWhereTheDesktopLooks()
{
    QFETCH(QByteArray, userDirs);
    QFETCH(QStringList, folders);
    QFETCH(QString, dataHome);
    QFETCH(QString, desktopEntry);
    QFETCH(QString, menuEntry);

    QTemporaryDir home;
    const QString root = home.path() + QLatin1Char('/');
    ScopedEnv homeEnv("HOME", home.path().toUtf8());
    ScopedEnv configEnv("XDG_CONFIG_HOME", QByteArray());
    ScopedEnv dataEnv("XDG_DATA_HOME", dataHome.isNull() ? QByteArray() : (root + dataHome).toUtf8());
    for (const QString& folder : folders)
        QVERIFY(QDir().mkpath(root + folder));
    if (!userDirs.isNull()) {
        QVERIFY(QDir().mkpath(root + ".config"));
        QFile file(root + ".config/user-dirs.dirs");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(userDirs.replace("@HOME@", home.path().toUtf8()));
    }
    QVERIFY(QDir().mkpath(root + "program"));
    const QString executable = root + "program/corvane";

    const DesktopShortcut::Written written = DesktopShortcut::write(executable);
    const QByteArray expected = DesktopShortcut::entry(executable, root + "program/corvane.png");

    QCOMPARE(written.desktop, !desktopEntry.isEmpty());
    QCOMPARE(written.menu, true);
    if (!desktopEntry.isEmpty()) {
        QCOMPARE(DesktopShortcut::filePath(), root + desktopEntry);
        QCOMPARE(fileContents(root + desktopEntry), expected);
        QVERIFY(QFileInfo(root + desktopEntry).isExecutable());
    }
    QCOMPARE(DesktopShortcut::menuEntryPath(), root + menuEntry);
    QCOMPARE(fileContents(root + menuEntry), expected);
    QVERIFY(QFileInfo(root + menuEntry).isExecutable());

    // Nothing else was written or made in the home folder: no desktop folder appears that the
    // user does not have, and no second entry.
    QStringList made;
    QDirIterator it(home.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next().mid(root.size());
        if (path.endsWith(QLatin1String(".desktop")))
            made << path;
    }
    QStringList wanted{menuEntry};
    if (!desktopEntry.isEmpty())
        wanted << desktopEntry;
    made.sort();
    wanted.sort();
    QCOMPARE(made, wanted);
    for (const QString& folder : {QStringLiteral("Desktop"), QStringLiteral("桌面")})
        QCOMPARE(QFileInfo::exists(root + folder), folders.contains(folder));
}

void DesktopEntryTest::everyStartRewritesBoth()
{
    // What FormCreate calls at every start, with the running program as the target.
    QTemporaryDir home;
    const QString root = home.path() + QLatin1Char('/');
    ScopedEnv homeEnv("HOME", home.path().toUtf8());
    ScopedEnv configEnv("XDG_CONFIG_HOME", QByteArray());
    ScopedEnv dataEnv("XDG_DATA_HOME", QByteArray());
    QVERIFY(QDir().mkpath(root + "Desktop"));
    const QString desktopFile = root + "Desktop/" + entryName;
    const QString menuFile = root + ".local/share/applications/corvane.desktop";
    QVERIFY(QDir().mkpath(QFileInfo(menuFile).path()));
    for (const QString& path : {desktopFile, menuFile}) {
        QFile stale(path);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("[Desktop Entry]\nExec=/old/place/corvane\n");
    }

    SystemDesktop().writeShortcut();
    const QString exec = QStringLiteral("Exec=") + DesktopShortcut::execArgument(QCoreApplication::applicationFilePath());
    for (const QString& path : {desktopFile, menuFile}) {
        const QStringList lines = QString::fromUtf8(fileContents(path)).split(QLatin1Char('\n'));
        QVERIFY2(lines.contains(exec), qPrintable(path));
        QVERIFY(!lines.contains(QStringLiteral("Exec=/old/place/corvane")));
    }
}

QTEST_MAIN(DesktopEntryTest)
#include "tst_desktop_entry.moc"
