// `corvane render`: arguments, the database in the working directory, and the PDF it writes
// through the same engine, filling and printing path as the windows.
#include "addressbook/Connection.h"
#include "testsupport/AddressBookRows.h"
#include "testsupport/ExternalTools.h"
#include "testsupport/RenderCommandRun.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace corvane;
using namespace corvane::test;

namespace {

QSizeF pageSizeMm(const QString& pdf)
{
    const auto m = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(toolOutput("pdfinfo", {pdf}));
    return QSizeF(m.captured(1).toDouble() * 25.4 / 72, m.captured(2).toDouble() * 25.4 / 72);
}

int pageCount(const QString& pdf)
{
    return QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(toolOutput("pdfinfo", {pdf})).captured(1).toInt();
}

// The left edge (points) of the first run of touching words on page `page` that contains
// `text`, or -1. pdftotext may split a run where Latin meets Han ("inr" "收件1").
double wordLeft(const QString& pdf, int page, const QString& text)
{
    const QString html = toolOutput("pdftotext", {"-bbox", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    const QRegularExpression word(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\"[^>]*>([^<]*)</word>"));
    struct Run {
        double left = -1, top = -1, right = -1;
        QString text;
    };
    QList<Run> runs;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const double left = m.captured(1).toDouble(), top = m.captured(2).toDouble(), right = m.captured(3).toDouble();
        if (!runs.isEmpty() && runs.last().top == top && qAbs(runs.last().right - left) < 0.5) {
            runs.last().right = right;
            runs.last().text += m.captured(4);
        } else {
            runs.append({left, top, right, m.captured(4)});
        }
    }
    for (const Run& r : runs) {
        if (r.text.contains(text))
            return r.left;
    }
    return -1;
}


}

