// The sender page, driven through its widgets against a temporary data.mdb.
#include "testsupport/AppTestSupport.h"
#include "addressbook/List.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

using namespace corvane;
using namespace corvane::test;

namespace {

using Rows = QVector<QStringList>;
using Typing = QList<QPair<QString, QString>>;   // box, text typed into it

const QStringList senderBoxes = boxNames(1, 9);
const QStringList dateBoxes{"Edit25", "Edit26", "Edit27"};
const QStringList noDate{"", "", ""};
const QStringList may1{"2024", "05", "01"};
const QStringList today{"2024", "05", "09"};   // the fixture's clock

QStringList senderRow(const QString& name, const QString& mobile, const QStringList& date = noDate)
{
    return QStringList{name, "杭州", "青禾茶叶", "310012", "文三路1号", mobile, "0571-1", name, "轻放"} + date;
}

QString dateCaption(const MainWindowFixture& f)
{
    return f.find<QAbstractButton>("SpeedButton8")->text();
}

}

Q_DECLARE_METATYPE(Typing)

class SenderPageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startUp_data();
    void startUp();
    void add_data();
    void add();
    void modify_data();
    void modify();
    void modifyOnEmptyList();
    void remove_data();
    void remove();
    void dateButton_data();
    void dateButton();
    void cellClickShowsTheRowsDate();
    void senderInfoReloadsTheList();
    void databaseErrorLeavesThePageAsItWas();
};

void SenderPageTest::startUp_data()
{
    QTest::addColumn<Rows>("senders");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<Rows>("stored");

    QTest::newRow("a shown date becomes today; other senders keep theirs")
        << Rows{senderRow("王立新", "1", may1), senderRow("陈美玲", "2", may1)} << "隐藏日期" << today
        << Rows{senderRow("王立新", "1", today), senderRow("陈美玲", "2", may1)};
    QTest::newRow("one part is enough to count as shown")
        << Rows{senderRow("王立新", "1", {"", "", "7"})} << "隐藏日期" << today << Rows{senderRow("王立新", "1", today)};
    QTest::newRow("a hidden date stays hidden")
        << Rows{senderRow("王立新", "1"), senderRow("陈美玲", "2", may1)} << "显示日期" << noDate
        << Rows{senderRow("王立新", "1"), senderRow("陈美玲", "2", may1)};
    QTest::newRow("no senders") << Rows{} << "显示日期" << noDate << Rows{};
}

void SenderPageTest::startUp()
{
    QFETCH(Rows, senders);
    QFETCH(QString, caption);
    QFETCH(QStringList, boxes);
    QFETCH(Rows, stored);

    MainWindowFixture f(senders);
    QCOMPARE(dateCaption(f), caption);
    QCOMPARE(f.texts(dateBoxes), boxes);
    QCOMPARE(f.book.rows("outr"), stored);
    QCOMPARE(f.find<QLineEdit>("Edit28")->text(), senders.isEmpty() ? QString() : senders.first().first());
    QVERIFY(f.dialogs.messages.isEmpty());
}

void SenderPageTest::add_data()
{
    QTest::addColumn<Rows>("senders");
    QTest::addColumn<Typing>("typing");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<Rows>("stored");

    const QStringList first = senderRow("王立新", "1", may1);
    const QStringList firstToday = senderRow("王立新", "1", today);
    const QStringList remarkOnly{"", "", "", "", "", "", "", "", "易碎"};
    QTest::newRow("only 备注, date boxes showing today")
        << Rows{first} << Typing{{"Edit9", "易碎"}} << QStringList()
        << Rows{firstToday, remarkOnly + today};
    QTest::newRow("only 备注, date boxes empty")
        << Rows{senderRow("王立新", "1")} << Typing{{"Edit9", "易碎"}} << QStringList()
        << Rows{senderRow("王立新", "1"), remarkOnly + noDate};
    QTest::newRow("blanks count as filled")
        << Rows{} << Typing{{"Edit1", "  "}} << QStringList()
        << Rows{QStringList{"  ", "", "", "", "", "", "", "", ""} + noDate};
    QTest::newRow("every box")
        << Rows{} << Typing{{"Edit1", "刘建国"}, {"Edit2", "成都"}, {"Edit3", "蜀锦坊"}, {"Edit4", "610041"},
                            {"Edit5", "人民南路4段"}, {"Edit6", "18980011234"}, {"Edit7", "028-1"},
                            {"Edit8", "刘"}, {"Edit9", "周末不发货"}}
        << QStringList()
        << Rows{QStringList{"刘建国", "成都", "蜀锦坊", "610041", "人民南路4段", "18980011234", "028-1", "刘",
                            "周末不发货"} + noDate};
    QTest::newRow("all empty is refused, whatever the date boxes hold")
        << Rows{first} << Typing{} << QStringList{"寄件信息不能为空！"} << Rows{firstToday};
    QTest::newRow("all empty on an empty list")
        << Rows{} << Typing{} << QStringList{"寄件信息不能为空！"} << Rows{};
}

