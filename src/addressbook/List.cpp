#include "addressbook/List.h"
#include "addressbook/Connection.h"
#include "core/Error.h"
#include "core/MemoryPolicy.h"

#include <QFileInfo>
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

// Every list alive in the program, so that a list can take the snapshot another one holds.
QList<List*>& liveLists()
{
    static QList<List*> lists;
    return lists;
}

}

// What the connection sees of the file: the rows it changed so far, the version other connections'
// commits move on and the version of the tables' layout; none inside a transaction, where it sees
// changes of its own not yet committed.
std::optional<List::SnapshotState> List::stateOf(sqlite3* db)
{
    if (!sqlite3_get_autocommit(db))
        return std::nullopt;
    Statement data(db, QStringLiteral("PRAGMA data_version"));
    Statement schema(db, QStringLiteral("PRAGMA schema_version"));
    if (!data.step() || !schema.step())
        return std::nullopt;
    return SnapshotState{sqlite3_total_changes(db), sqlite3_column_int64(data.get(), 0),
                         sqlite3_column_int64(schema.get(), 0)};
}

// A list over the same statement on the same file whose snapshot is still what the file holds:
// nothing was written since it was read, by its connection or any other.
const List* List::sameSnapshot() const
{
    const QString file = QFileInfo(m_connection->fileName()).absoluteFilePath();
    for (const List* other : liveLists()) {
        if (other == this || !other->m_snapshot || other->m_sql != m_sql || other->m_parameters != m_parameters
            || other->m_state != State::Browse || !other->Active()
            || QFileInfo(other->m_connection->fileName()).absoluteFilePath() != file)
            continue;
        if (stateOf(other->m_connection->handle()) == other->m_snapshot)
            return other;
    }
    return nullptr;
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
    liveLists().append(this);
}

List::~List()
{
    liveLists().removeOne(this);
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
    useMemoryPolicy(); // a large book's snapshot goes back to the system when replaced
    Close();
    sqlite3* db = m_connection->handle();
    // What the file is before the rows are read: a commit while they are read makes the
    // snapshot newer than this, never older, so no later list takes rows older than it finds.
    const std::optional<SnapshotState> state = stateOf(db);
    // A second list over the same rows (a batch window's beside the main window's) takes the
    // snapshot already read: the rows are shared until either list changes them.
    if (const List* source = state ? sameSnapshot() : nullptr) {
        Q_EMIT aboutToReset();
        m_table = source->m_table;
        m_columns = source->m_columns;
        m_rowids = source->m_rowids;
        m_offsets = source->m_offsets;
        m_text = source->m_text;
        m_snapshot = state;
        openedAt(m_connection->generation());
        return;
    }
    const QString table = tableOf(m_sql);
    Statement stmt(db, table.isEmpty() ? m_sql : withRowId(m_sql));
    stmt.bind(m_parameters);
    const int offset = table.isEmpty() ? 0 : 1;
    const int columnCount = sqlite3_column_count(stmt.get()) - offset;
    QStringList columns;
    for (int c = 0; c < columnCount; ++c)
        columns << QString::fromUtf8(sqlite3_column_name(stmt.get(), c + offset));
    // Read whole before the list takes it: a statement that fails half-way leaves no half list.
    QVector<qint64> rowids;
    QVector<quint32> offsets;
    QString text;
    while (stmt.step()) {
        rowids.append(offset ? sqlite3_column_int64(stmt.get(), 0) : -1);
        for (int c = 0; c < columnCount; ++c) {
            offsets.append(quint32(text.size()));
            const auto* chars = static_cast<const QChar*>(sqlite3_column_text16(stmt.get(), c + offset));
            if (chars)
                text.append(chars, sqlite3_column_bytes16(stmt.get(), c + offset) / 2);
        }
        offsets.append(quint32(text.size()));
    }
    rowids.squeeze();
    offsets.squeeze();
    text.squeeze();
    Q_EMIT aboutToReset();
    m_table = table;
    m_columns = columns;
    m_rowids = std::move(rowids);
    m_offsets = std::move(offsets);
    m_text = std::move(text);
    m_snapshot = state;
    openedAt(m_connection->generation());
}

void List::openedAt(quint64 generation)
{
    m_active = true;
    m_generation = generation;
    m_state = State::Browse;
    m_current = rowCount() == 0 ? -1 : 0;
    m_eof = rowCount() == 0;
    Q_EMIT reset();
    Q_EMIT currentChanged(m_current);
}

QStringView List::cell(int row, int column) const
{
    const qsizetype at = qsizetype(row) * (m_columns.size() + 1) + column;
    return QStringView(m_text).mid(m_offsets[at], m_offsets[at + 1] - m_offsets[at]);
}

List::Row List::rowAt(int row) const
{
    Row r;
    r.rowid = m_rowids[row];
    r.values.reserve(m_columns.size());
    for (int c = 0; c < m_columns.size(); ++c)
        r.values << cell(row, c).toString();
    return r;
}

void List::setRow(int row, const Row& values)
{
    // A changed row is written anew at the end of the text; its old text stays until the next Open.
    const qsizetype stride = m_columns.size() + 1;
    if (row == rowCount()) {
        m_rowids.append(values.rowid);
        m_offsets.resize(m_offsets.size() + stride);
    }
    m_rowids[row] = values.rowid;
    for (int c = 0; c < m_columns.size(); ++c) {
        m_offsets[row * stride + c] = quint32(m_text.size());
        m_text.append(values.values.value(c));
    }
    m_offsets[row * stride + m_columns.size()] = quint32(m_text.size());
}

