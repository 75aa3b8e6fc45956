#include "app/Commands.h"
#include "templates/Catalogue.h"
#include "app/CatalogueJson.h"

#include <cstdio>

namespace corvane {

namespace {

int usage()
{
    std::fputs("usage: corvane catalogue --window dd|edd|pd|ped\n", stderr);
    return 2;
}

}

// `corvane catalogue --window dd|edd|pd|ped`: that window's copy as one JSON object.
int runCatalogueCommand(const QStringList& args)
{
    QString windowName;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--window") && i + 1 < args.size())
            windowName = args[++i];
        else if (args[i].startsWith(QLatin1String("--window=")))
            windowName = args[i].mid(9);
        else
            return usage();
    }
    const auto kind = parsePrintWindowKind(windowName);
    if (!kind)
        return usage();
    const QByteArray json = catalogueJson(Catalogue(*kind)) + '\n';
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    std::fflush(stdout);
    return 0;
}

}
