// The main window: layout, status bar, start page, navigation, help, frame and the desktop entry.
#include "testsupport/AppTestSupport.h"
#include "testsupport/ScopedEnv.h"
#include "addressbook/List.h"
#include "app/DesktopShortcut.h"
#include "app/Startup.h"
#include "templates/BannerLabel.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTemporaryDir>
#include <QToolButton>

using namespace corvane;
using namespace corvane::test;

namespace {

QWidget* widget(const MainWindowFixture& f, const QString& name)
{
    if (f.form().objectName() == name)
        return &f.form();
    return f.find<QWidget>(name);
}

QStringList lines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

}

class MainWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void layout();
    void navigationBar();
    void statusBar();
    void opensOnTheRecipientPageWithEmptyBoxes();
    void tabsStayHidden();
    void formCreateUsesTheDesktop();
    void popupPlacement_data();
    void popupPlacement();
    void help_data();
    void help();
    void helpKey();
    void bannerDrag_data();
    void bannerDrag();
    void minimise();
    void closeAndExit_data();
    void closeAndExit();
    void importButtonShowsTheImportList();
    void desktopEntry_data();
    void desktopEntry();
    void shortcutInTheXdgDesktopFolder();
};

void MainWindowTest::layout()
{
    // Place within the parent; for the window its size only.
    QList<QPair<QString, QRect>> places{
        {"MainForm", QRect(0, 0, 992, 685)},
        {"Panel1", QRect(0, 0, 992, 685)},
        {"Image1", QRect(1, 1, 989, 66)},
        {"Image2", QRect(942, 5, 19, 19)},
        {"Image3", QRect(965, 5, 19, 19)},
        {"Panel2", QRect(0, 68, 990, 80)},
        {"PageControl1", QRect(-1, 123, 990, 550)},
        {"StatusBar1", QRect(1, 655, 986, 25)},
        {"DBGridEh1", QRect(2, 129, 976, 375)},
        {"DBGridEh2", QRect(2, 184, 976, 320)},
        {"DBGridEh3", QRect(2, 104, 976, 400)},
        {"Edit1", QRect(88, 16, 137, 19)},
        {"Edit3", QRect(504, 16, 337, 19)},
        {"Edit5", QRect(296, 43, 545, 19)},
        {"Edit8", QRect(504, 70, 137, 19)},
        {"Edit9", QRect(88, 97, 753, 19)},
        {"Edit25", QRect(672, 70, 57, 19)},
        {"Edit26", QRect(752, 70, 33, 19)},
        {"Edit27", QRect(808, 70, 33, 19)},
        {"SpeedButton11", QRect(880, 15, 65, 21)},
        {"SpeedButton12", QRect(880, 42, 65, 21)},
        {"SpeedButton13", QRect(880, 69, 65, 21)},
        {"SpeedButton14", QRect(880, 96, 65, 21)},
        {"Edit10", QRect(88, 16, 137, 20)},
        {"Edit12", QRect(506, 16, 335, 20)},
        {"Edit14", QRect(296, 43, 545, 20)},
        {"Edit17", QRect(506, 70, 335, 20)},
        {"Edit18", QRect(88, 97, 137, 20)},
        {"Edit19", QRect(296, 97, 545, 20)},
        {"Edit20", QRect(88, 152, 137, 20)},
        {"Edit21", QRect(296, 152, 137, 20)},
        {"Edit29", QRect(506, 152, 247, 20)},
        {"SpeedButton15", QRect(880, 15, 65, 21)},
        {"SpeedButton16", QRect(880, 42, 65, 21)},
        {"SpeedButton17", QRect(880, 69, 65, 21)},
        {"SpeedButton18", QRect(880, 96, 65, 21)},
        {"SpeedButton19", QRect(792, 152, 65, 22)},
        {"SpeedButton20", QRect(880, 152, 65, 22)},
        {"Image4", QRect(0, 0, 982, 522)},
        {"Image5", QRect(0, 0, 982, 522)},
        {"Image6", QRect(0, 0, 982, 522)},
    };
    for (int n = 1; n <= 10; ++n)
        places.append({QString("SpeedButton%1").arg(n), QRect(8 + 73 * (n - 1), 3, 73, 73)});

    MainWindowFixture f;
    for (const auto& [name, rect] : places) {
        QWidget* w = widget(f, name);
        QVERIFY2(w, qPrintable(name));
        const QRect actual = w->isWindow() ? QRect(QPoint(0, 0), w->size()) : w->geometry();
        QVERIFY2(actual == rect, qPrintable(QString("%1 at %2,%3 %4x%5").arg(name).arg(actual.x()).arg(actual.y())
                                                .arg(actual.width()).arg(actual.height())));
    }
}

