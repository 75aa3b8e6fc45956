#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <optional>

#include "core/Error.h"

struct sqlite3;

namespace corvane {

class Connection;

// A change or deletion found its row changed or removed by another program: nothing was
// written, and the list has been read again.
class StaleRowError : public Error {
public:
    using Error::Error;
};

// A query over one table with a static cursor: Open() takes a snapshot of the rows into memory,
// each row remembering its rowid. Post and Delete change a table row only while it still holds
// the values the snapshot read; otherwise they throw StaleRowError and read the list again.
// Rows appended or deleted through the list show at once; other changes show on the next Open().
class List : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    // Proxy for FieldByName(...).AsString() reads and writes.
    class Field {
    public:
        QString AsString() const;
        void setAsString(const QString& value);
        const QString& DisplayName() const { return m_name; }
    private:
        friend class List;
        Field(List* list, int column, QString name) : m_list(list), m_column(column), m_name(std::move(name)) {}
        List* m_list;
        int m_column;
        QString m_name;
    };

    explicit List(Connection* connection, QObject* parent = nullptr);
    ~List() override;

    Connection* connection() const { return m_connection; }

    // The statement: set whole (clears parameters) or with bound parameters (?1, ?2 ...).
    QString SQL() const { return m_sql; }
    void setSQL(const QString& sql, const QVariantList& parameters = {});
    const QVariantList& Parameters() const { return m_parameters; }

    void Open();        // runs the statement, stands on the first row; throws corvane::Error
    void Close();
    bool Active() const;
    void ExecSQL();     // runs the statement without rows

    int RecordCount() const;
    int RecNo() const { return m_current; }            // 0-based current row, -1 when empty
    void setRecNo(int row);                              // moves the current row
    void First();
    void Next();
    bool Eof() const { return m_eof; }

    void Edit();        // change mode on the current row; a new row on an empty list
    void Append();      // a new row at the end
    void Post();        // writes the new or changed row; throws corvane::Error, StaleRowError
    void Cancel();
    void Delete();      // deletes the current row from the table
    void deleteRows(QVector<int> rows);                  // several rows, by list position
    State state() const { return m_state; }

    Field FieldByName(const QString& name);              // throws for an unknown column
    QStringList Fields() const { return m_columns; }     // column names in table order
    QString value(int row, int column) const;            // snapshot value, "" when absent
    int columnIndex(const QString& name) const { return m_columns.indexOf(name); }

    // A search statement over `table` whose `column` contains `text` literally.
    static QString searchStatement(const QString& table, const QString& column);
    void setSearch(const QString& table, const QString& column, const QString& text);

Q_SIGNALS:
    void aboutToReset();
    void reset();                     // opened, closed or rows added/removed
    void rowChanged(int row);         // a row's values changed (posted)
    void currentChanged(int row);

private:
    struct Row {
        qint64 rowid = -1;
        QVector<QString> values;
    };
    friend class Field;
    QString read(int column) const;
    void write(int column, const QString& value);
    void ensureOpenState() const;
    void setCurrent(int row);
    // "rowid = ? AND <every column> = ?" for the row as the snapshot holds it; appends the values.
    QString rowAsRead(int row, QVariantList& parameters) const;
    [[noreturn]] void readAgainAfterStaleRow(const QString& what);

    // The snapshot: every value of every row in one block of text, a row's values side by side,
    // found through (columns + 1) offsets per row; 100,000 rows cost a few allocations, not a million.
    int rowCount() const { return int(m_rowids.size()); }
    QStringView cell(int row, int column) const;
    Row rowAt(int row) const;
    void setRow(int row, const Row& values);   // row == rowCount() appends
    void clearRows();

    struct SnapshotState {
        int changes;
        qint64 dataVersion;
        qint64 schemaVersion;
        bool operator==(const SnapshotState&) const = default;
    };
    static std::optional<SnapshotState> stateOf(sqlite3* db);
    const List* sameSnapshot() const;
    void openedAt(quint64 generation);

    Connection* m_connection;
    QString m_sql;
    QVariantList m_parameters;
    QString m_table;                  // table the snapshot came from
    QStringList m_columns;
    QVector<qint64> m_rowids;
    QVector<quint32> m_offsets;
    QString m_text;
    std::optional<SnapshotState> m_snapshot;   // what the file was when the snapshot was read
    bool m_active = false;
    quint64 m_generation = 0;
    int m_current = -1;
    bool m_eof = true;
    State m_state = State::Inactive;
    Row m_buffer;                     // the row being edited or inserted
    QVector<bool> m_changed;
};

}
