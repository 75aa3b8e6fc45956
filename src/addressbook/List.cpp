#include "addressbook/List.h"
#include "addressbook/Connection.h"
#include "core/Error.h"

#include <QRegularExpression>
#include <sqlcipher/sqlite3.h>

namespace corvane {

namespace {

// "select * from <table> ..." : the table a snapshot can write back to.
QString tableOf(const QString& sql)
{
    static const QRegularExpression re(QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+\\[?(\\w+)\\]?"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(sql);
    return m.hasMatch() ? m.captured(1) : QString();
}

// The same statement with the rowid in front, so each snapshot row knows its table row.
QString withRowId(const QString& sql)
{
    static const QRegularExpression re(QStringLiteral("^\\s*select\\s+\\*"), QRegularExpression::CaseInsensitiveOption);
    QString s = sql;
    return s.replace(re, QStringLiteral("select rowid, *"));
}

QString quoted(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

class Statement {
public:
    Statement(sqlite3* db, const QString& sql) : m_db(db)
    {
        const QByteArray utf8 = sql.toUtf8();
        checkSqlite(db, sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr));
        if (!m_stmt)
            throw Error(QStringLiteral("empty statement"));
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    void bind(const QVariantList& params) { bindParameters(m_db, m_stmt, params); }
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        checkSqlite(m_db, rc);
        return false;
    }
    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

}

QString List::Field::AsString() const
{
    return m_list->read(m_column);
}

void List::Field::setAsString(const QString& value)
{
    m_list->write(m_column, value);
}

List::List(Connection* connection, QObject* parent) : QObject(parent), m_connection(connection)
{
    connect(connection, &Connection::closed, this, &List::Close);
}

void List::setSQL(const QString& sql, const QVariantList& parameters)
{
    m_sql = sql;
    m_parameters = parameters;
}

QString List::searchStatement(const QString& table, const QString& column)
{
    return QStringLiteral("select * from %1 where %2 like ?1 escape '\\'").arg(table, column);
}

void List::setSearch(const QString& table, const QString& column, const QString& text)
{
    // The typed text is a literal substring: the LIKE wildcards and the escape character are escaped.
    QString literal = text;
    literal.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("\\%"))
        .replace(QLatin1Char('_'), QStringLiteral("\\_"));
    setSQL(searchStatement(table, column), {QLatin1Char('%') + literal + QLatin1Char('%')});
}

bool List::Active() const
{
    return m_active && m_generation == m_connection->generation() && m_connection->Connected();
}

void List::ensureOpenState() const
{
    if (!Active())
        throw Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void List::Open()
{
    Close();
    sqlite3* db = m_connection->handle();
    const QString table = tableOf(m_sql);
    Statement stmt(db, table.isEmpty() ? m_sql : withRowId(m_sql));
    stmt.bind(m_parameters);
    const int offset = table.isEmpty() ? 0 : 1;
    const int columnCount = sqlite3_column_count(stmt.get()) - offset;
    QStringList columns;
    for (int c = 0; c < columnCount; ++c)
        columns << QString::fromUtf8(sqlite3_column_name(stmt.get(), c + offset));
    QVector<Row> rows;
    while (stmt.step()) {
        Row row;
        row.rowid = offset ? sqlite3_column_int64(stmt.get(), 0) : -1;
        row.values.resize(columnCount);
        for (int c = 0; c < columnCount; ++c) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), c + offset));
            if (text)
                row.values[c] = QString::fromUtf8(text, sqlite3_column_bytes(stmt.get(), c + offset));
        }
        rows.push_back(std::move(row));
    }
    Q_EMIT aboutToReset();
    m_table = table;
    m_columns = columns;
    m_rows = std::move(rows);
    m_active = true;
    m_generation = m_connection->generation();
    m_state = State::Browse;
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_eof = m_rows.isEmpty();
    Q_EMIT reset();
    Q_EMIT currentChanged(m_current);
}

void List::Close()
{
    if (!m_active)
        return;
    Q_EMIT aboutToReset();
    m_active = false;
    m_rows.clear();
    m_current = -1;
    m_eof = true;
    m_state = State::Inactive;
    Q_EMIT reset();
    Q_EMIT currentChanged(-1);
}

void List::ExecSQL()
{
    m_connection->ExecSQL(m_sql, m_parameters);
}

int List::RecordCount() const
{
    return Active() ? int(m_rows.size()) : 0;
}

void List::setCurrent(int row)
{
    if (row == m_current)
        return;
    m_current = row;
    Q_EMIT currentChanged(row);
}

void List::setRecNo(int row)
{
    if (!Active() || m_rows.isEmpty())
        return;
    if (m_state != State::Browse)
        Cancel();
    setCurrent(qBound(0, row, int(m_rows.size()) - 1));
    m_eof = false;
}

