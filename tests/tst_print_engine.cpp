// Printing against the printing-system double: sheets, page range, copies, progress window,
// Cancel, the setup dialog's choices, no printer, errors.
#include "output/ReportPage.h"
#include "output/TPageRun.h"
#include "outputwindows/TQRProgressForm.h"
#include "testsupport/AnsweringDialogs.h"
#include "testsupport/OutputFixtures.h"
#include "testsupport/PrintingTestDouble.h"


#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

using namespace corvane;
using namespace corvane::test;

class TestPrintEngine : public QObject {
    Q_OBJECT
private:
    InstalledPrintingDouble system;

    QStringList sheetTexts(const RecordedJob& job, const QStringList& candidates)
    {
        QStringList found;
        for (const RecordedSheet& sheet : job.sheets)
            for (const QString& c : candidates)
                if (sheet.find(c))
                    found << c;
        return found;
    }

private Q_SLOTS:
    void init()
    {
        system.printers = {PrintingTestDouble::customSizePrinter(QStringLiteral("Waybills"), 600, 42.3, 50.8)};
        system.defaultIndex = 0;
        system.jobs.clear();
        system.setupRequests.clear();
        system.answerSetup = nullptr;
        system.failJobWith.clear();
    }

    void singleWaybillIsOneSheetAtItsPlaceOnTheSheet()
    {
        OutputWaybill waybill;
        waybill.page.Print();
        QCOMPARE(system.jobs.size(), 1);
        const RecordedJob& job = system.jobs.first();
        QVERIFY(job.ended);
        QCOMPARE(job.sheets.size(), 1);
        QCOMPARE(job.documentName, QString());
        QCOMPARE(job.settings.paperKind, PaperKind::UserDefined);
        QCOMPARE(job.settings.paperWidth, 2300.0);
        QCOMPARE(job.settings.paperLength, 1270.0);
        QCOMPARE(job.settings.copies, 1);
        QCOMPARE(job.settings.paperSource, PrinterSettings::AutomaticBin);
        QCOMPARE(waybill.beforePrintCalls, 1);
        // 317.5 tenths from the sheet's edge, less the printer's 42.3 unprintable tenths, at 600 dpi.
        const DrawnText* box = job.sheets.first().find(QStringLiteral("寄件人"));
        QVERIFY(box);
        QCOMPARE(box->baseline.x(), qreal(qRound((317.5 - 42.3) * 600 / 254)));
        const double topDots = qRound((264.583333 - 50.8) * 600 / 254);
        const double em = 11.0 * 600 / 72;
        QCOMPARE(qRound(box->baseline.y()), qRound(topDots + em * 220.0 / 256.0));
    }

