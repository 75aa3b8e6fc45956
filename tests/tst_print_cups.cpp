// Printing through the real CUPS queue (the cups-pdf test printer): the PDF that arrives has
// the waybill's size, the right sheets, and the print boxes where the template puts them.
#include "output/QtPrintingSystem.h"
#include "output/TPageRun.h"
#include "output/TemplateReportPage.h"
#include "testsupport/CupsPdfQueue.h"
#include "testsupport/ExternalTools.h"
#include "testsupport/OutputFixtures.h"
#include "testsupport/PdfPageImages.h"

#include "core/Fonts.h"
#include "templates/Catalogue.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>

using namespace corvane;
using namespace corvane::test;

namespace {

const QString block = QString(QChar(0x2588)); // full block: its ink starts at the pen position

struct PdfFacts {
    int pages = 0;
    QSizeF pointSize;
};

PdfFacts pdfInfo(const QString& path)
{
    const QString out = toolOutput(QStringLiteral("pdfinfo"), {path});
    PdfFacts facts;
    facts.pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out).captured(1).toInt();
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(out);
    facts.pointSize = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    return facts;
}

}

class TestPrintCups : public QObject {
    Q_OBJECT
private:
    QtPrintingSystem system;
    int queueIndex = -1;

private Q_SLOTS:
    void initTestCase()
    {
        installFontSubstitutions();
        queueIndex = findCupsPdfQueue(system);
        if (queueIndex < 0)
            QSKIP("No CUPS queue CorvanePDF here (scripts/cups-test-printer.sh adds it)");
    }

    void oneWaybillArrivesAsOneSheetOfItsSizeWithTheBoxInPlace()
    {
        Catalogue catalogue(PrintWindowKind::Dd);
        TemplateReportPage page(catalogue.waybillTemplate(1),
                                SlotRows{[](const QString& column) {
                                             return column == QStringLiteral("姓名") ? block : QStringLiteral("寄件");
                                         },
                                         [](const QString&) { return QStringLiteral("收件"); }});
        page.setPrintingSystem(&system);
        page.PrinterSettings.PrinterIndex = queueIndex;
        page.ReportTitle = QStringLiteral("corvane-test-single");
        const QSet<QString> before = cupsPdfFiles(page.ReportTitle);
        QVERIFY(page.printJob());
        const QString pdf = waitForNewCupsPdf(page.ReportTitle, before);
        QVERIFY2(!pdf.isEmpty(), "no PDF arrived from the queue within 30 s");

        const PdfFacts facts = pdfInfo(pdf);
        QCOMPARE(facts.pages, 1);
        QVERIFY2(qAbs(facts.pointSize.width() * 25.4 / 72 - 230) < 0.5, qPrintable(QString::number(facts.pointSize.width())));
        QVERIFY2(qAbs(facts.pointSize.height() * 25.4 / 72 - 127) < 0.5, qPrintable(QString::number(facts.pointSize.height())));

        // Slot 1 (sender 姓名) is at 120, 100 px: 317.5, 264.6 tenths from the sheet's corner.
        const QImage image = pdfPageAt254Dpi(pdf, 1);
        QVERIFY(!image.isNull());
        const QRect ink = inkIn(image, QRect(290, 240, 200, 80));
        QVERIFY(!ink.isEmpty());
        QVERIFY2(qAbs(ink.left() - 317.5) <= 5, qPrintable(QStringLiteral("left %1").arg(ink.left())));
        QVERIFY2(qAbs(ink.top() - 264.6) <= 5, qPrintable(QStringLiteral("top %1").arg(ink.top())));
        QFile::remove(pdf);
    }

