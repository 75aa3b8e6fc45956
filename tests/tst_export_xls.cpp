// The .xls writer and the list export, read back by independent readers (libfreexl in process,
// python3-xlrd as another program).
#include "addressbook/Connection.h"
#include "addressbook/List.h"
#include "addressbook/ListExport.h"
#include "addressbook/XlsWriter.h"
#include "core/Error.h"
#include "testsupport/AppTestSupport.h"
#include "testsupport/WorkbookReadBack.h"

#include <QFile>
#include <QtTest>

using namespace corvane;
using Rows = QVector<QStringList>;
using corvane::test::Sheets;
using corvane::test::readWithFreexl;
using corvane::test::readWithXlrd;

namespace {

void compareWithBothReaders(const QString& path, const Sheets& expected, bool freexlToo = true)
{
    QString problem;
    const Sheets xlrd = readWithXlrd(path, &problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(xlrd, expected);
    if (!freexlToo)
        return;
    const Sheets freexl = readWithFreexl(path, &problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(freexl, expected);
}

QStringList recipient(int n)
{
    return {QStringLiteral("收件人%1").arg(n), "杭州", "天一贸易", "310012", QStringLiteral("文三路%1号\n3号楼").arg(n),
            QStringLiteral("1380013%1").arg(n, 4, 10, QLatin1Char('0')), "0571-88217634", "茶叶", "2", ""};
}

}

class ExportXlsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writerSheets_data();
    void writerSheets();
    void fullSheetContinuesOnTheNext();
    void exportWritesEveryRowFromTheFirst();
    void exportOfSearchResultAndEmptyList();
    void failedExportLeavesTargetAlone();
};

void ExportXlsTest::writerSheets_data()
{
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("rowsPerSheet");
    QTest::addColumn<Sheets>("expected");
    QTest::addColumn<bool>("freexlToo");

    const QStringList header = Connection::recipientColumns();
    Rows five;
    for (int i = 1; i <= 5; ++i)
        five << recipient(i);
    QTest::newRow("header and rows") << header << five << XlsWriter::MaxRowsPerSheet
                                     << Sheets{{"Sheet1", Rows{header} + five}} << true;
    QTest::newRow("header only") << header << Rows{} << XlsWriter::MaxRowsPerSheet << Sheets{{"Sheet1", Rows{header}}} << true;
    // Three data rows per sheet: the header again on each further sheet.
    QTest::newRow("continued on further sheets")
        << header << five << 4
        << Sheets{{"Sheet1", Rows{header, five[0], five[1], five[2]}}, {"Sheet2", Rows{header, five[3], five[4]}}} << true;

    // Enough text that the string table runs over many CONTINUE records, in one-byte and
    // two-byte form; strings up to a record long are read by libfreexl too.
    Rows many;
    for (int i = 0; i < 3000; ++i)
        many << QStringList{QStringLiteral("名字%1").arg(i), QStringLiteral("addr %1").arg(i), QStringLiteral("%1").arg(i % 7)};
    many.insert(1500, QStringList{QString(4000, QChar(0x4E2D)), QString(8000, QLatin1Char('x')), "é latin-1 ü"});
    const QStringList three{"甲", "乙", "丙"};
    QTest::newRow("many strings") << three << many << XlsWriter::MaxRowsPerSheet << Sheets{{"Sheet1", Rows{three} + many}}
                                  << true;
    // Strings longer than a record are split over several (libfreexl cannot read those).
    Rows huge{{QString(20000, QChar(0x6587)) + QStringLiteral("尾"), QString(), QString(30000, QLatin1Char('y'))}};
    QTest::newRow("strings split over records") << three << huge << XlsWriter::MaxRowsPerSheet
                                                << Sheets{{"Sheet1", Rows{three} + huge}} << false;
}

void ExportXlsTest::writerSheets()
{
    QFETCH(QStringList, header);
    QFETCH(Rows, rows);
    QFETCH(int, rowsPerSheet);
    QFETCH(Sheets, expected);
    QFETCH(bool, freexlToo);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.xls"));
    XlsWriter::save(path, header, int(rows.size()), [&](int r, int c) { return rows[r].value(c); }, rowsPerSheet);
    compareWithBothReaders(path, expected, freexlToo);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.xls"});
}

void ExportXlsTest::fullSheetContinuesOnTheNext()
{
    // 65,536 rows are the most a sheet holds: with the header, 65,535 recipients fit on Sheet1.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("many.xls"));
    const int count = 65536;
    XlsWriter::save(path, {"姓名"}, count, [](int r, int) { return QString::number(r + 1); });
    QString problem;
    const Sheets sheets = readWithFreexl(path, &problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(sheets.size(), 2);
    QCOMPARE(sheets[0].second.size(), 65536);
    QCOMPARE(sheets[0].second.front(), QStringList{"姓名"});
    QCOMPARE(sheets[0].second.back(), QStringList{"65535"});
    QCOMPARE(sheets[1].first, QStringLiteral("Sheet2"));
    QCOMPARE(sheets[1].second, (Rows{{"姓名"}, {"65536"}}));
}

void ExportXlsTest::exportWritesEveryRowFromTheFirst()
{
    test::TemporaryAddressBook book;
    Rows rows;
    for (int i = 1; i <= 6; ++i) {
        rows << recipient(i);
        book.insert(QStringLiteral("inr"), rows.back());
    }
    Connection connection;
    List list(&connection);
    list.setSQL(QStringLiteral("select * from inr"));
    list.Open();
    list.setRecNo(4);   // the fifth recipient selected
    const QString path = book.path() + QStringLiteral("/out.xls");
    exportListToXls(list, path);
    compareWithBothReaders(path, {{"Sheet1", Rows{Connection::recipientColumns()} + rows}});
    QCOMPARE(list.RecordCount(), 6);
    QCOMPARE(list.RecNo(), 5);
    // Twice in a row: the same rows again.
    exportListToXls(list, path);
    compareWithBothReaders(path, {{"Sheet1", Rows{Connection::recipientColumns()} + rows}});
}

void ExportXlsTest::exportOfSearchResultAndEmptyList()
{
    test::TemporaryAddressBook book;
    for (int i = 1; i <= 4; ++i)
        book.insert(QStringLiteral("inr"), recipient(i));
    Connection connection;
    List list(&connection);
    list.setSearch(QStringLiteral("inr"), QStringLiteral("姓名"), QStringLiteral("人3"));
    list.Open();
    const QString path = book.path() + QStringLiteral("/found.xls");
    exportListToXls(list, path);
    compareWithBothReaders(path, {{"Sheet1", Rows{Connection::recipientColumns(), recipient(3)}}});

    book.exec(QStringLiteral("DELETE FROM inr"));
    list.Close();
    list.setSQL(QStringLiteral("select * from inr"));
    list.Open();
    exportListToXls(list, path);
    compareWithBothReaders(path, {{"Sheet1", Rows{Connection::recipientColumns()}}});
}

void ExportXlsTest::failedExportLeavesTargetAlone()
{
    QTemporaryDir dir;
    // A cell longer than a spreadsheet cell holds fails before anything is written.
    const QString path = dir.filePath(QStringLiteral("old.xls"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("earlier export");
    old.close();
    QVERIFY_THROWS_EXCEPTION(Error, XlsWriter::save(path, {"备注"}, 1, [](int, int) { return QString(40000, 'x'); }));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("earlier export"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.xls"});

    // A folder that does not exist: an error naming the file.
    const QString nowhere = dir.filePath(QStringLiteral("missing/out.xls"));
    try {
        XlsWriter::save(nowhere, {"姓名"}, 0, [](int, int) { return QString(); });
        QFAIL("saved into a missing folder");
    } catch (const Error& e) {
        QVERIFY2(e.message().contains(nowhere), qPrintable(e.message()));
    }
}

QTEST_GUILESS_MAIN(ExportXlsTest)
#include "tst_export_xls.moc"
