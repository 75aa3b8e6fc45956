// The printer setup dialog: after a preview run it offers that run's pages, from page 1 to the
// last; it has only controls whose choices printing uses, says in Chinese what it does, and its
// choices reach the next print of the report page.
#include "outputwindows/PrinterSetupDialog.h"
#include "output/TPageRun.h"
#include "outputwindows/TQRStandardPreview.h"
#include "testsupport/AnsweringDialogs.h"
#include "testsupport/OutputFixtures.h"
#include "testsupport/PreviewLayout.h"
#include "testsupport/PrintingTestDouble.h"

#include "core/Fonts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>
#include <functional>

using namespace corvane;
using namespace corvane::test;

namespace {

PrinterSetupRequest twoPrinters()
{
    PrinterSetupRequest request;
    request.printers = {QStringLiteral("Waybills"), QStringLiteral("Office")};
    request.printerIndex = 0;
    return request;
}

// Every text the dialog shows: labels, buttons, the printer box's entries.
QStringList shownTexts(const QDialog& dialog)
{
    QStringList texts{dialog.windowTitle()};
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        if (label->isVisibleTo(&dialog))
            texts << label->text();
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        if (button->isVisibleTo(&dialog))
            texts << button->text();
    return texts;
}

}

class TestSetupDialog : public QObject {
    Q_OBJECT
private:
    InstalledPrintingDouble system;

private Q_SLOTS:
    void initTestCase()
    {
        installFontSubstitutions();
    }
    void init()
    {
        system.printers = {PrintingTestDouble::customSizePrinter(QStringLiteral("Waybills")),
                           PrintingTestDouble::customSizePrinter(QStringLiteral("Office"))};
        system.jobs.clear();
        system.setupRequests.clear();
        system.answerSetup = nullptr;
    }

