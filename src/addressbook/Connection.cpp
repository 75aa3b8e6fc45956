#include "addressbook/Connection.h"
#include "core/Error.h"
#include "core/OutputFile.h"

#include <QDir>
#include <QFileInfo>
#include <sqlcipher/sqlite3.h>

#include <cerrno>
#include <unistd.h>

namespace corvane {

namespace {

void execPlain(sqlite3* db, const char* sql)
{
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString message = err ? QString::fromUtf8(err) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(err);
        const char* file = sqlite3_db_filename(db, "main");
        throw Error(addressBookFailure(file ? QString::fromUtf8(file) : QString(), rc, message));
    }
}

QString nativePath(const QString& fileName)
{
    return QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath());
}

bool writable(const QString& path, int* error)
{
    if (::access(QFile::encodeName(path).constData(), W_OK) == 0)
        return true;
    *error = errno;
    return false;
}

// Why an existing book can only be read, or empty when it can be written: the file itself, and
// its folder, where the engine makes its journal while it writes.
QString readOnlyCause(const QString& fileName)
{
    const QFileInfo info(fileName);
    int error = 0;
    if (!writable(info.absoluteFilePath(), &error) || !writable(info.absolutePath(), &error)) {
        if (error == EROFS)
            return QStringLiteral("所在的文件系统是只读的");
        return writable(info.absoluteFilePath(), &error) ? QStringLiteral("所在的文件夹不能写入")
                                                          : QStringLiteral("是只读文件");
    }
    return QString();
}

// Why an existing file could not be opened at all.
QString cannotOpenCause(const QString& fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return QStringLiteral("找不到地址簿文件“%1”，请确认它在程序的文件夹里").arg(nativePath(fileName));
    if (info.isDir())
        return QStringLiteral("“%1”是一个文件夹，不是地址簿文件").arg(nativePath(fileName));
    if (::access(QFile::encodeName(info.absoluteFilePath()).constData(), R_OK) != 0)
        return QStringLiteral("没有读取地址簿文件“%1”的权限").arg(nativePath(fileName));
    int error = 0;
    if (!writable(info.absolutePath(), &error))
        return QStringLiteral("地址簿“%1”所在的文件夹不能写入").arg(nativePath(fileName));
    return QStringLiteral("无法打开地址簿文件“%1”").arg(nativePath(fileName));
}

}

QString addressBookFailure(const QString& fileName, int rc, const QString& engineText)
{
    if (fileName.isEmpty())
        return engineText;
    const QString file = nativePath(fileName);
    QString cause;
    switch (rc & 0xff) {
    case SQLITE_CANTOPEN: cause = cannotOpenCause(fileName); break;
    case SQLITE_NOTADB:
        cause = QStringLiteral("“%1”不是本程序的地址簿，或者它的密码不对").arg(file);
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        cause = QStringLiteral("地址簿“%1”正被其他程序锁定，等了%2秒仍未解开，请稍后再试")
                    .arg(file).arg(Connection::BusyTimeoutMs / 1000);
        break;
    case SQLITE_READONLY:
        cause = QStringLiteral("地址簿“%1”不能写入（只读），记录没有改动").arg(file);
        break;
    case SQLITE_FULL: cause = QStringLiteral("磁盘已满，地址簿“%1”写不进去，记录没有改动").arg(file); break;
    case SQLITE_IOERR: cause = QStringLiteral("读写地址簿“%1”时磁盘出错").arg(file); break;
    case SQLITE_CORRUPT: cause = QStringLiteral("地址簿“%1”已经损坏").arg(file); break;
    case SQLITE_PERM:
    case SQLITE_AUTH: cause = QStringLiteral("没有访问地址簿“%1”的权限").arg(file); break;
    default: return engineText;
    }
    return cause + QStringLiteral("。\n") + engineText;
}

void bindParameters(sqlite3* db, sqlite3_stmt* stmt, const QVariantList& params)
{
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params[i];
        int rc;
        if (v.isNull()) {
            rc = sqlite3_bind_null(stmt, i + 1);
        } else {
            const QByteArray utf8 = v.toString().toUtf8();
            rc = sqlite3_bind_text(stmt, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        checkSqlite(db, rc);
    }
}

void checkSqlite(sqlite3* db, int rc)
{
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE)
        return;
    const QString engineText = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const char* file = db ? sqlite3_db_filename(db, "main") : nullptr;
    throw Error(addressBookFailure(file ? QString::fromUtf8(file) : QString(), rc, engineText));
}

Connection::Connection(QString fileName) : m_fileName(std::move(fileName)) {}

Connection::~Connection()
{
    Close();
}

void Connection::setFileName(const QString& fileName)
{
    Close();
    m_fileName = fileName;
}

