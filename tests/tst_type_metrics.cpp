// Numbers print whole wherever they fit in 宋体: its stand-in gives Latin letters and digits
// half an em, as 宋体 does, on screen (view box lines), in the preview and on paper.
#include "output/TPageRun.h"
#include "output/TemplateReportPage.h"
#include "testsupport/LatinOnlyFonts.h"
#include "testsupport/PrintingTestDouble.h"

#include "addressbook/Connection.h"
#include "app/Application.h"
#include "core/Fonts.h"
#include "output/FaceLineMetrics.h"
#include "templates/BannerLabel.h"
#include "templates/Catalogue.h"
#include "templates/TemplateFilling.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QFontMetricsF>
#include <QImage>
#include <QPicture>
#include <QtTest>

Q_DECLARE_METATYPE(corvane::PrintWindowKind)

using namespace corvane;
using namespace corvane::test;

namespace {

const QHash<QString, QString>& numbers()
{
    static const QHash<QString, QString> values{
        {QStringLiteral("手机"), QStringLiteral("13910345678")},
        {QStringLiteral("电话"), QStringLiteral("0571-88217634")},
        {QStringLiteral("邮编"), QStringLiteral("310012")},
    };
    return values;
}

QString numberOf(const QString& column)
{
    return numbers().value(column);
}

// What was drawn inside the slot's print box on a sheet of the given resolution, line by line.
QString drawnInBox(const RecordedSheet& sheet, const QRectF& tenths, double dpi)
{
    const double scale = dpi / 254.0;
    const QRectF box(tenths.left() * scale, tenths.top() * scale, tenths.width() * scale, tenths.height() * scale);
    QList<DrawnText> inside;
    for (const DrawnText& text : sheet.texts) {
        if (text.baseline.x() >= box.left() - 1 && text.baseline.x() <= box.right()
            && text.baseline.y() >= box.top() && text.baseline.y() <= box.bottom() + 1)
            inside.append(text);
    }
    std::sort(inside.begin(), inside.end(), [](const DrawnText& a, const DrawnText& b) {
        return a.baseline.y() < b.baseline.y() || (a.baseline.y() == b.baseline.y() && a.baseline.x() < b.baseline.x());
    });
    QString joined;
    for (const DrawnText& text : inside)
        joined += text.text;
    return joined;
}

struct SlotCounts {
    int numberSlots = 0;
    int fitting = 0;
};

}

class TypeMetricsTest : public QObject {
    Q_OBJECT
private:
    QMap<QString, SlotCounts> counts;   // per window

private Q_SLOTS:
    void initTestCase();
    void standInsGiveHalfWidthLatin_data();
    void standInsGiveHalfWidthLatin();
    void lineHeightsStayThoseOfTheWindowsFaces();
    void numbersPrintWholeWhereTheyFit_data();
    void numbersPrintWholeWhereTheyFit();
    void missingFacesAreNamedWithTheirPackages_data();
    void missingFacesAreNamedWithTheirPackages();
    void renderRefusesWithoutTheFaces();
    void cleanupTestCase();
};

void TypeMetricsTest::initTestCase()
{
    installFontSubstitutions();
    QVERIFY2(missingFontsMessage().isEmpty(), qPrintable(missingFontsMessage()));
}

void TypeMetricsTest::standInsGiveHalfWidthLatin_data()
{
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    for (const int size : {15, 29, 48, 56, 100}) {
        QTest::addRow("%d px", size) << size << false;
        QTest::addRow("%d px bold", size) << size << true;
    }
}

void TypeMetricsTest::standInsGiveHalfWidthLatin()
{
    // Every printable ASCII character half an em and Han a whole one, as in 宋体.
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    QCOMPARE(QFontInfo(font).family(), QStringLiteral("AR PL UMing CN"));
    const QFontMetricsF metrics(font);
    for (char16_t c = 0x21; c < 0x7F; ++c)
        QVERIFY2(qAbs(metrics.horizontalAdvance(QChar(c)) - pixelSize / 2.0) < 0.01, qPrintable(QString(QChar(c))));
    for (const QString& han : {QStringLiteral("王"), QStringLiteral("锤"), QStringLiteral("镇")})
        QCOMPARE(metrics.horizontalAdvance(han), double(pixelSize));
    QCOMPARE(metrics.horizontalAdvance(numberOf("手机")), 11 * pixelSize / 2.0);
    QCOMPARE(metrics.horizontalAdvance(numberOf("电话")), 13 * pixelSize / 2.0);
}

