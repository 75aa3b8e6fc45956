#include "app/MainUnit.h"
#include "addressbook/Connection.h"
#include "addressbook/DatabaseBackup.h"
#include "addressbook/List.h"
#include "addressbook/ListExport.h"
#include "app/Startup.h"
#include "app/BannerImage.h"
#include "app/ClickableImage.h"
#include "app/Desktop.h"
#include "app/ImportPage.h"
#include "app/PageControl.h"
#include "app/PageParts.h"
#include "app/RecipientPage.h"
#include "app/SenderPage.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "templates/BannerLabel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>
#include <QUrl>

namespace corvane {

namespace {

struct NavigationEntry {
    const char* name;
    const char* caption;
    const char* picture;
    void (TMainForm::*action)();   // null: the button's action is not part of the main window
};

const NavigationEntry navigationEntries[] = {
    {"SpeedButton1", "寄件信息", ":/art/nav-senders.png", &TMainForm::SpeedButton1Click},
    {"SpeedButton2", "收件信息", ":/art/nav-recipients.png", &TMainForm::SpeedButton2Click},
    {"SpeedButton3", "单张打印", ":/art/nav-print-one.png", nullptr},
    {"SpeedButton4", "批量打印", ":/art/nav-print-batch.png", nullptr},
    {"SpeedButton5", "Excel导入", ":/art/nav-import.png", &TMainForm::SpeedButton5Click},
    {"SpeedButton6", "数据导出", ":/art/nav-export.png", &TMainForm::SpeedButton6Click},
    {"SpeedButton7", "数据管理", ":/art/nav-data.png", &TMainForm::SpeedButton7Click},
    {"SpeedButton8", "隐藏日期", ":/art/nav-date.png", nullptr},   // the sender page handles it
    {"SpeedButton9", "帮助主题", ":/art/nav-help.png", &TMainForm::SpeedButton9Click},
    {"SpeedButton10", "退出软件", ":/art/nav-exit.png", &TMainForm::SpeedButton10Click},
};

struct StatusPanel {
    const char* name;
    int width;          // 0: takes the rest of the bar
    QString text;
};

// The navigation bar's menus open this far below the window's top edge, just under the bar.
constexpr int popupTop = 145;

const QString helpFileName = QStringLiteral("使用帮助.chm");

}

TMainForm::TMainForm(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(applicationTitle());
    m_programFolder = QCoreApplication::applicationDirPath();
    setFont(songTi());

    // The address book first: without it there is nothing to show.
    m_connection = std::make_unique<Connection>(QString::fromLatin1(Connection::DefaultFileName));
    m_connection->Open();
    m_connection->checkAddressBook();
    m_senders = std::make_unique<List>(m_connection.get());
    m_recipients = std::make_unique<List>(m_connection.get());
    m_imported = std::make_unique<List>(m_connection.get());
    m_senders->setObjectName(QStringLiteral("ADOQuery1"));
    m_recipients->setObjectName(QStringLiteral("ADOQuery2"));
    m_imported->setObjectName(QStringLiteral("ADOQuery3"));
    m_senders->setSQL(QStringLiteral("select * from outr"));
    m_recipients->setSQL(QStringLiteral("select * from inr"));
    m_imported->setSQL(QStringLiteral("select * from excel"));
    m_senders->Open();
    m_recipients->Open();
    m_imported->Open();

    setFixedSize(992, 685);
    buildFrame();
    buildPages();
    buildNavigationBar();
    buildStatusBar();
    m_pages->setCurrentWidget(m_recipientPage);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    // F1 inside the program; a global grab, where there is one, catches it before it gets here.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::ApplicationShortcut);
    connect(help, &QShortcut::activated, this, &TMainForm::N3Click);
}

TMainForm::~TMainForm()
{
    Desktop::current().releaseHelpKey();
    // The grids read the lists until they go.
    delete findChild<QFrame*>(QStringLiteral("Panel1"));
}

void TMainForm::buildFrame()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    panel->setLineWidth(1);
    panel->setGeometry(rect());

    auto* banner = new BannerImage(panel);
    banner->setObjectName(QStringLiteral("Image1"));
    banner->setGeometry(1, 1, 989, 66);
    banner->setPixmap(QPixmap(QStringLiteral(":/art/banner.jpg")));

    auto* minimise = new ClickableImage(panel);
    minimise->setObjectName(QStringLiteral("Image2"));
    minimise->setGeometry(942, 5, 19, 19);
    minimise->setPixmap(QPixmap(QStringLiteral(":/art/minimise.png")));
    minimise->setToolTip(QStringLiteral("最小化"));
    connect(minimise, &ClickableImage::clicked, this, &TMainForm::Image2Click);

