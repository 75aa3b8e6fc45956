// Text that does not fit its print box: the box prints the lines that fit and the page run
// records the rest (page, field, whole value) for the preview's status bar and render --check.
// The values are Han text, whose width does not depend on the Latin type that stands in for 宋体.
#include "output/CutTextReport.h"
#include "output/TPageRun.h"
#include "outputwindows/TQRStandardPreview.h"
#include "output/TemplateReportPage.h"
#include "testsupport/AddressBookRows.h"
#include "testsupport/AnsweringDialogs.h"
#include "testsupport/OutputFixtures.h"
#include "testsupport/PreviewLayout.h"
#include "testsupport/PrintingTestDouble.h"
#include "testsupport/RenderCommandRun.h"

#include "addressbook/Connection.h"
#include "core/Fonts.h"
#include "templates/Catalogue.h"

#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace corvane;
using namespace corvane::test;

namespace {

using Row = QHash<QString, QString>;

// The first demo sender and recipient (the rows a new address book starts with).
const Row demoSender{{"姓名", "王立新"}, {"城市", "杭州"}, {"寄件单位", "杭州青禾茶叶有限公司"}, {"邮编", "310012"},
                     {"地址", "浙江省杭州市西湖区文三路478号华星时代广场B座1203室"}, {"签名", "王立新"},
                     {"年", "2026"}, {"月", "01"}, {"日", "05"}};
const Row demoRecipient{{"姓名", "张伟"}, {"城市", "北京"}, {"收件单位", "北京中关村科技发展有限公司"},
                        {"邮编", "100080"}, {"地址", "北京市海淀区中关村大街27号中关村大厦1106室"},
                        {"内件品名", "茶叶礼盒"}, {"数量", "2"}, {"备注", "请工作日送达"}};

std::function<QString(const QString&)> reader(const Row& row)
{
    return [row](const QString& column) { return row.value(column); };
}

Row with(Row row, const QString& column, const QString& value)
{
    row.insert(column, value);
    return row;
}

const QString longCompany = QStringLiteral("新疆乌鲁木齐天山区国际商贸物流发展集团股份有限公司");

}

Q_DECLARE_METATYPE(corvane::PrintWindowKind)

class TestCutText : public QObject {
    Q_OBJECT
private:
    InstalledPrintingDouble system;

    QList<TPageRun::CutText> cutsOf(PrintWindowKind window, int number, const Row& sender, const Row& recipient)
    {
        Catalogue catalogue(window);
        TemplateReportPage page(catalogue.waybillTemplate(number), SlotRows{reader(sender), reader(recipient)});
        TPageRun run(system);
        page.layout(run);
        return run.cutTexts();
    }

private Q_SLOTS:
    void initTestCase()
    {
        installFontSubstitutions();
        system.printers = {PrintingTestDouble::customSizePrinter(QStringLiteral("Waybills"))};
    }

