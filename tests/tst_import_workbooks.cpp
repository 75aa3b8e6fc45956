// Reading workbooks (.xls BIFF8/BIFF5, .xlsx, .csv) into the table excel, without a window.
#include "addressbook/CellText.h"
#include "addressbook/Connection.h"
#include "addressbook/CsvReader.h"
#include "addressbook/List.h"
#include "addressbook/SpreadsheetImport.h"
#include "addressbook/WorkbookReader.h"
#include "addressbook/XlsWriter.h"
#include "core/Error.h"
#include "testsupport/AppTestSupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

using namespace corvane;
using Rows = QVector<QStringList>;
Q_DECLARE_METATYPE(Rows)

namespace {

QString fixture(const QString& name)
{
    return qEnvironmentVariable("CORVANE_SOURCE_DIR") + QStringLiteral("/tests/fixtures/") + name;
}

// The five recipients of recipients.xls/.xlsx, in the columns of excel.
const Rows& fiveRecipients()
{
    static const Rows rows{
        {"张三", "杭州", "杭州天一贸易有限公司", "310012", "浙江省杭州市西湖区文三路90号\n东部软件园3号楼", "13800138000",
         "0571-88217634", "茶叶", "2", "易碎"},
        {"李四", "北京", "北京星河科技", "100080", "海淀区中关村大街1号", "13910345678", "", "书籍", "1", ""},
        {"王五", "上海", "上海申达物流", "200001", "黄浦区南京东路100号", "15800001111", "021-63216543", "衣服", "3",
         "周末送"},
        {"赵六", "广州", "", "510000", "天河区体育西路5号", "13512345678", "020-38001234", "样品", "1.5", ""},
        {"钱七", "成都", "成都蜀香食品", "610041", "武侯区人民南路4段12号", "18628000000", "", "辣椒酱", "10", "加急"},
    };
    return rows;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}

class ImportWorkbooksTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void numberCellText_data();
    void numberCellText();
    void dateCellText();
    void importsEveryFormat_data();
    void importsEveryFormat();
    void formatComesFromContentNotName_data();
    void formatComesFromContentNotName();
    void badInputChangesNothing_data();
    void badInputChangesNothing();
    void failureAfterSomeRowsAddsNone();
    void damagedBytesNeverHangOrCrash_data();
    void damagedBytesNeverHangOrCrash();
    void csvQuotingAndLineEnds();
    void csvEncodingDetection_data();
    void csvEncodingDetection();
    void headerOnlyAndBlankRows();
};

void ImportWorkbooksTest::numberCellText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("mobile") << 13800138000.0 << "13800138000";
    QTest::newRow("whole") << 2.0 << "2";
    QTest::newRow("negative whole") << -3.0 << "-3";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("fraction") << 1.5 << "1.5";
    QTest::newRow("sum shown as the sheet shows it") << 0.1 + 0.2 << "0.3";
    QTest::newRow("small") << 0.000125 << "0.000125";
    QTest::newRow("huge, no exponent") << 1e20 << "100000000000000000000";
    // A spreadsheet keeps 15 significant digits of a number, and so does its text.
    QTest::newRow("16 digits") << 1234567890123456.0 << "1234567890123460";
}

void ImportWorkbooksTest::numberCellText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(corvane::numberCellText(value), text);
}

void ImportWorkbooksTest::dateCellText()
{
    QCOMPARE(corvane::dateCellText(45421), QStringLiteral("2024-05-09"));
    QCOMPARE(corvane::dateCellText(45421.5625), QStringLiteral("2024-05-09 13:30:00"));
    QCOMPARE(corvane::dateCellText(0.75), QStringLiteral("18:00:00"));
    QCOMPARE(corvane::dateCellText(59), QStringLiteral("1900-02-28"));
    QCOMPARE(corvane::dateCellText(61), QStringLiteral("1900-03-01"));
    QCOMPARE(corvane::dateCellText(0, true), QStringLiteral("1904-01-01"));
    QVERIFY(isDateFormatCode(QStringLiteral("yyyy\"年\"m\"月\"d\"日\"")));
    QVERIFY(isDateFormatCode(QStringLiteral("[$-804]h:mm")));
    QVERIFY(!isDateFormatCode(QStringLiteral("0.00;[Red]-0.00")));
    QVERIFY(!isDateFormatCode(QStringLiteral("\"days\" 0")));
    QVERIFY(!isDateFormatCode(QStringLiteral("General")));
}