    auto* close = new ClickableImage(panel);
    close->setObjectName(QStringLiteral("Image3"));
    close->setGeometry(965, 5, 19, 19);
    close->setPixmap(QPixmap(QStringLiteral(":/art/close.png")));
    close->setToolTip(QStringLiteral("关闭"));
    connect(close, &ClickableImage::clicked, this, &TMainForm::Image3Click);
}

void TMainForm::buildNavigationBar()
{
    auto* panel = findChild<QFrame*>(QStringLiteral("Panel1"));
    auto* bar = new QFrame(panel);
    bar->setObjectName(QStringLiteral("Panel2"));
    bar->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bar->setLineWidth(2);
    bar->setGeometry(0, 68, 990, 80);
    bar->setAutoFillBackground(true);
    m_navigationBar = bar;

    int n = 0;
    for (const NavigationEntry& entry : navigationEntries) {
        auto* button = new QToolButton(bar);
        button->setObjectName(QLatin1String(entry.name));
        button->setText(QString::fromUtf8(entry.caption));
        button->setIcon(QIcon(QString::fromLatin1(entry.picture)));
        button->setIconSize(QSize(48, 48));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFont(songTi());
        button->setGeometry(8 + 73 * n, 3, 73, 73);
        if (entry.action) {
            const auto action = entry.action;
            connect(button, &QToolButton::clicked, this, [this, action] { (this->*action)(); });
        }
        m_navigationButtons << button;
        ++n;
    }
    m_senderPage->setDateButton(m_navigationButtons[7]);

    m_dataMenu = addPopupMenu(this, "PopupMenu3", {{"N1", "数据备份"}, {"N2", "数据恢复"}});
    connect(m_dataMenu->actions().at(0), &QAction::triggered, this, &TMainForm::N1Click);
    connect(m_dataMenu->actions().at(1), &QAction::triggered, this, &TMainForm::N2Click);
    m_helpMenu = addPopupMenu(this, "PopupMenu4", {{"N3", "使用帮助"}, {"N5", "常见问题"}, {"N6", "软件网站"}});
    const QList<QAction*> help = m_helpMenu->actions();
    connect(help[0], &QAction::triggered, this, &TMainForm::N3Click);
    connect(help[1], &QAction::triggered, this, &TMainForm::N5Click);
    connect(help[2], &QAction::triggered, this, &TMainForm::N6Click);
}

void TMainForm::buildPages()
{
    auto* panel = findChild<QFrame*>(QStringLiteral("Panel1"));
    auto* pages = new PageControl(panel);
    pages->setObjectName(QStringLiteral("PageControl1"));
    pages->setGeometry(-1, 123, 990, 550);
    // Low tabs, so that the whole strip lies under the navigation bar.
    pages->tabBar()->setFont(songTi(12));
    pages->setStyleSheet(QStringLiteral("QTabBar::tab { height: 19px; padding: 0 6px; }"));
    m_pages = pages;

    m_senderPage = new SenderPage(m_senders.get());
    m_recipientPage = new RecipientPage(m_recipients.get());
    m_importPage = new ImportPage({m_connection.get(), m_senders.get(), m_recipients.get(), m_imported.get()},
                                  [this] { return m_senderPage->rememberedName(); }, &m_openDialog);
    pages->addTab(m_senderPage, QStringLiteral("寄件信息"));
    pages->addTab(m_recipientPage, QStringLiteral("收件信息"));
    pages->addTab(m_importPage, QStringLiteral("Excel导入"));

    connect(m_senderPage, &SenderPage::SpeedButton14Click, this, &TMainForm::SpeedButton2Click);
    connect(m_recipientPage, &RecipientPage::SpeedButton18Click, this, &TMainForm::SpeedButton1Click);
}

void TMainForm::buildStatusBar()
{
    auto* panel = findChild<QFrame*>(QStringLiteral("Panel1"));
    auto* status = new QStatusBar(panel);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->setGeometry(1, 655, 986, 25);
    status->setStyleSheet(QStringLiteral("QStatusBar::item { border: 1px solid #a0a0a0; }"));
    const StatusPanel panels[] = {
        {"StatusPanel1", 600, QStringLiteral("  以“好用、实用、易用”为设计理念！")},
        {"StatusPanel2", 150, QStringLiteral(" 快捷键:帮助F1")},
        {"StatusPanel3", 0, QStringLiteral(" 网站:") + productWebAddress()},
    };
    for (const StatusPanel& entry : panels) {
        auto* label = new QLabel(entry.text, status);
        label->setObjectName(QLatin1String(entry.name));
        label->setFont(songTi(12));
        if (entry.width)
            label->setFixedWidth(entry.width);
        status->addWidget(label, entry.width ? 0 : 1);
    }
}