void TypeMetricsTest::lineHeightsStayThoseOfTheWindowsFaces()
{
    // The boxes were sized for 宋体's lines; the stand-in does not change them.
    QImage device(10, 10, QImage::Format_RGB32);
    device.setDotsPerMeterX(3780);
    device.setDotsPerMeterY(3780);
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(11);
    const LineMetrics lines = lineMetrics(font, &device);
    const double em = 11 * 96 / 72.0;
    QCOMPARE(lines.ascent, 220.0 / 256.0 * em);
    QCOMPARE(lines.descent, 36.0 / 256.0 * em);
}

void TypeMetricsTest::numbersPrintWholeWhereTheyFit_data()
{
    QTest::addColumn<PrintWindowKind>("window");
    QTest::addColumn<int>("templateNumber");
    for (const PrintWindowKind window : allPrintWindowKinds) {
        for (int n = 1; n <= Catalogue::templateCount; ++n)
            QTest::addRow("%s template %d", qPrintable(printWindowClassName(window)), n) << window << n;
    }
}

void TypeMetricsTest::numbersPrintWholeWhereTheyFit()
{
    QFETCH(PrintWindowKind, window);
    QFETCH(int, templateNumber);

    Catalogue catalogue(window);
    WaybillTemplate& waybill = catalogue.waybillTemplate(templateNumber);
    const SlotRows rows{numberOf, numberOf};
    TemplateReportPage page(waybill, rows);

    // Preview: recorded at the screen's 96 dpi. Paper: a 1200 dpi printer.
    InstalledPrintingDouble preview;
    preview.printers = {PrintingTestDouble::customSizePrinter(QStringLiteral("Preview"))};
    TPageRun run(preview);
    page.layout(run);
    QVERIFY(run.GetPage(1));
    const RecordedSheet previewSheet = replay(*run.GetPage(1));

    PrintingTestDouble paper;
    paper.printers = {PrintingTestDouble::customSizePrinter(QStringLiteral("Fine"), 1200)};
    page.setPrintingSystem(&paper);
    QVERIFY(page.printJob());
    QCOMPARE(paper.jobs.size(), 1);
    const RecordedSheet paperSheet = paper.jobs.first().sheets.first();

    // The banner's 微软雅黑 stands in with proportional Latin; its label takes the caption's width
    // on the device, so it prints whole as well.
    QVERIFY2(previewSheet.allText().remove(QLatin1Char('|')).contains(bannerText()), qPrintable(previewSheet.allText()));
    QVERIFY2(paperSheet.allText().remove(QLatin1Char('|')).contains(bannerText()), qPrintable(paperSheet.allText()));

    SlotCounts& windowCounts = counts[printWindowClassName(window)];
    for (const TextSlot& slot : waybill.textSlots) {
        const QString value = numberOf(slot.column);
        if (value.isEmpty())
            continue;
        ++windowCounts.numberSlots;
        const int innerWidth = viewBoxTextWidth(slot.viewRect.width());
        const double simSunWidth = value.size() * slot.fontPixelSize() / 2.0;
        if (simSunWidth > innerWidth)
            continue;
        ++windowCounts.fitting;
        const QString where = QStringLiteral("slot %1 (%2, %3 px, inner width %4 px)")
                                  .arg(slot.number).arg(slot.column).arg(slot.fontPixelSize()).arg(innerWidth);
        QVERIFY2(viewBoxLines(slot, rows) == QStringList{value},
                 qPrintable(where + ": the view box shows " + viewBoxLines(slot, rows).join('|')));
        const QString previewed = drawnInBox(previewSheet, slot.rectTenths(), 96);
        QVERIFY2(previewed == value, qPrintable(where + ": the preview shows \"" + previewed + '"'));
        const QString printed = drawnInBox(paperSheet, slot.rectTenths(), 1200);
        QVERIFY2(printed == value, qPrintable(where + ": the paper shows \"" + printed + '"'));
    }
}