void ImportWorkbooksTest::importsEveryFormat_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Rows>("rows");
    QTest::newRow("BIFF8 .xls: shuffled columns, an extra one, numeric mobiles") << "recipients.xls" << fiveRecipients();
    QTest::newRow(".xlsx: shared strings, numeric mobiles") << "recipients.xlsx" << fiveRecipients();
    QTest::newRow("BIFF5 .xls in code page 936")
        << "gbk-biff5.xls"
        << Rows{{"周八", "南京", "金陵书局", "210000", "鼓楼区中山路1号", "13770001234", "025-83001234", "图书", "2", "轻放"},
                {"吴九", "西安", "长安面坊", "710000", "雁塔区小寨路8号\n二楼", "13991234567", "", "面粉", "5", ""}};
    const Rows csvRows{
        {"孙十", "厦门", "鹭岛茶行, 思明店", "361000", "思明区中山路\n88号", "13606001234", "0592-2101234", "茶叶\"铁观音\"", "1", ""},
        {"郑一", "长沙", "湘江电子", "410000", "岳麓区麓山南路2号", "13807311234", "", "耳机", "2", "下午送"}};
    QTest::newRow("UTF-8 .csv with BOM, quoted commas, quotes and line breaks") << "recipients-utf8.csv" << csvRows;
    QTest::newRow("GBK .csv as Windows saves it") << "recipients-gbk.csv" << csvRows;
}

void ImportWorkbooksTest::importsEveryFormat()
{
    QFETCH(QString, file);
    QFETCH(Rows, rows);
    test::TemporaryAddressBook book;
    Connection connection;
    QCOMPARE(importWorkbookIntoExcel(connection, fixture(file)), int(rows.size()));
    QCOMPARE(book.rows(QStringLiteral("excel")), rows);
}

void ImportWorkbooksTest::formatComesFromContentNotName_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("savedAs");
    QTest::newRow(".xlsx named .xls") << "recipients.xlsx" << "list.xls";
    QTest::newRow(".xls named .csv") << "recipients.xls" << "list.csv";
    QTest::newRow(".csv named .xlsx") << "recipients-gbk.csv" << "list.xlsx";
}

void ImportWorkbooksTest::formatComesFromContentNotName()
{
    QFETCH(QString, file);
    QFETCH(QString, savedAs);
    test::TemporaryAddressBook book;
    QVERIFY(QFile::copy(fixture(file), book.path() + QLatin1Char('/') + savedAs));
    Connection connection;
    QVERIFY(importWorkbookIntoExcel(connection, book.path() + QLatin1Char('/') + savedAs) >= 2);
}

void ImportWorkbooksTest::badInputChangesNothing_data()
{
    QTest::addColumn<QString>("file");        // a fixture, or a file the test makes
    QTest::addColumn<QString>("cause");       // part of the error text
    QTest::newRow("missing file") << "" << "不存在";
    QTest::newRow("random bytes") << "random" << "不是Excel工作簿";
    QTest::newRow("truncated .xls") << "truncated.xls" << "损坏";
    QTest::newRow("truncated .xlsx") << "truncated.xlsx" << "recipients";
    QTest::newRow("damaged sheet inside an .xlsx") << "damaged.xlsx" << "工作表";
    QTest::newRow("first sheet not Sheet1") << "not-sheet1.xls" << "Sheet1";
    QTest::newRow("missing column") << "missing-column.xls" << "内件品名";
    QTest::newRow("zip that is no workbook") << "not-a-workbook.zip" << "不是Excel 2007工作簿";
    QTest::newRow("empty file") << "empty" << "缺少列";
    // libfreexl opens such a workbook "successfully" without a handle.
    QTest::newRow("empty string in the shared-string table") << "empty-sst" << "工作簿内容无法识别";
    QTest::newRow("OLE2 file without a workbook") << "ole2" << "";
    QTest::newRow("folder") << "folder" << "";
}