QToolButton* TMainForm::navigationButton(int number) const
{
    return m_navigationButtons.value(number - 1);
}

QPoint TMainForm::popupPosition(const QAbstractButton* button) const
{
    return QPoint(geometry().left() + button->x(), geometry().top() + popupTop);
}

void TMainForm::popupUnder(QMenu* menu, const QAbstractButton* button)
{
    menu->popup(popupPosition(button));
}

QUrl TMainForm::webSite(const QString& page)
{
    QUrl site = QUrl::fromUserInput(productWebAddress());
    site.setPath(QLatin1Char('/') + page);
    return site;
}

QUrl TMainForm::helpDocument()
{
    const QFileInfo chm(helpFileName);
    if (chm.exists())
        return QUrl::fromLocalFile(chm.absoluteFilePath());
    return QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QStringLiteral("/help/使用帮助.html"));
}

void TMainForm::FormCreate()
{
    Desktop& desktop = Desktop::current();
    desktop.writeShortcut();
    desktop.grabHelpKey([this] { N3Click(); });
    runGuarded(this, m_senders.get(), [this] { m_senderPage->startUp(); });
}

void TMainForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMainForm::FormShow()
{
    // Every input and search box starts empty; the date boxes and Edit28 keep what start-up set.
    QStringList names;
    for (int n = 1; n <= 24; ++n)
        names << QStringLiteral("Edit%1").arg(n);
    names << QStringLiteral("Edit29") << QStringLiteral("Edit30");
    for (const QString& name : names) {
        if (auto* box = findChild<QLineEdit*>(name))
            box->setText(QString());
    }
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    Desktop::current().releaseHelpKey();
    QWidget::closeEvent(event);
}

void TMainForm::SpeedButton1Click()
{
    runGuarded(this, m_senders.get(), [this] { m_senderPage->SpeedButton1Click(); });
}

void TMainForm::SpeedButton2Click()
{
    m_recipientPage->SpeedButton2Click();
}

void TMainForm::SpeedButton5Click()
{
    m_importPage->SpeedButton5Click();
}

void TMainForm::SpeedButton6Click()
{
    m_pages->setCurrentWidget(m_recipientPage);
    const QString name = Dialogs::current().saveFileName(this, QString(), QString());
    if (name.isEmpty())
        return;
    runGuarded(this, m_recipients.get(), [&] {
        // The extension is always added, also to a name that already has it.
        exportListToXls(*m_recipients, name + QStringLiteral(".xls"));
        Dialogs::hint(this, QStringLiteral("数据导出成功！"));
    });
}

void TMainForm::SpeedButton7Click()
{
    popupUnder(m_dataMenu, navigationButton(7));
}

void TMainForm::SpeedButton9Click()
{
    popupUnder(m_helpMenu, navigationButton(9));
}

void TMainForm::SpeedButton10Click()
{
    close();
}

void TMainForm::Image2Click()
{
    showMinimized();
}

void TMainForm::Image3Click()
{
    Desktop::current().releaseHelpKey();
    close();
}

void TMainForm::N1Click()
{
    const QString name = Dialogs::current().saveFileName(this, QString(), QString());
    if (name.isEmpty())
        return;
    try {
        backupDatabase(m_programFolder + QStringLiteral("/data.mdb"), name + QStringLiteral(".bak"));
    } catch (const Error& e) {
        Dialogs::hint(this, QStringLiteral("数据备份失败，请重新备份！\n") + e.message());
        return;
    }
    Dialogs::hint(this, QStringLiteral("数据备份成功！"));
}

void TMainForm::N2Click()
{
    const QString source = Dialogs::current().openFileName(this, m_openDialog.title, m_openDialog.filter);
    if (source.isEmpty())
        return;
    const QString failed = QStringLiteral("数据恢复失败，请重新恢复！\n");
    // A file that is no address book of this program is refused before anything is touched.
    try {
        checkAddressBookFile(source);
    } catch (const Error& e) {
        Dialogs::hint(this, failed + e.message());
        return;
    }
    m_connection->Close();
    try {
        restoreDatabase(source, m_programFolder + QStringLiteral("/data.mdb"));
    } catch (const Error& e) {
        // The old data.mdb is untouched; the lists reconnect when next opened.
        Dialogs::hint(this, failed + e.message());
        return;
    }
    Dialogs::hint(this, QStringLiteral("数据恢复成功！"));
    close();
    QCoreApplication::exit(0);
}

void TMainForm::N3Click()
{
    Desktop::current().open(helpDocument());
}

void TMainForm::N5Click()
{
    Desktop::current().open(webSite(QStringLiteral("ques.htm")));
}

void TMainForm::N6Click()
{
    Desktop::current().open(webSite());
}

}
