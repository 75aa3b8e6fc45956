// The ways a careful user could lose what is in the address book or in an output file, each tried
// and followed by the same check: the book holds what it should (only what the other copy of the
// program legitimately changed), passes the engine's integrity check, and the user was told why.
#include "testsupport/AppTestSupport.h"
#include "testsupport/RenderCommandRun.h"
#include "addressbook/Connection.h"
#include "app/DataGrid.h"
#include "addressbook/List.h"
#include "app/Commands.h"
#include "app/MainUnit.h"
#include "app/Startup.h"
#include "output/PdfFilePrintingSystem.h"
#include "output/TemplateReportPage.h"
#include "templates/Catalogue.h"

#include <memory>
#include <QAbstractButton>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QSemaphore>
#include <QTest>

#include <functional>
#include <sys/mount.h>
#include <thread>
#include <unistd.h>

using namespace corvane;
using namespace corvane::test;

namespace {

const QVector<QStringList> recipients{
    {"张伟", "北京", "", "", "朝阳路1号", "13900000001"},
    {"李娜", "上海", "", "", "南京路2号", "13900000002"},
    {"王芳", "广州", "", "", "天河路3号", "13900000003"},
    {"刘洋", "深圳", "", "", "深南路4号", "13900000004"},
    {"陈静", "杭州", "", "", "西湖路5号", "13900000005"},
    {"赵磊", "成都", "", "", "春熙路6号", "13900000006"},
};

QStringList padded(QStringList row, int columns)
{
    while (row.size() < columns)
        row << QString();
    return row;
}

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// What one reproduction did and what the book must hold afterwards.
struct Scene {
    TemporaryAddressBook book;
    AnsweringDialogs dialogs;
    RecordingDesktop desktop;
    std::unique_ptr<TMainForm> window;
    QVector<QStringList> expectedRecipients;   // inr as it must be afterwards
    int status = 0;                             // exit status of a command
    QString told;                               // messages shown or printed
    QString skipped;                            // why the reproduction cannot run here

    Scene()
    {
        for (const QStringList& row : recipients)
            book.insert(QStringLiteral("inr"), row);
        book.insert(QStringLiteral("outr"), {"王立新", "杭州", "青禾茶叶"});
        for (const QStringList& row : recipients)
            expectedRecipients << padded(row, Connection::recipientColumns().size());
    }
    ~Scene() { window.reset(); }

    // The program's other copy on the same file: its own connection, as a second start has.
    void otherCopy(const std::function<void(Connection&, List&)>& change)
    {
        Connection connection(book.databasePath());
        List list(&connection);
        list.setSQL(QStringLiteral("select * from inr"));
        list.Open();
        change(connection, list);
    }

    bool openWindow()
    {
        window = createMainWindow();
        told += dialogs.texts().join('\n');
        dialogs.clear();
        if (!window)
            return false;
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }

    template<class T> T* find(const QString& name) const { return window->findChild<T*>(name); }

    void doubleClickRecipient(int row)
    {
        auto* grid = find<DataGrid>(QStringLiteral("DBGridEh2"));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 0)).center());
    }
    void selectRecipient(int row)
    {
        auto* grid = find<DataGrid>(QStringLiteral("DBGridEh2"));
        QHeaderView* numbers = grid->verticalHeader();
        QTest::mouseClick(numbers->viewport(), Qt::LeftButton, {},
                          QPoint(numbers->width() / 2, numbers->sectionViewportPosition(row) + numbers->sectionSize(row) / 2));
    }
    void press(const QString& button)
    {
        QTest::mouseClick(find<QAbstractButton>(button), Qt::LeftButton);
        told += dialogs.texts().join('\n');
        dialogs.clear();
    }
    void typeInto(const QString& box, const QString& text)
    {
        auto* edit = find<QLineEdit>(box);
        edit->setFocus();
        edit->end(false);
        // One key event per character, carrying its text as an input method delivers it.
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    // Runs `corvane render` in this process, collecting what it writes to standard error.
    void render(const QStringList& args)
    {
        const RenderRun run = runRenderInProcess(args);
        status = run.status;
        told += run.errors;
    }
    void renderTo(const QString& pdf)
    {
        render({"--window", "dd", "--template", "1", "--pdf", pdf});
    }

    // Another program holds the book's write lock for `ms` while `attempt` runs.
    void whileLocked(int ms, const std::function<void()>& attempt)
    {
        QSemaphore locked;
        std::thread holder([&] {
            Connection other(book.databasePath());
            other.Open();
            other.ExecSQL(QStringLiteral("BEGIN EXCLUSIVE"));
            locked.release();
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            other.ExecSQL(QStringLiteral("COMMIT"));
        });
        locked.acquire();
        attempt();
        holder.join();
    }

    // inr without one column, rebuilt: the engine here has no DROP COLUMN.
    void dropRecipientColumn(const QString& column)
    {
        QStringList kept;
        for (const QString& c : Connection::recipientColumns())
            if (c != column)
                kept << QLatin1Char('"') + c + QLatin1Char('"');
        const QString columns = kept.join(',');
        book.exec(QStringLiteral("CREATE TABLE inr2 (%1)").arg(columns));
        book.exec(QStringLiteral("INSERT INTO inr2 SELECT %1 FROM inr").arg(columns));
        book.exec(QStringLiteral("DROP TABLE inr"));
        book.exec(QStringLiteral("ALTER TABLE inr2 RENAME TO inr"));
        const int c = Connection::recipientColumns().indexOf(column);
        for (QStringList& row : expectedRecipients)
            row.removeAt(c);
    }
};

