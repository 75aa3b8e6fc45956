#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace corvane {

// One connection to the encrypted address database. It never creates the file:
// a missing, unreadable or wrongly keyed file fails Open() with the engine's text.
class Connection : public QObject {
    Q_OBJECT
public:
    static constexpr const char* DatabasePassword = "460139275830";
    static constexpr const char* DefaultFileName = "data.mdb";

    explicit Connection(QString fileName = QString::fromLatin1(DefaultFileName));
    ~Connection() override;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Resolved against the working directory when opened, as a relative name is.
    const QString& fileName() const { return m_fileName; }
    void setFileName(const QString& fileName);   // closes first

    void Open();                 // throws corvane::Error
    void Close();
    bool Connected() const { return m_db != nullptr; }

    // Runs a statement that returns no rows; parameters bind to ?1, ?2, ...
    void ExecSQL(const QString& sql, const QVariantList& params = {});
    qint64 lastInsertRowId() const;
    sqlite3* handle();           // opens on demand

    // Column names of a table, in table order.
    QStringList tableColumns(const QString& table);

    // Raised on every Close(); a list opened under an older generation is closed.
    quint64 generation() const { return m_generation; }

    // Creates a new, empty database with the three tables (refuses an existing file).
    static void createDatabase(const QString& fileName);
    static const QStringList& senderColumns();      // outr
    static const QStringList& recipientColumns();   // inr and excel

Q_SIGNALS:
    // After Close(): every list on the connection closes, so its grid empties.
    void closed();

private:
    QString m_fileName;
    sqlite3* m_db = nullptr;
    quint64 m_generation = 0;
};

// Throws corvane::Error with sqlite's message when rc is not OK.
void checkSqlite(sqlite3* db, int rc);
// Binds params to ?1, ?2, ...: a null variant as NULL, anything else as its text.
void bindParameters(sqlite3* db, sqlite3_stmt* stmt, const QVariantList& params);

}
