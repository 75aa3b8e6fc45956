#include "addressbook/SpreadsheetImport.h"
#include "addressbook/Connection.h"
#include "addressbook/WorkbookReader.h"
#include "core/Error.h"

#include <sqlcipher/sqlite3.h>

namespace corvane {

namespace {

bool blank(const QStringList& cells)
{
    for (const QString& c : cells) {
        if (!c.trimmed().isEmpty())
            return false;
    }
    return true;
}

class Transaction {
public:
    explicit Transaction(Connection& connection) : m_connection(connection)
    {
        m_connection.ExecSQL(QStringLiteral("BEGIN IMMEDIATE"));
    }
    ~Transaction()
    {
        if (!m_done)
            sqlite3_exec(m_connection.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void commit()
    {
        m_connection.ExecSQL(QStringLiteral("COMMIT"));
        m_done = true;
    }

private:
    Connection& m_connection;
    bool m_done = false;
};

}

int importWorkbookIntoExcel(Connection& connection, const QString& fileName)
{
    std::unique_ptr<WorkbookReader> reader = openImportSheet(fileName);

    const QStringList& columns = Connection::recipientColumns();
    QStringList header;
    while (reader->readRow(header) && blank(header)) {}
    for (QString& name : header)
        name = name.trimmed();
    QVector<int> sourceColumn;
    QStringList missing;
    for (const QString& column : columns) {
        sourceColumn << int(header.indexOf(column));
        if (sourceColumn.back() < 0)
            missing << column;
    }
    if (!missing.isEmpty())
        throw Error(QStringLiteral("“%1”的首行缺少列：%2").arg(fileName, missing.join(QStringLiteral("、"))));

    sqlite3* db = connection.handle();
    QStringList names, markers;
    for (int i = 0; i < columns.size(); ++i) {
        names << QLatin1Char('"') + columns[i] + QLatin1Char('"');
        markers << QStringLiteral("?%1").arg(i + 1);
    }
    const QByteArray sql = QStringLiteral("INSERT INTO excel (%1) VALUES (%2)")
                               .arg(names.join(QStringLiteral(", ")), markers.join(QStringLiteral(", "))).toUtf8();

    Transaction transaction(connection);
    sqlite3_stmt* insert = nullptr;
    checkSqlite(db, sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &insert, nullptr));
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(insert, sqlite3_finalize);

    int added = 0;
    QStringList cells;
    QVector<QByteArray> values(columns.size());
    while (reader->readRow(cells)) {
        if (blank(cells))
            continue;
        for (int i = 0; i < columns.size(); ++i) {
            values[i] = sourceColumn[i] < cells.size() ? cells[sourceColumn[i]].toUtf8() : QByteArray("");
            checkSqlite(db, sqlite3_bind_text(insert, i + 1, values[i].constData(), int(values[i].size()),
                                              SQLITE_STATIC));
        }
        checkSqlite(db, sqlite3_step(insert));
        sqlite3_reset(insert);
        ++added;
    }
    statement.reset();
    transaction.commit();
    return added;
}

}
