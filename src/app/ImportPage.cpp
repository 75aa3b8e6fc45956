#include "app/ImportPage.h"
#include "addressbook/Connection.h"
#include "app/DataGrid.h"
#include "addressbook/List.h"
#include "addressbook/SpreadsheetImport.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "app/PageParts.h"

#include <QDir>
#include <QLineEdit>
#include <QToolButton>

namespace corvane {

namespace {

const QVector<InputBox> pathBox{
    {"Excel路径", "Edit22", "", 88, 16, 601},
};

// In this order: when several are filled, the last one decides the list.
const QVector<InputBox> searchBoxes{
    {"姓名", "Edit23", "姓名", 88, 72, 137},
    {"手机", "Edit24", "手机", 296, 72, 137},
    {"收件单位", "Edit30", "收件单位", 506, 72, 247},
};

const QString allImported = QStringLiteral("select * from excel");

// The standard message, then why, so the clerk knows what to mend in the file.
QString withCause(const QString& message, const QString& cause)
{
    return cause.isEmpty() ? message : message + QLatin1Char('\n') + cause;
}

}

ImportPage::ImportPage(const AddressBook& book, std::function<QString()> rememberedSenderName,
                       OpenFileDialogSettings* openDialog, QWidget* parent)
    : QWidget(parent), m_book(book), m_rememberedSenderName(std::move(rememberedSenderName)), m_openDialog(openDialog)
{
    setObjectName(QStringLiteral("TabSheet3"));
    addBackground(this, "Image6", QStringLiteral(":/art/page-import.jpg"));

    m_path = addInputBoxes(this, pathBox, 20).front();
    QToolButton* choose = addButton(this, {"SpeedButton21", "...", 688, 15, 23, 21});
    choose->setToolTip(QStringLiteral("点击选择路径"));
    QToolButton* start = addButton(this, {"SpeedButton22", "开始导入", 760, 15, 81, 22});

    addSectionTitle(this, QStringLiteral("单项查询"), 40, 48, 56, 836);
    m_searchBoxes = addInputBoxes(this, searchBoxes, 20);
    QWidget::setTabOrder(m_path, m_searchBoxes.first());
    QToolButton* search = addButton(this, {"SpeedButton23", "查询", 792, 72, 65, 22});
    QToolButton* refresh = addButton(this, {"SpeedButton24", "刷新", 880, 72, 65, 22});

    m_grid = new DataGrid(book.imported, DataGrid::recipientColumns(), false, this);
    m_grid->setObjectName(QStringLiteral("DBGridEh3"));
    m_grid->setGeometry(2, 104, 976, 400);

    connect(choose, &QToolButton::clicked, this, &ImportPage::SpeedButton21Click);
    connect(start, &QToolButton::clicked, this, [this] { guarded(&ImportPage::SpeedButton22Click); });
    connect(search, &QToolButton::clicked, this, [this] { guarded(&ImportPage::SpeedButton23Click); });
    connect(refresh, &QToolButton::clicked, this, [this] { guarded(&ImportPage::SpeedButton24Click); });
}

QString ImportPage::dialogTitle()
{
    return QStringLiteral("请选择相应的Excel文件");
}

QString ImportPage::dialogFilter()
{
    return QStringLiteral("Excel(*.xls);;Excel 2007(*.xlsx);;CSV(*.csv);;Excel 及 CSV(*.xls *.xlsx *.csv)");
}

void ImportPage::guarded(void (ImportPage::*handler)())
{
    runGuarded(this, m_book.imported, [&] { (this->*handler)(); });
}

void ImportPage::SpeedButton5Click()
{
    runGuarded(this, m_book.imported, [this] {
        m_book.imported->Close();
        m_book.imported->setSQL(allImported);
        m_book.imported->Open();
        // 收件单位 (Edit30) keeps its text.
        clearTexts({m_searchBoxes[0], m_searchBoxes[1]});
        showPage(this);
        m_path->setFocus();
    });
}

void ImportPage::SpeedButton21Click()
{
    m_openDialog->title = dialogTitle();
    m_openDialog->filter = dialogFilter();
    const QString file = Dialogs::current().openFileName(this, m_openDialog->title, m_openDialog->filter);
    if (!file.isEmpty())
        m_path->setText(file);
}

void ImportPage::SpeedButton22Click()
{
    // The table is emptied first, whatever the path box holds.
    m_book.imported->Close();
    m_book.imported->setSQL(QStringLiteral("Delete From excel"));
    m_book.imported->ExecSQL();

    const QString path = m_path->text().trimmed();
    if (path.isEmpty()) {
        Dialogs::hint(this, QStringLiteral("请正确选择相关路径！"));
        return;
    }

    Connection& connection = *m_book.connection;
    connection.Close();   // closes the three lists
    const QString databaseFile = QDir::currentPath() + QStringLiteral("/data.mdb");
    bool connected = false;
    try {
        connection.setFileName(databaseFile);
        connection.Open();
        connected = true;
    } catch (const Error& e) {
        Dialogs::hint(this, withCause(QStringLiteral("连接ACCESS失败！"), e.message()));
    }
    if (connected) {
        try {
            importWorkbookIntoExcel(connection, path);
            connection.Close();
            m_book.imported->Close();
            connection.setFileName(databaseFile);
            m_book.imported->setSQL(allImported);
            m_book.imported->Open();
            Dialogs::hint(this, QStringLiteral("批量导入EXCEL成功！"));
        } catch (const Error& e) {
            Dialogs::hint(this, withCause(QStringLiteral("批量导入EXCEL失败！"), e.message()));
        }
    }
    reopenLists();
}

// After an import, failed or not: the senders of the remembered name, every recipient and every
// imported row.
void ImportPage::reopenLists()
{
    m_book.senders->Close();
    m_book.senders->setSearch(QStringLiteral("outr"), QStringLiteral("姓名"), m_rememberedSenderName());
    m_book.senders->Open();
    m_book.recipients->Close();
    m_book.recipients->setSQL(QStringLiteral("select * from inr"));
    m_book.recipients->Open();
    m_book.imported->Close();
    m_book.imported->setSQL(allImported);
    m_book.imported->Open();
}

void ImportPage::SpeedButton23Click()
{
    for (int i = 0; i < m_searchBoxes.size(); ++i) {
        const QString text = m_searchBoxes[i]->text();
        if (text.isEmpty())
            continue;
        m_book.imported->Close();
        m_book.imported->setSearch(QStringLiteral("excel"), QString::fromUtf8(searchBoxes[i].column), text);
        m_book.imported->Open();
    }
}

void ImportPage::SpeedButton24Click()
{
    clearTexts(m_searchBoxes);
    m_book.imported->Close();
    m_book.imported->setSQL(allImported);
    m_book.imported->Open();
}

}