    void textThatDoesNotFitIsRecorded_data()
    {
        QTest::addColumn<int>("templateNumber");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("field");
        // 乌鲁木齐 in 48 px type is 192 px: the 169 and 177 px destination boxes hold 乌鲁木.
        QTest::newRow("city, large type, template 2") << 2 << "城市" << "乌鲁木齐" << "收件人城市（大字）";
        QTest::newRow("city, large type, template 3") << 3 << "城市" << "乌鲁木齐" << "收件人城市（大字）";
        // 24 characters in two lines of a 153 px box.
        QTest::newRow("long company name, template 18") << 18 << "收件单位" << longCompany << "收件单位";
    }
    void textThatDoesNotFitIsRecorded()
    {
        QFETCH(int, templateNumber);
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QString, field);
        const QList<TPageRun::CutText> cuts =
            cutsOf(PrintWindowKind::Dd, templateNumber, demoSender, with(demoRecipient, column, value));
        QCOMPARE(cuts.size(), 1);
        QCOMPARE(cuts.first().page, 1);
        QCOMPARE(cuts.first().field, field);
        QCOMPARE(cuts.first().value, value);
        QCOMPARE(cutTextSummary(cuts), QStringLiteral("1 页共 1 处文字未能完整打印"));
        QCOMPARE(cutTextLines(cuts), QStringList{QStringLiteral("第 1 页  %1：%2").arg(field, value)});
    }

    // The box still prints what fits: the cut is recorded, not a reason to print nothing.
    void theLinesThatFitAreStillPrinted()
    {
        Catalogue catalogue(PrintWindowKind::Dd);
        TemplateReportPage page(catalogue.waybillTemplate(2),
                                SlotRows{reader(demoSender), reader(with(demoRecipient, "城市", "乌鲁木齐"))});
        TPageRun run(system);
        page.layout(run);
        const RecordedSheet sheet = replay(*run.GetPage(1));
        QVERIFY(sheet.find(QStringLiteral("乌鲁木齐"))); // slot 33, ordinary type
        QVERIFY(sheet.find(QStringLiteral("乌鲁木")));   // slot 464, first line only
        QVERIFY(!sheet.find(QStringLiteral("齐")));
    }

    void demoRowsThatFitRecordNothing_data()
    {
        QTest::addColumn<PrintWindowKind>("window");
        QTest::addColumn<int>("templateNumber");
        // (The demo sender's address needs two lines, which template 1's 22 px box does not hold.)
        for (int number : {2, 3, 15, 18, 27})
            for (PrintWindowKind window : allPrintWindowKinds)
                QTest::addRow("%s template %d", qPrintable(printWindowKindName(window)), number) << window << number;
    }
    void demoRowsThatFitRecordNothing()
    {
        QFETCH(PrintWindowKind, window);
        QFETCH(int, templateNumber);
        const QList<TPageRun::CutText> cuts = cutsOf(window, templateNumber, demoSender, demoRecipient);
        QVERIFY2(cuts.isEmpty(), qPrintable(cutTextLines(cuts).join(QLatin1Char('\n'))));
        QVERIFY(cutTextSummary(cuts).isEmpty());
    }

    // In a batch each cut is recorded on the page of its row; pages and places are counted apart.
    void batchRecordsThePageOfEachRow()
    {
        Catalogue catalogue(PrintWindowKind::Pd);
        OutputRowsDataSet rows({"北京", "乌鲁木齐", "上海", "乌鲁木齐"});
        Row recipient = with(demoRecipient, "收件单位", QString());
        TemplateReportPage page(catalogue.waybillTemplate(2), SlotRows{reader(demoSender), [&](const QString& column) {
                                    if (column == QStringLiteral("城市"))
                                        return rows.current();
                                    if (column == QStringLiteral("收件单位") && rows.position == 3)
                                        return longCompany;
                                    return recipient.value(column);
                                }});
        page.DataSet = &rows;
        TPageRun run(system);
        page.layout(run);
        QCOMPARE(run.pageCount(), 4);
        const QStringList lines = cutTextLines(run.cutTexts());
        QCOMPARE(lines, (QStringList{QStringLiteral("第 2 页  收件人城市（大字）：乌鲁木齐"),
                                     QStringLiteral("第 4 页  收件单位：") + longCompany,
                                     QStringLiteral("第 4 页  收件人城市（大字）：乌鲁木齐")}));
        QCOMPARE(cutTextSummary(run.cutTexts()), QStringLiteral("2 页共 3 处文字未能完整打印"));

        // A new run starts with an empty list.
        rows.rows = {"北京"};
        TPageRun again(system);
        page.layout(again);
        QVERIFY(again.cutTexts().isEmpty());
    }

    // The preview's status bar says it; a click lists page, field and whole value.
    void previewStatusBarTellsAndLists()
    {
        AnsweringDialogs dialogs;
        Catalogue catalogue(PrintWindowKind::Dd);
        TemplateReportPage page(catalogue.waybillTemplate(18),
                                SlotRows{reader(demoSender), reader(with(demoRecipient, "收件单位", longCompany))});
        QString statusText;
        bool statusShown = false;
        connect(&page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) {
            whenLaidOut(page, window, [&, window] {
                QToolButton* status = window->cutTextStatus();
                if (const QString shots = qEnvironmentVariable("CORVANE_SHOT_DIR"); !shots.isEmpty())
                    window->grab().save(shots + QStringLiteral("/preview_cut_text.png"));
                statusShown = status->isVisible();
                statusText = status->text();
                status->click();
            });
        });
        page.Preview();
        QVERIFY(statusShown);
        QCOMPARE(statusText, QStringLiteral("1 页共 1 处文字未能完整打印"));
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.first().title, QStringLiteral("提示"));
        QVERIFY(dialogs.messages.first().text.contains(QStringLiteral("第 1 页  收件单位：") + longCompany));
    }

    // render --check: the same list, status 3 when anything was cut, and the pages printed anyway.
    void renderCheckListsWhatWasCut()
    {
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        Connection::createDatabase(QStringLiteral("data.mdb"));
        {
            Connection connection;
            connection.Open();
            appendAddressRows(connection, QStringLiteral("outr"), {{{"姓名", "王立新"}, {"寄件单位", "杭州青禾茶叶有限公司"}}});
            appendAddressRows(connection, QStringLiteral("inr"),
                              {{{"姓名", "张伟"}, {"城市", "北京"}}, {{"姓名", "阿依古丽"}, {"城市", "乌鲁木齐"}}});
        }
        const QStringList batch{"--window", "pd", "--template", "2", "--pdf", "batch.pdf"};
        const RenderRun checked = runRenderInProcess(batch + QStringList{"--check"});
        const RenderRun plain = runRenderInProcess(batch);
        const RenderRun fitting = runRenderInProcess({"--check", "--window", "dd", "--template", "2", "--pdf", "one.pdf"});
        const bool printed = QFileInfo(QStringLiteral("batch.pdf")).size() > 0 && QFile::exists(QStringLiteral("one.pdf"));
        QDir::setCurrent(previous);

        QCOMPARE(checked.status, 3);
        QVERIFY2(checked.output.contains(QStringLiteral("2 pages to batch.pdf")), qPrintable(checked.output));
        QVERIFY2(checked.output.contains(QStringLiteral("1 页共 1 处文字未能完整打印\n第 2 页  收件人城市（大字）：乌鲁木齐\n")),
                 qPrintable(checked.output));
        QCOMPARE(plain.status, 0);
        QVERIFY(!plain.output.contains(QStringLiteral("未能完整打印")));
        QCOMPARE(fitting.status, 0);
        QVERIFY(!fitting.output.contains(QStringLiteral("未能完整打印")));
        QVERIFY(printed);
    }

    void previewOfFittingRowsShowsNoCutStatus()
    {
        AnsweringDialogs dialogs;
        Catalogue catalogue(PrintWindowKind::Dd);
        TemplateReportPage page(catalogue.waybillTemplate(2), SlotRows{reader(demoSender), reader(demoRecipient)});
        bool statusShown = true;
        connect(&page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) {
            whenLaidOut(page, window, [&, window] { statusShown = !window->cutTextStatus()->isHidden(); });
        });
        page.Preview();
        QVERIFY(!statusShown);
    }
};

QTEST_MAIN(TestCutText)
#include "tst_cut_text.moc"
