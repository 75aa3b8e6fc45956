#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace corvane {

namespace {

const QByteArray showRequest = "show\n";

QString canonicalBook(const QString& databaseFile)
{
    const QFileInfo info(databaseFile);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

// Beside the book; where its folder cannot be written (a read-only book), in the user's runtime
// folder under a name made from the book's path.
QString lockPath(const QString& book, const QString& key)
{
    const QFileInfo info(book);
    if (::access(QFile::encodeName(info.absolutePath()).constData(), W_OK) == 0)
        return book + QStringLiteral(".lock");
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/corvane-") + key + QStringLiteral(".lock");
}

}

SingleInstance::SingleInstance(const QString& databaseFile, QObject* parent) : QObject(parent)
{
    const QString book = canonicalBook(databaseFile);
    const QString key = QString::fromLatin1(
        QCryptographicHash::hash(QFile::encodeName(book), QCryptographicHash::Sha1).toHex().left(16));
    m_serverName = QStringLiteral("corvane-%1-%2").arg(::getuid()).arg(key);
    m_lock = std::make_unique<QLockFile>(lockPath(book, key));
    // Only a dead holder makes the lock stale, never its age: a program may run for weeks.
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
    m_lock->unlock();
}

bool SingleInstance::acquire()
{
    if (!m_lock->tryLock(0))
        return false;
    // A socket left by a program that died belongs to nobody now.
    QLocalServer::removeServer(m_serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->listen(m_serverName);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(showRequest.trimmed()))
                    Q_EMIT showRequested();
                socket->disconnectFromServer();
            });
        }
    });
    return true;
}

bool SingleInstance::askRunningToShow() const
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(2000))
        return false;
    socket.write(showRequest);
    if (!socket.waitForBytesWritten(2000))
        return false;
    // The holder hangs up once it has read the request.
    socket.waitForDisconnected(2000);
    return true;
}

}