void Connection::Open()
{
    if (m_db)
        return;
    const QString readOnlyBecause = QFileInfo::exists(m_fileName) ? readOnlyCause(m_fileName) : QString();
    sqlite3* db = nullptr;
    // Without create: the address book is supplied, never made here.
    const int flags = (readOnlyBecause.isEmpty() ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY)
                      | SQLITE_OPEN_FULLMUTEX;
    int rc = sqlite3_open_v2(QFile::encodeName(m_fileName).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString engineText = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        throw Error(addressBookFailure(m_fileName, rc, engineText));
    }
    // Before the first statement: another program's write lock is waited for, not failed on.
    sqlite3_busy_timeout(db, BusyTimeoutMs);
    try {
        const QByteArray key(DatabasePassword);
        checkSqlite(db, sqlite3_key(db, key.constData(), int(key.size())));
        // SQLCipher 4 reads the 3.x format only when told; 3.x ignores the unknown pragma.
        execPlain(db, "PRAGMA cipher_compatibility = 3");
        // Touches the first page, so a wrong key or a foreign file fails here, not later.
        execPlain(db, "SELECT count(*) FROM sqlite_master");
        // The file alone is the whole database: a copy of it is a complete backup.
        if (readOnlyBecause.isEmpty())
            execPlain(db, "PRAGMA journal_mode = DELETE");
        execPlain(db, "PRAGMA cache_size = -65536");
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    m_db = db;
    m_readOnlyReason = readOnlyBecause;
    m_protectedPath = QFileInfo(m_fileName).absoluteFilePath();
    OutputFile::protect(m_protectedPath);
}

QString Connection::readOnlyNotice() const
{
    return QStringLiteral("地址簿“%1”%2，现在只能浏览，不能添加、修改或删除记录。")
        .arg(nativePath(m_fileName), m_readOnlyReason);
}

void Connection::checkAddressBook()
{
    for (const auto& [table, columns] : addressBookTables()) {
        const QStringList present = tableColumns(table);
        if (present.isEmpty())
            throw Error(QStringLiteral("“%1”不是本程序的地址簿：缺少表 %2。")
                            .arg(nativePath(m_fileName), table));
        for (const QString& column : columns) {
            if (!present.contains(column))
                throw Error(QStringLiteral("地址簿“%1”的表 %2 缺少列“%3”，无法使用。")
                                .arg(nativePath(m_fileName), table, column));
        }
    }
}

void Connection::Close()
{
    if (!m_db)
        return;
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_readOnlyReason.clear();
    OutputFile::unprotect(m_protectedPath);
    m_protectedPath.clear();
    ++m_generation;
    Q_EMIT closed();
}

sqlite3* Connection::handle()
{
    Open();
    return m_db;
}

void Connection::ExecSQL(const QString& sql, const QVariantList& params)
{
    sqlite3* db = handle();
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = utf8.constData();
    const char* end = tail + utf8.size();
    bool first = true;
    while (tail < end) {
        sqlite3_stmt* stmt = nullptr;
        checkSqlite(db, sqlite3_prepare_v2(db, tail, int(end - tail), &stmt, &tail));
        if (!stmt)
            break;   // trailing blanks or a comment
        try {
            if (first)
                bindParameters(db, stmt, params);
            first = false;
            int rc;
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {}
            checkSqlite(db, rc);
        } catch (...) {
            sqlite3_finalize(stmt);
            throw;
        }
        sqlite3_finalize(stmt);
    }
}

qint64 Connection::lastInsertRowId() const
{
    return m_db ? sqlite3_last_insert_rowid(m_db) : -1;
}

int Connection::changes() const
{
    return m_db ? sqlite3_changes(m_db) : 0;
}

QStringList Connection::tableColumns(const QString& table)
{
    sqlite3* db = handle();
    QStringList columns;
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = QStringLiteral("PRAGMA table_info(\"%1\")").arg(table).toUtf8();
    checkSqlite(db, sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr));
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        columns << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
    if (rc != SQLITE_DONE) {
        try {
            checkSqlite(db, rc);
        } catch (...) {
            sqlite3_finalize(stmt);
            throw;
        }
    }
    sqlite3_finalize(stmt);
    return columns;
}

const QStringList& Connection::senderColumns()
{
    static const QStringList columns{"姓名", "城市", "寄件单位", "邮编", "地址", "手机", "电话",
                                     "签名", "备注", "年", "月", "日"};
    return columns;
}

const QStringList& Connection::recipientColumns()
{
    static const QStringList columns{"姓名", "城市", "收件单位", "邮编", "地址", "手机", "电话",
                                     "内件品名", "数量", "备注"};
    return columns;
}

const QVector<QPair<QString, QStringList>>& Connection::addressBookTables()
{
    static const QVector<QPair<QString, QStringList>> tables{
        {QStringLiteral("outr"), senderColumns()},
        {QStringLiteral("inr"), recipientColumns()},
        {QStringLiteral("excel"), recipientColumns()},
    };
    return tables;
}

void Connection::createDatabase(const QString& fileName)
{
    if (QFileInfo::exists(fileName))
        throw Error(QStringLiteral("%1 already exists").arg(fileName));
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(fileName).constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    try {
        checkSqlite(db, rc);
        const QByteArray key(DatabasePassword);
        checkSqlite(db, sqlite3_key(db, key.constData(), int(key.size())));
        // Written in the 3.x format, which every SQLCipher from 3.4 on reads.
        execPlain(db, "PRAGMA cipher_compatibility = 3");
        execPlain(db, "PRAGMA journal_mode = DELETE");
        auto create = [&](const char* table, const QStringList& columns) {
            QStringList defs;
            for (const QString& c : columns)
                defs << QStringLiteral("\"%1\" TEXT").arg(c);
            execPlain(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(table), defs.join(", "))
                              .toUtf8().constData());
        };
        create("outr", senderColumns());
        create("inr", recipientColumns());
        create("excel", recipientColumns());
    } catch (...) {
        sqlite3_close(db);
        QFile::remove(fileName);
        throw;
    }
    sqlite3_close(db);
}

}
