#include "testsupport/FileContents.h"

#include <QFile>

namespace corvane::test {

QByteArray fileContents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}