void ImportWorkbooksTest::badInputChangesNothing()
{
    QFETCH(QString, file);
    QFETCH(QString, cause);
    test::TemporaryAddressBook book;
    const QStringList kept{"旧", "行", "", "", "", "", "", "", "", ""};
    book.insert(QStringLiteral("excel"), kept);

    QString path = book.path() + QStringLiteral("/input");
    if (file == QLatin1String("random")) {
        QByteArray bytes(20000, Qt::Uninitialized);
        QRandomGenerator gen(7);
        for (char& b : bytes)
            b = char(gen.bounded(256));
        bytes[100] = '\0';
        writeFile(path, bytes);
    } else if (file == QLatin1String("truncated.xlsx")) {
        const QByteArray whole = readFile(fixture(QStringLiteral("recipients.xlsx")));
        writeFile(path = book.path() + QStringLiteral("/recipients.xlsx"), whole.left(whole.size() * 2 / 3));
    } else if (file == QLatin1String("damaged.xlsx")) {
        // Bytes changed inside the sheet's compressed data; the zip's directory is intact.
        QByteArray bytes = readFile(fixture(QStringLiteral("recipients.xlsx")));
        const qsizetype at = bytes.indexOf("xl/worksheets/sheet1.xml");
        QVERIFY(at > 0);
        for (qsizetype i = at + 60; i < at + 90; ++i)
            bytes[i] = char(~bytes[i]);
        writeFile(path, bytes);
    } else if (file == QLatin1String("empty-sst")) {
        // A workbook whose one shared string "x" is made empty by setting its length to 0.
        QByteArray bytes = XlsWriter::workbookFile({"x"}, 0, [](int, int) { return QString(); });
        const qsizetype at = bytes.indexOf(QByteArray("\xFC\x00\x0C\x00\x01\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00x", 16));
        QVERIFY(at > 0);
        bytes[at + 12] = 0;
        writeFile(path, bytes);
    } else if (file == QLatin1String("empty")) {
        writeFile(path, QByteArray());
    } else if (file == QLatin1String("ole2")) {
        // A compound file whose stream is no workbook (the header of one, the rest zeros).
        QByteArray bytes = readFile(fixture(QStringLiteral("recipients.xls")));
        bytes.replace(bytes.indexOf(QByteArray("W\0o\0r\0k\0b\0o\0o\0k", 15)), 15, QByteArray("X\0o\0r\0k\0b\0o\0o\0k", 15));
        writeFile(path, bytes);
    } else if (file == QLatin1String("folder")) {
        QVERIFY(QDir(book.path()).mkdir(QStringLiteral("input")));
    } else if (!file.isEmpty()) {
        path = fixture(file);
    }

    Connection connection;
    try {
        importWorkbookIntoExcel(connection, path);
        QFAIL("the import succeeded");
    } catch (const Error& e) {
        QVERIFY2(e.message().contains(cause), qPrintable(e.message()));
    }
    QCOMPARE(book.rows(QStringLiteral("excel")), Rows{kept});
}

void ImportWorkbooksTest::failureAfterSomeRowsAddsNone()
{
    // Three good rows, then a quote that is never closed: the rows already inserted are taken back.
    test::TemporaryAddressBook book;
    QByteArray csv = "姓名,城市,收件单位,邮编,地址,手机,电话,内件品名,数量,备注\r\n";
    for (int i = 0; i < 3; ++i)
        csv += "甲,乙,丙,1,2,3,4,5,6,7\r\n";
    csv += "丁,\"未完,1,2,3,4,5,6,7,8\r\n";
    writeFile(book.path() + QStringLiteral("/broken.csv"), csv);
    Connection connection;
    QVERIFY_THROWS_EXCEPTION(Error, importWorkbookIntoExcel(connection, book.path() + QStringLiteral("/broken.csv")));
    QCOMPARE(book.rows(QStringLiteral("excel")).size(), 0);
    // The connection is usable afterwards: no transaction was left open.
    connection.ExecSQL(QStringLiteral("INSERT INTO excel (姓名) VALUES ('x')"));
    QCOMPARE(book.rows(QStringLiteral("excel")).size(), 1);
}

void ImportWorkbooksTest::damagedBytesNeverHangOrCrash_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow(".xls") << "recipients.xls";
    QTest::newRow(".xlsx") << "recipients.xlsx";
    QTest::newRow("BIFF5 .xls") << "gbk-biff5.xls";
}

