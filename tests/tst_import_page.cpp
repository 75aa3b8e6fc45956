// The import page (TabSheet3) in the main window, with its dialogs answered by the test.
#include "addressbook/Connection.h"
#include "addressbook/List.h"
#include "app/ImportPage.h"
#include "testsupport/AppTestSupport.h"

#include "app/DataGrid.h"

#include <QFile>
#include <QAbstractButton>
#include <QLabel>
#include <QTabWidget>
#include <QLineEdit>
#include <QtTest>

using namespace corvane;
using namespace corvane::test;

namespace {

QString fixture(const QString& name)
{
    return qEnvironmentVariable("CORVANE_SOURCE_DIR") + QStringLiteral("/tests/fixtures/") + name;
}

const QString success = QStringLiteral("批量导入EXCEL成功！");
const QString failure = QStringLiteral("批量导入EXCEL失败！");

QStringList names(List* list)
{
    QStringList out;
    for (int r = 0; r < list->RecordCount(); ++r)
        out << list->value(r, list->columnIndex(QStringLiteral("姓名")));
    return out;
}

void setPath(MainWindowFixture& f, const QString& path)
{
    f.find<QLineEdit>(QStringLiteral("Edit22"))->setText(path);
}

}

class ImportPageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void layout();
    void emptyPathEmptiesTheTableAndAsksForOne();
    void importsEachFormat_data();
    void importsEachFormat();
    void importTwiceKeepsOneCopy();
    void badFilesFailAndLeaveTheTableEmpty_data();
    void badFilesFailAndLeaveTheTableEmpty();
    void listsAfterAnImport();
    void missingDatabaseCannotConnect();
    void chooseButtonFillsThePath();
    void searchAndRefresh();
};

void ImportPageTest::layout()
{
    MainWindowFixture f;
    f.form().SpeedButton5Click();
    QCOMPARE(f.form().PageControl1()->currentWidget()->objectName(), QStringLiteral("TabSheet3"));
    struct Place { const char* name; QRect rect; const char* text; };
    const Place places[] = {
        {"Edit22", {88, 16, 601, 20}, ""},        {"SpeedButton21", {688, 15, 23, 21}, "..."},
        {"SpeedButton22", {760, 15, 81, 22}, "开始导入"}, {"Edit23", {88, 72, 137, 20}, ""},
        {"Edit24", {296, 72, 137, 20}, ""},       {"Edit30", {506, 72, 247, 20}, ""},
        {"SpeedButton23", {792, 72, 65, 22}, "查询"}, {"SpeedButton24", {880, 72, 65, 22}, "刷新"},
        {"DBGridEh3", {2, 104, 976, 400}, ""},
    };
    for (const Place& p : places) {
        auto* w = f.find<QWidget>(QLatin1String(p.name));
        QVERIFY2(w, p.name);
        QCOMPARE(w->geometry(), p.rect);
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            QCOMPARE(b->text(), QString::fromUtf8(p.text));
    }
    QCOMPARE(f.find<QWidget>(QStringLiteral("SpeedButton21"))->toolTip(), QStringLiteral("点击选择路径"));
    QCOMPARE(f.find<QLabel>(QStringLiteral("LabelEdit22"))->text(), QStringLiteral("Excel路径"));
    QVERIFY(f.find<QLineEdit>(QStringLiteral("Edit22"))->hasFocus() || !f.form().isActiveWindow());
}

void ImportPageTest::emptyPathEmptiesTheTableAndAsksForOne()
{
    MainWindowFixture f;
    f.book.insert(QStringLiteral("excel"), {"旧行"});
    f.form().SpeedButton5Click();
    QCOMPARE(f.form().ADOQuery3()->RecordCount(), 1);
    setPath(f, QStringLiteral("   "));
    f.click(QStringLiteral("SpeedButton22"));
    QCOMPARE(f.dialogs.texts(), QStringList{"请正确选择相关路径！"});
    QCOMPARE(f.dialogs.messages.front().title, QStringLiteral("提示"));
    QVERIFY(f.book.rows(QStringLiteral("excel")).isEmpty());
    QVERIFY(!f.form().ADOQuery3()->Active());
}

void ImportPageTest::importsEachFormat_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("rows");
    QTest::newRow(".xls") << "recipients.xls" << 5;
    QTest::newRow(".xlsx") << "recipients.xlsx" << 5;
    QTest::newRow("BIFF5 .xls") << "gbk-biff5.xls" << 2;
    QTest::newRow("GBK .csv") << "recipients-gbk.csv" << 2;
}