void SenderPageTest::add()
{
    QFETCH(Rows, senders);
    QFETCH(Typing, typing);
    QFETCH(QStringList, messages);
    QFETCH(Rows, stored);

    MainWindowFixture f(senders);
    f.click("SpeedButton1");
    for (const auto& [box, text] : typing)
        f.type(box, text);
    f.click("SpeedButton11");

    QCOMPARE(f.dialogs.texts(), messages);
    QCOMPARE(f.book.rows("outr"), stored);
    List* list = f.form().ADOQuery1();
    QCOMPARE(list->RecordCount(), stored.size());
    if (messages.isEmpty()) {
        // The new row is current and remembered; the boxes are ready for the next sender.
        QCOMPARE(list->RecNo(), stored.size() - 1);
        QCOMPARE(f.find<QLineEdit>("Edit28")->text(), stored.last().first());
        QCOMPARE(f.texts(senderBoxes), QStringList(9, QString()));
    }
}

void SenderPageTest::modify_data()
{
    QTest::addColumn<Typing>("typing");
    QTest::addColumn<int>("rowAtPress");     // the row made current after the double-click
    QTest::addColumn<Rows>("stored");

    const QStringList a = senderRow("王立新", "13800000001", today), b = senderRow("陈美玲", "13900000002"),
                      c = senderRow("刘建国", "13700000003", may1);
    QStringList bNewMobile = b;
    bNewMobile[5] = "13911112222";
    QStringList bNoCity = b;
    bNoCity[1] = "";
    QStringList cNewRemark = c;
    cNewRemark[8] = "改过";
    QTest::newRow("only the changed box is written") << Typing{{"Edit6", "13911112222"}} << 1
                                                     << Rows{a, bNewMobile, c};
    QTest::newRow("emptying a box empties its column") << Typing{{"Edit2", ""}} << 1 << Rows{a, bNoCity, c};
    QTest::newRow("no change still posts") << Typing{} << 1 << Rows{a, b, c};
    QTest::newRow("the row current at the press takes the change") << Typing{{"Edit9", "改过"}} << 2
                                                                   << Rows{a, b, cNewRemark};
}

void SenderPageTest::modify()
{
    QFETCH(Typing, typing);
    QFETCH(int, rowAtPress);
    QFETCH(Rows, stored);

    MainWindowFixture f({senderRow("王立新", "13800000001", may1), senderRow("陈美玲", "13900000002"),
                         senderRow("刘建国", "13700000003", may1)});
    f.click("SpeedButton1");
    f.doubleClickRow("DBGridEh1", 1);
    QCOMPARE(f.texts(senderBoxes), senderRow("陈美玲", "13900000002").mid(0, 9));
    QVERIFY(!f.find<QAbstractButton>("SpeedButton11")->isEnabled());
    QVERIFY(f.find<QAbstractButton>("SpeedButton12")->isEnabled());
    for (const auto& [box, text] : typing)
        f.type(box, text);
    if (rowAtPress != 1)
        f.clickRow("DBGridEh1", rowAtPress);
    f.click("SpeedButton12");

    QCOMPARE(f.dialogs.texts(), QStringList{"修改记录成功！"});
    QCOMPARE(f.book.rows("outr"), stored);
    QVERIFY(f.find<QAbstractButton>("SpeedButton11")->isEnabled());
    QVERIFY(!f.find<QAbstractButton>("SpeedButton12")->isEnabled());
    QCOMPARE(f.texts(senderBoxes), QStringList(9, QString()));
}

