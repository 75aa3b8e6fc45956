// "数据备份" and "数据恢复" in the main window's "数据管理" menu.
#include "addressbook/Connection.h"
#include "addressbook/List.h"
#include "app/ImportPage.h"
#include "testsupport/AppTestSupport.h"
#include "testsupport/FileContents.h"

#include <QFile>
#include <QtTest>

using namespace corvane;
using namespace corvane::test;

namespace {

const QString backupFailed = QStringLiteral("数据备份失败，请重新备份！");
const QString restoreFailed = QStringLiteral("数据恢复失败，请重新恢复！");

}

class BackupMenuTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void backupAppendsTheExtension();
    void backupCancelledOrFailed();
    void restoreReplacesTheAddressBookAndEnds();
    void restoreRefusesAFileThatIsNoAddressBook();
    void restoreThatCannotWriteKeepsTheOldFile();
    void restoreDialogTakesTheImportTitleOnceUsed();
};

void BackupMenuTest::backupAppendsTheExtension()
{
    MainWindowFixture f({{"王小明"}}, {{"张三"}});
    f.form().setProgramFolder(f.book.path());
    const QString name = f.book.path() + QStringLiteral("/备份");
    f.dialogs.fileNames << name << name + QStringLiteral(".bak");
    f.triggerMenu(QStringLiteral("N1"));
    f.triggerMenu(QStringLiteral("N1"));
    QCOMPARE(f.dialogs.texts(), (QStringList{"数据备份成功！", "数据备份成功！"}));
    QCOMPARE(f.dialogs.fileDialogs.front(), (QStringList{"save", "", ""}));
    QCOMPARE(QDir(f.book.path()).entryList(QDir::Files, QDir::Name),
             (QStringList{"data.mdb", "备份.bak", "备份.bak.bak"}));
    // The lists stay open during a backup.
    QVERIFY(f.form().ADOQuery2()->Active());
}

void BackupMenuTest::backupCancelledOrFailed()
{
    MainWindowFixture f;
    f.form().setProgramFolder(f.book.path());
    f.triggerMenu(QStringLiteral("N1"));
    QVERIFY(f.dialogs.messages.isEmpty());

    f.dialogs.fileNames << f.book.path() + QStringLiteral("/missing-folder/b");
    f.triggerMenu(QStringLiteral("N1"));
    QCOMPARE(f.dialogs.messages.size(), 1);
    QVERIFY(f.dialogs.messages[0].text.startsWith(backupFailed + QLatin1Char('\n')));
    QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("提示"));
}

void BackupMenuTest::restoreReplacesTheAddressBookAndEnds()
{
    MainWindowFixture f({}, {{"备份前"}});
    f.form().setProgramFolder(f.book.path());
    f.dialogs.fileNames << f.book.path() + QStringLiteral("/b");
    f.triggerMenu(QStringLiteral("N1"));
    f.book.exec(QStringLiteral("DELETE FROM inr"));
    f.book.insert(QStringLiteral("inr"), {"备份后"});

    f.dialogs.clear();
    f.dialogs.fileNames << f.book.path() + QStringLiteral("/b.bak");
    f.triggerMenu(QStringLiteral("N2"));
    QCOMPARE(f.dialogs.texts(), QStringList{"数据恢复成功！"});
    QCOMPARE(f.book.column(QStringLiteral("inr"), QStringLiteral("姓名")), QStringList{"备份前"});
    QVERIFY(!f.form().isVisible());
    QVERIFY(!f.form().ADOConnection1().Connected());
}

void BackupMenuTest::restoreRefusesAFileThatIsNoAddressBook()
{
    MainWindowFixture f({}, {{"张三"}});
    f.form().setProgramFolder(f.book.path());
    const QByteArray before = fileContents(f.book.databasePath());
    const QString text = f.book.path() + QStringLiteral("/note.txt");
    QFile note(text);
    QVERIFY(note.open(QIODevice::WriteOnly));
    note.write("not an address book");
    note.close();
    f.dialogs.fileNames << text;
    f.triggerMenu(QStringLiteral("N2"));
    QCOMPARE(f.dialogs.messages.size(), 1);
    QVERIFY(f.dialogs.messages[0].text.startsWith(restoreFailed + QLatin1Char('\n')));
    QCOMPARE(fileContents(f.book.databasePath()), before);
    // Nothing changed: the program runs on with its lists open.
    QVERIFY(f.form().isVisible());
    QVERIFY(f.form().ADOQuery2()->Active());
    QCOMPARE(f.form().ADOQuery2()->RecordCount(), 1);

    // Cancelled: nothing at all.
    f.dialogs.clear();
    f.triggerMenu(QStringLiteral("N2"));
    QVERIFY(f.dialogs.messages.isEmpty());
    QVERIFY(f.form().ADOQuery2()->Active());
}

void BackupMenuTest::restoreThatCannotWriteKeepsTheOldFile()
{
    MainWindowFixture f({}, {{"张三"}});
    f.form().setProgramFolder(f.book.path());
    f.dialogs.fileNames << f.book.path() + QStringLiteral("/b");
    f.triggerMenu(QStringLiteral("N1"));
    const QByteArray before = fileContents(f.book.databasePath());
    // The program's folder cannot take the new file.
    f.form().setProgramFolder(f.book.path() + QStringLiteral("/gone"));
    f.dialogs.clear();
    f.dialogs.fileNames << f.book.path() + QStringLiteral("/b.bak");
    f.triggerMenu(QStringLiteral("N2"));
    QCOMPARE(f.dialogs.messages.size(), 1);
    QVERIFY(f.dialogs.messages[0].text.startsWith(restoreFailed));
    QVERIFY(f.form().isVisible());
    QCOMPARE(fileContents(f.book.databasePath()), before);
    // The connection was closed for the copy; the next list opened reconnects.
    QVERIFY(!f.form().ADOQuery2()->Active());
    f.click(QStringLiteral("SpeedButton20"));
    QCOMPARE(f.form().ADOQuery2()->RecordCount(), 1);
}

void BackupMenuTest::restoreDialogTakesTheImportTitleOnceUsed()
{
    MainWindowFixture f;
    f.form().setProgramFolder(f.book.path());
    f.triggerMenu(QStringLiteral("N2"));
    f.form().SpeedButton5Click();
    f.click(QStringLiteral("SpeedButton21"));
    f.triggerMenu(QStringLiteral("N2"));
    QCOMPARE(f.dialogs.fileDialogs.size(), 3);
    QCOMPARE(f.dialogs.fileDialogs[0], (QStringList{"open", "", ""}));
    QCOMPARE(f.dialogs.fileDialogs[2], (QStringList{"open", ImportPage::dialogTitle(), ImportPage::dialogFilter()}));
}

QTEST_MAIN(BackupMenuTest)
#include "tst_backup_menu.moc"
