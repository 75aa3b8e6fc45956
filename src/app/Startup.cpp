#include "app/Startup.h"
#include "addressbook/Connection.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "app/MainUnit.h"
#include "app/SingleInstance.h"

#include <QApplication>
#include <QFileInfo>

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
    if (form->ADOConnection1().readOnly())
        Dialogs::hint(nullptr, form->ADOConnection1().readOnlyNotice(), MessageIcon::Information);
    form->FormCreate();
    // The print windows are made here, hidden, in the order TDdForm, TEddForm, TPdForm, TPedForm,
    // and live as long as the main window.
    return form;
}

int runMainWindow()
{
    SingleInstance instance(QString::fromLatin1(Connection::DefaultFileName));
    if (!instance.acquire()) {
        if (instance.askRunningToShow())
            return 0;
        Dialogs::showError(nullptr, QStringLiteral("地址簿“%1”正由本程序的另一个窗口使用，但那个窗口没有应答。"
                                                   "请关闭它后再启动。\n锁文件：%2")
                                        .arg(QFileInfo(QString::fromLatin1(Connection::DefaultFileName)).absoluteFilePath(),
                                             instance.lockFileName()));
        return 1;
    }
    std::unique_ptr<TMainForm> form = createMainWindow();
    if (!form)
        return 1;
    QObject::connect(&instance, &SingleInstance::showRequested, form.get(), [window = form.get()] {
        window->showNormal();
        window->raise();
        window->activateWindow();
    });
    form->show();
    return QApplication::exec();
}

}
