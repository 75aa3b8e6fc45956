// "数据导出" in the main window: the recipient list into an .xls workbook.
#include "addressbook/Connection.h"
#include "addressbook/List.h"
#include "app/RecipientPage.h"
#include "testsupport/AppTestSupport.h"
#include "testsupport/WorkbookReadBack.h"

#include <QFile>
#include <QTabWidget>
#include <QtTest>

using namespace corvane;
using namespace corvane::test;

namespace {

QVector<QStringList> recipients(int count)
{
    QVector<QStringList> rows;
    for (int i = 1; i <= count; ++i)
        rows << QStringList{QStringLiteral("收件人%1").arg(i), "杭州", "天一贸易", "310012", "文三路90号",
                            QStringLiteral("1380013800%1").arg(i), "", "茶叶", QString::number(i), ""};
    return rows;
}

SheetRows exported(const QString& path)
{
    QString problem;
    const Sheets sheets = readWithXlrd(path, &problem);
    if (!problem.isEmpty())
        qWarning("%s", qPrintable(problem));
    return sheets.size() == 1 ? sheets.front().second : SheetRows{};
}

}

class ExportMenuTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cancelChangesNothing();
    void exportsEveryRowWithTheSelectionOnTheFifth();
    void extensionIsAlwaysAdded();
    void exportsTheSearchResult();
    void failureReachesTheErrorBox();
};

void ExportMenuTest::cancelChangesNothing()
{
    MainWindowFixture f({}, recipients(3));
    f.form().SpeedButton5Click();
    f.click(QStringLiteral("SpeedButton6"));
    QCOMPARE(f.form().PageControl1()->currentWidget()->objectName(), QStringLiteral("TabSheet2"));
    QCOMPARE(f.dialogs.fileDialogs, (QVector<QStringList>{{"save", "", ""}}));
    QVERIFY(f.dialogs.messages.isEmpty());
    QCOMPARE(QDir(f.book.path()).entryList(QDir::Files), QStringList{"data.mdb"});
}

void ExportMenuTest::exportsEveryRowWithTheSelectionOnTheFifth()
{
    MainWindowFixture f({}, recipients(7));
    f.form().SpeedButton2Click();
    f.clickRow(QStringLiteral("DBGridEh2"), 4);
    QCOMPARE(f.form().ADOQuery2()->RecNo(), 4);
    const QString name = f.book.path() + QStringLiteral("/客户");
    f.dialogs.fileNames << name;
    f.click(QStringLiteral("SpeedButton6"));
    QCOMPARE(f.dialogs.texts(), QStringList{"数据导出成功！"});
    QCOMPARE(exported(name + QStringLiteral(".xls")), SheetRows{Connection::recipientColumns()} + recipients(7));
    QCOMPARE(f.form().ADOQuery2()->RecordCount(), 7);
    QCOMPARE(f.form().ADOQuery2()->RecNo(), 6);
}

void ExportMenuTest::extensionIsAlwaysAdded()
{
    MainWindowFixture f({}, recipients(2));
    const QString name = f.book.path() + QStringLiteral("/list.xls");
    f.dialogs.fileNames << name << name;
    f.click(QStringLiteral("SpeedButton6"));
    QVERIFY(QFile::exists(name + QStringLiteral(".xls")));
    QVERIFY(!QFile::exists(name));
    // The second export replaces the first whole, with the same rows.
    f.click(QStringLiteral("SpeedButton6"));
    QCOMPARE(exported(name + QStringLiteral(".xls")).size(), 3);
    QCOMPARE(QDir(f.book.path()).entryList(QDir::Files, QDir::Name), (QStringList{"data.mdb", "list.xls.xls"}));
}

void ExportMenuTest::exportsTheSearchResult()
{
    MainWindowFixture f({}, recipients(12));
    f.form().SpeedButton2Click();
    f.type(QStringLiteral("Edit20"), QStringLiteral("人1"));
    f.click(QStringLiteral("SpeedButton19"));
    const QString name = f.book.path() + QStringLiteral("/found");
    f.dialogs.fileNames << name;
    f.click(QStringLiteral("SpeedButton6"));
    const QVector<QStringList> all = recipients(12);
    QCOMPARE(exported(name + QStringLiteral(".xls")),
             (SheetRows{Connection::recipientColumns(), all[0], all[9], all[10], all[11]}));
}

void ExportMenuTest::failureReachesTheErrorBox()
{
    MainWindowFixture f({}, recipients(2));
    const QString name = f.book.path() + QStringLiteral("/no-such-folder/list");
    f.dialogs.fileNames << name;
    f.click(QStringLiteral("SpeedButton6"));
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Stop);
    QVERIFY(f.dialogs.messages[0].text.contains(name + QStringLiteral(".xls")));
}

QTEST_MAIN(ExportMenuTest)
#include "tst_export_menu.moc"
