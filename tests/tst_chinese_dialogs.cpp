// Qt's own texts in Simplified Chinese, and message boxes titled exactly as the program titles
// them: "提示", with no application name added by the window system.
#include "app/Application.h"
#include "core/Dialogs.h"
#include "app/Startup.h"
#include "testsupport/LatinOnlyFonts.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QFontDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <functional>

using namespace corvane;
using namespace corvane::test;

namespace {

struct SeenBox {
    QString title;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
};

QMessageBox* openMessageBox()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

SeenBox describe(QMessageBox* box)
{
    SeenBox seen{box->windowTitle(), {}, box->icon(), box->text()};
    for (QAbstractButton* button : box->buttons())
        seen.buttons << button->text();
    seen.buttons.sort();
    return seen;
}

// Runs `show` (which opens a modal box), looks at the box and answers it with `answer`.
SeenBox seeBox(const std::function<void()>& show, QMessageBox::StandardButton answer)
{
    SeenBox seen;
    QTimer::singleShot(0, [&] {
        QMessageBox* box = openMessageBox();
        if (!box)
            return;
        seen = describe(box);
        box->button(answer)->click();
    });
    show();
    return seen;
}

// Child mode: shows one "提示" box on the real window system and prints the title the window
// system holds for it, then the buttons.
int showHintOnTheWindowSystem(int argc, char** argv)
{
    Application app(argc, argv);
    setUpApplication();
    QTimer::singleShot(500, [] {
        QMessageBox* box = openMessageBox();
        if (!box) {
            std::puts("no box");
            QCoreApplication::exit(2);
            return;
        }
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(box->winId()),
                                              QStringLiteral("_NET_WM_NAME")});
        xprop.waitForFinished(10000);
        std::printf("%s", xprop.readAllStandardOutput().constData());
        std::printf("buttons %s\n", describe(box).buttons.join(QLatin1Char('|')).toUtf8().constData());
        std::fflush(stdout);
        box->button(QMessageBox::Ok)->click();
    });
    Dialogs::hint(nullptr, QStringLiteral("数据备份成功！"));
    return 0;
}

// Child mode: the program's start-up, its message boxes written to standard output.
class PrintedDialogs : public Dialogs {
public:
    MessageResult message(QWidget*, const QString& title, const QString& text, MessageIcon, MessageButtons) override
    {
        std::printf("box %s|%s|%s\n", title.toUtf8().constData(), QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')).toUtf8().constData(),
                    QCoreApplication::translate("QPlatformTheme", "OK").toUtf8().constData());
        std::fflush(stdout);
        return MessageResult::Ok;
    }
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
};

int startWithPrintedDialogs(char* program)
{
    static PrintedDialogs printed;
    Dialogs::install(&printed);
    int argc = 1;
    char* argv[] = {program, nullptr};
    return runApplication(argc, argv);
}

}

class ChineseDialogsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void messageBoxes_data();
    void messageBoxes();
    void editBoxMenusAndFontDialogSpeakChinese();
    void titleOnTheWindowSystemIsExactlyTheHint();
    void startUpWithoutTheFacesSaysWhatToInstall();
};

void ChineseDialogsTest::messageBoxes_data()
{
    QTest::addColumn<int>("kind");   // 0 hint, 1 delete question, 2 error box
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("text");
    QTest::newRow("hint") << 0 << "提示" << QStringList{"确定"} << int(QMessageBox::NoIcon) << "数据备份成功！";
    QTest::newRow("delete question") << 1 << "提示" << QStringList{"取消", "确定"} << int(QMessageBox::Warning)
                                     << "确定要删除选中的记录？";
    QTest::newRow("error box") << 2 << applicationTitle() << QStringList{"确定"} << int(QMessageBox::Critical)
                               << "database is locked.";
}

void ChineseDialogsTest::messageBoxes()
{
    QFETCH(int, kind);
    QFETCH(QString, title);
    QFETCH(QStringList, buttons);
    QFETCH(int, icon);
    QFETCH(QString, text);
    bool confirmed = false;
    const SeenBox seen = seeBox(
        [&] {
            if (kind == 0)
                Dialogs::hint(nullptr, text);
            else if (kind == 1)
                confirmed = Dialogs::confirm(nullptr, text);
            else
                Dialogs::showError(nullptr, QStringLiteral("database is locked"));
        },
        kind == 1 ? QMessageBox::Cancel : QMessageBox::Ok);
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.buttons, buttons);
    QCOMPARE(int(seen.icon), icon);
    QCOMPARE(seen.text, text);
    QVERIFY(!confirmed);
}

