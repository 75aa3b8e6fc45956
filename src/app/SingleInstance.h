#pragma once
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace corvane {

// One running program per address book. A lock file beside the book is held while the program
// runs; the system lets it go when the program ends or dies, and a dead program's lock is taken
// over. The holder listens on a local socket named after the book's canonical path, so that a
// second start can ask it to come to the front instead of opening a second window.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& databaseFile, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when no other program holds the book; this one then holds it until destroyed.
    bool acquire();
    // A second start: asks the holder to show its window; false when it did not answer.
    bool askRunningToShow() const;

    QString lockFileName() const { return m_lock->fileName(); }
    QString serverName() const { return m_serverName; }

Q_SIGNALS:
    // Another start of the program on the same book asked for the window.
    void showRequested();

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_serverName;
    QLocalServer* m_server = nullptr;
};

}
