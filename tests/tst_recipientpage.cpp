// The recipient page, driven through its widgets against a temporary data.mdb.
#include "testsupport/AppTestSupport.h"
#include "app/DataGrid.h"
#include "addressbook/List.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

using namespace corvane;
using namespace corvane::test;

namespace {

using Rows = QVector<QStringList>;
using Typing = QList<QPair<QString, QString>>;   // box, text typed into it

const QStringList recipientBoxes = boxNames(10, 19);
const QStringList searchBoxes{"Edit20", "Edit21", "Edit29"};

QStringList recipient(const QString& name, const QString& mobile, const QString& organisation = {})
{
    return {name, "北京", organisation, "100080", "中关村大街1号", mobile, "010-1", "茶叶", "2", "工作日"};
}

// Names chosen so that every search below has rows it must find and rows it must leave.
const Rows people{
    recipient("张伟", "13912345678", "北京中关村科技"),
    recipient("张敏", "13800001111", "上海浦江贸易"),
    recipient("李娜", "18613900000", "南京秦淮文具店"),
    recipient("王芳", "15000000000", "北京\"宏达\"商贸"),
    recipient("赵磊", "17700000000", "百分之百%公司"),
    recipient("孙_燕", "13300000000", "O'Neil; 贸易"),
};

QStringList names(List* list)
{
    QStringList all;
    for (int r = 0; r < list->RecordCount(); ++r)
        all << list->value(r, list->columnIndex("姓名"));
    return all;
}

}

Q_DECLARE_METATYPE(Typing)

class RecipientPageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void add_data();
    void add();
    void modify_data();
    void modify();
    void modifyOnEmptyList();
    void search_data();
    void search();
    void recipientInfoKeepsTheOrganisationBoxAndTheResult_data();
    void recipientInfoKeepsTheOrganisationBoxAndTheResult();
    void refreshListsEveryone();
    void deleteTwoRowsFromTheMenu();
    void deleteWithoutSelectionGivesTheHint();
    void rowCountFollowsTheList();
    void databaseErrorLeavesThePageAsItWas();
};

void RecipientPageTest::add_data()
{
    QTest::addColumn<Typing>("typing");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<Rows>("added");

    const QStringList empty(10, QString());
    QStringList quantityOnly = empty;
    quantityOnly[8] = "3";
    QStringList blanks = empty;
    blanks[4] = " ";
    QTest::newRow("only 数量") << Typing{{"Edit18", "3"}} << QStringList() << Rows{quantityOnly};
    QTest::newRow("blanks count as filled") << Typing{{"Edit14", " "}} << QStringList() << Rows{blanks};
    QTest::newRow("every box")
        << Typing{{"Edit10", "周强"}, {"Edit11", "武汉"}, {"Edit12", "江城机电"}, {"Edit13", "430070"},
                  {"Edit14", "珞喻路1037号"}, {"Edit15", "13707151234"}, {"Edit16", "027-1"},
                  {"Edit17", "配件"}, {"Edit18", "1"}, {"Edit19", "电话联系"}}
        << QStringList()
        << Rows{{"周强", "武汉", "江城机电", "430070", "珞喻路1037号", "13707151234", "027-1", "配件", "1", "电话联系"}};
    QTest::newRow("ten empty boxes are refused") << Typing{} << QStringList{"收件信息不能为空！"} << Rows{};
}

void RecipientPageTest::add()
{
    QFETCH(Typing, typing);
    QFETCH(QStringList, messages);
    QFETCH(Rows, added);

    MainWindowFixture f({}, {people[0]});
    for (const auto& [box, text] : typing)
        f.type(box, text);
    f.click("SpeedButton15");
    QCOMPARE(f.dialogs.texts(), messages);
    QCOMPARE(f.book.rows("inr"), Rows{people[0]} + added);
    List* list = f.form().ADOQuery2();
    QCOMPARE(list->RecordCount(), 1 + added.size());
    QCOMPARE(list->RecNo(), list->RecordCount() - 1);
    if (!added.isEmpty())
        QCOMPARE(f.texts(recipientBoxes), QStringList(10, QString()));
}

