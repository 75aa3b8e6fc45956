// The page engine without windows: layout run, rows, page breaks, paper selection, device
// coordinates, text fitting, page store and queued notifications.
#include "core/ParagraphWrap.h"
#include "output/BoxTextFormatter.h"
#include "output/DeviceScale.h"
#include "output/FaceLineMetrics.h"
#include "output/PageCanvas.h"
#include "output/TPageRun.h"
#include "output/TPageStore.h"
#include "testsupport/OutputFixtures.h"
#include "testsupport/PrintingTestDouble.h"

#include "core/Error.h"

#include <QCoreApplication>
#include <QFile>
#include <QPdfWriter>
#include <QPicture>
#include <QTemporaryDir>
#include <QTextLayout>
#include <cmath>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <QSignalSpy>
#include <QtTest>

using namespace corvane;
using namespace corvane::test;

namespace {

// What a box printed: each line's text, place and type (the banner left out).
QStringList boxLines(const RecordedSheet& sheet)
{
    QStringList lines;
    for (const DrawnText& text : sheet.texts)
        if (text.text != QStringLiteral("横幅"))
            lines << QStringLiteral("%1 @%2,%3 %4").arg(text.text).arg(text.baseline.x()).arg(text.baseline.y()).arg(text.font.key());
    return lines;
}

// The content streams of a PDF's pages, uncompressed.
QList<QByteArray> pageContents(const QString& fileName)
{
    QList<QByteArray> contents;
    QPDF pdf;
    pdf.processFile(QFile::encodeName(fileName).constData());
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        const std::shared_ptr<Buffer> data = page.getObjectHandle().getKey("/Contents").getStreamData(qpdf_dl_generalized);
        contents << QByteArray(reinterpret_cast<const char*>(data->getBuffer()), qsizetype(data->getSize()));
    }
    return contents;
}

QList<int> spyValues(const QSignalSpy& spy)
{
    QList<int> values;
    for (const QList<QVariant>& call : spy)
        values << call.at(0).toInt();
    return values;
}

}

class TestOutputEngine : public QObject {
    Q_OBJECT
private:
    InstalledPrintingDouble system;

private Q_SLOTS:
    void init()
    {
        system.printers = {PrintingTestDouble::customSizePrinter(QStringLiteral("Waybills"))};
        system.defaultIndex = 0;
    }

    void singlePrintGivesOnePageAndOneHandlerCall()
    {
        OutputWaybill waybill;
        TPageRun run(system);
        QSignalSpy available(&run, &TPageRun::pageAvailable);
        QSignalSpy progress(&run, &TPageRun::progressChanged);
        QVERIFY(waybill.page.layout(run));
        QCOMPARE(waybill.beforePrintCalls, 1);
        QCOMPARE(run.pageCount(), 1);
        QCOMPARE(run.pagesFinished(), 1);
        QCOMPARE(run.status(), TPageRun::Status::Finished);
        QCOMPARE(spyValues(available), QList<int>{1});
        QVERIFY(progress.isEmpty());
        QVERIFY(waybill.page.available());
        const RecordedSheet page = replay(*run.GetPage(1));
        QVERIFY(page.find(QStringLiteral("寄件人")));
        QVERIFY(page.find(QStringLiteral("横幅")));
    }