// A small file system of its own for the output, full before the PDF fits; only root can mount.
class TinyFileSystem {
public:
    explicit TinyFileSystem(const QString& path, int kilobytes) : m_path(path)
    {
        QDir().mkpath(path);
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        m_mounted = ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~TinyFileSystem()
    {
        if (m_mounted)
            ::umount(QFile::encodeName(m_path).constData());
    }
    bool mounted() const { return m_mounted; }

private:
    QString m_path;
    bool m_mounted = false;
};

// A 12 KB file system at small/ holding small/waybill.pdf from an earlier print; null where it
// cannot be mounted (the scene says why) or the earlier file cannot be written (a failure).
std::unique_ptr<TinyFileSystem> smallDiskWithPreviousWaybill(Scene& s)
{
    if (::geteuid() != 0) {
        s.skipped = QStringLiteral("mounting a small file system needs root");
        return nullptr;
    }
    auto small = std::make_unique<TinyFileSystem>(s.book.path() + QStringLiteral("/small"), 12);
    if (!small->mounted()) {
        s.skipped = QStringLiteral("this machine does not let a test mount a file system");
        return nullptr;
    }
    QFile previous(QStringLiteral("small/waybill.pdf"));
    if (!previous.open(QIODevice::WriteOnly) || previous.write("the previous waybill") < 0) {
        QTest::qFail("small/waybill.pdf could not be written", __FILE__, __LINE__);
        return nullptr;
    }
    return small;
}

// The earlier file is untouched and no half-written temporary file is left to fill the disk.
void expectPreviousWaybillAlone()
{
    QFile previous(QStringLiteral("small/waybill.pdf"));
    QVERIFY(previous.open(QIODevice::ReadOnly));
    QCOMPARE(previous.readAll(), QByteArray("the previous waybill"));
    QCOMPARE(QDir(QStringLiteral("small")).entryList(QDir::Files | QDir::Hidden), QStringList{"waybill.pdf"});
}

struct Reproduction {
    const char* name;
    QStringList told;                       // every fragment must be in what the user was told
    std::function<void(Scene&)> run;
};

const QVector<Reproduction>& reproductions()
{
    static const QVector<Reproduction> all{
        {"render over the address book", {"data.mdb", "正在使用的地址簿"},
         [](Scene& s) {
             const QByteArray before = fileHash(s.book.databasePath());
             s.renderTo(QStringLiteral("data.mdb"));
             QCOMPARE(s.status, 1);
             QCOMPARE(fileHash(s.book.databasePath()), before);
         }},
        {"render over the address book by its absolute path through another folder", {"正在使用的地址簿"},
         [](Scene& s) {
             QDir(s.book.path()).mkdir(QStringLiteral("sub"));
             s.renderTo(s.book.path() + QStringLiteral("/sub/../data.mdb"));
             QCOMPARE(s.status, 1);
         }},
        {"render over the address book by a symbolic link", {"book.pdf", "正在使用的地址簿"},
         [](Scene& s) {
             QVERIFY(QFile::link(s.book.databasePath(), QStringLiteral("book.pdf")));
             s.renderTo(QStringLiteral("book.pdf"));
             QCOMPARE(s.status, 1);
             QVERIFY(QFileInfo(QStringLiteral("book.pdf")).isSymLink());
         }},
        {"render over the address book by a hard link", {"same.pdf", "正在使用的地址簿"},
         [](Scene& s) {
             QCOMPARE(::link(QFile::encodeName(s.book.databasePath()).constData(), "same.pdf"), 0);
             const QByteArray before = fileHash(QStringLiteral("same.pdf"));
             s.renderTo(QStringLiteral("same.pdf"));
             QCOMPARE(s.status, 1);
             QCOMPARE(fileHash(QStringLiteral("same.pdf")), before);
         }},
        {"render through a link replaces the file it names and keeps the link", {},
         [](Scene& s) {
             QDir(s.book.path()).mkdir(QStringLiteral("out"));
             {
                 QFile old(QStringLiteral("out/old.pdf"));
                 QVERIFY(old.open(QIODevice::WriteOnly));
                 old.write("the previous waybill");
             }
             QVERIFY(QFile::link(QStringLiteral("out/old.pdf"), QStringLiteral("latest.pdf")));
             s.renderTo(QStringLiteral("latest.pdf"));
             QCOMPARE(s.status, 0);
             QVERIFY(QFileInfo(QStringLiteral("latest.pdf")).isSymLink());
             QFile pdf(QStringLiteral("out/old.pdf"));
             QVERIFY(pdf.open(QIODevice::ReadOnly));
             QVERIFY(pdf.readAll().startsWith("%PDF-"));
         }},
        {"render to a device that is full", {"/dev/full", "磁盘空间不足"},
         [](Scene& s) {
             s.renderTo(QStringLiteral("/dev/full"));
             QCOMPARE(s.status, 1);
             QVERIFY2(!s.told.contains(QStringLiteral("page")), qPrintable(s.told));
         }},
        {"render onto a full file system keeps the previous file", {"small/waybill.pdf", "磁盘空间不足"},
         [](Scene& s) {
             const auto small = smallDiskWithPreviousWaybill(s);
             if (!small)
                 return;
             s.renderTo(QStringLiteral("small/waybill.pdf"));
             QCOMPARE(s.status, 1);
             expectPreviousWaybillAlone();
         }},
        {"printing to a file on a full device shows the standard error box", {"/dev/full", "磁盘空间不足"},
         [](Scene& s) {
             Catalogue catalogue(PrintWindowKind::Dd);
             const auto blank = [](const QString&) { return QStringLiteral("李娜"); };
             TemplateReportPage page(catalogue.waybillTemplate(1), SlotRows{blank, blank});
             page.ShowProgress = false;
             PdfFilePrintingSystem device(QStringLiteral("/dev/full"));
             page.setPrintingSystem(&device);
             page.Print();
             QCOMPARE(s.dialogs.messages.size(), 1);
             QCOMPARE(s.dialogs.messages.first().icon, MessageIcon::Stop);
             QCOMPARE(s.dialogs.messages.first().title, QApplication::applicationDisplayName());
             s.told += s.dialogs.texts().join('\n');
         }},
        {"printing to a file on a full file system keeps the previous file", {"磁盘空间不足", "原来的文件保持不变"},
         [](Scene& s) {
             const auto small = smallDiskWithPreviousWaybill(s);
             if (!small)
                 return;
             Catalogue catalogue(PrintWindowKind::Dd);
             const auto blank = [](const QString&) { return QStringLiteral("李娜"); };
             TemplateReportPage page(catalogue.waybillTemplate(1), SlotRows{blank, blank});
             page.ShowProgress = false;
             PdfFilePrintingSystem device(QFileInfo(QStringLiteral("small/waybill.pdf")).absoluteFilePath());
             page.setPrintingSystem(&device);
             page.Print();
             QCOMPARE(s.dialogs.messages.size(), 1);
             s.told += s.dialogs.texts().join('\n');
             expectPreviousWaybillAlone();
         }},
        {"stale modify of a row deleted elsewhere", {"已被其他程序修改或删除", "没有保存"},
         [](Scene& s) {
             QVERIFY(s.openWindow());
             s.otherCopy([](Connection&, List& list) {
                 list.setRecNo(1);   // 李娜
                 list.Delete();
             });
             s.expectedRecipients.removeAt(1);
             s.doubleClickRecipient(1);
             s.typeInto(QStringLiteral("Edit11"), QStringLiteral("市"));
             s.press(QStringLiteral("SpeedButton16"));
             QVERIFY2(!s.told.contains(QStringLiteral("修改记录成功")), qPrintable(s.told));
             // Read again: the grid shows what the book holds.
             QCOMPARE(s.window->ADOQuery2()->RecordCount(), 5);
         }},
        {"stale delete of a row whose rowid went to a new row", {"已被其他程序修改或删除", "没有删除任何记录"},
         [](Scene& s) {
             QVERIFY(s.openWindow());
             s.otherCopy([](Connection&, List& list) {
                 list.setRecNo(5);   // 赵磊, the last rowid
                 list.Delete();
                 list.Append();
                 list.FieldByName(QStringLiteral("姓名")).setAsString(QStringLiteral("NEWGUY"));
                 list.Post();
             });
             s.expectedRecipients.removeLast();
             s.expectedRecipients << padded({"NEWGUY"}, Connection::recipientColumns().size());
             s.selectRecipient(5);
             s.press(QStringLiteral("SpeedButton17"));
             QCOMPARE(s.window->ADOQuery2()->RecordCount(), 6);
         }},
        {"a 40,000-character address survives a modify of another box", {"修改记录成功"},
         [](Scene& s) {
             const QString address = QString(40000, QChar(u'路'));
             s.book.exec(QStringLiteral("UPDATE inr SET 地址 = ?1 WHERE 姓名 = '王芳'"), {address});
             s.expectedRecipients[2][4] = address;
             s.expectedRecipients[2][1] = QStringLiteral("广州市");
             QVERIFY(s.openWindow());
             s.doubleClickRecipient(2);
             QCOMPARE(s.find<QLineEdit>(QStringLiteral("Edit14"))->text().size(), 40000);
             s.typeInto(QStringLiteral("Edit11"), QStringLiteral("市"));
             s.press(QStringLiteral("SpeedButton16"));
         }},
        {"a 40,000-character address loses one character to one Backspace", {"修改记录成功"},
         [](Scene& s) {
             const QString address = QString(40000, QChar(u'路'));
             s.book.exec(QStringLiteral("UPDATE inr SET 地址 = ?1 WHERE 姓名 = '王芳'"), {address});
             s.expectedRecipients[2][4] = QString(39999, QChar(u'路'));
             QVERIFY(s.openWindow());
             s.doubleClickRecipient(2);
             auto* box = s.find<QLineEdit>(QStringLiteral("Edit14"));
             box->setFocus();
             box->end(false);
             QTest::keyClick(box, Qt::Key_Backspace);
             s.press(QStringLiteral("SpeedButton16"));
         }},
        {"start-up while another program writes for a second", {},
         [](Scene& s) {
             s.whileLocked(1000, [&] { QVERIFY2(s.openWindow(), qPrintable(s.told)); });
             QCOMPARE(s.window->ADOQuery2()->RecordCount(), 6);
         }},
        {"render while another program writes for a second", {},
         [](Scene& s) {
             s.whileLocked(1000, [&] { s.renderTo(QStringLiteral("waybill.pdf")); });
             QCOMPARE(s.status, 0);
             QVERIFY2(s.told.isEmpty(), qPrintable(s.told));
             QVERIFY(QFileInfo(QStringLiteral("waybill.pdf")).size() > 0);
         }},
        {"start-up on a book without the address column", {"data.mdb", "inr", "缺少列“地址”"},
         [](Scene& s) {
             s.dropRecipientColumn(QStringLiteral("地址"));
             QVERIFY(!s.openWindow());
             QCOMPARE(s.desktop.shortcutsWritten, 0);
         }},
        {"render on a book without the address column", {"data.mdb", "inr", "缺少列“地址”"},
         [](Scene& s) {
             s.dropRecipientColumn(QStringLiteral("地址"));
             s.renderTo(QStringLiteral("waybill.pdf"));
             QCOMPARE(s.status, 1);
             QVERIFY(!QFile::exists(QStringLiteral("waybill.pdf")));
         }},
    };
    return all;
}

}

class NothingLostTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reproduction_data();
    void reproduction();
};

void NothingLostTest::reproduction_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < reproductions().size(); ++i)
        QTest::newRow(reproductions()[i].name) << i;
}

void NothingLostTest::reproduction()
{
    QFETCH(int, index);
    const Reproduction& reproduction = reproductions()[index];
    Scene scene;
    const QVector<QStringList> senders = scene.book.rows(QStringLiteral("outr"));
    reproduction.run(scene);
    if (!scene.skipped.isEmpty())
        QSKIP(qPrintable(scene.skipped));
    if (QTest::currentTestFailed())
        return;
    for (const QString& fragment : reproduction.told)
        QVERIFY2(scene.told.contains(fragment), qPrintable(QStringLiteral("“%1” not in:\n%2").arg(fragment, scene.told)));
    scene.window.reset();

    // The book: only what the other copy changed, and sound.
    QCOMPARE(scene.book.rows(QStringLiteral("inr")), scene.expectedRecipients);
    QCOMPARE(scene.book.rows(QStringLiteral("outr")), senders);
    Connection check(scene.book.databasePath());
    List integrity(&check);
    integrity.setSQL(QStringLiteral("PRAGMA integrity_check"));
    integrity.Open();
    QCOMPARE(integrity.value(0, 0), QStringLiteral("ok"));
}

QTEST_MAIN(NothingLostTest)
#include "tst_nothing_lost.moc"