void ChineseDialogsTest::editBoxMenusAndFontDialogSpeakChinese()
{
    QLineEdit edit(QStringLiteral("杭州"));
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator())
            texts << action->text().section(QLatin1Char('\t'), 0, 0);   // without the shortcut
    }
    QVERIFY2(texts.contains(QStringLiteral("全选")) && texts.contains(QStringLiteral("复制(&C)"))
                 && texts.contains(QStringLiteral("粘贴(&P)")),
             qPrintable(texts.join(QLatin1Char('|'))));
    // No English left: Latin letters only as the accelerator in brackets.
    static const QRegularExpression english(QStringLiteral("[A-Za-z]{2,}"));
    for (const QString& text : texts)
        QVERIFY2(!english.match(text).hasMatch(), qPrintable(text));

    QFontDialog fonts;
    QCOMPARE(fonts.windowTitle(), QStringLiteral("选择字体"));
}

void ChineseDialogsTest::titleOnTheWindowSystemIsExactlyTheHint()
{
    // X11 shows the title Qt formats for the window: with an application display name set it
    // would read "提示 — Corvane快递单打印软件(专业版)".
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty())
        QSKIP("Xvfb and xprop (packages xvfb, x11-utils) are needed to look at a real window");
    QProcess server;
    server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("800x600x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QVERIFY(server.waitForStarted());
    QByteArray display;
    for (int i = 0; i < 100 && !display.contains('\n'); ++i) {
        server.waitForReadyRead(100);
        display += server.readAllStandardOutput();
    }
    QVERIFY2(display.trimmed().toInt() > 0 || display.trimmed() == "0", display.constData());

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + QString::fromLatin1(display.trimmed()));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--show-hint")});
    const bool finished = child.waitForFinished(30000);
    server.terminate();
    server.waitForFinished(5000);
    QVERIFY(finished);
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    QVERIFY2(out.contains(QStringLiteral("_NET_WM_NAME(UTF8_STRING) = \"提示\"\n")), qPrintable(out + child.readAllStandardError()));
    QVERIFY2(out.contains(QStringLiteral("buttons 确定\n")), qPrintable(out));
}

void ChineseDialogsTest::startUpWithoutTheFacesSaysWhatToInstall()
{
    // The real start-up in a process whose font configuration knows Latin faces only: one box
    // names the packages, the buttons stay English (boxes otherwise), and the program ends.
    QTemporaryDir dir;
    const QString config = writeLatinOnlyFontConfig(dir.path());
    QVERIFY(!config.isEmpty());
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FONTCONFIG_FILE"), config);
    env.insert(QStringLiteral("HOME"), dir.path());
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(dir.path());
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--start")});
    QVERIFY(child.waitForFinished(60000));
    const QStringList boxes = QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                  .filter(QRegularExpression(QStringLiteral("^box ")));
    QCOMPARE(child.exitCode(), 1);
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes.first().startsWith(QStringLiteral("box 提示|缺少打印快递单所需的字体")), qPrintable(boxes.first()));
    QVERIFY2(boxes.first().contains(QStringLiteral("sudo apt-get install fonts-arphic-uming fonts-noto-cjk")), qPrintable(boxes.first()));
    QVERIFY2(boxes.first().contains(QStringLiteral("No Chinese font is installed")), qPrintable(boxes.first()));
    QVERIFY2(boxes.first().endsWith(QStringLiteral("|OK")), qPrintable(boxes.first()));
    // Nothing of the start-up ran after the message: no desktop entry was written.
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral(".local/share/applications/corvane.desktop"))));
}

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--start") == 0)
        return startWithPrintedDialogs(argv[0]);
    if (argc > 1 && qstrcmp(argv[1], "--show-hint") == 0)
        return showHintOnTheWindowSystem(argc, argv);
    Application app(argc, argv);
    setUpApplication();
    ChineseDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_chinese_dialogs.moc"
