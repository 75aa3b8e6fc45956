// corvane-mkdb [--demo] FILE: creates an empty address book, or one with demo rows.
#include "addressbook/Connection.h"
#include "addressbook/DemoData.h"
#include "core/Error.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool demo = args.removeAll(QStringLiteral("--demo")) > 0;
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-'))) {
        std::fputs("usage: corvane-mkdb [--demo] FILE\n", stderr);
        return 2;
    }
    const QString file = args.first();
    if (QFile::exists(file)) {
        std::fprintf(stderr, "corvane-mkdb: %s already exists; nothing written\n", qPrintable(file));
        return 1;
    }
    try {
        corvane::Connection::createDatabase(file);
        if (demo) {
            corvane::Connection connection(file);
            connection.Open();
            corvane::addDemoRows(connection);
        }
    } catch (const corvane::Error& e) {
        std::fprintf(stderr, "corvane-mkdb: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