void ImportPageTest::importsEachFormat()
{
    QFETCH(QString, file);
    QFETCH(int, rows);
    MainWindowFixture f;
    f.form().SpeedButton5Click();
    // Blanks around a typed path are not part of it.
    setPath(f, QStringLiteral("  ") + fixture(file) + QStringLiteral(" \t"));
    f.click(QStringLiteral("SpeedButton22"));
    QCOMPARE(f.dialogs.texts(), QStringList{success});
    QCOMPARE(f.form().ADOQuery3()->RecordCount(), rows);
    QCOMPARE(f.book.rows(QStringLiteral("excel")).size(), rows);
    // The path box keeps its text.
    QVERIFY(f.find<QLineEdit>(QStringLiteral("Edit22"))->text().startsWith(QLatin1String("  ")));
}

void ImportPageTest::importTwiceKeepsOneCopy()
{
    MainWindowFixture f;
    f.form().SpeedButton5Click();
    setPath(f, fixture(QStringLiteral("recipients.xls")));
    f.click(QStringLiteral("SpeedButton22"));
    f.click(QStringLiteral("SpeedButton22"));
    QCOMPARE(f.dialogs.texts(), (QStringList{success, success}));
    QCOMPARE(names(f.form().ADOQuery3()), (QStringList{"张三", "李四", "王五", "赵六", "钱七"}));
    QCOMPARE(f.find<DataGrid>(QStringLiteral("DBGridEh3"))->model()->rowCount(), 5);
}

void ImportPageTest::badFilesFailAndLeaveTheTableEmpty_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("cause");
    QTest::newRow("missing") << "no-such-file.xls" << "不存在";
    QTest::newRow("truncated") << "truncated.xls" << "损坏";
    QTest::newRow("no Sheet1") << "not-sheet1.xls" << "Sheet1";
    QTest::newRow("missing column") << "missing-column.xls" << "内件品名";
    QTest::newRow("zip, no workbook") << "not-a-workbook.zip" << "Excel 2007";
    QTest::newRow("the fixture script") << "make-fixtures.sh" << "缺少列";
}

void ImportPageTest::badFilesFailAndLeaveTheTableEmpty()
{
    QFETCH(QString, file);
    QFETCH(QString, cause);
    MainWindowFixture f;
    f.form().SpeedButton5Click();
    setPath(f, fixture(QStringLiteral("recipients.xls")));
    f.click(QStringLiteral("SpeedButton22"));
    f.dialogs.clear();

    setPath(f, fixture(file));
    f.click(QStringLiteral("SpeedButton22"));
    QCOMPARE(f.dialogs.messages.size(), 1);
    const QString text = f.dialogs.messages.front().text;
    QVERIFY2(text.startsWith(failure + QLatin1Char('\n')) && text.contains(cause), qPrintable(text));
    QCOMPARE(f.dialogs.messages.front().title, QStringLiteral("提示"));
    QVERIFY(f.book.rows(QStringLiteral("excel")).isEmpty());
    QVERIFY(f.form().ADOQuery3()->Active());
    QCOMPARE(f.form().ADOQuery3()->RecordCount(), 0);
}

void ImportPageTest::listsAfterAnImport()
{
    MainWindowFixture f({{"王小明", "杭州"}, {"李四", "北京"}, {"王大锤", "上海"}},
                        {{"甲", "杭州"}, {"乙", "北京"}, {"丙", "上海"}});
    f.find<QLineEdit>(QStringLiteral("Edit28"))->setText(QStringLiteral("王"));
    // A search on the recipient page is replaced by every recipient.
    f.form().ADOQuery2()->setSearch(QStringLiteral("inr"), QStringLiteral("姓名"), QStringLiteral("乙"));
    f.form().ADOQuery2()->Open();
    QCOMPARE(f.form().ADOQuery2()->RecordCount(), 1);

    f.form().SpeedButton5Click();
    setPath(f, fixture(QStringLiteral("recipients.xlsx")));
    f.click(QStringLiteral("SpeedButton22"));
    QCOMPARE(f.dialogs.texts(), QStringList{success});
    QCOMPARE(names(f.form().ADOQuery1()), (QStringList{"王小明", "王大锤"}));
    QCOMPARE(f.form().ADOQuery1()->FieldByName(QStringLiteral("姓名")).AsString(), QStringLiteral("王小明"));
    QCOMPARE(f.form().ADOQuery2()->RecordCount(), 3);
    QCOMPARE(f.form().ADOConnection1().fileName(), QDir::currentPath() + QStringLiteral("/data.mdb"));
}

