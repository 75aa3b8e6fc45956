// Start-up: a data.mdb that cannot be opened ends it with a message naming the file and the cause,
// then the engine's text, and creates nothing; a read-only book opens for browsing after one notice;
// one program per book; an error escaping an event handler reaches the standard error box and the
// program runs on.
#include "testsupport/AppTestSupport.h"
#include "app/Application.h"
#include "app/SingleInstance.h"
#include "core/Error.h"
#include "app/Startup.h"
#include "addressbook/Connection.h"
#include "addressbook/List.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLockFile>
#include <QProcess>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>

#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace corvane;
using namespace corvane::test;

namespace {

// A widget whose handlers fail the way a database error does.
class FailingWidget : public QWidget {
public:
    QString failure;
    bool standardException = false;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        ++presses;
        if (standardException)
            throw std::runtime_error(failure.toStdString());
        throw Error(failure);
    }
};

}

class StartupTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void unusableDatabase_data();
    void unusableDatabase();
    void usableDatabase();
    void bookFailuresAreNamed_data();
    void bookFailuresAreNamed();
    void readOnlyBookOpensForBrowsing();
    void secondStartBringsTheFirstToTheFront();
    void lockOfADeadProgramIsTakenOver();
    void programRunsOncePerBook();
    void renderNamesAnUnreachablePrintService();
    void errorEscapingAHandler_data();
    void errorEscapingAHandler();
    void errorEscapingASlot();
};

void StartupTest::unusableDatabase_data()
{
    QTest::addColumn<QByteArray>("content");   // null: no file at all
    QTest::addColumn<QString>("engineText");

    QTest::newRow("missing") << QByteArray() << "unable to open database file";
    QTest::newRow("not a database") << QByteArray(4096, 'x') << "not a database";
    QTest::newRow("empty file, no tables") << QByteArray("") << "缺少表 outr";
}

void StartupTest::unusableDatabase()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, engineText);

    TemporaryAddressBook book(false);
    AnsweringDialogs dialogs;
    RecordingDesktop desktop;
    if (!content.isNull()) {
        QFile file(book.databasePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    const std::unique_ptr<TMainForm> form = createMainWindow();
    QVERIFY(!form);
    QCOMPARE(dialogs.messages.size(), 1);
    const RecordedMessage shown = dialogs.messages.first();
    QCOMPARE(shown.title, applicationTitle());
    QCOMPARE(shown.icon, MessageIcon::Stop);
    QVERIFY2(shown.text.contains(engineText), qPrintable(shown.text));
    // FormCreate never ran, and the folder holds what it held before.
    QCOMPARE(desktop.shortcutsWritten, 0);
    const QStringList left = QDir(book.path()).entryList(QDir::Files | QDir::Hidden);
    if (content.isNull()) {
        QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
    } else {
        QCOMPARE(left, QStringList{"data.mdb"});
        QFile file(book.databasePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }
}

void StartupTest::usableDatabase()
{
    TemporaryAddressBook book;
    AnsweringDialogs dialogs;
    RecordingDesktop desktop;
    const std::unique_ptr<TMainForm> form = createMainWindow();
    QVERIFY(form);
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(desktop.shortcutsWritten, 1);
    QVERIFY(!form->isVisible());    // shown by the message loop's caller
}

void StartupTest::bookFailuresAreNamed_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("told");   // the Chinese cause, then the engine's text

    QTest::newRow("missing") << "missing" << QStringList{"找不到地址簿文件", "unable to open database file"};
    QTest::newRow("a folder of that name") << "folder" << QStringList{"是一个文件夹"};
    QTest::newRow("not a database") << "foreign" << QStringList{"不是本程序的地址簿，或者它的密码不对", "is not a database"};
    QTest::newRow("another password") << "rekeyed" << QStringList{"不是本程序的地址簿，或者它的密码不对", "is not a database"};
    QTest::newRow("locked longer than the wait") << "locked" << QStringList{"正被其他程序锁定", "database is locked"};
    QTest::newRow("a table missing") << "no excel" << QStringList{"不是本程序的地址簿：缺少表 excel"};
    QTest::newRow("a column missing") << "no 签名" << QStringList{"表 outr 缺少列“签名”"};
}

void StartupTest::bookFailuresAreNamed()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, told);

    TemporaryAddressBook book(setup != "missing" && setup != "folder" && setup != "foreign");
    const QString file = book.databasePath();
    if (setup == "folder") {
        QVERIFY(QDir().mkdir(file));
    } else if (setup == "foreign") {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    } else if (setup == "rekeyed") {
        book.exec("PRAGMA rekey = 'another'");
    } else if (setup == "no excel") {
        book.exec("DROP TABLE excel");
    } else if (setup == "no 签名") {
        book.exec("CREATE TABLE outr2 (姓名, 城市, 寄件单位, 邮编, 地址, 手机, 电话, 备注, 年, 月, 日)");
        book.exec("DROP TABLE outr");
        book.exec("ALTER TABLE outr2 RENAME TO outr");
    }
    QFile before(file);
    const QByteArray content = before.open(QIODevice::ReadOnly) ? before.readAll() : QByteArray();
    before.close();

    AnsweringDialogs dialogs;
    RecordingDesktop desktop;
    std::unique_ptr<TMainForm> form;
    if (setup == "locked") {
        // Another program holds the write lock for longer than the start-up waits.
        QSemaphore locked, done;
        std::thread holder([&] {
            Connection other(file);
            other.Open();
            other.ExecSQL("BEGIN EXCLUSIVE");
            locked.release();
            done.acquire();
            other.ExecSQL("COMMIT");
        });
        locked.acquire();
        form = createMainWindow();
        done.release();
        holder.join();
    } else {
        form = createMainWindow();
    }
    QVERIFY(!form);
    QCOMPARE(dialogs.messages.size(), 1);
    const RecordedMessage shown = dialogs.messages.first();
    QCOMPARE(shown.icon, MessageIcon::Stop);
    QCOMPARE(shown.title, applicationTitle());
    // The file by its whole name, the cause, and the engine's text after it.
    QVERIFY2(shown.text.contains(QDir::toNativeSeparators(file)), qPrintable(shown.text));
    for (const QString& fragment : told)
        QVERIFY2(shown.text.contains(fragment), qPrintable(shown.text));
    if (told.size() > 1)
        QVERIFY(shown.text.indexOf(told[0]) < shown.text.indexOf(told[1]));
    QCOMPARE(desktop.shortcutsWritten, 0);
    if (!content.isEmpty()) {
        QFile after(file);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), content);
    }
}

