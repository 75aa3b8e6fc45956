#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace corvane {

// One connection to the encrypted address database. It never creates the file:
// a missing, unreadable or wrongly keyed file fails Open() with a message that names the file
// and the cause, followed by the engine's own text.
class Connection : public QObject {
    Q_OBJECT
public:
    static constexpr const char* DatabasePassword = "460139275830";
    static constexpr const char* DefaultFileName = "data.mdb";
    // How long a statement waits for another program's lock before it fails.
    static constexpr int BusyTimeoutMs = 5000;

    explicit Connection(QString fileName = QString::fromLatin1(DefaultFileName));
    ~Connection() override;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Resolved against the working directory when opened, as a relative name is.
    const QString& fileName() const { return m_fileName; }
    void setFileName(const QString& fileName);   // closes first

    // Opens read-write; a file that cannot be written (file, folder or file system read-only)
    // opens read-only for browsing, and readOnlyReason() says why. Throws corvane::Error.
    void Open();
    void Close();
    bool Connected() const { return m_db != nullptr; }
    bool readOnly() const { return m_db && !m_readOnlyReason.isEmpty(); }
    const QString& readOnlyReason() const { return m_readOnlyReason; }
    // The one notice a read-only book gets when it is opened.
    QString readOnlyNotice() const;

    // The three tables with their columns must be there (further columns are allowed);
    // throws corvane::Error naming the file and the missing table or column.
    void checkAddressBook();

    // Runs a statement that returns no rows; parameters bind to ?1, ?2, ...
    void ExecSQL(const QString& sql, const QVariantList& params = {});
    qint64 lastInsertRowId() const;
    int changes() const;         // rows changed by the last statement
    sqlite3* handle();           // opens on demand

    // Column names of a table, in table order.
    QStringList tableColumns(const QString& table);

    // Raised on every Close(); a list opened under an older generation is closed.
    quint64 generation() const { return m_generation; }

    // Creates a new, empty database with the three tables (refuses an existing file).
    static void createDatabase(const QString& fileName);
    static const QStringList& senderColumns();      // outr
    static const QStringList& recipientColumns();   // inr and excel
    // Table name and its columns, for the three tables.
    static const QVector<QPair<QString, QStringList>>& addressBookTables();

Q_SIGNALS:
    // After Close(): every list on the connection closes, so its grid empties.
    void closed();

private:
    QString m_fileName;
    QString m_protectedPath;
    QString m_readOnlyReason;
    sqlite3* m_db = nullptr;
    quint64 m_generation = 0;
};

// Throws corvane::Error when rc is not OK. Failures of the file itself (missing, locked, read-only,
// full disk, not an address book) are told in Chinese with the file's name, the engine's text after.
void checkSqlite(sqlite3* db, int rc);
// Binds params to ?1, ?2, ...: a null variant as NULL, anything else as its text.
void bindParameters(sqlite3* db, sqlite3_stmt* stmt, const QVariantList& params);

// The message for an engine failure `rc` on the address book `fileName`: the cause in Chinese,
// then the engine's text. Failures that are not about the file give the engine's text alone.
QString addressBookFailure(const QString& fileName, int rc, const QString& engineText);

}
