#include "addressbook/DatabaseBackup.h"
#include "addressbook/Connection.h"
#include "core/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <sqlcipher/sqlite3.h>
#include <cerrno>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace corvane {

namespace {

using Database = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;

QString engineMessage(sqlite3* db, int rc)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
}

// Opens an encrypted database with the program's key and reads its first page, so a foreign
// file or another key fails here.
Database openKeyed(const QString& fileName, int flags)
{
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(fileName).constData(), &raw, flags, nullptr);
    Database db(raw, sqlite3_close);
    if (rc != SQLITE_OK)
        throw Error(engineMessage(raw, rc));
    const QByteArray key(Connection::DatabasePassword);
    if (sqlite3_key(raw, key.constData(), int(key.size())) != SQLITE_OK
        || sqlite3_exec(raw, "PRAGMA cipher_compatibility = 3", nullptr, nullptr, nullptr) != SQLITE_OK
        || sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw Error(QStringLiteral("不是本程序的地址库文件（%1）").arg(engineMessage(raw, SQLITE_ERROR)));
    sqlite3_busy_timeout(raw, 5000);
    return db;
}

QStringList columnsOf(sqlite3* db, const QString& table)
{
    QStringList columns;
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = QStringLiteral("PRAGMA table_info(\"%1\")").arg(table).toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        throw Error(engineMessage(db, SQLITE_ERROR));
    while (sqlite3_step(stmt) == SQLITE_ROW)
        columns << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
    sqlite3_finalize(stmt);
    return columns;
}

void syncFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadWrite) || ::fsync(file.handle()) != 0)
        throw Error(QStringLiteral("无法将“%1”写入磁盘").arg(fileName));
}

// After a rename, the folder's entry must reach the disk too.
void syncFolder(const QString& fileName)
{
    QFile folder(QFileInfo(fileName).absolutePath());
    if (folder.open(QIODevice::ReadOnly))
        ::fsync(folder.handle());
}

}

void backupDatabase(const QString& databaseFile, const QString& backupFile)
{
    Database source = openKeyed(databaseFile, SQLITE_OPEN_READONLY);

    QTemporaryFile temporary(QFileInfo(backupFile).absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        throw Error(QStringLiteral("无法在“%1”所在的文件夹中写入：%2")
                        .arg(backupFile, temporary.errorString()));
    const QString temporaryName = temporary.fileName();
    temporary.close();   // kept on disk until the rename or until it goes out of scope
    {
        sqlite3* raw = nullptr;
        int rc = sqlite3_open_v2(QFile::encodeName(temporaryName).constData(), &raw,
                                 SQLITE_OPEN_READWRITE, nullptr);
        Database target(raw, sqlite3_close);
        const QByteArray key(Connection::DatabasePassword);
        if (rc != SQLITE_OK || sqlite3_key(raw, key.constData(), int(key.size())) != SQLITE_OK
            || sqlite3_exec(raw, "PRAGMA cipher_compatibility = 3", nullptr, nullptr, nullptr) != SQLITE_OK)
            throw Error(engineMessage(raw, rc));
        // One step under one read lock: the snapshot cannot mix two states of the file.
        sqlite3_backup* backup = sqlite3_backup_init(raw, "main", source.get(), "main");
        if (!backup)
            throw Error(engineMessage(raw, SQLITE_ERROR));
        rc = sqlite3_backup_step(backup, -1);
        const int finish = sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE || finish != SQLITE_OK)
            throw Error(QString::fromUtf8(sqlite3_errstr(rc != SQLITE_DONE ? rc : finish)));
        if (sqlite3_close(target.release()) != SQLITE_OK)
            throw Error(QStringLiteral("无法关闭备份文件"));
    }
    syncFile(temporaryName);
    // rename() replaces an earlier backup of the same name in one step.
    if (::rename(QFile::encodeName(temporaryName).constData(), QFile::encodeName(backupFile).constData()) != 0)
        throw Error(QStringLiteral("无法写入“%1”：%2").arg(backupFile, QString::fromLocal8Bit(strerror(errno))));
    temporary.setAutoRemove(false);
    syncFolder(backupFile);
}

void checkAddressBookFile(const QString& fileName)
{
    if (!QFileInfo(fileName).isFile())
        throw Error(QStringLiteral("文件“%1”不存在").arg(fileName));
    Database db = [&] {
        try {
            return openKeyed(fileName, SQLITE_OPEN_READONLY);
        } catch (const Error& e) {
            throw Error(QStringLiteral("“%1”%2").arg(fileName, e.message()));
        }
    }();
    const struct { const char* table; const QStringList& columns; } tables[] = {
        {"outr", Connection::senderColumns()},
        {"inr", Connection::recipientColumns()},
        {"excel", Connection::recipientColumns()},
    };
    for (const auto& t : tables) {
        const QString table = QString::fromLatin1(t.table);
        const QStringList present = columnsOf(db.get(), table);
        if (present.isEmpty())
            throw Error(QStringLiteral("“%1”中没有表 %2").arg(fileName, table));
        QStringList missing;
        for (const QString& c : t.columns) {
            if (!present.contains(c))
                missing << c;
        }
        if (!missing.isEmpty())
            throw Error(QStringLiteral("“%1”的表 %2 缺少列：%3").arg(fileName, table, missing.join(QStringLiteral("、"))));
    }
}

void restoreDatabase(const QString& sourceFile, const QString& databaseFile)
{
    checkAddressBookFile(sourceFile);
    QFile source(sourceFile);
    if (!source.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("无法打开“%1”：%2").arg(sourceFile, source.errorString()));
    // QSaveFile writes beside the target, flushes it to the disk and renames it over the target.
    QSaveFile target(databaseFile);
    target.setDirectWriteFallback(false);
    if (!target.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("无法写入“%1”：%2").arg(databaseFile, target.errorString()));
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            break;
        if (target.write(chunk) != chunk.size()) {
            target.cancelWriting();
            break;
        }
    }
    if (source.error() != QFileDevice::NoError) {
        target.cancelWriting();
        target.commit();
        throw Error(QStringLiteral("无法读取“%1”：%2").arg(sourceFile, source.errorString()));
    }
    if (!target.flush() || ::fsync(target.handle()) != 0) {
        target.cancelWriting();
        target.commit();
        throw Error(QStringLiteral("无法将“%1”写入磁盘").arg(databaseFile));
    }
    if (!target.commit())
        throw Error(QStringLiteral("无法写入“%1”：%2").arg(databaseFile, target.errorString()));
    syncFolder(databaseFile);
}

}
