// A catalogue template as a report page: only the print boxes and the banner label are laid
// out, in whole-point type, filled before each band from the rows, following moves and type
// changes made in the catalogue.
#include "output/TPageRun.h"
#include "output/TemplateReportPage.h"
#include "testsupport/OutputFixtures.h"
#include "testsupport/PrintingTestDouble.h"

#include "templates/Catalogue.h"

#include <QPicture>
#include <QtTest>

using namespace corvane;
using namespace corvane::test;

namespace {

QString senderValue(const QString& column)
{
    static const QHash<QString, QString> values{
        {"姓名", "王立新"}, {"手机", "13858123467"}, {"寄件单位", "青禾茶叶"}, {"地址", "文三路478号"},
        {"年", "2026"}, {"月", "01"}, {"日", "05"}};
    return values.value(column);
}

}

class TestOutputTemplate : public QObject {
    Q_OBJECT
private:
    InstalledPrintingDouble system;

private Q_SLOTS:
    void initTestCase() { system.printers = {PrintingTestDouble::customSizePrinter(QStringLiteral("Waybills"))}; }

    void onlyPrintBoxesAndTheBannerAreOnTheBand()
    {
        Catalogue catalogue(PrintWindowKind::Dd);
        WaybillTemplate& waybill = catalogue.waybillTemplate(1);
        TemplateReportPage page(waybill, SlotRows{});
        QCOMPARE(page.objectName(), QStringLiteral("QuickRep1"));
        QCOMPARE(page.band.name, QStringLiteral("QRBand1"));
        QCOMPARE(page.Page.Width, 2300.0);
        QCOMPARE(page.Page.Length, 1270.0);
        QCOMPARE(page.Page.PaperSize, PaperKind::UserDefined);
        QCOMPARE(page.band.Height, 480 * 254.0 / 96);
        QCOMPARE(page.band.elements.size(), waybill.textSlots.size() + 1);
        for (int i = 0; i < waybill.textSlots.size(); ++i) {
            const BandElement& box = page.band.elements.at(i);
            const TextSlot& slot = waybill.textSlots.at(i);
            QCOMPARE(box.kind, BandElement::Kind::PrintBox);
            QCOMPARE(box.name, QStringLiteral("QRRichText%1").arg(slot.number));
            QCOMPARE(box.rect, slot.rectTenths());
            QCOMPARE(box.font.pointSize(), 11);
        }
        const BandElement& banner = page.band.elements.last();
        QCOMPARE(banner.kind, BandElement::Kind::BannerLabel);
        QCOMPARE(banner.name, QStringLiteral("QRLabel1"));
        QCOMPARE(banner.font.pointSize(), 12);
        QCOMPARE(banner.rect.topLeft(), QPointF(72 * 254.0 / 96, 64 * 254.0 / 96));
        QCOMPARE(page.band.elements.at(0).rect.topLeft(), QPointF(317.5, 100 * 254.0 / 96));
    }

    void largeTypeKeepsItsWholePoints_data()
    {
        QTest::addColumn<int>("templateNumber");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("points");
        QTest::newRow("48 px") << 2 << 464 << 36;
        QTest::newRow("56 px") << 15 << 470 << 42;
        QTest::newRow("29 px") << 28 << 509 << 22;
        QTest::newRow("15 px") << 2 << 33 << 11;
    }
    void largeTypeKeepsItsWholePoints()
    {
        QFETCH(int, templateNumber);
        QFETCH(int, slot);
        QFETCH(int, points);
        Catalogue catalogue(PrintWindowKind::Dd);
        TemplateReportPage page(catalogue.waybillTemplate(templateNumber), SlotRows{});
        const BandElement* box = page.band.element(QStringLiteral("QRRichText%1").arg(slot));
        QVERIFY(box);
        QCOMPARE(box->font.pointSize(), points);
    }

    void eachPageCarriesItsRowAndTheSameSender()
    {
        Catalogue catalogue(PrintWindowKind::Pd);
        OutputRowsDataSet rows({"上海", "广州", "成都"});
        TemplateReportPage page(catalogue.waybillTemplate(2),
                                SlotRows{senderValue, [&rows](const QString& column) {
                                             return column == QStringLiteral("城市") ? rows.current() : QString();
                                         }});
        page.DataSet = &rows;
        TPageRun run(system);
        page.layout(run);
        QCOMPARE(run.pageCount(), 3);
        for (int k = 1; k <= 3; ++k) {
            const RecordedSheet sheet = replay(*run.GetPage(k));
            int cityCount = 0;
            for (const DrawnText& text : sheet.texts)
                cityCount += text.text == rows.rows.at(k - 1);
            QCOMPARE(cityCount, 2); // slot 33 in 15 px type and slot 464 in 48 px type
            QVERIFY(sheet.find(QStringLiteral("王立新")));
            QVERIFY(sheet.allText().contains(QStringLiteral("Corvane")));
        }
    }

    void emptyRecipientLeavesItsBoxesEmpty()
    {
        Catalogue catalogue(PrintWindowKind::Dd);
        TemplateReportPage page(catalogue.waybillTemplate(1), SlotRows{senderValue, [](const QString&) { return QString(); }});
        TPageRun run(system);
        page.layout(run);
        QCOMPARE(page.band.element(QStringLiteral("QRRichText9"))->lines, QStringList{});
        QCOMPARE(page.band.element(QStringLiteral("QRRichText1"))->lines, QStringList{"王立新"});
        const RecordedSheet sheet = replay(*run.GetPage(1));
        QVERIFY(sheet.find(QStringLiteral("王立新")));
    }

    void movesAndTypeChangesReachTheNextLayout()
    {
        Catalogue catalogue(PrintWindowKind::Dd);
        TemplateReportPage page(catalogue.waybillTemplate(1), SlotRows{senderValue, [](const QString&) { return QString(); }});
        TPageRun before(system);
        page.layout(before);
        const DrawnText first = *replay(*before.GetPage(1)).find(QStringLiteral("王立新"));

        catalogue.moveAll(10, -4);
        QFont type(QStringLiteral("宋体"));
        type.setPixelSize(20);
        catalogue.setOrdinaryType(type, Qt::black);
        TPageRun after(system);
        page.layout(after);
        const DrawnText moved = *replay(*after.GetPage(1)).find(QStringLiteral("王立新"));
        QCOMPARE(moved.baseline.x() - first.baseline.x(), 10.0);
        QCOMPARE(moved.font.pointSize(), 15); // 20 px = 15 pt
        QVERIFY(moved.baseline.y() < first.baseline.y() + 4);
    }

    void theBannerPrintsWholeOnAHighResolutionPrinter()
    {
        PrintingTestDouble printer;
        printer.printers = {PrintingTestDouble::customSizePrinter(QStringLiteral("Fine"), 1200)};
        Catalogue catalogue(PrintWindowKind::Dd);
        TemplateReportPage page(catalogue.waybillTemplate(1), SlotRows{});
        page.setPrintingSystem(&printer);
        QVERIFY(page.printJob());
        QCOMPARE(printer.jobs.size(), 1);
        const RecordedSheet& sheet = printer.jobs.first().sheets.first();
        QVERIFY2(sheet.allText().remove(QLatin1Char('|')).contains(bannerText()), qPrintable(sheet.allText()));
    }
};

QTEST_MAIN(TestOutputTemplate)
#include "tst_output_template.moc"