void SenderPageTest::modifyOnEmptyList()
{
    MainWindowFixture f;
    f.click("SpeedButton1");
    f.triggerMenu("N50");
    QVERIFY(f.find<QAbstractButton>("SpeedButton12")->isEnabled());
    f.type("Edit1", "张三");
    f.click("SpeedButton12");
    QCOMPARE(f.dialogs.texts(), QStringList{"当前修改记录为空！"});
    QVERIFY(f.book.rows("outr").isEmpty());
    QVERIFY(f.find<QAbstractButton>("SpeedButton11")->isEnabled());
    QVERIFY(!f.find<QAbstractButton>("SpeedButton12")->isEnabled());
    QCOMPARE(f.find<QLineEdit>("Edit1")->text(), QString());
}

void SenderPageTest::remove_data()
{
    QTest::addColumn<QString>("trigger");           // button or menu entry
    QTest::addColumn<QVector<int>>("selected");
    QTest::addColumn<bool>("answerOk");
    QTest::addColumn<QStringList>("left");

    const QStringList all{"甲", "乙", "丙", "丁"};
    QTest::newRow("nothing selected: the hint") << "SpeedButton13" << QVector<int>{} << true << all;
    QTest::newRow("cancel keeps the rows") << "SpeedButton13" << QVector<int>{1, 2} << false << all;
    QTest::newRow("three selected rows go") << "SpeedButton13" << QVector<int>{0, 2, 3} << true << QStringList{"乙"};
    QTest::newRow("from the grid's menu") << "N51" << QVector<int>{1} << true << QStringList{"甲", "丙", "丁"};
}

void SenderPageTest::remove()
{
    QFETCH(QString, trigger);
    QFETCH(QVector<int>, selected);
    QFETCH(bool, answerOk);
    QFETCH(QStringList, left);

    MainWindowFixture f({senderRow("甲", "1"), senderRow("乙", "2"), senderRow("丙", "3"), senderRow("丁", "4")});
    f.click("SpeedButton1");
    f.selectRows("DBGridEh1", selected);
    f.dialogs.answers = {answerOk ? MessageResult::Ok : MessageResult::Cancel};
    if (trigger.startsWith("N"))
        f.triggerMenu(trigger);
    else
        f.click(trigger);

    QCOMPARE(f.dialogs.messages.size(), 1);
    const RecordedMessage asked = f.dialogs.messages.first();
    QCOMPARE(asked.title, QString("提示"));
    if (selected.isEmpty()) {
        QCOMPARE(asked.text, QString("请单击左边的序号选中一条记录或拖选一段记录，\r\n"
                                     "也可以用Ctrl及Shift来进行多选，然后再删除记录。"));
        QCOMPARE(asked.icon, MessageIcon::Information);
        QCOMPARE(asked.buttons, MessageButtons::Ok);
    } else {
        QCOMPARE(asked.text, QString("确定要删除选中的记录？"));
        QCOMPARE(asked.icon, MessageIcon::Warning);
        QCOMPARE(asked.buttons, MessageButtons::OkCancel);
    }
    QCOMPARE(f.book.column("outr", "姓名"), left);
    QCOMPARE(f.form().ADOQuery1()->RecordCount(), left.size());
}

void SenderPageTest::dateButton_data()
{
    QTest::addColumn<Rows>("senders");
    QTest::addColumn<int>("row");                 // clicked before the press
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<Rows>("stored");

    QTest::newRow("hide on a shown row")
        << Rows{senderRow("甲", "1", may1), senderRow("乙", "2", may1)} << 1 << "显示日期" << noDate
        << Rows{senderRow("甲", "1", today), senderRow("乙", "2", noDate)};
    QTest::newRow("show on a hidden row")
        << Rows{senderRow("甲", "1"), senderRow("乙", "2")} << 1 << "隐藏日期" << today
        << Rows{senderRow("甲", "1"), senderRow("乙", "2", today)};
    QTest::newRow("show on an empty table writes a row holding only the date")
        << Rows{} << -1 << "隐藏日期" << today << Rows{QStringList(9, QString()) + today};
}

