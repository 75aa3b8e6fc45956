#include "addressbook/Connection.h"
#include "app/DataGrid.h"
#include "addressbook/List.h"
#include "core/Dialogs.h"
#include "core/Error.h"
#include "testsupport/AnsweringDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;
using namespace corvane::test;

namespace {

void addRecipient(List& list, const QStringList& values)
{
    list.Append();
    const QStringList& columns = Connection::recipientColumns();
    for (int i = 0; i < values.size(); ++i)
        list.FieldByName(columns[i]).setAsString(values[i]);
    list.Post();
}

QStringList column(List& list, const QString& name)
{
    QStringList values;
    for (list.First(); !list.Eof(); list.Next())
        values << list.FieldByName(name).AsString();
    return values;
}

// Four recipients in a shown grid, the second row current and the given rows selected.
struct FourRowGrid {
    Connection connection;
    List list;
    DataGrid grid;
    FourRowGrid(const QString& file, const QVector<int>& selected)
        : connection(file), list(&connection), grid(&list, DataGrid::recipientColumns(), true)
    {
        list.setSQL("select * from inr");
        list.Open();
        for (const char* name : {"一", "二", "三", "四"})
            addRecipient(list, {QString::fromUtf8(name)});
        grid.resize(600, 300);
        grid.show();
        list.setRecNo(1);
        for (int row : selected)
            grid.selectionModel()->select(grid.model()->index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

}

class DatabaseTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_file;

private Q_SLOTS:
    void init()
    {
        m_file = m_dir.filePath(QStringLiteral("data-%1.mdb").arg(QTest::currentTestFunction()));
        QFile::remove(m_file);
        Connection::createDatabase(m_file);
    }

    void fileIsEncryptedAndSelfContained()
    {
        QFile f(m_file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(!f.read(16).startsWith("SQLite format 3"));
        Connection c(m_file);
        c.Open();
        QCOMPARE(c.tableColumns("outr"), Connection::senderColumns());
        QCOMPARE(c.tableColumns("inr"), Connection::recipientColumns());
        QCOMPARE(c.tableColumns("excel"), Connection::recipientColumns());
        List list(&c);
        list.setSQL("select * from inr");
        list.Open();
        addRecipient(list, {"张三"});
        QVERIFY(!QFile::exists(m_file + "-wal"));
        QVERIFY(!QFile::exists(m_file + "-journal"));   // rollback journal gone after the commit
    }

    void emptyTableReadsEmptyStrings()
    {
        Connection c(m_file);
        List list(&c);
        list.setSQL("select * from outr");
        list.Open();
        QCOMPARE(list.RecordCount(), 0);
        QVERIFY(list.Eof());
        QCOMPARE(list.Fields(), Connection::senderColumns());
        for (const QString& name : Connection::senderColumns())
            QCOMPARE(list.FieldByName(name).AsString(), QString());
        QVERIFY_THROWS_EXCEPTION(Error, list.FieldByName("no such column"));
    }

    void editOnEmptyListWritesNewRow()
    {
        Connection c(m_file);
        List list(&c);
        list.setSQL("select * from outr");
        list.Open();
        list.Edit();
        list.FieldByName("年").setAsString("2026");
        list.FieldByName("月").setAsString("12");
        list.FieldByName("日").setAsString("10");
        list.Post();
        QCOMPARE(list.RecordCount(), 1);
        list.Open();
        QCOMPARE(list.RecordCount(), 1);
        QCOMPARE(list.FieldByName("年").AsString(), QString("2026"));
        QCOMPARE(list.FieldByName("姓名").AsString(), QString());   // never written: reads empty
    }

    void postAndDeleteAddressTheirOwnRows()
    {
        Connection c(m_file);
        List list(&c);
        list.setSQL("select * from inr");
        list.Open();
        for (const char* name : {"甲", "乙", "丙", "丁", "戊"})
            addRecipient(list, {QString::fromUtf8(name)});
        list.deleteRows({0, 2});                                  // 甲 and 丙
        QCOMPARE(column(list, "姓名"), QStringList({"乙", "丁", "戊"}));
        list.setRecNo(1);                                         // 丁
        list.Edit();
        list.FieldByName("手机").setAsString("13800000000");
        list.Post();
        list.setRecNo(2);
        list.Delete();                                            // 戊
        list.Open();
        QCOMPARE(column(list, "姓名"), QStringList({"乙", "丁"}));
        QCOMPARE(column(list, "手机"), QStringList({"", "13800000000"}));
    }

    void searchFindsSubstring_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("13 anywhere in 手机") << "手机" << "13" << QStringList{"a", "b", "c"};
        QTest::newRow("收件单位") << "收件单位" << "科技" << QStringList{"b", "e"};
        QTest::newRow("double quote") << "收件单位" << "\"" << QStringList{"d"};
        QTest::newRow("percent is literal") << "收件单位" << "100%" << QStringList{"e"};
        QTest::newRow("underscore is literal") << "姓名" << "_" << QStringList{"f_x"};
        QTest::newRow("apostrophe") << "收件单位" << "O'Brien" << QStringList{"c"};
        QTest::newRow("semicolon and SQL") << "收件单位" << "'; drop table inr; --" << QStringList{};
        QTest::newRow("backslash") << "地址" << "\\" << QStringList{"a"};
        QTest::newRow("nothing found") << "手机" << "999" << QStringList{};
    }

    void searchFindsSubstring()
    {
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        Connection c(m_file);
        List list(&c);
        list.setSQL("select * from inr");
        list.Open();
        addRecipient(list, {"a", "", "", "", "C:\\路", "13912345678"});
        addRecipient(list, {"b", "", "华科技公司", "", "", "18613000000"});
        addRecipient(list, {"c", "", "O'Brien贸易", "", "", "15800000013"});
        addRecipient(list, {"d", "", "\"老字号\"", "", "", "15800000000"});
        addRecipient(list, {"e", "", "100%科技", "", "", ""});
        addRecipient(list, {"f_x", "", "", "", "", ""});
        list.Close();
        list.setSearch("inr", column, text);
        QVERIFY(list.SQL().startsWith(QStringLiteral("select * from inr where %1 like ").arg(column)));
        list.Open();
        QCOMPARE(::column(list, "姓名"), expected);
        list.setSQL("select * from inr");
        list.Open();
        QCOMPARE(list.RecordCount(), 6);   // the table survived whatever was typed
    }

    // Another connection changes the table between this list's read and its write. The write
    // happens only when the row still holds what the list read; otherwise nothing is written,
    // StaleRowError says so, and the list shows the table as it is.
    void staleRowsAreNeverWritten_data()
    {
        QTest::addColumn<QString>("elsewhere");     // what the other connection does first
        QTest::addColumn<QString>("here");          // "modify row N" or "delete rows N,M"
        QTest::addColumn<QStringList>("expected");  // names in the table afterwards
        QTest::addColumn<bool>("refused");

        QTest::newRow("modify a row deleted elsewhere")
            << "delete from inr where 姓名 = '乙'" << "modify 1" << QStringList{"甲", "丙", "丁"} << true;
        QTest::newRow("modify a row changed elsewhere")
            << "update inr set 手机 = '139' where 姓名 = '乙'" << "modify 1" << QStringList{"甲", "乙", "丙", "丁"} << true;
        QTest::newRow("delete a row whose rowid went to a new row")
            << "delete from inr where 姓名 = '丁'; insert into inr (姓名) values ('NEWGUY')" << "delete 3"
            << QStringList{"甲", "乙", "丙", "NEWGUY"} << true;
        QTest::newRow("delete several, one of them stale: none goes")
            << "update inr set 城市 = '杭州' where 姓名 = '丙'" << "delete 0,2,3" << QStringList{"甲", "乙", "丙", "丁"} << true;
        QTest::newRow("modify a row another row changed beside")
            << "update inr set 手机 = '139' where 姓名 = '甲'" << "modify 1" << QStringList{"甲", "乙改", "丙", "丁"} << false;
        QTest::newRow("delete a row with absent values beside an unrelated change")
            << "update inr set 城市 = '杭州' where 姓名 = '甲'" << "delete 2" << QStringList{"甲", "乙", "丁"} << false;
    }

    void staleRowsAreNeverWritten()
    {
        QFETCH(QString, elsewhere);
        QFETCH(QString, here);
        QFETCH(QStringList, expected);
        QFETCH(bool, refused);
        Connection c(m_file);
        List list(&c);
        list.setSQL("select * from inr");
        list.Open();
        // 丙 has absent (NULL) columns; the others have empty strings where nothing was typed.
        for (const char* name : {"甲", "乙"})
            addRecipient(list, {QString::fromUtf8(name), "", "", "", "", ""});
        c.ExecSQL("insert into inr (姓名) values ('丙')");
        addRecipient(list, {"丁", "北京"});
        list.Open();

        Connection other(m_file);
        other.ExecSQL(elsewhere);

        const QStringList words = here.split(' ');
        QString message;
        try {
            if (words[0] == "modify") {
                list.setRecNo(words[1].toInt());
                list.Edit();
                list.FieldByName("姓名").setAsString(list.FieldByName("姓名").AsString() + "改");
                list.Post();
            } else {
                QVector<int> rows;
                for (const QString& r : words[1].split(','))
                    rows << r.toInt();
                list.deleteRows(rows);
            }
        } catch (const StaleRowError& e) {
            message = e.message();
        }
        QCOMPARE(!message.isEmpty(), refused);
        if (refused) {
            QVERIFY2(message.contains("已被其他程序修改或删除"), qPrintable(message));
            // Read again: the list shows the table, not the stale snapshot.
            QCOMPARE(column(list, "姓名"), expected);
            QCOMPARE(list.state(), List::State::Browse);
        }
        List fresh(&other);
        fresh.setSQL("select * from inr");
        fresh.Open();
        QCOMPARE(column(fresh, "姓名"), expected);
    }

    void longValuesSurviveTheSnapshot()
    {
        // Values of any length and characters outside the basic plane come back as they went in.
        Connection c(m_file);
        List list(&c);
        list.setSQL("select * from inr");
        list.Open();
        const QString address = QString(40000, QChar(u'路')) + QStringLiteral("𠀀𪚥");
        addRecipient(list, {"甲", "", "", "", address});
        addRecipient(list, {"乙", "", "", "", "短"});
        list.setRecNo(0);
        list.Edit();
        list.FieldByName("城市").setAsString("杭州");
        list.Post();
        list.Open();
        QCOMPARE(list.value(0, list.columnIndex("地址")), address);
        QCOMPARE(list.value(0, list.columnIndex("城市")), QString("杭州"));
        QCOMPARE(list.value(1, list.columnIndex("地址")), QString("短"));
    }

    void secondConnectionSeesRowOnReopen()
    {
        Connection main(m_file), batch(m_file);
        List recipients(&main), batchList(&batch);
        recipients.setSQL("select * from inr");
        batchList.setSQL("select * from inr");
        recipients.Open();
        batchList.Open();
        QCOMPARE(batchList.RecordCount(), 0);
        addRecipient(recipients, {"新客户", "广州"});
        QCOMPARE(batchList.RecordCount(), 0);   // a static snapshot until it opens again
        batchList.Close();
        batchList.Open();
        QCOMPARE(batchList.RecordCount(), 1);
        QCOMPARE(batchList.FieldByName("城市").AsString(), QString("广州"));
    }

    // A list opened over the rows another list already holds takes that snapshot instead of
    // reading the table again; whatever changed the file in between must still show.
    void aSecondListSeesEveryChangeMadeBeforeItOpens_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("nothing") << "" << QStringList{"甲", "乙"};
        QTest::newRow("added through the first list") << "post" << QStringList{"甲", "乙", "丙"};
        QTest::newRow("added on a third connection") << "insert" << QStringList{"甲", "乙", "丁"};
        QTest::newRow("changed on a third connection") << "update" << QStringList{"甲", "戊"};
        QTest::newRow("deleted on a third connection") << "delete" << QStringList{"甲"};
        QTest::newRow("added on its own connection") << "own" << QStringList{"甲", "乙", "己"};
        QTest::newRow("its own transaction not yet committed") << "transaction" << QStringList{"甲", "乙", "庚"};
        QTest::newRow("another statement") << "search" << QStringList{"乙"};
    }
    void aSecondListSeesEveryChangeMadeBeforeItOpens()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, names);
        Connection main(m_file), batch(m_file), other(m_file);
        List recipients(&main);
        recipients.setSQL("select * from inr");
        recipients.Open();
        addRecipient(recipients, {"甲"});
        addRecipient(recipients, {"乙"});
        recipients.Close();
        recipients.Open();                 // a snapshot that is the table as it is