void List::clearRows()
{
    m_rowids.clear();
    m_offsets.clear();
    m_text.clear();
}

void List::Close()
{
    if (!m_active)
        return;
    Q_EMIT aboutToReset();
    m_active = false;
    clearRows();
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
    return Active() ? rowCount() : 0;
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
    if (!Active() || rowCount() == 0)
        return;
    if (m_state != State::Browse)
        Cancel();
    setCurrent(qBound(0, row, rowCount() - 1));
    m_eof = false;
}

void List::First()
{
    setRecNo(0);
    m_eof = RecordCount() == 0;
}

void List::Next()
{
    if (!Active() || rowCount() == 0)
        return;
    if (m_current + 1 >= rowCount())
        m_eof = true;
    else
        setCurrent(m_current + 1);
}

void List::Edit()
{
    ensureOpenState();
    if (m_state != State::Browse)
        return;
    if (rowCount() == 0) {
        Append();
        return;
    }
    m_buffer = rowAt(m_current);
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
        setRow(rowCount(), m_buffer);
        m_state = State::Browse;
        m_current = rowCount() - 1;
        m_eof = false;
        Q_EMIT reset();
        Q_EMIT currentChanged(m_current);
        return;
    }
    if (!names.isEmpty()) {
        QStringList sets;
        for (int i = 0; i < names.size(); ++i)
            sets << QStringLiteral("%1 = ?%2").arg(names[i]).arg(i + 1);
        const QString where = rowAsRead(m_current, values);
        m_connection->ExecSQL(QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(m_table, sets.join(", "), where),
                              values);
        if (m_connection->changes() == 0)
            readAgainAfterStaleRow(QStringLiteral("这条记录已被其他程序修改或删除，这次修改没有保存。"));
    }
    setRow(m_current, m_buffer);
    m_state = State::Browse;
    Q_EMIT rowChanged(m_current);
}

QString List::rowAsRead(int row, QVariantList& parameters) const
{
    // The row must still hold every value the list read, not merely the same rowid: a rowid
    // freed by a deletion elsewhere is given to the next new row.
    parameters << m_rowids[row];
    QStringList terms{QStringLiteral("rowid = ?%1").arg(parameters.size())};
    for (int c = 0; c < m_columns.size(); ++c) {
        parameters << cell(row, c).toString();
        terms << QStringLiteral("ifnull(CAST(%1 AS TEXT), '') = ?%2").arg(quoted(m_columns[c])).arg(parameters.size());
    }
    return terms.join(QStringLiteral(" AND "));
}

void List::readAgainAfterStaleRow(const QString& what)
{
    Cancel();
    Open();
    throw StaleRowError(what + QStringLiteral("列表已重新读取，请核对后再操作。"));
}

void List::Delete()
{
    ensureOpenState();
    if (rowCount() == 0)
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
    rows.erase(std::remove_if(rows.begin(), rows.end(), [&](int r) { return r < 0 || r >= rowCount(); }),
               rows.end());
    if (rows.isEmpty())
        return;
    Cancel();
    // One transaction: either every selected row goes or none does.
    m_connection->ExecSQL(QStringLiteral("BEGIN"));
    bool stale = false;
    try {
        for (int r : rows) {
            QVariantList parameters;
            const QString where = rowAsRead(r, parameters);
            m_connection->ExecSQL(QStringLiteral("DELETE FROM %1 WHERE %2").arg(m_table, where), parameters);
            if (m_connection->changes() == 0) {
                stale = true;
                break;
            }
        }
        m_connection->ExecSQL(stale ? QStringLiteral("ROLLBACK") : QStringLiteral("COMMIT"));
    } catch (...) {
        try { m_connection->ExecSQL(QStringLiteral("ROLLBACK")); } catch (...) {}
        throw;
    }
    if (stale)
        readAgainAfterStaleRow(rows.size() == 1
                                   ? QStringLiteral("这条记录已被其他程序修改或删除，没有删除任何记录。")
                                   : QStringLiteral("选中的记录中有的已被其他程序修改或删除，没有删除任何记录。"));
    Q_EMIT aboutToReset();
    // One pass, however many rows go.
    const qsizetype stride = m_columns.size() + 1;
    int kept = 0;
    for (int r = 0, next = 0; r < rowCount(); ++r) {
        if (next < rows.size() && rows[next] == r) {
            ++next;
            continue;
        }
        m_rowids[kept] = m_rowids[r];
        std::copy_n(m_offsets.constBegin() + r * stride, stride, m_offsets.begin() + kept * stride);
        ++kept;
    }
    m_rowids.resize(kept);
    m_offsets.resize(kept * stride);
    const int first = rows.first();
    m_current = rowCount() == 0 ? -1 : qMin(first, rowCount() - 1);
    m_eof = rowCount() == 0;
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
    if (column >= m_columns.size())
        return QString();
    return cell(m_current, column).toString();
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
    if (!Active() || row < 0 || row >= rowCount() || column < 0 || column >= m_columns.size())
        return QString();
    return cell(row, column).toString();
}

}