void SenderPageTest::dateButton()
{
    QFETCH(Rows, senders);
    QFETCH(int, row);
    QFETCH(QString, caption);
    QFETCH(QStringList, boxes);
    QFETCH(Rows, stored);

    MainWindowFixture f(senders);
    f.click("SpeedButton1");
    if (row >= 0)
        f.clickRow("DBGridEh1", row);
    f.click("SpeedButton8");
    QCOMPARE(dateCaption(f), caption);
    QCOMPARE(f.texts(dateBoxes), boxes);
    QCOMPARE(f.book.rows("outr"), stored);
    QVERIFY(f.dialogs.messages.isEmpty());
}

void SenderPageTest::cellClickShowsTheRowsDate()
{
    MainWindowFixture f({senderRow("甲", "1", may1), senderRow("乙", "2"), senderRow("丙", "3", {"2023", "12", "31"})});
    f.click("SpeedButton1");
    f.clickRow("DBGridEh1", 1);
    QCOMPARE(dateCaption(f), QString("显示日期"));
    QCOMPARE(f.texts(dateBoxes), noDate);
    QCOMPARE(f.find<QLineEdit>("Edit28")->text(), QString("乙"));
    QCOMPARE(f.form().ADOQuery1()->RecNo(), 1);

    f.clickRow("DBGridEh1", 2);
    QCOMPARE(dateCaption(f), QString("隐藏日期"));
    QCOMPARE(f.texts(dateBoxes), (QStringList{"2023", "12", "31"}));
    QCOMPARE(f.find<QLineEdit>("Edit28")->text(), QString("丙"));
}

void SenderPageTest::senderInfoReloadsTheList()
{
    MainWindowFixture f({senderRow("甲", "1", may1)});
    f.type("Edit1", "未保存");
    f.book.insert("outr", senderRow("乙", "2"));       // through another connection
    f.clickRow("DBGridEh1", 0);
    f.click("SpeedButton1");
    QCOMPARE(f.form().PageControl1()->currentWidget()->objectName(), QString("TabSheet1"));
    QCOMPARE(f.form().ADOQuery1()->RecordCount(), 2);
    QCOMPARE(f.form().ADOQuery1()->RecNo(), 0);
    QCOMPARE(f.texts(dateBoxes), today);
    QCOMPARE(dateCaption(f), QString("隐藏日期"));
    QCOMPARE(f.texts(senderBoxes), QStringList(9, QString()));
    QCOMPARE(f.form().focusWidget(), f.find<QLineEdit>("Edit1"));

    // The recipient page's "切换" does the same.
    f.click("SpeedButton2");
    f.book.insert("outr", senderRow("丙", "3"));
    f.click("SpeedButton18");
    QCOMPARE(f.form().PageControl1()->currentWidget()->objectName(), QString("TabSheet1"));
    QCOMPARE(f.form().ADOQuery1()->RecordCount(), 3);
}

void SenderPageTest::databaseErrorLeavesThePageAsItWas()
{
    MainWindowFixture f({senderRow("甲", "1")});
    f.click("SpeedButton1");
    f.book.exec("create trigger refuse before insert on outr begin select raise(abort, 'disk is full'); end");
    f.type("Edit1", "乙");
    f.type("Edit6", "139");
    f.click("SpeedButton11");

    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages.first().icon, MessageIcon::Stop);
    QCOMPARE(f.dialogs.messages.first().title, QApplication::applicationDisplayName());
    QVERIFY2(f.dialogs.messages.first().text.contains("disk is full"), qPrintable(f.dialogs.messages.first().text));
    QCOMPARE(f.find<QLineEdit>("Edit1")->text(), QString("乙"));
    QCOMPARE(f.find<QLineEdit>("Edit6")->text(), QString("139"));
    QCOMPARE(f.find<QLineEdit>("Edit28")->text(), QString("甲"));
    QCOMPARE(f.form().ADOQuery1()->RecordCount(), 1);
    QCOMPARE(f.book.column("outr", "姓名"), QStringList{"甲"});

    // Once the fault is gone the same press works.
    f.book.exec("drop trigger refuse");
    f.dialogs.clear();
    f.click("SpeedButton11");
    QVERIFY(f.dialogs.messages.isEmpty());
    QCOMPARE(f.book.column("outr", "姓名"), (QStringList{"甲", "乙"}));
}

QTEST_MAIN(SenderPageTest)
#include "tst_senderpage.moc"