void StartupTest::readOnlyBookOpensForBrowsing()
{
    if (::geteuid() != 0)
        QSKIP("a read-only file system needs root to mount, and root writes any file whatever its mode");
    TemporaryAddressBook book;
    book.insert("inr", {"张伟", "北京"});
    const QString folder = book.path() + "/readonly";
    QVERIFY(QDir().mkdir(folder));
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=1m") != 0)
        QSKIP("this machine does not let a test mount a file system");
    struct Unmount {
        QString folder;
        ~Unmount() { ::umount(QFile::encodeName(folder).constData()); }
    } unmount{folder};
    QVERIFY(QFile::copy(book.databasePath(), folder + "/data.mdb"));
    QCOMPARE(::mount(nullptr, QFile::encodeName(folder).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);

    AnsweringDialogs dialogs;
    RecordingDesktop desktop;
    {
        std::unique_ptr<TMainForm> form = createMainWindow();
        QVERIFY(form);
        // One notice, no error box.
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.first().icon, MessageIcon::Information);
        QVERIFY2(dialogs.messages.first().text.contains("只能浏览"), qPrintable(dialogs.messages.first().text));
        QVERIFY2(dialogs.messages.first().text.contains("只读"), qPrintable(dialogs.messages.first().text));
        QCOMPARE(form->ADOQuery2()->RecordCount(), 1);
        dialogs.clear();
        // A change is refused with a message that says why.
        form->show();
        auto* name = form->findChild<QLineEdit*>("Edit10");
        name->setText("李娜");
        QTest::mouseClick(form->findChild<QAbstractButton*>("SpeedButton15"), Qt::LeftButton);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages.first().text.contains("不能写入（只读）"), qPrintable(dialogs.messages.first().text));
        QCOMPARE(form->ADOQuery2()->RecordCount(), 1);
    }
    QDir::setCurrent(previous);
}

