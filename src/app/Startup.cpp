#include "app/Startup.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "app/MainUnit.h"

namespace corvane {

QString applicationTitle()
{
    return QStringLiteral("Corvane快递单打印软件(专业版)");
}

std::unique_ptr<TMainForm> createMainWindow()
{
    std::unique_ptr<TMainForm> form;
    try {
        form = std::make_unique<TMainForm>();
    } catch (const Error& e) {
        Dialogs::showError(nullptr, e.message());
        return nullptr;
    }
    form->FormCreate();
    // The print windows live as long as the main window; a batch window that cannot open its
    // own connection ends the start-up as the main window's connection does.
    try {
        form->createPrintWindows();
    } catch (const Error& e) {
        Dialogs::showError(nullptr, e.message());
        return nullptr;
    }
    return form;
}

}
