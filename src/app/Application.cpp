#include "app/Application.h"
#include "app/Commands.h"

#include <QApplication>
#include <QGuiApplication>
#include <cstdio>

namespace corvane {

int runApplication(int argc, char* argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (!args.isEmpty() && (args.first() == "catalogue" || args.first() == "render")) {
        // Headless: no window system needed.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        const QString command = args.takeFirst();
        return command == "catalogue" ? runCatalogueCommand(args) : runRenderCommand(args);
    }
    QApplication app(argc, argv);
    std::fputs("corvane: the main window is not built yet\n", stderr);
    return 1;
}

}