void MainWindowTest::navigationBar()
{
    MainWindowFixture f;
    QVERIFY(f.form().windowFlags() & Qt::FramelessWindowHint);
    const QStringList captions{"寄件信息", "收件信息", "单张打印", "批量打印", "Excel导入",
                               "数据导出", "数据管理", "显示日期", "帮助主题", "退出软件"};
    for (int n = 1; n <= 10; ++n) {
        auto* button = f.find<QToolButton>(QString("SpeedButton%1").arg(n));
        QVERIFY(button);
        QCOMPARE(button->parentWidget()->objectName(), QString("Panel2"));
        QCOMPARE(button->text(), captions[n - 1]);
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QCOMPARE(button->iconSize(), QSize(48, 48));
        QVERIFY(!button->icon().pixmap(48, 48).isNull());
        QCOMPARE(button->font().family(), QString("宋体"));
        QCOMPARE(button->font().pixelSize(), 14);
    }
    for (const char* picture : {"Image1", "Image2", "Image3", "Image4", "Image5", "Image6"})
        QVERIFY2(!f.find<QLabel>(picture)->pixmap().isNull(), picture);
    QCOMPARE(f.find<QWidget>("Image2")->toolTip(), QString("最小化"));
    QCOMPARE(f.find<QWidget>("Image3")->toolTip(), QString("关闭"));
    QCOMPARE(f.find<QWidget>("Image2")->cursor().shape(), Qt::PointingHandCursor);
}

void MainWindowTest::statusBar()
{
    MainWindowFixture f;
    const QList<QPair<QString, int>> panels{{"  以“好用、实用、易用”为设计理念！", 600},
                                            {" 快捷键:帮助F1", 150},
                                            {" 网站:" + productWebAddress(), 0}};
    auto* bar = f.find<QStatusBar>("StatusBar1");
    QVERIFY(bar);
    const QList<QLabel*> labels = bar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(labels.size(), panels.size());
    for (int i = 0; i < panels.size(); ++i) {
        QCOMPARE(labels[i]->text(), panels[i].first);
        if (panels[i].second)
            QCOMPARE(labels[i]->width(), panels[i].second);
    }
    // The last panel takes the rest of the bar.
    QVERIFY(labels[2]->geometry().right() > bar->width() - 20);
}

void MainWindowTest::opensOnTheRecipientPageWithEmptyBoxes()
{
    MainWindowFixture f({{"王立新", "", "", "", "", "", "", "", "", "2024", "05", "01"}});
    QCOMPARE(f.form().PageControl1()->currentWidget()->objectName(), QString("TabSheet2"));
    QStringList boxes = boxNames(1, 24) << "Edit29";
    for (const QString& name : boxes) {
        if (auto* box = f.find<QLineEdit>(name))
            QVERIFY2(box->text().isEmpty(), qPrintable(name));
    }
    // Showing the window again empties what was typed and keeps what start-up set.
    f.type("Edit10", "abc");
    f.type("Edit20", "abc");
    f.form().hide();
    f.form().show();
    QCOMPARE(f.texts({"Edit10", "Edit20"}), (QStringList{"", ""}));
    QCOMPARE(f.texts({"Edit25", "Edit26", "Edit27", "Edit28"}), (QStringList{"2024", "05", "09", "王立新"}));
    QVERIFY(!f.find<QLineEdit>("Edit28")->isVisible());
}

