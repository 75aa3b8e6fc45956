#include "addressbook/Connection.h"
#include "core/Error.h"

#include <QFileInfo>
#include <sqlcipher/sqlite3.h>

namespace corvane {

namespace {

void execPlain(sqlite3* db, const char* sql)
{
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString message = err ? QString::fromUtf8(err) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(err);
        throw Error(message);
    }
}

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
    throw Error(db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc)));
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
    sqlite3* db = nullptr;
    // Read-write without create: the address book is supplied, never made here.
    int rc = sqlite3_open_v2(QFile::encodeName(m_fileName).constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        throw Error(message);
    }
    try {
        const QByteArray key(DatabasePassword);
        checkSqlite(db, sqlite3_key(db, key.constData(), int(key.size())));
        // SQLCipher 4 reads the 3.x format only when told; 3.x ignores the unknown pragma.
        execPlain(db, "PRAGMA cipher_compatibility = 3");
        // Touches the first page, so a wrong key or a foreign file fails here, not later.
        execPlain(db, "SELECT count(*) FROM sqlite_master");
        // The file alone is the whole database: a copy of it is a complete backup.
        execPlain(db, "PRAGMA journal_mode = DELETE");
        execPlain(db, "PRAGMA cache_size = -65536");
        sqlite3_busy_timeout(db, 5000);
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    m_db = db;
}

void Connection::Close()
{
    if (!m_db)
        return;
    sqlite3_close_v2(m_db);
    m_db = nullptr;
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

QStringList Connection::tableColumns(const QString& table)
{
    sqlite3* db = handle();
    QStringList columns;
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = QStringLiteral("PRAGMA table_info(\"%1\")").arg(table).toUtf8();
    checkSqlite(db, sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr));
    while (sqlite3_step(stmt) == SQLITE_ROW)
        columns << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
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