        List second(&batch);
        second.setSQL("select * from inr");
        const auto run = [](Connection& connection, const QString& sql) {
            List statement(&connection);
            statement.setSQL(sql);
            statement.ExecSQL();
        };
        if (change == "post")
            addRecipient(recipients, {"丙"});
        else if (change == "insert")
            run(other, "insert into inr (姓名) values ('丁')");
        else if (change == "update")
            run(other, "update inr set 姓名 = '戊' where 姓名 = '乙'");
        else if (change == "delete")
            run(other, "delete from inr where 姓名 = '乙'");
        else if (change == "own")
            run(batch, "insert into inr (姓名) values ('己')");
        else if (change == "transaction") {
            run(batch, "begin");
            run(batch, "insert into inr (姓名) values ('庚')");
        } else if (change == "search")
            second.setSearch("inr", "姓名", "乙");
        second.Open();
        QCOMPARE(column(second, "姓名"), names);
        if (change == "transaction")
            run(batch, "rollback");

        // Taken or read, the snapshot is the second list's own: changing it leaves the first as it was.
        const QStringList firstBefore = column(recipients, "姓名");
        if (change.isEmpty()) {
            addRecipient(second, {"辛"});
            QCOMPARE(column(second, "姓名"), (QStringList{"甲", "乙", "辛"}));
            QCOMPARE(column(recipients, "姓名"), firstBefore);
        }
    }

    void closingConnectionClosesLists()
    {
        Connection c(m_file);
        List list(&c);
        list.setSQL("select * from inr");
        list.Open();
        addRecipient(list, {"x"});
        DataGrid grid(&list, DataGrid::recipientColumns(), true);
        QCOMPARE(grid.verticalHeader()->count(), 1);
        c.Close();
        QVERIFY(!list.Active());
        QCOMPARE(list.RecordCount(), 0);
        QCOMPARE(grid.verticalHeader()->count(), 0);   // the grid shows nothing, not stale rows
        list.Open();                     // reopens the connection
        QCOMPARE(list.RecordCount(), 1);
        QCOMPARE(grid.verticalHeader()->count(), 1);
    }

    void unopenableFilesFail_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("random bytes") << QByteArray(4096, 'x') << true;
        QTest::newRow("empty file of another kind") << QByteArray("SQLite format 3\0", 16) << true;
    }

    void unopenableFilesFail()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, exists);
        const QString file = m_dir.filePath("other.mdb");
        QFile::remove(file);
        if (exists) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        Connection c(file);
        QString message;
        try {
            c.Open();
        } catch (const Error& e) {
            message = e.message();
        }
        QVERIFY2(!message.isEmpty(), "opening must fail");
        QVERIFY(!c.Connected());
        QCOMPARE(QFile::exists(file), exists);   // nothing is created
        if (exists) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), content);       // nor changed
        }
    }

    void wrongKeyFails()
    {
        // A database keyed with another password is not ours to open.
        QTemporaryDir dir;
        const QString file = dir.filePath("data.mdb");
        QFile::copy(m_file, file);
        {
            Connection c(file);
            c.Open();
            c.ExecSQL("PRAGMA rekey = 'another'");
        }
        Connection c(file);
        QVERIFY_THROWS_EXCEPTION(Error, c.Open());
    }

    void createRefusesExistingFile()
    {
        QVERIFY_THROWS_EXCEPTION(Error, Connection::createDatabase(m_file));
    }

    void gridShowsListWithColumnsAndColours()
    {
        Connection c(m_file);
        List list(&c);
        list.setSQL("select * from inr");
        list.Open();
        addRecipient(list, {"一", "北京"});
        addRecipient(list, {"二", "上海"});
        addRecipient(list, {"三", "深圳"});
        DataGrid grid(&list, DataGrid::recipientColumns(), true);
        auto* model = grid.model();
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->columnCount(), 10);
        QCOMPARE(model->headerData(3, Qt::Horizontal).toString(), QString("邮政编码"));
        QCOMPARE(model->headerData(4, Qt::Horizontal).toString(), QString("收件地址"));
        QCOMPARE(model->data(model->index(1, 1)).toString(), QString("上海"));
        list.setRecNo(0);
        QCOMPARE(model->data(model->index(1, 0), Qt::BackgroundRole).value<QColor>(), QColor(238, 238, 238));
        QCOMPARE(model->data(model->index(2, 0), Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
        QCOMPARE(grid.columnWidth(4), 180);
        // Shown, the columns are scaled together to fill the grid's width.
        grid.resize(976, 320);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        int total = 0;
        for (int c = 0; c < 10; ++c)
            total += grid.columnWidth(c);
        QCOMPARE(total, grid.viewport()->width());
        QVERIFY(qAbs(grid.columnWidth(4) * 50 - grid.columnWidth(8) * 180) <= 180 + 50);
        QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    }

    void ctrlDeleteAsksAndDeletes_data()
    {
        QTest::addColumn<QVector<int>>("selected");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("current row") << QVector<int>{} << true << "确定要删除选中的记录？" << QStringList{"一", "三", "四"};
        QTest::newRow("one selected") << QVector<int>{3} << true << "确定要删除选中的记录？" << QStringList{"一", "二", "三"};
        QTest::newRow("two selected") << QVector<int>{0, 2} << true << "确定要删除选中的记录？"
                                      << QStringList{"二", "四"};
        QTest::newRow("cancel") << QVector<int>{0, 2} << false << "确定要删除选中的记录？"
                                << QStringList{"一", "二", "三", "四"};
    }

    void ctrlDeleteAsksAndDeletes()
    {
        QFETCH(QVector<int>, selected);
        QFETCH(bool, ok);
        QFETCH(QString, question);
        QFETCH(QStringList, left);
        AnsweringDialogs dialogs;
        dialogs.answers = {ok ? MessageResult::Ok : MessageResult::Cancel};
        FourRowGrid f(m_file, selected);
        List& list = f.list;
        DataGrid& grid = f.grid;
        QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(dialogs.texts(), QStringList{question});
        list.Open();
        QCOMPARE(column(list, "姓名"), left);
    }

    void rightClickKeepsSelectionAndCurrentRow_data()
    {
        QTest::addColumn<QVector<int>>("selected");
        QTest::addColumn<int>("clicked");
        QTest::newRow("on an unselected row") << QVector<int>{0, 2} << 3;
        QTest::newRow("on a selected row") << QVector<int>{0, 2} << 2;
        QTest::newRow("nothing selected") << QVector<int>{} << 3;
    }

    void rightClickKeepsSelectionAndCurrentRow()
    {
        // The right button only opens the grid's menu, whose "删除记录" acts on the selected rows.
        QFETCH(QVector<int>, selected);
        QFETCH(int, clicked);
        FourRowGrid f(m_file, selected);
        List& list = f.list;
        DataGrid& grid = f.grid;
        const QRect cell = grid.visualRect(grid.model()->index(clicked, 1));
        QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, cell.center());
        QCOMPARE(grid.selectedRows(), selected);
        QCOMPARE(list.RecNo(), 1);
    }

    void arrowKeysMoveWithoutSelecting_data()
    {
        QTest::addColumn<QVector<int>>("selected");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("current");
        QTest::newRow("down, nothing selected") << QVector<int>{} << int(Qt::Key_Down) << 2;
        QTest::newRow("down drops a selection") << QVector<int>{0, 3} << int(Qt::Key_Down) << 2;
        QTest::newRow("up") << QVector<int>{} << int(Qt::Key_Up) << 0;
        QTest::newRow("page down") << QVector<int>{3} << int(Qt::Key_PageDown) << 3;
    }

    void arrowKeysMoveWithoutSelecting()
    {
        // Moving through the grid chooses a row; only the row numbers, Ctrl and Shift select.
        QFETCH(QVector<int>, selected);
        QFETCH(int, key);
        QFETCH(int, current);
        FourRowGrid f(m_file, selected);
        List& list = f.list;
        DataGrid& grid = f.grid;
        QTest::keyClick(&grid, Qt::Key(key));
        QCOMPARE(list.RecNo(), current);
        QCOMPARE(grid.selectedRows(), QVector<int>());
        list.setRecNo(1);
        QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
        QVERIFY(grid.selectedRows().contains(2));   // Shift still selects
    }

    void standardErrorTextEndsWithFullStop_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("word") << "no such table: inr" << "no such table: inr.";
        QTest::newRow("has stop") << "Failed." << "Failed.";
        QTest::newRow("exclamation sorts before the stop") << "Failed!" << "Failed!";
        QTest::newRow("chinese") << "连接失败" << "连接失败.";
        QTest::newRow("chinese full stop") << "记录已被其他程序修改。" << "记录已被其他程序修改。";
        QTest::newRow("chinese exclamation") << "连接ACCESS失败！" << "连接ACCESS失败！";
        QTest::newRow("empty") << "" << "";
    }

    void standardErrorTextEndsWithFullStop()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(Dialogs::errorText(text), shown);
    }
};

QTEST_MAIN(DatabaseTest)
#include "tst_database.moc"
