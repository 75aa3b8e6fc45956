#include "testsupport/CupsPdfQueue.h"

#include "testsupport/ExternalTools.h"

#include "output/PrintingSystem.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <pwd.h>
#include <unistd.h>

namespace corvane::test {

QString cupsPdfQueueName()
{
    return QStringLiteral("CorvanePDF");
}

int findCupsPdfQueue(const PrintingSystem& system)
{
    const int index = int(system.printerNames().indexOf(cupsPdfQueueName()));
    if (index >= 0)
        QDir().mkpath(cupsPdfDirectory());
    return index;
}

QString cupsPdfDirectory()
{
    const passwd* user = getpwuid(geteuid());
    const QString home = user && user->pw_dir ? QString::fromLocal8Bit(user->pw_dir) : QDir::homePath();
    return QDir(home).filePath(QStringLiteral("PDF"));
}

QSet<QString> cupsPdfFiles(const QString& title)
{
    const QStringList names = QDir(cupsPdfDirectory()).entryList({title + QStringLiteral("*.pdf")}, QDir::Files);
    return QSet<QString>(names.begin(), names.end());
}

QString waitForNewCupsPdf(const QString& title, const QSet<QString>& before)
{
    QElapsedTimer timer;
    timer.start();
    qint64 lastSize = -1;
    while (timer.elapsed() < 30000) {
        const QSet<QString> now = cupsPdfFiles(title) - before;
        if (!now.isEmpty()) {
            const QString path = QDir(cupsPdfDirectory()).filePath(*now.begin());
            const qint64 size = QFileInfo(path).size();
            if (size > 0 && size == lastSize && runToolQuietly(QStringLiteral("pdfinfo"), {path}) == 0)
                return path;
            lastSize = size;
        }
        QThread::msleep(300);
    }
    return {};
}

}
