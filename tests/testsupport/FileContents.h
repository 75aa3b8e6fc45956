#pragma once
#include <QByteArray>
#include <QString>

namespace corvane::test {

// The bytes of a file, or empty when it cannot be read.
QByteArray fileContents(const QString& path);

}