    void batchGivesOnePagePerRowInOrder()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(3));
        TPageRun run(system);
        QSignalSpy available(&run, &TPageRun::pageAvailable);
        QSignalSpy progress(&run, &TPageRun::progressChanged);
        QVERIFY(waybill.page.layout(run));
        QCOMPARE(waybill.printedTexts, numberedRows(3));
        QCOMPARE(run.pageCount(), 3);
        QCOMPARE(spyValues(progress), (QList<int>{33, 66, 100}));
        QCOMPARE(spyValues(available), (QList<int>{1, 2, 3}));
        QCOMPARE(waybill.rows->countAsked, 1);
        QVERIFY(waybill.rows->eof()); // left after its last row
        for (int k = 1; k <= 3; ++k) {
            const RecordedSheet page = replay(*run.GetPage(k));
            QVERIFY2(page.find(QStringLiteral("行%1").arg(k)), qPrintable(page.allText()));
        }
    }

    void notificationsArriveOnlyWhileTheRunPumps()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(3));
        QStringList log;
        auto handler = waybill.page.band.BeforePrint;
        waybill.page.band.BeforePrint = [&](DetailBand& band, bool& print) {
            handler(band, print);
            log << QStringLiteral("H%1").arg(waybill.beforePrintCalls);
        };
        TPageRun run(system);
        connect(&run, &TPageRun::pageAvailable, this, [&](int n) { log << QStringLiteral("A%1").arg(n); });
        connect(&run, &TPageRun::progressChanged, this, [&](int p) { log << QStringLiteral("P%1").arg(p); });
        waybill.page.layout(run);
        QCOMPARE(log.join(QLatin1Char(' ')), QStringLiteral("H1 P33 H2 A1 P66 H3 A2 P100 A3"));
    }

    void sevenRowsProgressInIntegerPercent()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(7));
        TPageRun run(system);
        QSignalSpy progress(&run, &TPageRun::progressChanged);
        waybill.page.layout(run);
        QCOMPARE(spyValues(progress), (QList<int>{14, 28, 42, 57, 71, 85, 100}));
    }

    void emptyOrClosedDataSetGivesOnePage_data()
    {
        QTest::addColumn<bool>("open");
        QTest::newRow("open, no rows") << true;
        QTest::newRow("closed") << false;
    }
    void emptyOrClosedDataSetGivesOnePage()
    {
        QFETCH(bool, open);
        OutputWaybill waybill;
        waybill.useRows({});
        waybill.rows->open = open;
        TPageRun run(system);
        QSignalSpy progress(&run, &TPageRun::progressChanged);
        waybill.page.layout(run);
        QCOMPARE(run.pageCount(), 1);
        QCOMPARE(waybill.beforePrintCalls, 1);
        QVERIFY(progress.isEmpty());
    }

    void paperSelectionAndPageBreaks_data()
    {
        QTest::addColumn<QString>("printer");
        QTest::addColumn<double>("pageWidth");
        QTest::addColumn<double>("pageLength");
        QTest::addColumn<double>("bandHeight");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages");
        QTest::addColumn<double>("paperWidth");
        QTest::addColumn<double>("paperLength");
        QTest::newRow("custom size accepted") << "custom" << 2300.0 << 1270.0 << 1270.0 << 3 << 3 << 2300.0 << 1270.0;
        QTest::newRow("custom rounded to tenths") << "custom" << 2299.229 << 1502.833 << 1502.833 << 2 << 2 << 2299.0 << 1503.0;
        QTest::newRow("A4 only: two 127 mm on a page") << "a4" << 2300.0 << 1270.0 << 1269.229 << 5 << 3 << 2100.0 << 2970.0;
        QTest::newRow("A4 only: two 141 mm on a page") << "a4" << 2299.229 << 1410.0 << 1410.229 << 4 << 2 << 2100.0 << 2970.0;
        QTest::newRow("A4 only: 150.3 mm alone") << "a4" << 2299.229 << 1502.833 << 1502.833 << 3 << 3 << 2100.0 << 2970.0;
        QTest::newRow("no printer: A4") << "none" << 2300.0 << 1270.0 << 1270.0 << 4 << 2 << 2100.0 << 2970.0;
        QTest::newRow("band a little higher than the page") << "custom" << 2299.229 << 1410.0 << 1410.229 << 3 << 3 << 2299.0 << 1410.0;
    }
    void paperSelectionAndPageBreaks()
    {
        QFETCH(QString, printer);
        QFETCH(double, pageWidth);
        QFETCH(double, pageLength);
        QFETCH(double, bandHeight);
        QFETCH(int, rows);
        QFETCH(int, pages);
        QFETCH(double, paperWidth);
        QFETCH(double, paperLength);
        if (printer == QLatin1String("a4"))
            system.printers = {PrintingTestDouble::a4OnlyPrinter(QStringLiteral("Office"))};
        else if (printer == QLatin1String("none"))
            system.printers.clear();
        OutputWaybill waybill(pageWidth, pageLength, bandHeight);
        waybill.useRows(numberedRows(rows));
        TPageRun run(system);
        waybill.page.layout(run);
        QCOMPARE(run.pageCount(), pages);
        QCOMPARE(run.settings().paperWidth, paperWidth);
        QCOMPARE(run.settings().paperLength, paperLength);
        QCOMPARE(waybill.beforePrintCalls, rows);
        // The recordings have the paper's proportions at screen resolution.
        const std::unique_ptr<QPicture> first = run.GetPage(1);
        QCOMPARE(first->boundingRect().size(),
                 QSize(roundHalfEven(paperWidth * 96 / 254), roundHalfEven(paperLength * 96 / 254)));
    }

    void secondWaybillOnAnA4PageStartsBelowTheFirst()
    {
        system.printers = {PrintingTestDouble::a4OnlyPrinter(QStringLiteral("Office"))};
        OutputWaybill waybill(2300, 1270, 1270);
        waybill.useRows(numberedRows(2));
        TPageRun run(system);
        waybill.page.layout(run);
        const RecordedSheet page = replay(*run.GetPage(1));
        const DrawnText* first = page.find(QStringLiteral("行1"));
        const DrawnText* second = page.find(QStringLiteral("行2"));
        QVERIFY(first && second);
        QCOMPARE(second->baseline.x(), first->baseline.x());
        QCOMPARE(qRound(second->baseline.y() - first->baseline.y()), 480); // 1270 tenths at 96 dpi
    }

    void landscapeExchangesThePageSides()
    {
        OutputWaybill waybill;
        waybill.page.Page.Orientation = PageOrientation::Landscape;
        TPageRun run(system);
        waybill.page.layout(run);
        QCOMPARE(run.pageWidth(), 1270.0);
        QCOMPARE(run.pageHeight(), 2300.0);
        QCOMPARE(run.breakLength(), 1270.0);
    }

    void deviceCoordinatesRoundHalfToEven_data()
    {
        QTest::addColumn<double>("tenths");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<double>("margin");
        QTest::addColumn<int>("device");
        QTest::newRow("120 px box at screen") << 317.5 << 96.0 << 0.0 << 120;
        QTest::newRow("tie rounds down to even") << 13.229166666666666 << 96.0 << 0.0 << 5;  // 5.0
        QTest::newRow("2.5 goes to 2") << 6.6145833333333333 << 96.0 << 0.0 << 2;          // 2.5
        QTest::newRow("3.5 goes to 4") << 9.2604166666666667 << 96.0 << 0.0 << 4;          // 3.5
        QTest::newRow("printer with margin") << 317.5 << 300.0 << 50.0 << 316;
        QTest::newRow("1200 dpi") << 317.5 << 1200.0 << 0.0 << 1500;
        QTest::newRow("left of the printable area") << 25.4 << 600.0 << 50.8 << -60;
    }
    void deviceCoordinatesRoundHalfToEven()
    {
        QFETCH(double, tenths);
        QFETCH(double, dpi);
        QFETCH(double, margin);
        QFETCH(int, device);
        const DeviceScale scale{dpi, dpi, margin, margin};
        QCOMPARE(scale.x(tenths), device);
        QCOMPARE(scale.y(tenths), device);
    }

    void wholeLinesOnly_data()
    {
        QTest::addColumn<int>("boxHeightPx");
        QTest::addColumn<QStringList>("paragraphs");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("linesDrawn");
        const QString wraps = QStringLiteral("北京市海淀区中关村南大街甲十二号院");
        QTest::newRow("22 px, wrapping value, screen") << 22 << QStringList{wraps} << 96 << 1;
        QTest::newRow("22 px, wrapping value, printer") << 22 << QStringList{wraps} << 1200 << 1;
        QTest::newRow("42 px, three lines, screen") << 42 << QStringList{"一", "二", "三"} << 96 << 2;
        QTest::newRow("42 px, three lines, printer") << 42 << QStringList{"一", "二", "三"} << 1200 << 2;
        QTest::newRow("42 px, two lines") << 42 << QStringList{"一", "二"} << 96 << 2;
        QTest::newRow("empty value") << 22 << QStringList{} << 96 << 0;
        QTest::newRow("box lower than a line") << 10 << QStringList{"一"} << 96 << 0;
    }
    void wholeLinesOnly()
    {
        QFETCH(int, boxHeightPx);
        QFETCH(QStringList, paragraphs);
        QFETCH(int, dpi);
        QFETCH(int, linesDrawn);
        OutputWaybill waybill;
        const DeviceScale scale{double(dpi), double(dpi), 0, 0};
        RecordingDevice device(QSize(20000, 20000), dpi, dpi);
        QPainter painter(&device);
        const QRect box = scale.rect(QRectF(275.16, 722.3, 97 * 254.0 / 96, boxHeightPx * 254.0 / 96));
        const int drawn = BoxTextFormatter::drawParagraphs(painter, box, paragraphs, waybill.boxFont(), Qt::AlignLeft);
        painter.end();
        QCOMPARE(drawn, linesDrawn);
        QCOMPARE(int(device.sheet.texts.size()), linesDrawn);
        for (const DrawnText& text : device.sheet.texts)
            QVERIFY(text.baseline.y() < box.bottom());
        if (!paragraphs.isEmpty() && linesDrawn == 1 && paragraphs.size() == 1)
            QVERIFY(device.sheet.texts.first().text.size() < paragraphs.first().size()); // wrapped
    }

    // A PDF is given the glyphs the line breaking found instead of each line's text: what
    // reaches the file must be what drawing the text gives, line by line, wrapped or not,
    // with or without a wrap cache, in the faces a line falls back to.
    void pdfGetsTheGlyphsOfTheTextDrawn()
    {
        const QStringList paragraphs{
            QStringLiteral("王立新"),
            QStringLiteral("浙江省杭州市西湖区文三路478号华星科技大厦A座1203室 Room 1203, Tower A"),
            QStringLiteral(""),
            QStringLiteral("0571-88217634  13858123467"),
            QStringLiteral("𠀋𡈽 Ünïcode ひらがな"),
        };
        QTemporaryDir dir;
        OutputWaybill waybill;
        QFont bold = waybill.boxFont();
        bold.setBold(true);
        for (const QFont& font : {waybill.boxFont(), bold}) {
            for (const bool cached : {false, true}) {
                const QString glyphs = dir.filePath(QStringLiteral("glyphs.pdf"));
                const QString text = dir.filePath(QStringLiteral("text.pdf"));
                const QRect box(300, 400, 2600, 5000);
                int lines = 0;
                {
                    std::optional<ParagraphWrapCache> cache;
                    if (cached)
                        cache.emplace();
                    QPdfWriter writer(glyphs);
                    writer.setResolution(600);
                    QPainter painter(&writer);
                    for (int page = 0; page < 2; ++page) { // the second page from the cache, if any
                        if (page)
                            writer.newPage();
                        lines = BoxTextFormatter::drawParagraphs(painter, box, paragraphs, font, Qt::AlignLeft);
                    }
                }
                {
                    QPdfWriter writer(text);
                    writer.setResolution(600);
                    QPainter painter(&writer);
                    const QFont deviceFont(font, &writer);
                    const LineMetrics metrics = lineMetrics(font, &writer);
                    for (int page = 0; page < 2; ++page) {
                        if (page)
                            writer.newPage();
                        painter.setFont(deviceFont);
                        double lineTop = box.top();
                        for (const QString& paragraph : paragraphs) {
                            for (const auto& [start, length] : wrapParagraph(paragraph, deviceFont, &writer, box.width())) {
                                if (length > 0)
                                    painter.drawText(QPointF(box.left(), lineTop + metrics.ascent), paragraph.mid(start, length));
                                lineTop += metrics.height();
                            }
                        }
                    }
                }
                QVERIFY(lines > int(paragraphs.size())); // the address wraps
                const QList<QByteArray> expected = pageContents(text);
                QCOMPARE(expected.size(), 2);
                QVERIFY(expected.first().contains(" Tj"));
                const QList<QByteArray> actual = pageContents(glyphs);
                QCOMPARE(actual.size(), expected.size());
                for (qsizetype page = 0; page < expected.size(); ++page) {
                    const QList<QByteArray> want = expected.at(page).split('\n');
                    const QList<QByteArray> got = actual.at(page).split('\n');
                    for (qsizetype line = 0; line < qMax(want.size(), got.size()); ++line)
                        QVERIFY2(want.value(line) == got.value(line),
                                 qPrintable(QStringLiteral("page %1 line %2: drawn \"%3\", text gives \"%4\"")
                                                .arg(page + 1).arg(line + 1)
                                                .arg(QString::fromLatin1(got.value(line)), QString::fromLatin1(want.value(line)))));
                }
            }
        }
    }

    // A paragraph whose whole advance fits its box is taken as one line without breaking it:
    // the breaks must be those of the full line breaking, at every width and on both kinds of
    // device, for text that fits, text that just fits and text that does not.
    void wrappingGivesTheBreaksOfTheFullLayout()
    {
        const QString pool = QStringLiteral("王立新浙江省杭州市西湖区文三路号室一大0123456789-ABCxyz ，。（）");
        quint32 seed = 20261211;
        auto next = [&seed](quint32 bound) {
            seed = seed * 1664525u + 1013904223u;
            return (seed >> 8) % bound;
        };
        QPicture screen;
        QPdfWriter printer(QDir::temp().filePath(QStringLiteral("corvane-wrap-check.pdf")));
        printer.setResolution(1200);
        OutputWaybill waybill;
        QFont bold = waybill.boxFont();
        bold.setBold(true);
        QFont yahei(QStringLiteral("微软雅黑"));
        yahei.setPixelSize(15);
        int oneLine = 0;
        int wrapped = 0;
        // Without a wrap cache, and with one (which adds up the characters' remembered advances).
        std::optional<ParagraphWrapCache> cache;
        for (int pass = 0; pass < 2; ++pass, cache.emplace())
        for (QPaintDevice* device : {static_cast<QPaintDevice*>(&screen), static_cast<QPaintDevice*>(&printer)}) {
            for (const QFont& font : {waybill.boxFont(), bold, yahei}) {
                const QFont deviceFont(font, device);
                for (int sample = 0; sample < 150; ++sample) {
                    QString text;
                    for (quint32 n = 1 + next(30); n > 0; --n)
                        text += pool.at(next(quint32(pool.size())));
                    const QFontMetricsF metrics(deviceFont, device);
                    const double natural = metrics.horizontalAdvance(text);
                    // Around the natural width (just fitting, a 64th short), where a line's height
                    // is to spare, and anywhere.
                    for (const double width : {natural, natural - 1.0 / 64, std::floor(natural), natural + metrics.height(),
                                               natural + metrics.height() - 1.0 / 64, natural * (0.2 + next(160) / 100.0)}) {
                        QList<std::pair<int, int>> expected;
                        QTextLayout layout(text, deviceFont, device);
                        QTextOption option;
                        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
                        layout.setTextOption(option);
                        layout.beginLayout();
                        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                            line.setLineWidth(width);
                            expected.append({line.textStart(), line.textLength()});
                        }
                        layout.endLayout();
                        const QList<std::pair<int, int>> got = wrapParagraph(text, deviceFont, device, width);
                        QVERIFY2(got == expected, qPrintable(QStringLiteral("\"%1\" at %2 px: %3 lines, the layout gives %4")
                                                                 .arg(text).arg(width).arg(got.size()).arg(expected.size())));
                        (expected.size() == 1 ? oneLine : wrapped) += 1;
                    }
                }
            }
        }
        QVERIFY(oneLine > 1000);
        QVERIFY(wrapped > 1000);
    }

    // A preview page is written down and drawn only when looked at: played back, it draws what
    // drawing it at once onto a recording draws.
    void aPreviewPagePlaysBackWhatWasDrawn()
    {
        const QStringList paragraphs{QStringLiteral("王立新"),
                                     QStringLiteral("浙江省杭州市西湖区文三路478号华星科技大厦A座1203室"),
                                     QString(), QStringLiteral("13858123467")};
        OutputWaybill waybill;
        QFont bold = waybill.boxFont();
        bold.setBold(true);
        const QRect bounds(0, 0, 869, 480);
        const QRect fill(10, 10, 500, 300);
        const QRect box(40, 60, 120, 400);

        QPicture direct;
        direct.setBoundingRect(bounds);
        {
            QPainter painter(&direct);
            painter.fillRect(fill, Qt::white);
            painter.setPen(Qt::black);
            BoxTextFormatter::drawParagraphs(painter, box, paragraphs, waybill.boxFont(), Qt::AlignLeft);
            painter.setPen(Qt::red);
            BoxTextFormatter::drawParagraphs(painter, box.translated(300, 0), paragraphs, bold, Qt::AlignLeft);
        }
        QList<QFont> fonts;
        PageRecording recording(&fonts);
        recording.begin(bounds);
        recording.fillRect(fill, Qt::white);
        recording.setPen(Qt::black);
        BoxTextFormatter::drawParagraphs(recording, box, paragraphs, waybill.boxFont(), Qt::AlignLeft);
        recording.setPen(Qt::red);
        BoxTextFormatter::drawParagraphs(recording, box.translated(300, 0), paragraphs, bold, Qt::AlignLeft);
        const std::unique_ptr<QPicture> played = PageRecording::play(recording.bytes(), fonts);
        QVERIFY(played);
        QCOMPARE(played->boundingRect(), direct.boundingRect());

        const RecordedSheet want = replay(direct);
        const RecordedSheet got = replay(*played);
        QVERIFY(want.texts.size() > paragraphs.size());
        QCOMPARE(got.fills, want.fills);
        QCOMPARE(got.texts.size(), want.texts.size());
        for (qsizetype i = 0; i < want.texts.size(); ++i) {
            QCOMPARE(got.texts.at(i).text, want.texts.at(i).text);
            QCOMPARE(got.texts.at(i).baseline, want.texts.at(i).baseline);
            QCOMPARE(got.texts.at(i).font, want.texts.at(i).font);
        }
        // Bytes that are not such a page give no recording.
        QVERIFY(!PageRecording::play(recording.bytes().left(recording.bytes().size() - 3), fonts));
        QVERIFY(!PageRecording::play(recording.bytes(), {}));
    }

    // Paragraphs are wrapped once per run and remembered: a box whose text, type or width
    // changes on the next page must be laid out anew, as a run of that page alone lays it out.
    void aBoxChangedOnTheNextPageIsLaidOutAnew_data()
    {
        QTest::addColumn<QString>("change");
        for (const char* change : {"text", "point size", "face", "bold", "width"})
            QTest::newRow(change) << QString::fromLatin1(change);
    }
    void aBoxChangedOnTheNextPageIsLaidOutAnew()
    {
        QFETCH(QString, change);
        const QString address = QStringLiteral("北京市海淀区中关村南大街甲十二号院三号楼");
        auto changeBox = [&change](BandElement& box) {
            if (change == QStringLiteral("text"))
                box.lines = QStringList{QStringLiteral("上海市浦东新区世纪大道一百号环球金融中心")};
            else if (change == QStringLiteral("point size"))
                box.font.setPointSize(14);
            else if (change == QStringLiteral("face"))
                box.font.setFamily(QStringLiteral("微软雅黑"));
            else if (change == QStringLiteral("bold"))
                box.font.setBold(false);
            else
                box.rect.setWidth(box.rect.width() * 1.6);
        };
        auto printBox = [](OutputWaybill& waybill) { return waybill.page.band.element(QStringLiteral("QRRichText1")); };

        OutputWaybill batch(2300, 1270, 1270);
        batch.useRows({QStringLiteral("1"), QStringLiteral("2")});
        const BandElement original = *printBox(batch);
        batch.page.band.BeforePrint = [&](DetailBand&, bool&) {
            BandElement& box = *printBox(batch);
            box = original;
            box.lines = QStringList{address};
            box.rect.setHeight(box.rect.height() * 4);
            if (batch.rows->current() == QStringLiteral("2"))
                changeBox(box);
        };
        TPageRun batchRun(system);
        QVERIFY(batch.page.layout(batchRun));
        QCOMPARE(batchRun.pageCount(), 2);

        OutputWaybill alone(2300, 1270, 1270);
        alone.page.band.BeforePrint = [&](DetailBand&, bool&) {
            BandElement& box = *printBox(alone);
            box.lines = QStringList{address};
            box.rect.setHeight(box.rect.height() * 4);
            changeBox(box);
        };
        TPageRun aloneRun(system);
        QVERIFY(alone.page.layout(aloneRun));

        const QStringList first = boxLines(replay(*batchRun.GetPage(1)));
        const QStringList second = boxLines(replay(*batchRun.GetPage(2)));
        QVERIFY2(second.size() >= 2, qPrintable(second.join(QLatin1Char('\n'))));
        QVERIFY2(second != first, qPrintable(second.join(QLatin1Char('\n'))));
        QCOMPARE(second, boxLines(replay(*aloneRun.GetPage(1))));
    }

    void pageStoreSpillsToATemporaryFileAndFetchesByNumber()
    {
        QString fileName;
        {
            TPageStore store;
            PageRecording recording(&store.fonts());
            const QFont font(QStringLiteral("宋体"), 10);
            int n = 0;
            while (!store.inFile()) {
                ++n;
                recording.begin(QRect(0, 0, 800, 600));
                for (int i = 0; i < 40; ++i)
                    recording.drawLine(QPointF(10, 10 + i), QStringLiteral("page %1 line %2").arg(n).arg(i), font, {});
                store.append(recording.bytes());
                QVERIFY(n < 10000);
            }
            QVERIFY(store.byteSize() > TPageStore::memoryLimit);
            fileName = store.fileName();
            QVERIFY(QFile::exists(fileName));
            for (int i = 0; i < 5; ++i) {
                recording.begin(QRect(0, 0, 800, 600));
                recording.drawLine(QPointF(10, 10), QStringLiteral("page %1 line 0").arg(++n), font, {});
                store.append(recording.bytes());
            }
            QCOMPARE(store.pageCount(), n);
            for (int k : {n, 1, 3, n - 2, 2, n - 1, 1}) {
                const std::unique_ptr<QPicture> page = store.page(k);
                QVERIFY(page);
                const RecordedSheet sheet = replay(*page);
                QVERIFY2(sheet.find(QStringLiteral("page %1 line 0").arg(k)), qPrintable(QString::number(k) + sheet.allText()));
            }
            QVERIFY(!store.page(0));
            QVERIFY(!store.page(n + 1));
        }
        QVERIFY(!QFile::exists(fileName));
    }

    void getPageGivesNothingOutsideTheFinishedPages()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(2));
        TPageRun run(system);
        QVERIFY(!run.GetPage(1)); // not begun
        std::unique_ptr<QPicture> duringFirstRow = std::make_unique<QPicture>();
        auto handler = waybill.page.band.BeforePrint;
        waybill.page.band.BeforePrint = [&](DetailBand& band, bool& print) {
            handler(band, print);
            if (waybill.beforePrintCalls == 2)
                duringFirstRow = run.GetPage(1); // page 1 not closed before page 2 begins
        };
        waybill.page.layout(run);
        QVERIFY(!duringFirstRow);
        QVERIFY(run.GetPage(2));
        QVERIFY(!run.GetPage(0));
        QVERIFY(!run.GetPage(3));
    }

    void skippedBandUsesNoSpace()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(4));
        auto handler = waybill.page.band.BeforePrint;
        waybill.page.band.BeforePrint = [&](DetailBand& band, bool& print) {
            handler(band, print);
            print = waybill.beforePrintCalls % 2 == 0;
        };
        TPageRun run(system);
        waybill.page.layout(run);
        QCOMPARE(run.pageCount(), 2);
        QVERIFY(replay(*run.GetPage(1)).find(QStringLiteral("行2")));
    }

    void aBusyPageRefusesASecondRun()
    {
        OutputWaybill waybill;
        bool second = true;
        auto handler = waybill.page.band.BeforePrint;
        waybill.page.band.BeforePrint = [&](DetailBand& band, bool& print) {
            handler(band, print);
            TPageRun other(system);
            QVERIFY(!waybill.page.available());
            second = waybill.page.layout(other);
        };
        TPageRun run(system);
        QVERIFY(waybill.page.layout(run));
        QVERIFY(!second);
        QCOMPARE(waybill.beforePrintCalls, 1);
        QVERIFY(waybill.page.available());
    }

    void anErrorInTheHandlerEndsTheRun()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(5));
        auto handler = waybill.page.band.BeforePrint;
        waybill.page.band.BeforePrint = [&](DetailBand& band, bool& print) {
            handler(band, print);
            if (waybill.beforePrintCalls == 3)
                throw Error(QStringLiteral("列不存在"));
        };
        TPageRun run(system);
        QVERIFY_THROWS_EXCEPTION(Error, waybill.page.layout(run));
        QCOMPARE(run.status(), TPageRun::Status::Finished);
        QCOMPARE(run.pagesFinished(), 2);
        QVERIFY(waybill.page.available());
        for (const BandElement& e : waybill.page.band.elements)
            QVERIFY(!e.printing);
    }
};

QTEST_MAIN(TestOutputEngine)
#include "tst_output_engine.moc"