void StartupTest::secondStartBringsTheFirstToTheFront()
{
    TemporaryAddressBook book;
    SingleInstance first(book.databasePath());
    QVERIFY(first.acquire());
    QVERIFY(QFile::exists(book.databasePath() + ".lock"));
    QSignalSpy shown(&first, &SingleInstance::showRequested);
    // The same book by another name is the same book.
    QVERIFY(QDir(book.path()).mkdir("sub"));
    SingleInstance second(book.path() + "/sub/../data.mdb");
    QVERIFY(!second.acquire());
    QVERIFY(second.askRunningToShow());
    QTRY_COMPARE(shown.count(), 1);
    // Another book is another program's business.
    Connection::createDatabase(book.path() + "/other.mdb");
    SingleInstance other(book.path() + "/other.mdb");
    QVERIFY(other.acquire());
}

void StartupTest::lockOfADeadProgramIsTakenOver()
{
    TemporaryAddressBook book;
    const QString lockFile = book.databasePath() + ".lock";
    const pid_t child = fork();
    if (child == 0) {
        QLockFile lock(lockFile);
        _exit(lock.tryLock(0) ? 0 : 1);   // dies holding the lock
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY(QFile::exists(lockFile));
    SingleInstance next(book.databasePath());
    QVERIFY(next.acquire());
}

void StartupTest::programRunsOncePerBook()
{
    const QString program = QCoreApplication::applicationDirPath() + "/../corvane";
    if (!QFile::exists(program))
        QSKIP("the program is not built beside the tests");
    TemporaryAddressBook book;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("HOME", book.path());   // the desktop entry goes nowhere that matters
    auto start = [&](QProcess& process) {
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(book.path());
        process.start(program, {});
        QVERIFY(process.waitForStarted());
    };
    QProcess first;
    start(first);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(book.databasePath() + ".lock"), 20000);
    // The second start finds the first, asks it to the front and ends.
    QProcess second;
    start(second);
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    // The first dies without a word; its lock goes with it.
    ::kill(pid_t(first.processId()), SIGKILL);
    QVERIFY(first.waitForFinished(5000));
    QProcess third;
    start(third);
    QVERIFY(!third.waitForFinished(3000));   // it runs: the lock was taken over
    third.kill();
    third.waitForFinished(5000);
}

void StartupTest::renderNamesAnUnreachablePrintService()
{
    const QString program = QCoreApplication::applicationDirPath() + "/../corvane";
    if (!QFile::exists(program))
        QSKIP("the program is not built beside the tests");
    TemporaryAddressBook book;
    QProcess render;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The print service's address, pointing where nothing listens.
    environment.insert("CUPS_SERVER", book.path() + "/no-cups.sock");
    render.setProcessEnvironment(environment);
    render.setWorkingDirectory(book.path());
    render.start(program, {"render", "--window", "dd", "--template", "1", "--printer", "CorvanePDF"});
    QVERIFY(render.waitForFinished(60000));
    QCOMPARE(render.exitCode(), 1);
    const QString told = QString::fromLocal8Bit(render.readAllStandardError());
    QVERIFY2(told.contains("无法连接打印服务") && told.contains("“CorvanePDF”"), qPrintable(told));
}

void StartupTest::errorEscapingAHandler_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<bool>("standardException");
    QTest::addColumn<QString>("shown");

    QTest::newRow("database error") << "database is locked" << false << "database is locked.";
    QTest::newRow("ends in a full stop already") << "no such table: inr." << false << "no such table: inr.";
    QTest::newRow("Chinese text") << "数据库已损坏" << false << "数据库已损坏.";
    QTest::newRow("standard exception") << "bad conversion" << true << "bad conversion.";
}

void StartupTest::errorEscapingAHandler()
{
    QFETCH(QString, failure);
    QFETCH(bool, standardException);
    QFETCH(QString, shown);

    AnsweringDialogs dialogs;
    FailingWidget widget;
    widget.failure = failure;
    widget.standardException = standardException;
    widget.resize(100, 100);
    widget.show();

    QTest::mouseClick(&widget, Qt::LeftButton);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.first().text, shown);
    QCOMPARE(dialogs.messages.first().icon, MessageIcon::Stop);
    QCOMPARE(dialogs.messages.first().title, applicationTitle());
    // The program runs on and the widget still takes events.
    QTest::mouseClick(&widget, Qt::LeftButton);
    QCOMPARE(widget.presses, 2);
    QVERIFY(widget.isVisible());
}

void StartupTest::errorEscapingASlot()
{
    AnsweringDialogs dialogs;
    QPushButton button("添加");
    QObject::connect(&button, &QPushButton::clicked, [] { throw Error("constraint failed"); });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(dialogs.texts(), QStringList{"constraint failed."});
}

int main(int argc, char* argv[])
{
    Application app(argc, argv);
    setUpApplication();
    StartupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