    // "设 置" after a 5-page preview: the dialog shows pages 1 to 5, and a range chosen in it
    // decides which sheets the next print sends.
    void rangeOfTheLastRun()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(5));
        int shownFrom = 0, shownTo = 0, lowest = 0, highest = 0;
        bool allPagesChosen = false;
        int clampedTo = 0;
        system.answerSetup = [&](PrinterSetupRequest& request) {
            PrinterSetupDialog dialog(request);
            shownFrom = dialog.fromPageBox()->value();
            shownTo = dialog.toPageBox()->value();
            lowest = dialog.fromPageBox()->minimum();
            highest = dialog.toPageBox()->maximum();
            allPagesChosen = dialog.allPagesButton()->isChecked();
            dialog.pageRangeButton()->click();
            dialog.fromPageBox()->setValue(2);
            dialog.toPageBox()->setValue(3);
            dialog.toPageBox()->setValue(9); // beyond the run's pages: kept at 5
            clampedTo = dialog.toPageBox()->value();
            dialog.toPageBox()->setValue(3);
            dialog.confirmButton()->click();
            if (dialog.result() != QDialog::Accepted)
                return false;
            request = dialog.choices();
            return true;
        };
        connect(&waybill.page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) {
            whenLaidOut(waybill.page, window, [window] { window->SpeedButton(8)->click(); });
        });
        waybill.page.Preview();
        QCOMPARE(shownFrom, 1);
        QCOMPARE(shownTo, 5);
        QCOMPARE(lowest, 1);
        QCOMPARE(highest, 5);
        QVERIFY(allPagesChosen);
        QCOMPARE(clampedTo, 5);
        QCOMPARE(waybill.page.PrinterSettings.FirstPage, 2);
        QCOMPARE(waybill.page.PrinterSettings.LastPage, 3);

        waybill.page.Print();
        QCOMPARE(system.jobs.size(), 1);
        QCOMPARE(system.jobs.first().sheets.size(), 2);
        QVERIFY(system.jobs.first().sheets.at(0).find(QStringLiteral("行2")));
        QVERIFY(system.jobs.first().sheets.at(1).find(QStringLiteral("行3")));
    }

    // Before a preview has finished the limits are 1 to 9999 (a range 7 to 9 is accepted then).
    void rangeWithoutAFinishedRun()
    {
        PrinterSetupRequest request = twoPrinters();
        request.minPage = 0;
        request.maxPage = 9999;
        PrinterSetupDialog dialog(request);
        QCOMPARE(dialog.fromPageBox()->value(), 1);
        QCOMPARE(dialog.toPageBox()->value(), 9999);
        dialog.pageRangeButton()->click();
        dialog.fromPageBox()->setValue(7);
        dialog.toPageBox()->setValue(9);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const PrinterSetupRequest chosen = dialog.choices();
        QVERIFY(chosen.pageRange);
        QCOMPARE(chosen.fromPage, 7);
        QCOMPARE(chosen.toPage, 9);
    }

    // Printer, copies, pages and orientation; nothing else, all in Chinese; the confirm button
    // says that it keeps the settings, since it prints nothing.
    void onlyUsedControlsInChinese()
    {
        PrinterSetupRequest request = twoPrinters();
        request.minPage = 1;
        request.maxPage = 5;
        PrinterSetupDialog dialog(request);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("打印设置"));
        QCOMPARE(dialog.confirmButton()->text(), QStringLiteral("使用此设置"));
        QCOMPARE(dialog.printerBox()->count(), 3);
        QCOMPARE(dialog.printerBox()->itemText(2), QStringLiteral("PDF 文件"));
        // No free-text field while a printer is chosen; the file name only for a PDF file.
        for (const QLineEdit* edit : dialog.findChildren<QLineEdit*>())
            QVERIFY2(!edit->isVisibleTo(&dialog) || qobject_cast<QSpinBox*>(edit->parent()),
                     qPrintable(edit->objectName()));
        dialog.printerBox()->setCurrentIndex(2);
        QVERIFY(dialog.fileNameEdit()->isVisibleTo(&dialog));
        QCOMPARE(dialog.findChildren<QSpinBox*>().size(), 3); // copies, from, to
        QCOMPARE(dialog.findChildren<QRadioButton*>().size(), 4); // all pages, range, portrait, landscape
        const QRegularExpression english(QStringLiteral("[A-Za-z]{2,}"));
        for (QString text : shownTexts(dialog))
            QVERIFY2(!text.remove(QStringLiteral("PDF")).contains(english), qPrintable(text));
        for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
            QVERIFY2(!button->text().contains(QStringLiteral("打印")) || button->text().contains(QStringLiteral("设置")),
                     qPrintable(button->text()));
    }

    void choicesComeBack_data()
    {
        QTest::addColumn<int>("printer");
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("landscape");
        QTest::newRow("second printer, 3 copies, landscape") << 1 << 3 << true;
        QTest::newRow("first printer, 1 copy, portrait") << 0 << 1 << false;
    }
    void choicesComeBack()
    {
        QFETCH(int, printer);
        QFETCH(int, copies);
        QFETCH(bool, landscape);
        PrinterSetupRequest request = twoPrinters();
        request.printerIndex = 1 - printer;
        request.orientation = landscape ? PageOrientation::Portrait : PageOrientation::Landscape;
        PrinterSetupDialog dialog(request);
        dialog.printerBox()->setCurrentIndex(printer);
        dialog.copiesBox()->setValue(copies);
        (landscape ? dialog.landscapeButton() : dialog.portraitButton())->click();
        dialog.confirmButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const PrinterSetupRequest chosen = dialog.choices();
        QCOMPARE(chosen.printerIndex, printer);
        QVERIFY(chosen.outputFileName.isEmpty());
        QCOMPARE(chosen.copies, copies);
        QCOMPARE(chosen.orientation, landscape ? PageOrientation::Landscape : PageOrientation::Portrait);
        QVERIFY(!chosen.pageRange);
    }

    // A range that runs backwards, or a PDF file without a name, is refused with a message.
    void badChoicesAreRefused()
    {
        AnsweringDialogs dialogs;
        PrinterSetupRequest request = twoPrinters();
        request.minPage = 1;
        request.maxPage = 5;
        PrinterSetupDialog dialog(request);
        dialog.pageRangeButton()->click();
        dialog.fromPageBox()->setValue(4);
        dialog.toPageBox()->setValue(2);
        dialog.confirmButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.last().text, QStringLiteral("起始页不能大于结束页！"));

        dialog.toPageBox()->setValue(4);
        dialog.printerBox()->setCurrentIndex(2);
        dialog.confirmButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialogs.messages.last().text, QStringLiteral("请指定 PDF 文件名！"));

        dialog.fileNameEdit()->setText(QStringLiteral("/tmp/运单.pdf"));
        dialog.confirmButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.choices().outputFileName, QStringLiteral("/tmp/运单.pdf"));
        QCOMPARE(dialog.choices().fromPage, 4);
    }

    // Reopened, the dialog shows what was chosen last: a PDF file, its name, the range.
    void showsTheLastChoices()
    {
        PrinterSetupRequest request = twoPrinters();
        request.minPage = 1;
        request.maxPage = 5;
        request.pageRange = true;
        request.fromPage = 2;
        request.toPage = 4;
        request.copies = 2;
        request.outputFileName = QStringLiteral("/tmp/a.pdf");
        PrinterSetupDialog dialog(request);
        QCOMPARE(dialog.printerBox()->currentText(), QStringLiteral("PDF 文件"));
        QCOMPARE(dialog.fileNameEdit()->text(), QStringLiteral("/tmp/a.pdf"));
        QVERIFY(dialog.pageRangeButton()->isChecked());
        QCOMPARE(dialog.fromPageBox()->value(), 2);
        QCOMPARE(dialog.toPageBox()->value(), 4);
        QCOMPARE(dialog.copiesBox()->value(), 2);
        const QString shot = qEnvironmentVariable("CORVANE_SHOT_DIR");
        if (!shot.isEmpty())
            dialog.grab().save(shot + QStringLiteral("/setup_dialog.png"));
    }
};

QTEST_MAIN(TestSetupDialog)
#include "tst_setup_dialog.moc"
