// Backup and restore of the address book file, without a window.
#include "addressbook/Connection.h"
#include "addressbook/DatabaseBackup.h"
#include "core/Error.h"
#include "testsupport/AppTestSupport.h"
#include "testsupport/FileContents.h"

#include <QFile>
#include <QtTest>
#include <sqlcipher/sqlite3.h>

using namespace corvane;
using namespace corvane::test;
using Rows = QVector<QStringList>;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The rows of a table of any address book file.
Rows rowsOf(const QString& file, const QString& table)
{
    Connection connection(file);
    Rows rows;
    sqlite3* db = connection.handle();
    sqlite3_stmt* stmt = nullptr;
    checkSqlite(db, sqlite3_prepare_v2(db, QStringLiteral("SELECT * FROM %1").arg(table).toUtf8().constData(), -1,
                                       &stmt, nullptr));
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            row << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)));
        rows << row;
    }
    sqlite3_finalize(stmt);
    return rows;
}

// A database with the program's tables but another key.
void createWithKey(const QString& path, const QByteArray& key)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_key(db, key.constData(), int(key.size()));
    sqlite3_exec(db, "CREATE TABLE outr (x TEXT); CREATE TABLE inr (x TEXT); CREATE TABLE excel (x TEXT)", nullptr,
                 nullptr, nullptr);
    sqlite3_close(db);
}

}

class BackupRestoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip();
    void backupReplacesAnEarlierOneWhole();
    void failedBackupKeepsTheEarlierOne();
    void backupIsAConsistentSnapshot();
    void restoreRefusesWrongFiles_data();
    void restoreRefusesWrongFiles();
};

void BackupRestoreTest::roundTrip()
{
    test::TemporaryAddressBook book;
    book.insert(QStringLiteral("outr"), {"王小明", "杭州"});
    book.insert(QStringLiteral("inr"), {"张三", "北京", "星河科技"});
    book.insert(QStringLiteral("excel"), {"李四"});
    const QString backup = book.path() + QStringLiteral("/copy.bak");
    backupDatabase(book.databasePath(), backup);
    checkAddressBookFile(backup);

    // Changes after the backup are undone by the restore.
    book.exec(QStringLiteral("DELETE FROM inr"));
    book.insert(QStringLiteral("outr"), {"后来的"});
    restoreDatabase(backup, book.databasePath());
    QCOMPARE(book.rows(QStringLiteral("inr")).size(), 1);
    QCOMPARE(book.rows(QStringLiteral("inr")).front().mid(0, 3), (QStringList{"张三", "北京", "星河科技"}));
    QCOMPARE(book.column(QStringLiteral("outr"), QStringLiteral("姓名")), QStringList{"王小明"});
    QCOMPARE(book.column(QStringLiteral("excel"), QStringLiteral("姓名")), QStringList{"李四"});
    // Nothing but the two files is left behind.
    QCOMPARE(QDir(book.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), (QStringList{"copy.bak", "data.mdb"}));
}

void BackupRestoreTest::backupReplacesAnEarlierOneWhole()
{
    test::TemporaryAddressBook book;
    const QString backup = book.path() + QStringLiteral("/copy.bak");
    writeFile(backup, QByteArray(3 * 1024 * 1024, 'z'));   // larger than the new backup
    book.insert(QStringLiteral("inr"), {"张三"});
    backupDatabase(book.databasePath(), backup);
    QVERIFY(QFileInfo(backup).size() < 1024 * 1024);
    QCOMPARE(rowsOf(backup, QStringLiteral("inr")).size(), 1);
}