    void batchWithPageRangeSendsOneJobOfTwoSheets()
    {
        // Recipient 姓名 of row k is k blocks, so each sheet tells which row it carries.
        OutputRowsDataSet rows(numberedRows(5));
        Catalogue catalogue(PrintWindowKind::Pd);
        TemplateReportPage page(catalogue.waybillTemplate(1),
                                SlotRows{[](const QString&) { return QStringLiteral("寄件"); },
                                         [&rows](const QString& column) {
                                             return column == QStringLiteral("姓名")
                                                        ? block.repeated(rows.position + 1)
                                                        : QString();
                                         }});
        page.DataSet = &rows;
        page.setPrintingSystem(&system);
        page.PrinterSettings.PrinterIndex = queueIndex;
        page.PrinterSettings.FirstPage = 2;
        page.PrinterSettings.LastPage = 3;
        int handlerCalls = 0;
        auto handler = page.band.BeforePrint;
        page.band.BeforePrint = [&](DetailBand& band, bool& print) {
            ++handlerCalls;
            handler(band, print);
        };
        page.ReportTitle = QStringLiteral("corvane-test-batch");
        const QSet<QString> before = cupsPdfFiles(page.ReportTitle);
        QVERIFY(page.printJob());
        QCOMPARE(handlerCalls, 5);
        const QString pdf = waitForNewCupsPdf(page.ReportTitle, before);
        QVERIFY2(!pdf.isEmpty(), "no PDF arrived from the queue within 30 s");
        QThread::msleep(1500);
        QCOMPARE(cupsPdfFiles(page.ReportTitle).size(), before.size() + 1); // one job, not one per waybill
        const PdfFacts facts = pdfInfo(pdf);
        QCOMPARE(facts.pages, 2);
        // Slot 7 (recipient 姓名) at 120, 216 px, 100 px wide; a block is one em (11 pt = 38.8 tenths).
        const double em = 11 * 254.0 / 72;
        for (int sheet = 1; sheet <= 2; ++sheet) {
            const QImage image = pdfPageAt254Dpi(pdf, sheet);
            const QRect ink = inkIn(image, QRect(300, 560, 300, 70));
            QCOMPARE(qRound(ink.width() / em), sheet + 1);
        }
        QFile::remove(pdf);
    }

    // Closing the preview during a print run cancels the report page: the job is aborted and
    // none of the sheets laid out so far reaches the queue; a Cancel of the run prints them.
    void cancellingThePageAbortsTheJobOnTheQueue_data()
    {
        QTest::addColumn<bool>("wholePage");
        QTest::addColumn<int>("sheetsArriving");
        QTest::newRow("report page cancelled") << true << 0;
        QTest::newRow("run cancelled") << false << 3;
    }
    void cancellingThePageAbortsTheJobOnTheQueue()
    {
        QFETCH(bool, wholePage);
        QFETCH(int, sheetsArriving);
        OutputRowsDataSet rows(numberedRows(6));
        Catalogue catalogue(PrintWindowKind::Pd);
        TemplateReportPage page(catalogue.waybillTemplate(1),
                                SlotRows{[](const QString&) { return QStringLiteral("寄件"); },
                                         [](const QString&) { return QStringLiteral("收件"); }});
        page.DataSet = &rows;
        page.setPrintingSystem(&system);
        page.PrinterSettings.PrinterIndex = queueIndex;
        auto handler = page.band.BeforePrint;
        int handlerCalls = 0;
        page.band.BeforePrint = [&](DetailBand& band, bool& print) {
            handler(band, print);
            if (++handlerCalls == 3) {
                if (wholePage)
                    page.endPreview();
                else
                    page.activeRun()->cancel();
            }
        };
        page.ReportTitle = wholePage ? QStringLiteral("corvane-test-aborted") : QStringLiteral("corvane-test-cancelled");
        const QSet<QString> before = cupsPdfFiles(page.ReportTitle);
        QVERIFY(page.printJob());
        QCOMPARE(handlerCalls, 3);
        if (sheetsArriving == 0) {
            // The other case's job arrives within a couple of seconds; give this one longer.
            QThread::msleep(6000);
            QCOMPARE(cupsPdfFiles(page.ReportTitle), before);
            return;
        }
        const QString pdf = waitForNewCupsPdf(page.ReportTitle, before);
        QVERIFY2(!pdf.isEmpty(), "no PDF arrived from the queue within 30 s");
        QCOMPARE(pdfInfo(pdf).pages, sheetsArriving);
        QFile::remove(pdf);
    }
};

QTEST_MAIN(TestPrintCups)
#include "tst_print_cups.moc"