void RecipientPageTest::modify_data()
{
    QTest::addColumn<QString>("openWith");    // double-click or the menu's "修改记录"
    QTest::addColumn<Typing>("typing");
    QTest::addColumn<QStringList>("row");

    QStringList newContents = people[2];
    newContents[7] = "文具";
    QStringList noRemark = people[2];
    noRemark[9] = "";
    QTest::newRow("only 内件品名 changes") << "double-click" << Typing{{"Edit17", "文具"}} << newContents;
    QTest::newRow("emptying 备注 empties it") << "N52" << Typing{{"Edit19", ""}} << noRemark;
}

void RecipientPageTest::modify()
{
    QFETCH(QString, openWith);
    QFETCH(Typing, typing);
    QFETCH(QStringList, row);

    MainWindowFixture f({}, people);
    if (openWith == "N52") {
        f.clickRow("DBGridEh2", 2);
        f.triggerMenu("N52");
    } else {
        f.doubleClickRow("DBGridEh2", 2);
    }
    QCOMPARE(f.texts(recipientBoxes), people[2]);
    QVERIFY(!f.find<QAbstractButton>("SpeedButton15")->isEnabled());
    for (const auto& [box, text] : typing)
        f.type(box, text);
    f.click("SpeedButton16");

    QCOMPARE(f.dialogs.texts(), QStringList{"修改记录成功！"});
    Rows expected = people;
    expected[2] = row;
    QCOMPARE(f.book.rows("inr"), expected);
    QVERIFY(f.find<QAbstractButton>("SpeedButton15")->isEnabled());
    QVERIFY(!f.find<QAbstractButton>("SpeedButton16")->isEnabled());
    QCOMPARE(f.texts(recipientBoxes), QStringList(10, QString()));
}

void RecipientPageTest::modifyOnEmptyList()
{
    MainWindowFixture f;
    f.triggerMenu("N52");
    f.type("Edit10", "x");
    f.click("SpeedButton16");
    QCOMPARE(f.dialogs.texts(), QStringList{"当前修改记录为空！"});
    QVERIFY(f.book.rows("inr").isEmpty());
    QVERIFY(f.find<QAbstractButton>("SpeedButton15")->isEnabled());
    QCOMPARE(f.texts(recipientBoxes), QStringList(10, QString()));
}

void RecipientPageTest::search_data()
{
    QTest::addColumn<QStringList>("boxes");    // 姓名, 手机, 收件单位
    QTest::addColumn<QStringList>("found");

    const QStringList everyone{"张伟", "张敏", "李娜", "王芳", "赵磊", "孙_燕"};
    QTest::newRow("姓名") << QStringList{"张", "", ""} << QStringList{"张伟", "张敏"};
    QTest::newRow("13 anywhere in 手机") << QStringList{"", "13", ""} << QStringList{"张伟", "张敏", "李娜", "孙_燕"};
    QTest::newRow("张 and 139: 手机 decides") << QStringList{"张", "139", ""} << QStringList{"张伟", "李娜"};
    QTest::newRow("收件单位 alone") << QStringList{"", "", "北京"} << QStringList{"张伟", "王芳"};
    QTest::newRow("收件单位 decides over both") << QStringList{"张", "139", "南京"} << QStringList{"李娜"};
    QTest::newRow("nothing typed: nothing happens") << QStringList{"", "", ""} << everyone;
    QTest::newRow("a double quote is a character") << QStringList{"", "", "\""} << QStringList{"王芳"};
    QTest::newRow("% is no wildcard") << QStringList{"", "", "%"} << QStringList{"赵磊"};
    QTest::newRow("_ is no wildcard") << QStringList{"_", "", ""} << QStringList{"孙_燕"};
    QTest::newRow("quote and semicolon") << QStringList{"", "", "'Neil;"} << QStringList{"孙_燕"};
    QTest::newRow("nobody") << QStringList{"", "", "\" or 1=1 --"} << QStringList{};
}

void RecipientPageTest::search()
{
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, found);

    MainWindowFixture f({}, people);
    for (int i = 0; i < searchBoxes.size(); ++i) {
        if (!boxes[i].isEmpty())
            f.type(searchBoxes[i], boxes[i]);
    }
    f.click("SpeedButton19");
    QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.texts().join('\n')));
    QVERIFY(f.form().ADOQuery2()->Active());
    QCOMPARE(names(f.form().ADOQuery2()), found);
    QCOMPARE(f.texts(searchBoxes), boxes);
    QCOMPARE(f.book.rows("inr"), people);
}

void RecipientPageTest::recipientInfoKeepsTheOrganisationBoxAndTheResult_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("收件信息") << "SpeedButton2";
    QTest::newRow("切换 on the sender page") << "SpeedButton14";
}