void BackupRestoreTest::failedBackupKeepsTheEarlierOne()
{
    test::TemporaryAddressBook book;
    const QString backup = book.path() + QStringLiteral("/copy.bak");
    backupDatabase(book.databasePath(), backup);
    const QByteArray earlier = fileContents(backup);

    // The address book is not readable: nothing is written.
    writeFile(book.path() + QStringLiteral("/other.mdb"), "not a database at all, just text");
    QVERIFY_THROWS_EXCEPTION(Error, backupDatabase(book.path() + QStringLiteral("/other.mdb"), backup));
    QVERIFY_THROWS_EXCEPTION(Error, backupDatabase(book.path() + QStringLiteral("/missing.mdb"), backup));
    // The target's folder does not exist.
    QVERIFY_THROWS_EXCEPTION(Error, backupDatabase(book.databasePath(), book.path() + QStringLiteral("/no/such.bak")));
    QCOMPARE(fileContents(backup), earlier);
    QCOMPARE(QDir(book.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{"copy.bak", "data.mdb", "other.mdb"}));
}

void BackupRestoreTest::backupIsAConsistentSnapshot()
{
    // A write in progress on another connection is not in the backup; what was committed is.
    test::TemporaryAddressBook book;
    book.insert(QStringLiteral("inr"), {"已提交"});
    Connection writer;
    writer.ExecSQL(QStringLiteral("BEGIN IMMEDIATE"));
    writer.ExecSQL(QStringLiteral("INSERT INTO inr (姓名) VALUES ('未提交')"));
    const QString backup = book.path() + QStringLiteral("/copy.bak");
    backupDatabase(book.databasePath(), backup);
    writer.ExecSQL(QStringLiteral("COMMIT"));
    const Rows rows = rowsOf(backup, QStringLiteral("inr"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.front().front(), QStringLiteral("已提交"));
}

void BackupRestoreTest::restoreRefusesWrongFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("cause");
    QTest::newRow("missing file") << "missing" << "不存在";
    QTest::newRow("not a database") << "text" << "不是本程序的地址库文件";
    QTest::newRow("empty file") << "empty" << "";
    QTest::newRow("another key") << "key" << "不是本程序的地址库文件";
    QTest::newRow("plain SQLite database") << "plain" << "不是本程序的地址库文件";
    QTest::newRow("table missing") << "no excel" << "excel";
    QTest::newRow("column missing") << "no column" << "内件品名";
}

void BackupRestoreTest::restoreRefusesWrongFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, cause);
    test::TemporaryAddressBook book;
    book.insert(QStringLiteral("inr"), {"张三"});
    const QByteArray before = fileContents(book.databasePath());
    const QString source = book.path() + QStringLiteral("/chosen.bak");
    if (kind == QLatin1String("text")) {
        writeFile(source, "hello, this is no database");
    } else if (kind == QLatin1String("empty")) {
        writeFile(source, QByteArray());
    } else if (kind == QLatin1String("key")) {
        createWithKey(source, "123456");
    } else if (kind == QLatin1String("plain")) {
        createWithKey(source, QByteArray());
    } else if (kind == QLatin1String("no excel") || kind == QLatin1String("no column")) {
        QVERIFY(QFile::copy(book.databasePath(), source));
        Connection c(source);
        c.ExecSQL(kind == QLatin1String("no excel") ? QStringLiteral("DROP TABLE excel")
                                                    : QStringLiteral("DROP TABLE inr; CREATE TABLE inr (姓名 TEXT, 城市 TEXT)"));
    }
    try {
        restoreDatabase(source, book.databasePath());
        QFAIL("the file was restored");
    } catch (const Error& e) {
        QVERIFY2(e.message().contains(cause), qPrintable(e.message()));
    }
    QCOMPARE(fileContents(book.databasePath()), before);
    QCOMPARE(book.column(QStringLiteral("inr"), QStringLiteral("姓名")), QStringList{"张三"});
    QVERIFY(!QDir(book.path()).entryList(QDir::Files | QDir::Hidden).join(' ').contains(QLatin1String("data.mdb.")));
}

QTEST_GUILESS_MAIN(BackupRestoreTest)
#include "tst_backup_restore.moc"
