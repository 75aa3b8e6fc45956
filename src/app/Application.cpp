#include "app/Application.h"
#include "app/Commands.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "core/Fonts.h"
#include "app/MainUnit.h"
#include "app/Startup.h"
#include "outputwindows/WidgetReportWindows.h"

#include <QIcon>

namespace corvane {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error& e) {
        Dialogs::showError(activeWindow(), e.message());
    } catch (const std::exception& e) {
        Dialogs::showError(activeWindow(), QString::fromLocal8Bit(e.what()));
    }
    return false;
}

int runApplication(int argc, char* argv[])
{
    useWindowServices();
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

    Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvane"));
    QApplication::setApplicationDisplayName(applicationTitle());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/corvane.png")));
    installFontSubstitutions();

    std::unique_ptr<TMainForm> form = createMainWindow();
    if (!form)
        return 1;
    form->show();
    return app.exec();
}

}