void MainWindowTest::tabsStayHidden()
{
    MainWindowFixture f;
    auto* pages = f.find<QTabWidget>("PageControl1");
    QWidget* bar = f.find<QWidget>("Panel2");
    QTabBar* tabs = pages->tabBar();
    const QRect tabsInWindow(tabs->mapTo(&f.form(), QPoint(0, 0)), tabs->size());
    QVERIFY2(bar->geometry().contains(tabsInWindow.intersected(f.form().rect())),
             qPrintable(QString("tabs at %1,%2 %3x%4").arg(tabsInWindow.x()).arg(tabsInWindow.y())
                            .arg(tabsInWindow.width()).arg(tabsInWindow.height())));
    // The navigation bar lies above the page control.
    QWidget* panel = f.find<QWidget>("Panel1");
    QVERIFY(panel->children().indexOf(bar) > panel->children().indexOf(pages));
    // The keyboard does not switch pages.
    f.find<QLineEdit>("Edit10")->setFocus();
    QTest::keyClick(f.find<QLineEdit>("Edit10"), Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClick(f.find<QLineEdit>("Edit10"), Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(pages->currentWidget()->objectName(), QString("TabSheet2"));
}

void MainWindowTest::formCreateUsesTheDesktop()
{
    MainWindowFixture f;
    QCOMPARE(f.desktop.shortcutsWritten, 1);
    QVERIFY(f.desktop.opened.isEmpty());
}

void MainWindowTest::popupPlacement_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("数据管理") << 7 << "PopupMenu3" << QStringList{"数据备份", "数据恢复"};
    QTest::newRow("帮助主题") << 9 << "PopupMenu4" << QStringList{"使用帮助", "常见问题", "软件网站"};
}

void MainWindowTest::popupPlacement()
{
    QFETCH(int, button);
    QFETCH(QString, menu);
    QFETCH(QStringList, entries);

    MainWindowFixture f;
    f.form().move(40, 30);
    QToolButton* pressed = f.form().navigationButton(button);
    QCOMPARE(f.form().popupPosition(pressed), QPoint(40 + 8 + 73 * (button - 1), 30 + 145));

    auto* popup = f.find<QMenu>(menu);
    QVERIFY(popup);
    QStringList captions;
    for (QAction* action : popup->actions())
        captions << action->text();
    QCOMPARE(captions, entries);
    f.click(pressed->objectName());
    QVERIFY(popup->isVisible());
    popup->close();
}

void MainWindowTest::help_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("chmPresent");
    QTest::addColumn<QString>("opened");      // <work>: the working folder, <program>: the program's folder

    const QString site = QUrl::fromUserInput(productWebAddress()).toString(QUrl::RemovePath);
    QTest::newRow("使用帮助 opens the chm file when there is one") << "N3" << true << "<work>/使用帮助.chm";
    QTest::newRow("使用帮助 opens the shipped help otherwise") << "N3" << false << "<program>/help/使用帮助.html";
    QTest::newRow("常见问题") << "N5" << false << site + "/ques.htm";
    QTest::newRow("软件网站") << "N6" << false << site + "/";
}

void MainWindowTest::help()
{
    QFETCH(QString, entry);
    QFETCH(bool, chmPresent);
    QFETCH(QString, opened);

    MainWindowFixture f;
    if (chmPresent) {
        QFile chm(f.book.path() + "/使用帮助.chm");
        QVERIFY(chm.open(QIODevice::WriteOnly));
    }
    f.triggerMenu(entry);
    QCOMPARE(f.desktop.opened.size(), 1);
    QUrl expected(opened);
    if (opened.startsWith('<')) {
        opened.replace("<work>", QFileInfo(f.book.path()).canonicalFilePath())
            .replace("<program>", QCoreApplication::applicationDirPath());
        expected = QUrl::fromLocalFile(opened);
    }
    QCOMPARE(f.desktop.opened.first(), expected);
    QVERIFY(f.dialogs.messages.isEmpty());
}

void MainWindowTest::helpKey()
{
    // Inside the program F1 opens the help wherever the focus is.
    {
        MainWindowFixture f;
        f.form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.form()));
        QTest::keyClick(f.find<QLineEdit>("Edit12"), Qt::Key_F1);
        QCOMPARE(f.desktop.opened.size(), 1);
        QVERIFY(f.desktop.opened.first().fileName() == "使用帮助.html");
        // F1 with a modifier is not the help key.
        QTest::keyClick(f.find<QLineEdit>("Edit12"), Qt::Key_F1, Qt::ControlModifier);
        QCOMPARE(f.desktop.opened.size(), 1);
    }
    // Where the desktop grants a global grab, its key opens the same help.
    MainWindowFixture f;
    f.desktop.grabSucceeds = true;
    f.form().FormCreate();
    QVERIFY(f.desktop.helpKey);
    f.desktop.helpKey();
    QCOMPARE(f.desktop.opened.size(), 1);
    QVERIFY(f.desktop.opened.first().fileName() == "使用帮助.html");
}

void MainWindowTest::bannerDrag_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("moved");
    QTest::newRow("left button drags") << Qt::LeftButton << QPoint(50, 30);
    QTest::newRow("right button does not") << Qt::RightButton << QPoint(0, 0);
}

void MainWindowTest::bannerDrag()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, moved);

    MainWindowFixture f;
    f.form().move(20, 20);
    const QPoint before = f.form().pos();
    QWidget* banner = f.find<QWidget>("Image1");
    QTest::mousePress(banner, button, {}, QPoint(300, 30));
    QTest::mouseMove(banner, QPoint(350, 60));
    QTest::mouseRelease(banner, button, {}, QPoint(350, 60));
    QCOMPARE(f.form().pos() - before, moved);
}

void MainWindowTest::minimise()
{
    MainWindowFixture f;
    QTest::mouseClick(f.find<QWidget>("Image2"), Qt::LeftButton);
    QVERIFY(f.form().windowState() & Qt::WindowMinimized);
    QVERIFY(f.dialogs.messages.isEmpty());
}