void ImportPageTest::missingDatabaseCannotConnect()
{
    MainWindowFixture f;
    f.form().SpeedButton5Click();
    // The import reconnects to data.mdb in the working directory, which now has none.
    QTemporaryDir elsewhere;
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    setPath(f, fixture(QStringLiteral("recipients.xls")));
    f.click(QStringLiteral("SpeedButton22"));
    // The reconnection fails; reopening the lists afterwards fails too, in the standard error box.
    QVERIFY2(f.dialogs.messages.size() == 2, qPrintable(f.dialogs.texts().join('|')));
    QVERIFY(f.dialogs.messages[0].text.startsWith(QStringLiteral("连接ACCESS失败！")));
    QCOMPARE(f.dialogs.messages[1].icon, MessageIcon::Stop);
    QVERIFY(!QFile::exists(elsewhere.filePath(QStringLiteral("data.mdb"))));
    QVERIFY(f.book.rows(QStringLiteral("excel")).isEmpty());
}

void ImportPageTest::chooseButtonFillsThePath()
{
    MainWindowFixture f;
    f.form().SpeedButton5Click();
    f.dialogs.fileNames << QStringLiteral("/data/客户.xls");
    f.click(QStringLiteral("SpeedButton21"));
    QCOMPARE(f.find<QLineEdit>(QStringLiteral("Edit22"))->text(), QStringLiteral("/data/客户.xls"));
    QCOMPARE(f.dialogs.fileDialogs.size(), 1);
    QCOMPARE(f.dialogs.fileDialogs[0][0], QStringLiteral("open"));
    QCOMPARE(f.dialogs.fileDialogs[0][1], QStringLiteral("请选择相应的Excel文件"));
    const QStringList filters = f.dialogs.fileDialogs[0][2].split(QStringLiteral(";;"));
    QCOMPARE(filters.value(0), QStringLiteral("Excel(*.xls)"));
    QCOMPARE(filters.mid(1, 2), (QStringList{"Excel 2007(*.xlsx)", "CSV(*.csv)"}));
    QVERIFY(filters.value(3).endsWith(QLatin1String("(*.xls *.xlsx *.csv)")));
    // Cancelled: the path stays.
    f.click(QStringLiteral("SpeedButton21"));
    QCOMPARE(f.find<QLineEdit>(QStringLiteral("Edit22"))->text(), QStringLiteral("/data/客户.xls"));
}

void ImportPageTest::searchAndRefresh()
{
    MainWindowFixture f;
    f.form().SpeedButton5Click();
    setPath(f, fixture(QStringLiteral("recipients.xls")));
    f.click(QStringLiteral("SpeedButton22"));
    List* imported = f.form().ADOQuery3();

    f.type(QStringLiteral("Edit30"), QStringLiteral("科技"));
    f.click(QStringLiteral("SpeedButton23"));
    QCOMPARE(names(imported), QStringList{"李四"});
    // The mobile box, then the organisation box: the last filled one decides.
    f.type(QStringLiteral("Edit24"), QStringLiteral("138"));
    f.type(QStringLiteral("Edit30"), QString());
    f.click(QStringLiteral("SpeedButton23"));
    QCOMPARE(names(imported), QStringList{"张三"});
    f.type(QStringLiteral("Edit23"), QStringLiteral("七"));
    f.click(QStringLiteral("SpeedButton23"));
    QCOMPARE(names(imported), QStringList{"张三"});

    f.click(QStringLiteral("SpeedButton24"));
    QCOMPARE(imported->RecordCount(), 5);
    QCOMPARE(f.texts({"Edit23", "Edit24", "Edit30"}), (QStringList{"", "", ""}));

    // "Excel导入" empties the name and mobile boxes; the organisation box keeps its text.
    f.type(QStringLiteral("Edit23"), QStringLiteral("张"));
    f.type(QStringLiteral("Edit30"), QStringLiteral("贸易"));
    f.click(QStringLiteral("SpeedButton23"));
    f.form().SpeedButton5Click();
    QCOMPARE(f.texts({"Edit23", "Edit24", "Edit30"}), (QStringList{"", "", "贸易"}));
    QCOMPARE(imported->RecordCount(), 5);
}

QTEST_MAIN(ImportPageTest)
#include "tst_import_page.moc"
