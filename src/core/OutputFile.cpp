#include "core/OutputFile.h"
#include "core/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMutex>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

struct ProtectedFile {
    QString path;
    dev_t device;
    ino_t inode;
};

QMutex protectedMutex;
QList<ProtectedFile>& protectedFiles()
{
    static QList<ProtectedFile> files;
    return files;
}

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

QString systemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

[[noreturn]] void fail(const QString& target, int error)
{
    throw Error(OutputFile::writeFailure(target, error));
}

void refuseProtected(const QString& target)
{
    if (OutputFile::isProtected(target))
        throw Error(QStringLiteral("不能把输出写到“%1”：它是正在使用的地址簿，写入会毁掉其中的记录。请换一个文件名。")
                        .arg(QDir::toNativeSeparators(target)));
}

// Writes the whole buffer, retrying short writes; false with errno set on failure.
bool writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

}

QString OutputFile::writeFailure(const QString& target, int error)
{
    QString cause;
    switch (error) {
    case ENOSPC:
    case EDQUOT: cause = QStringLiteral("磁盘空间不足"); break;
    case EACCES:
    case EPERM: cause = QStringLiteral("没有写入权限"); break;
    case EROFS: cause = QStringLiteral("所在的文件系统是只读的"); break;
    case ENOENT:
    case ENOTDIR: cause = QStringLiteral("所在的文件夹不存在"); break;
    case EISDIR: cause = QStringLiteral("它是一个文件夹"); break;
    case EIO: cause = QStringLiteral("磁盘读写出错"); break;
    default: cause = QStringLiteral("无法写入"); break;
    }
    const QString kept = QFileInfo(target).isFile() ? QStringLiteral("，原来的文件保持不变") : QString();
    return QStringLiteral("写入“%1”失败：%2%3。\n%4")
        .arg(QDir::toNativeSeparators(target), cause, kept, systemText(error));
}

OutputFile::OutputFile(QString target) : m_target(QFileInfo(target).absoluteFilePath())
{
    refuseProtected(m_target);
    // Through a link to the file it names, so that the link stays a link.
    const QFileInfo link(m_target);
    if (link.isSymLink() && !link.canonicalFilePath().isEmpty())
        m_target = link.canonicalFilePath();
    struct stat targetStat {};
    mode_t mode = 0;
    if (::stat(encoded(m_target).constData(), &targetStat) == 0) {
        if (S_ISDIR(targetStat.st_mode))
            fail(m_target, EISDIR);
        m_inPlace = !S_ISREG(targetStat.st_mode);
        mode = targetStat.st_mode & 07777;
        // A file its owner made read-only is not replaced behind their back.
        if (::access(encoded(m_target).constData(), W_OK) != 0)
            fail(m_target, errno);
    } else if (errno != ENOENT) {
        fail(m_target, errno);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    const QFileInfo info(m_target);
    // Beside the target, so that the rename never crosses file systems; a device gets a copy
    // made in the temporary folder.
    const QString pattern = m_inPlace ? QDir::tempPath() + QStringLiteral("/corvane-output-XXXXXX")
                                      : info.absolutePath() + QStringLiteral("/.") + info.fileName()
                                            + QStringLiteral(".XXXXXX");
    QByteArray name = encoded(pattern);
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        fail(m_target, errno);
    if (!m_inPlace)
        ::fchmod(fd, mode);
    ::close(fd);
    m_temporary = QFile::decodeName(name);
}

OutputFile::~OutputFile()
{
    discard();
}

void OutputFile::discard()
{
    if (m_done)
        return;
    m_done = true;
    ::unlink(encoded(m_temporary).constData());
}

void OutputFile::commit()
{
    if (m_done)
        throw Error(QStringLiteral("输出文件“%1”已经写完或已放弃。").arg(QDir::toNativeSeparators(m_target)));
    auto failAndDiscard = [this](int error) {
        discard();
        fail(m_target, error);
    };
    try {
        refuseProtected(m_target);
    } catch (...) {
        discard();
        throw;
    }
    const QByteArray temporary = encoded(m_temporary);
    const QByteArray target = encoded(m_target);
    const int fd = ::open(temporary.constData(), O_RDWR);
    if (fd < 0)
        failAndDiscard(errno);
    // Delayed allocation may report a full disk only now.
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        failAndDiscard(error);
    }
    if (m_inPlace) {
        const int out = ::open(target.constData(), O_WRONLY | O_TRUNC);
        if (out < 0) {
            const int error = errno;
            ::close(fd);
            failAndDiscard(error);
        }
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n == 0)
                break;
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 || !writeAll(out, buffer, n)) {
                const int error = errno;
                ::close(out);
                ::close(fd);
                failAndDiscard(error);
            }
        }
        ::close(fd);
        if (::close(out) != 0)
            failAndDiscard(errno);
        discard();
        return;
    }
    ::close(fd);
    if (::rename(temporary.constData(), target.constData()) != 0)
        failAndDiscard(errno);
    m_done = true;
    // The new name on disk too; a folder that cannot be synced is no reason to fail.
    const int dir = ::open(encoded(QFileInfo(m_target).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void OutputFile::protect(const QString& path)
{
    struct stat st {};
    if (::stat(encoded(path).constData(), &st) != 0)
        return;
    QMutexLocker lock(&protectedMutex);
    protectedFiles().append({path, st.st_dev, st.st_ino});
}

void OutputFile::unprotect(const QString& path)
{
    QMutexLocker lock(&protectedMutex);
    QList<ProtectedFile>& files = protectedFiles();
    for (int i = 0; i < files.size(); ++i) {
        if (files[i].path == path) {
            files.removeAt(i);
            return;
        }
    }
}

bool OutputFile::isProtected(const QString& path)
{
    struct stat st {};
    if (::stat(encoded(path).constData(), &st) != 0)
        return false;
    QMutexLocker lock(&protectedMutex);
    for (const ProtectedFile& file : protectedFiles())
        if (file.device == st.st_dev && file.inode == st.st_ino)
            return true;
    return false;
}

}