void ImportWorkbooksTest::damagedBytesNeverHangOrCrash()
{
    // Runs of bytes inverted all through the file, one place at a time: every import either
    // succeeds or fails with an error, and a failed one adds nothing.
    QFETCH(QString, file);
    const QByteArray original = readFile(fixture(file));
    test::TemporaryAddressBook book;
    Connection connection;
    const QString path = book.path() + QStringLiteral("/damaged");
    int failed = 0;
    List imported(&connection);
    imported.setSQL(QStringLiteral("select * from excel"));
    for (qsizetype at = 0; at < original.size(); at += original.size() / 50) {
        QByteArray bytes = original;
        for (qsizetype i = at; i < std::min(at + 8, bytes.size()); ++i)
            bytes[i] = char(~bytes[i]);
        writeFile(path, bytes);
        connection.ExecSQL(QStringLiteral("DELETE FROM excel"));
        try {
            importWorkbookIntoExcel(connection, path);
        } catch (const Error&) {
            ++failed;
            imported.Open();
            QCOMPARE(imported.RecordCount(), 0);
        }
    }
    QVERIFY(failed > 0);
}

void ImportWorkbooksTest::csvQuotingAndLineEnds()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.csv"));
    writeFile(path, "a,\"b,c\",\"d\"\"e\"\r\n\"line\r\nbreak\",,\"\"\n"
                    "last,\"x\ny\"\rno-newline,\"\"\"\"");
    CsvReader reader(path);
    QStringList cells;
    Rows rows;
    while (reader.readRow(cells))
        rows << cells;
    const Rows expected{{"a", "b,c", "d\"e"}, {"line\nbreak", "", ""}, {"last", "x\ny"}, {"no-newline", "\""}};
    QCOMPARE(rows, expected);
}

void ImportWorkbooksTest::csvEncodingDetection_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QString>("text");
    const QString han = QStringLiteral("收件单位");
    QTest::newRow("UTF-8") << han.toUtf8() << true << han;
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF") + han.toUtf8() << true << han;
    QTest::newRow("GBK") << QByteArray(QStringEncoder("GB18030").encode(han)) << false << han;
    QTest::newRow("ASCII") << QByteArray("abc") << true << "abc";
    // A UTF-8 character split across the reader's 64 KiB chunks is still UTF-8.
    QTest::newRow("split across chunks") << QByteArray(65535, 'a') + han.toUtf8() << true << QString(65535, 'a') + han;
    QTest::newRow("truncated UTF-8 at the end is GBK") << han.toUtf8().chopped(1) << false << QString();
    QTest::newRow("overlong form is not UTF-8") << QByteArray("\xC0\xAF") << false << QString();
}

void ImportWorkbooksTest::csvEncodingDetection()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, utf8);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.csv"));
    writeFile(path, bytes);
    CsvReader reader(path);
    QCOMPARE(reader.encoding() == CsvReader::Encoding::Utf8, utf8);
    QStringList cells;
    QVERIFY(reader.readRow(cells));
    if (!text.isNull())
        QCOMPARE(cells, QStringList{text});
}

void ImportWorkbooksTest::headerOnlyAndBlankRows()
{
    test::TemporaryAddressBook book;
    const QString path = book.path() + QStringLiteral("/blank.csv");
    // Blank lines before the header and between rows are no recipients; header names may carry blanks.
    writeFile(path, "\r\n,,\r\n 姓名 ,城市,收件单位,邮编,地址,手机,电话,内件品名,数量,备注\r\n\r\n"
                    "甲,,,,,,,,,\r\n , ,\r\n");
    Connection connection;
    QCOMPARE(importWorkbookIntoExcel(connection, path), 1);
    QCOMPARE(book.rows(QStringLiteral("excel")), (Rows{{"甲", "", "", "", "", "", "", "", "", ""}}));

    writeFile(path, "姓名,城市,收件单位,邮编,地址,手机,电话,内件品名,数量,备注\r\n");
    QCOMPARE(importWorkbookIntoExcel(connection, path), 0);
}

QTEST_GUILESS_MAIN(ImportWorkbooksTest)
#include "tst_import_workbooks.moc"