class TestOutputRender : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    QString previousDir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        Connection::createDatabase(QStringLiteral("data.mdb"));
        Connection connection;
        connection.Open();
        appendAddressRows(connection, QStringLiteral("outr"),
                          {{{"姓名", "王立新"}, {"手机", "13858123467"}, {"寄件单位", "青禾茶叶"}},
                           {{"姓名", "赵寄二"}, {"手机", "13800000002"}, {"寄件单位", "第二公司"}}});
        for (const QString& table : {QStringLiteral("inr"), QStringLiteral("excel")}) {
            QList<AddressRow> recipients;
            for (int k = 1; k <= 3; ++k)
                recipients.append(AddressRow{{"姓名", QStringLiteral("%1收件%2").arg(table).arg(k)}, {"地址", QStringLiteral("人民路%1号").arg(k)}});
            appendAddressRows(connection, table, recipients);
        }
    }
    void cleanupTestCase() { QDir::setCurrent(previousDir); }

    void badArgumentsAreRefused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing") << QStringList{} << "usage";
        QTest::newRow("no window") << QStringList{"--template", "1", "--pdf", "a.pdf"} << "--window is required";
        QTest::newRow("unknown window") << QStringList{"--window", "xd", "--template", "1", "--pdf", "a.pdf"} << "--window must be";
        QTest::newRow("template 0") << QStringList{"--window", "dd", "--template", "0", "--pdf", "a.pdf"} << "1 to 33";
        QTest::newRow("template 34") << QStringList{"--window", "dd", "--template", "34", "--pdf", "a.pdf"} << "1 to 33";
        QTest::newRow("template text") << QStringList{"--window", "dd", "--template", "一", "--pdf", "a.pdf"} << "1 to 33";
        QTest::newRow("row 0") << QStringList{"--window", "dd", "--template", "1", "--sender-row", "0", "--pdf", "a.pdf"} << "--sender-row";
        QTest::newRow("move not a number") << QStringList{"--window", "dd", "--template", "1", "--move-x", "左", "--pdf", "a.pdf"} << "--move-x";
        QTest::newRow("no destination") << QStringList{"--window", "dd", "--template", "1"} << "exactly one";
        QTest::newRow("two destinations") << QStringList{"--window", "dd", "--template", "1", "--pdf", "a.pdf", "--printer", "P"} << "exactly one";
        QTest::newRow("unknown argument") << QStringList{"--window", "dd", "--template", "1", "--pdf", "a.pdf", "--copies", "2"} << "unknown argument";
        QTest::newRow("missing value") << QStringList{"--window", "dd", "--template"} << "needs a value";
    }
    void badArgumentsAreRefused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const RenderRun outcome = runRenderInProcess(args);
        QCOMPARE(outcome.status, 2);
        QVERIFY2(outcome.errors.contains(message), qPrintable(outcome.errors));
        QVERIFY(!QFile::exists(QStringLiteral("a.pdf")));
    }

    void missingDatabaseIsAnError()
    {
        QTemporaryDir empty;
        QDir::setCurrent(empty.path());
        const RenderRun outcome = runRenderInProcess({"--window", "dd", "--template", "1", "--pdf", "a.pdf"});
        QDir::setCurrent(dir.path());
        QCOMPARE(outcome.status, 1);
        QVERIFY2(outcome.errors.contains(QStringLiteral("找不到地址簿文件")), qPrintable(outcome.errors));
    }

    void rowsThatDoNotExistAndUnknownPrintersAreErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("recipient row 4 of 3") << QStringList{"--window", "dd", "--template", "1", "--recipient-row", "4", "--pdf", "x.pdf"} << "recipient row 4 does not exist";
        QTest::newRow("sender row 3 of 2") << QStringList{"--window", "edd", "--template", "1", "--sender-row", "3", "--pdf", "x.pdf"} << "sender row 3 does not exist";
        QTest::newRow("no such printer") << QStringList{"--window", "dd", "--template", "1", "--printer", "NoSuchQueue"} << "打印机“NoSuchQueue”";
    }
    void rowsThatDoNotExistAndUnknownPrintersAreErrors()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const RenderRun outcome = runRenderInProcess(args);
        QCOMPARE(outcome.status, 1);
        QVERIFY2(outcome.errors.contains(message), qPrintable(outcome.errors));
    }

    void singleWaybillToPdf_data()
    {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<int>("templateNumber");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("senderName");
        QTest::addColumn<QString>("recipientName");
        QTest::addColumn<QSizeF>("sizeMm");
        QTest::addColumn<double>("senderLeftPt");
        QTest::newRow("dd, template 1, defaults") << QStringList{} << 1 << "dd" << "王立新" << "inr收件1" << QSizeF(230, 127) << 90.0;
        QTest::newRow("edd, rows 2 and 3") << QStringList{"--sender-row", "2", "--recipient-row", "3"} << 1 << "edd" << "赵寄二" << "excel收件3" << QSizeF(230, 127) << 90.0;
        QTest::newRow("moved 8 px right") << QStringList{"--move-x", "8", "--move-y", "-4"} << 1 << "dd" << "王立新" << "inr收件1" << QSizeF(230, 127) << 96.0;
        QTest::newRow("template 9: 229.9 x 150.3 mm") << QStringList{} << 9 << "dd" << "王立新" << "inr收件1" << QSizeF(229.9, 150.3) << -1.0;
    }
    void singleWaybillToPdf()
    {
        QFETCH(QStringList, extra);
        QFETCH(int, templateNumber);
        QFETCH(QString, window);
        QFETCH(QString, senderName);
        QFETCH(QString, recipientName);
        QFETCH(QSizeF, sizeMm);
        QFETCH(double, senderLeftPt);
        const QString pdf = dir.filePath(QStringLiteral("single.pdf"));
        QFile::remove(pdf);
        const RenderRun outcome = runRenderInProcess(QStringList{"--window", window, "--template", QString::number(templateNumber), "--pdf", pdf} + extra);
        QVERIFY2(outcome.status == 0, qPrintable(outcome.errors));
        QCOMPARE(pageCount(pdf), 1);
        const QSizeF size = pageSizeMm(pdf);
        QVERIFY2(qAbs(size.width() - sizeMm.width()) < 0.4 && qAbs(size.height() - sizeMm.height()) < 0.4,
                 qPrintable(QStringLiteral("%1 x %2 mm").arg(size.width()).arg(size.height())));
        const double left = wordLeft(pdf, 1, senderName);
        QVERIFY2(left >= 0, qPrintable(toolOutput("pdftotext", {pdf, "-"})));
        if (senderLeftPt >= 0) // slot 1 at 120 px is 31.75 mm = 90 pt from the sheet's edge
            QVERIFY2(qAbs(left - senderLeftPt) < 0.5, qPrintable(QString::number(left)));
        QVERIFY(wordLeft(pdf, 1, recipientName) >= 0);
        QVERIFY(wordLeft(pdf, 1, QStringLiteral("Corvane快递单打印软件")) >= 0);
    }

    void batchGivesOnePagePerRow_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("table");
        QTest::newRow("pd over inr") << "pd" << "inr";
        QTest::newRow("ped over excel") << "ped" << "excel";
    }
    void batchGivesOnePagePerRow()
    {
        QFETCH(QString, window);
        QFETCH(QString, table);
        const QString pdf = dir.filePath(QStringLiteral("batch.pdf"));
        QFile::remove(pdf);
        const RenderRun outcome = runRenderInProcess({"--window", window, "--template", "15", "--pdf", pdf});
        QVERIFY2(outcome.status == 0, qPrintable(outcome.errors));
        QCOMPARE(pageCount(pdf), 3);
        for (int k = 1; k <= 3; ++k) {
            QVERIFY(wordLeft(pdf, k, QStringLiteral("%1收件%2").arg(table).arg(k)) >= 0);
            QVERIFY(wordLeft(pdf, k, QStringLiteral("王立新")) >= 0);
            for (int other = 1; other <= 3; ++other)
                if (other != k)
                    QVERIFY(wordLeft(pdf, k, QStringLiteral("%1收件%2").arg(table).arg(other)) < 0);
        }
    }
};

QTEST_MAIN(TestOutputRender)
#include "tst_output_render.moc"