    void pageRangeDecidesTheSheets_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QStringList>("sheets"); // empty: no job at all
        QTest::newRow("2 to 3 of 5") << 5 << 2 << 3 << QStringList{"行2", "行3"};
        QTest::newRow("7 to 9 of 5: no job") << 5 << 7 << 9 << QStringList{};
        QTest::newRow("all pages") << 3 << 0 << 0 << QStringList{"行1", "行2", "行3"};
        QTest::newRow("from 4 on") << 5 << 4 << 0 << QStringList{"行4", "行5"};
        QTest::newRow("up to 1") << 5 << 0 << 1 << QStringList{"行1"};
    }
    void pageRangeDecidesTheSheets()
    {
        QFETCH(int, rows);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QStringList, sheets);
        OutputWaybill waybill;
        waybill.useRows(numberedRows(rows));
        waybill.page.PrinterSettings.FirstPage = first;
        waybill.page.PrinterSettings.LastPage = last;
        waybill.page.Print();
        QCOMPARE(waybill.beforePrintCalls, rows);
        if (sheets.isEmpty()) {
            QVERIFY(system.jobs.isEmpty());
            return;
        }
        QCOMPARE(system.jobs.size(), 1); // one job for the whole batch
        QCOMPARE(system.jobs.first().sheets.size(), sheets.size());
        QCOMPARE(sheetTexts(system.jobs.first(), numberedRows(rows)), sheets);
    }

    void cancelPrintsTheSheetsLaidOutSoFar()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(100));
        TQRProgressForm* form = nullptr;
        connect(&waybill.page, &ReportPage::printStarted, this,
                [&](TPageRun*, QWidget* window) { form = qobject_cast<TQRProgressForm*>(window); });
        auto handler = waybill.page.band.BeforePrint;
        waybill.page.band.BeforePrint = [&](DetailBand& band, bool& print) {
            handler(band, print);
            if (waybill.beforePrintCalls == 40)
                QTest::mouseClick(form->CancelButton(), Qt::LeftButton);
        };
        waybill.page.Print();
        QVERIFY(form);
        QCOMPARE(waybill.beforePrintCalls, 40);
        QCOMPARE(system.jobs.size(), 1);
        QVERIFY(system.jobs.first().ended);
        QVERIFY(!system.jobs.first().aborted);
        QCOMPARE(system.jobs.first().sheets.size(), 40);
        QVERIFY(waybill.page.available());
    }

    void progressWindowShowsMultiplesOfFive_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("shown");
        QTest::newRow("7 rows") << 7 << QList<int>{85, 100};
        QList<int> twenty;
        for (int p = 5; p <= 100; p += 5)
            twenty << p;
        QTest::newRow("20 rows") << 20 << twenty;
        QTest::newRow("single waybill: nothing") << 0 << QList<int>{};
    }
    void progressWindowShowsMultiplesOfFive()
    {
        QFETCH(int, rows);
        QFETCH(QList<int>, shown);
        OutputWaybill waybill;
        if (rows > 0)
            waybill.useRows(numberedRows(rows));
        QList<int> gauge;
        QStringList labels;
        bool visible = false;
        connect(&waybill.page, &ReportPage::printStarted, this, [&](TPageRun* run, QWidget* window) {
            auto* form = qobject_cast<TQRProgressForm*>(window);
            visible = form->isVisible();
            QCOMPARE(form->windowTitle(), QStringLiteral("Printing progress"));
            QCOMPARE(form->Info()->text(), QString());
            connect(run, &TPageRun::progressChanged, this, [&, form](int) {
                if (labels.isEmpty() || labels.last() != form->Info()->text()) {
                    labels << form->Info()->text();
                    gauge << form->Gauge()->value();
                }
            });
        });
        waybill.page.Print();
        QVERIFY(visible);
        QStringList expectedLabels;
        for (int p : shown)
            expectedLabels << QString::number(p) + QStringLiteral("%  Completed");
        if (!labels.isEmpty() && labels.first().isEmpty()) {
            labels.removeFirst();
            gauge.removeFirst();
        }
        QCOMPARE(labels, expectedLabels);
        QCOMPARE(gauge, shown);
    }

    void setupChoicesHoldForEveryLaterPrintOfThatPage()
    {
        system.printers.append(PrintingTestDouble::customSizePrinter(QStringLiteral("Second"), 300));
        system.answerSetup = [](PrinterSetupRequest& request) {
            request.copies = 3;
            request.printerIndex = 1;
            request.orientation = PageOrientation::Portrait;
            return true;
        };
        OutputWaybill waybill;
        OutputWaybill other;
        waybill.page.PrinterSetup();
        QCOMPARE(system.setupRequests.size(), 1);
        QCOMPARE(system.setupRequests.first().copies, 1);
        QCOMPARE(system.setupRequests.first().printerIndex, 0);
        QCOMPARE(system.setupRequests.first().minPage, 0);
        QCOMPARE(system.setupRequests.first().maxPage, 9999);
        waybill.page.Print();
        waybill.page.Print();
        other.page.Print();
        QCOMPARE(system.jobs.size(), 3);
        QCOMPARE(system.jobs.at(0).settings.copies, 3);
        QCOMPARE(system.jobs.at(1).settings.copies, 3);
        QCOMPARE(system.jobs.at(0).printer, QStringLiteral("Second"));
        QCOMPARE(system.jobs.at(2).settings.copies, 1);
        QCOMPARE(system.jobs.at(2).printer, QStringLiteral("Waybills"));
    }

    void printToFileChosenInTheSetupDialogGoesToThatPdf()
    {
        system.answerSetup = [](PrinterSetupRequest& request) {
            request.outputFileName = QStringLiteral("/tmp/waybills.pdf");
            return true;
        };
        OutputWaybill waybill;
        waybill.page.PrinterSetup();
        QCOMPARE(waybill.page.PrinterSettings.OutputFileName, QStringLiteral("/tmp/waybills.pdf"));
        waybill.page.Print();
        QCOMPARE(system.jobs.size(), 1);
        QCOMPARE(system.jobs.first().printer, QStringLiteral("/tmp/waybills.pdf"));
        QCOMPARE(system.jobs.first().settings.paperKind, PaperKind::UserDefined);
        // Choosing a printer again leaves the file behind.
        system.answerSetup = [](PrinterSetupRequest& request) {
            request.outputFileName.clear();
            return true;
        };
        waybill.page.PrinterSetup();
        waybill.page.Print();
        QCOMPARE(system.jobs.last().printer, QStringLiteral("Waybills"));
    }

    void cancelledSetupChangesNothing()
    {
        system.answerSetup = [](PrinterSetupRequest& request) {
            request.copies = 5;
            return false;
        };
        OutputWaybill waybill;
        waybill.page.PrinterSetup();
        QCOMPARE(waybill.page.PrinterSettings.Copies, 1);
    }

    void setupPageRangeGoesToThePrinterSettings()
    {
        system.answerSetup = [](PrinterSetupRequest& request) {
            request.pageRange = true;
            request.fromPage = 2;
            request.toPage = 3;
            request.orientation = PageOrientation::Landscape;
            return true;
        };
        OutputWaybill waybill;
        waybill.page.PrinterSetup();
        QCOMPARE(waybill.page.PrinterSettings.FirstPage, 2);
        QCOMPARE(waybill.page.PrinterSettings.LastPage, 3);
        QCOMPARE(waybill.page.Page.Orientation, PageOrientation::Landscape);
        system.answerSetup = [](PrinterSetupRequest& request) {
            request.pageRange = false;
            return true;
        };
        waybill.page.PrinterSetup();
        QCOMPARE(waybill.page.PrinterSettings.FirstPage, 0);
        QCOMPARE(waybill.page.PrinterSettings.LastPage, 0);
    }

    void withoutAPrinterNothingIsPrintedAndSetupFails()
    {
        system.printers.clear();
        AnsweringDialogs dialogs;
        OutputWaybill waybill;
        waybill.page.Print();
        QVERIFY(system.jobs.isEmpty());
        QCOMPARE(waybill.beforePrintCalls, 0);
        QVERIFY(dialogs.messages.isEmpty());
        waybill.page.PrinterSetup();
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.first().text, QStringLiteral("There is no default printer currently selected."));
        QCOMPARE(dialogs.messages.first().icon, MessageIcon::Stop);
        QVERIFY(system.setupRequests.isEmpty());
    }

    void printerWithoutUserDefinedSizePrintsOnItsA4()
    {
        system.printers = {PrintingTestDouble::a4OnlyPrinter(QStringLiteral("Office"))};
        OutputWaybill waybill;
        waybill.useRows(numberedRows(5));
        waybill.page.Print();
        QCOMPARE(system.jobs.size(), 1);
        QCOMPARE(system.jobs.first().settings.paperKind, PaperKind::A4);
        QCOMPARE(system.jobs.first().sheets.size(), 3);
    }

    void anErrorOpeningTheJobReachesTheErrorBox()
    {
        system.failJobWith = QStringLiteral("打印机脱机");
        AnsweringDialogs dialogs;
        OutputWaybill waybill;
        waybill.page.Print();
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.first().text, QStringLiteral("打印机脱机."));
        QVERIFY(waybill.page.available());
        system.failJobWith.clear();
        waybill.page.Print();
        QCOMPARE(system.jobs.size(), 1);
    }

    void printWhileTheSamePageIsBusyIsIgnored()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(2));
        auto handler = waybill.page.band.BeforePrint;
        waybill.page.band.BeforePrint = [&](DetailBand& band, bool& print) {
            handler(band, print);
            waybill.page.Print();
        };
        waybill.page.Print();
        QCOMPARE(system.jobs.size(), 1);
        QCOMPARE(waybill.beforePrintCalls, 2);
    }
};

QTEST_MAIN(TestPrintEngine)
#include "tst_print_engine.moc"