void TypeMetricsTest::missingFacesAreNamedWithTheirPackages_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<bool>("chineseShowable");
    QTest::addColumn<QStringList>("named");      // empty: no message
    QTest::addColumn<QStringList>("notNamed");
    QTest::newRow("all there") << QStringList{"AR PL UMing CN", "Noto Serif CJK SC", "Noto Sans CJK SC"} << true
                               << QStringList{} << QStringList{};
    QTest::newRow("names as the font database spells them") << QStringList{"ar pl uming cn", "NOTO SANS CJK SC"} << true
                                                             << QStringList{} << QStringList{};
    QTest::newRow("only Noto, as before") << QStringList{"Noto Serif CJK SC", "Noto Sans CJK SC", "DejaVu Sans"} << true
                                          << QStringList{"AR PL UMing CN（代替宋体）", "fonts-arphic-uming"}
                                          << QStringList{"fonts-noto-cjk", "No Chinese font"};
    QTest::newRow("only the Ming face") << QStringList{"AR PL UMing CN"} << true
                                        << QStringList{"Noto Sans CJK SC（代替微软雅黑）", "fonts-noto-cjk"}
                                        << QStringList{"fonts-arphic-uming", "No Chinese font"};
    QTest::newRow("Latin faces only") << QStringList{"DejaVu Sans", "DejaVu Serif"} << false
                                      << QStringList{"sudo apt-get install fonts-arphic-uming fonts-noto-cjk",
                                                     "No Chinese font is installed"}
                                      << QStringList{};
}

void TypeMetricsTest::missingFacesAreNamedWithTheirPackages()
{
    QFETCH(QStringList, installed);
    QFETCH(bool, chineseShowable);
    QFETCH(QStringList, named);
    QFETCH(QStringList, notNamed);
    const QString message = missingFontsMessage(installed, chineseShowable);
    QCOMPARE(message.isEmpty(), named.isEmpty());
    if (message.isEmpty())
        return;
    QVERIFY2(message.startsWith(QStringLiteral("缺少打印快递单所需的字体：")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("后再启动本软件！")), qPrintable(message));
    for (const QString& text : named)
        QVERIFY2(message.contains(text), qPrintable(message));
    for (const QString& text : notNamed)
        QVERIFY2(!message.contains(text), qPrintable(message));
}

void TypeMetricsTest::renderRefusesWithoutTheFaces()
{
    // The real command in a process whose font configuration knows Latin faces only.
    QTemporaryDir dir;
    const QString config = writeLatinOnlyFontConfig(dir.path());
    QVERIFY(!config.isEmpty());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    Connection::createDatabase(QStringLiteral("data.mdb"));
    QDir::setCurrent(previous);

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FONTCONFIG_FILE"), config);
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(dir.path());
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("render"), QStringLiteral("--window"), QStringLiteral("dd"), QStringLiteral("--template"),
                 QStringLiteral("1"), QStringLiteral("--pdf"), QStringLiteral("out.pdf")});
    QVERIFY(child.waitForFinished(60000));
    const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
    QCOMPARE(child.exitCode(), 1);
    QVERIFY2(errors.contains(QStringLiteral("sudo apt-get install fonts-arphic-uming fonts-noto-cjk")), qPrintable(errors));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out.pdf"))));
}

void TypeMetricsTest::cleanupTestCase()
{
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        qInfo("%s: %d number slots, %d where the number fits in 宋体", qPrintable(it.key()), it->numberSlots, it->fitting);
}

int main(int argc, char* argv[])
{
    // Child mode: the program's own entry, as `corvane render …` runs it.
    if (argc > 1 && qstrcmp(argv[1], "render") == 0)
        return runApplication(argc, argv);
    QApplication app(argc, argv);
    TypeMetricsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_type_metrics.moc"