void MainWindowTest::closeAndExit_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("关闭 picture") << "Image3";
    QTest::newRow("退出软件") << "SpeedButton10";
}

void MainWindowTest::closeAndExit()
{
    QFETCH(QString, control);

    MainWindowFixture f({}, {{"张伟"}});
    f.desktop.grabSucceeds = true;
    f.form().FormCreate();
    QVERIFY(f.desktop.helpKey);
    f.type("Edit10", "未保存的内容");
    QTest::mouseClick(f.find<QWidget>(control), Qt::LeftButton);
    QVERIFY(!f.form().isVisible());
    QVERIFY(f.dialogs.messages.isEmpty());    // no question on the way out
    QVERIFY(!f.desktop.helpKey);
}

void MainWindowTest::importButtonShowsTheImportList()
{
    MainWindowFixture f;
    f.book.insert("excel", {"周强", "武汉"});
    f.click("SpeedButton5");
    QCOMPARE(f.form().PageControl1()->currentWidget()->objectName(), QString("TabSheet3"));
    QCOMPARE(f.form().ADOQuery3()->RecordCount(), 1);
}

void MainWindowTest::desktopEntry_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QString>("path");

    QTest::newRow("plain") << "/opt/corvane/corvane" << "Exec=\"/opt/corvane/corvane\"" << "Path=/opt/corvane/";
    QTest::newRow("blanks and Chinese") << "/home/王/快递 单/corvane" << "Exec=\"/home/王/快递 单/corvane\""
                                        << "Path=/home/王/快递 单/";
    // Inside the quotes $ ` " \ take a backslash, whose backslash the string escaping doubles; % is doubled.
    QTest::newRow("reserved characters") << "/tmp/a$b`c\"d\\e%f/corvane"
                                         << "Exec=\"/tmp/a\\\\$b\\\\`c\\\\\"d\\\\\\\\e%%f/corvane\""
                                         << "Path=/tmp/a$b`c\"d\\\\e%f/";
}

void MainWindowTest::desktopEntry()
{
    QFETCH(QString, executable);
    QFETCH(QString, exec);
    QFETCH(QString, path);

    const QString icon = DesktopShortcut::iconPath(executable);
    QCOMPARE(icon, QFileInfo(executable).path() + "/corvane.png");
    const QStringList entry = QString::fromUtf8(DesktopShortcut::entry(executable, icon)).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(entry.first(), QString("[Desktop Entry]"));
    QVERIFY(entry.contains("Type=Application"));
    QVERIFY(entry.contains("Name=Corvane快递单打印软件(专业版)"));
    QVERIFY2(entry.contains(exec), qPrintable(entry.join('\n')));
    QVERIFY2(entry.contains(path), qPrintable(entry.join('\n')));
    QVERIFY(entry.contains("Icon=" + DesktopShortcut::escapeValue(icon)));
}

void MainWindowTest::shortcutInTheXdgDesktopFolder()
{
    QTemporaryDir home;
    const QString desktop = home.path() + "/桌面";
    QVERIFY(QDir().mkpath(desktop));
    QVERIFY(QDir().mkpath(home.path() + "/.config"));
    {
        QFile dirs(home.path() + "/.config/user-dirs.dirs");
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_DESKTOP_DIR=\"$HOME/桌面\"\n");
    }
    ScopedEnv homeEnv("HOME", home.path().toUtf8());
    ScopedEnv configEnv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    QVERIFY(QDir().mkpath(home.path() + "/program"));
    const QString executable = home.path() + "/program/corvane";

    const QString file = desktop + "/Corvane快递单打印软件(专业版).desktop";
    QCOMPARE(DesktopShortcut::filePath(), file);
    QVERIFY(DesktopShortcut::write(executable).desktop);
    const QByteArray first = [&] { QFile f(file); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    QCOMPARE(first, DesktopShortcut::entry(executable, home.path() + "/program/corvane.png"));
    QVERIFY(QFileInfo(file).isExecutable());
    // The icon the entry names is there, taken from the program when nothing shipped it.
    QVERIFY(!QImage(home.path() + "/program/corvane.png").isNull());

    // The next start overwrites the entry.
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("stale");
    }
    QVERIFY(DesktopShortcut::write(executable).desktop);
    QCOMPARE(lines(file), QString::fromUtf8(first).split('\n', Qt::SkipEmptyParts));
    QCOMPARE(QDir(desktop).entryList(QDir::Files).size(), 1);

    // No desktop folder: none is made, nothing said; the menu's entry is still written.
    QVERIFY(QDir(desktop).removeRecursively());
    QVERIFY(!DesktopShortcut::write(executable).desktop);
    QVERIFY(!QFileInfo::exists(desktop));
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