void List::First()
{
    setRecNo(0);
    m_eof = RecordCount() == 0;
}

void List::Next()
{
    if (!Active() || m_rows.isEmpty())
        return;
    if (m_current + 1 >= m_rows.size())
        m_eof = true;
    else
        setCurrent(m_current + 1);
}

void List::Edit()
{
    ensureOpenState();
    if (m_state != State::Browse)
        return;
    if (m_rows.isEmpty()) {
        Append();
        return;
    }
    m_buffer = m_rows[m_current];
    m_changed = QVector<bool>(m_columns.size(), false);
    m_state = State::Edit;
}

void List::Append()
{
    ensureOpenState();
    if (m_state != State::Browse)
        Cancel();
    m_buffer = Row();
    m_buffer.values.resize(m_columns.size());
    m_changed = QVector<bool>(m_columns.size(), false);
    m_state = State::Insert;
}

void List::Cancel()
{
    if (m_state == State::Edit || m_state == State::Insert)
        m_state = State::Browse;
}

void List::Post()
{
    ensureOpenState();
    if (m_state == State::Browse)
        return;
    if (m_table.isEmpty())
        throw Error(QStringLiteral("Cannot modify a read-only dataset"));
    QStringList names;
    QVariantList values;
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_changed[c]) {
            names << quoted(m_columns[c]);
            values << m_buffer.values[c];
        }
    }
    if (m_state == State::Insert) {
        if (names.isEmpty()) {
            m_connection->ExecSQL(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_table));
        } else {
            QStringList marks;
            for (int i = 1; i <= names.size(); ++i)
                marks << QStringLiteral("?%1").arg(i);
            m_connection->ExecSQL(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(m_table, names.join(", "), marks.join(", ")), values);
        }
        m_buffer.rowid = m_connection->lastInsertRowId();
        Q_EMIT aboutToReset();
        m_rows.push_back(m_buffer);
        m_state = State::Browse;
        m_current = int(m_rows.size()) - 1;
        m_eof = false;
        Q_EMIT reset();
        Q_EMIT currentChanged(m_current);
        return;
    }
    if (!names.isEmpty()) {
        QStringList sets;
        for (int i = 0; i < names.size(); ++i)
            sets << QStringLiteral("%1 = ?%2").arg(names[i]).arg(i + 1);
        values << m_buffer.rowid;
        m_connection->ExecSQL(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?%3")
                                  .arg(m_table, sets.join(", ")).arg(values.size()), values);
    }
    m_rows[m_current] = m_buffer;
    m_state = State::Browse;
    Q_EMIT rowChanged(m_current);
}

void List::Delete()
{
    ensureOpenState();
    if (m_rows.isEmpty())
        return;
    deleteRows({m_current});
}

void List::deleteRows(QVector<int> rows)
{
    ensureOpenState();
    if (m_table.isEmpty())
        throw Error(QStringLiteral("Cannot modify a read-only dataset"));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [&](int r) { return r < 0 || r >= m_rows.size(); }),
               rows.end());
    if (rows.isEmpty())
        return;
    Cancel();
    // One transaction: either every selected row goes or none does.
    m_connection->ExecSQL(QStringLiteral("BEGIN"));
    try {
        for (int r : rows)
            m_connection->ExecSQL(QStringLiteral("DELETE FROM %1 WHERE rowid = ?1").arg(m_table), {m_rows[r].rowid});
        m_connection->ExecSQL(QStringLiteral("COMMIT"));
    } catch (...) {
        try { m_connection->ExecSQL(QStringLiteral("ROLLBACK")); } catch (...) {}
        throw;
    }
    Q_EMIT aboutToReset();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        m_rows.removeAt(*it);
    const int first = rows.first();
    m_current = m_rows.isEmpty() ? -1 : qMin(first, int(m_rows.size()) - 1);
    m_eof = m_rows.isEmpty();
    Q_EMIT reset();
    Q_EMIT currentChanged(m_current);
}

List::Field List::FieldByName(const QString& name)
{
    const int c = m_columns.indexOf(name);
    if (c < 0 && Active())
        throw Error(QStringLiteral("Field '%1' not found").arg(name));
    return Field(this, c, name);
}

QString List::read(int column) const
{
    if (column < 0)
        return QString();
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer.values.value(column);
    if (!Active() || m_current < 0)
        return QString();
    return m_rows[m_current].values.value(column);
}

void List::write(int column, const QString& value)
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw Error(QStringLiteral("Dataset not in edit or insert mode"));
    if (column < 0)
        return;
    m_buffer.values[column] = value;
    m_changed[column] = true;
}

QString List::value(int row, int column) const
{
    if (!Active() || row < 0 || row >= m_rows.size())
        return QString();
    return m_rows[row].values.value(column);
}

}