void RecipientPageTest::recipientInfoKeepsTheOrganisationBoxAndTheResult()
{
    QFETCH(QString, button);

    MainWindowFixture f({}, people);
    f.type("Edit20", "王");
    f.type("Edit29", "北京");
    f.click("SpeedButton19");
    f.type("Edit10", "未保存");
    f.click("SpeedButton1");
    f.click(button);

    QCOMPARE(f.form().PageControl1()->currentWidget()->objectName(), QString("TabSheet2"));
    QCOMPARE(f.texts(searchBoxes), (QStringList{"", "", "北京"}));
    QCOMPARE(f.texts(recipientBoxes), QStringList(10, QString()));
    QCOMPARE(names(f.form().ADOQuery2()), (QStringList{"张伟", "王芳"}));
    QCOMPARE(f.form().focusWidget(), f.find<QLineEdit>("Edit10"));
}

void RecipientPageTest::refreshListsEveryone()
{
    MainWindowFixture f({}, people);
    f.type("Edit21", "139");
    f.type("Edit29", "南京");
    f.click("SpeedButton19");
    QCOMPARE(names(f.form().ADOQuery2()), QStringList{"李娜"});
    f.book.insert("inr", recipient("吴静", "18629011234"));   // through another connection
    f.click("SpeedButton20");
    QCOMPARE(f.texts(searchBoxes), QStringList(3, QString()));
    QCOMPARE(f.form().ADOQuery2()->RecordCount(), people.size() + 1);
    QCOMPARE(f.form().ADOQuery2()->SQL(), QString("select * from inr"));
}

void RecipientPageTest::deleteTwoRowsFromTheMenu()
{
    MainWindowFixture f({}, people);
    f.selectRows("DBGridEh2", {1, 3});
    f.triggerMenu("N53");
    QCOMPARE(f.dialogs.texts(), QStringList{"确定要删除选中的记录？"});
    QCOMPARE(f.book.column("inr", "姓名"), (QStringList{"张伟", "李娜", "赵磊", "孙_燕"}));
    QVERIFY(f.find<DataGrid>("DBGridEh2")->selectedRows().isEmpty());
}

void RecipientPageTest::deleteWithoutSelectionGivesTheHint()
{
    MainWindowFixture f({}, people);
    f.clickRow("DBGridEh2", 1);     // a current row is no selection
    f.click("SpeedButton17");
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages.first().icon, MessageIcon::Information);
    QVERIFY(f.dialogs.messages.first().text.startsWith("请单击左边的序号"));
    QCOMPARE(f.book.rows("inr"), people);
}

void RecipientPageTest::rowCountFollowsTheList()
{
    MainWindowFixture f({}, people);
    auto* count = f.find<QLabel>("RecordCountLabel");
    QCOMPARE(count->text(), QString("共 6 条记录"));
    f.type("Edit20", "张");
    f.click("SpeedButton19");
    QCOMPARE(count->text(), QString("共 2 条记录"));
    f.type("Edit10", "新人");
    f.click("SpeedButton15");
    QCOMPARE(count->text(), QString("共 3 条记录"));
}

void RecipientPageTest::databaseErrorLeavesThePageAsItWas()
{
    MainWindowFixture f({}, people);
    f.doubleClickRow("DBGridEh2", 0);
    f.type("Edit15", "13000000000");
    f.book.exec("create trigger refuse before update on inr begin select raise(abort, 'database is locked'); end");
    f.click("SpeedButton16");

    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages.first().icon, MessageIcon::Stop);
    QVERIFY(f.dialogs.messages.first().text.contains("database is locked"));
    // Still in modify mode with the typed text, and the row as it was.
    QCOMPARE(f.find<QLineEdit>("Edit15")->text(), QString("13000000000"));
    QCOMPARE(f.find<QLineEdit>("Edit10")->text(), QString("张伟"));
    QVERIFY(f.find<QAbstractButton>("SpeedButton16")->isEnabled());
    QCOMPARE(f.form().ADOQuery2()->state(), List::State::Browse);
    QCOMPARE(f.form().ADOQuery2()->FieldByName("手机").AsString(), QString("13912345678"));
    QCOMPARE(f.book.rows("inr"), people);
}

QTEST_MAIN(RecipientPageTest)
#include "tst_recipientpage.moc"
