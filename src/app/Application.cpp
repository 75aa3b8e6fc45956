#include "app/Application.h"
#include "app/Commands.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "core/Fonts.h"
#include "app/MainUnit.h"
#include "app/Startup.h"
#include "outputwindows/WidgetReportWindows.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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

bool installQtTranslations()
{
    // Qt's own texts (message box buttons, edit boxes' context menus, the print and font
    // dialogs) in Simplified Chinese; qt_zh_CN loads the catalogues of every Qt module.
    static QTranslator* translator = nullptr;
    if (translator)
        return true;
    auto* loaded = new QTranslator(QCoreApplication::instance());
    if (!loaded->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qt"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete loaded;
        return false;
    }
    QCoreApplication::installTranslator(loaded);
    translator = loaded;
    return true;
}

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("corvane"));
    // No display name: on X11 Qt appends it to every window title, and the message boxes are
    // titled "提示" and nothing else. The error box takes the title explicitly.
    Dialogs::setErrorTitle(applicationTitle());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/corvane.png")));
    installFontSubstitutions();
    // Without any face for Chinese, Qt's buttons stay English rather than turn into boxes.
    if (chineseTextShowable())
        installQtTranslations();
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
    setUpApplication();
    const QString missingFonts = missingFontsMessage();
    if (!missingFonts.isEmpty()) {
        Dialogs::hint(nullptr, missingFonts, MessageIcon::Stop);
        return 1;
    }

    return runMainWindow();
}

}
