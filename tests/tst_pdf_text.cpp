// PDFs the program writes extract as the text printed: Qt's writer would give 大, 立 and 一
// back as the Kangxi radicals that share their glyphs (U+2F24, U+2F74, U+2F00).
#include "addressbook/Connection.h"
#include "app/Commands.h"
#include "core/Error.h"
#include "core/Fonts.h"
#include "output/PdfTextRepair.h"
#include "output/QtPrintingSystem.h"
#include "output/TemplateReportPage.h"
#include "templates/Catalogue.h"
#include "testsupport/AddressBookRows.h"
#include "testsupport/ExternalTools.h"

#include <qpdf/QPDF.hh>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

using namespace corvane;
using namespace corvane::test;

namespace {

QString pdfText(const QString& pdf)
{
    return toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
}

// Whether the file reads without qpdf having to mend anything, every object included.
bool wellFormed(const QString& pdf)
{
    try {
        QPDF reader;
        reader.setSuppressWarnings(true);
        reader.processFile(QFile::encodeName(pdf).constData());
        for (QPDFObjectHandle object : reader.getAllObjects()) {
            if (object.isStream())
                object.getStreamData(qpdf_dl_generalized);
        }
        return !reader.anyWarnings();
    } catch (const std::exception&) {
        return false;
    }
}

// Characters that only stand in for others in extracted text: radicals and strokes.
QString radicalsIn(const QString& text)
{
    QString found;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x2E80 && u <= 0x2FDF) || (u >= 0x31C0 && u <= 0x31EF) || u == u'\t')
            found += c;
    }
    return found;
}

const QString senderName = QStringLiteral("王大锤");
const QString senderAddress = QStringLiteral("立新一路88号");
const QString recipientName = QStringLiteral("李一立");
const QString phone = QStringLiteral("0571-88217634");

QString value(const QString& column, bool sender)
{
    if (column == QStringLiteral("姓名"))
        return sender ? senderName : recipientName;
    if (column == QStringLiteral("地址"))
        return sender ? senderAddress : QStringLiteral("人民大道一号");
    if (column == QStringLiteral("电话"))
        return phone;
    return {};
}

}

class PdfTextTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    QString previousDir;

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void theStandInFacesShareGlyphsWithRadicals();
    void cmapsAreRewritten_data();
    void cmapsAreRewritten();
    void whatQtWritesIsRepaired_data();
    void whatQtWritesIsRepaired();
    void renderWritesTheTextPrinted();
    void printToFileWritesTheTextPrinted_data();
    void printToFileWritesTheTextPrinted();
    void aFileThatIsNoPdfIsLeftAsItWas();
};

void PdfTextTest::initTestCase()
{
    installFontSubstitutions();
    QVERIFY(dir.isValid());
    previousDir = QDir::currentPath();
    QDir::setCurrent(dir.path());
    Connection::createDatabase(QStringLiteral("data.mdb"));
    Connection connection;
    connection.Open();
    appendAddressRows(connection, QStringLiteral("outr"), {{{"姓名", senderName}, {"地址", senderAddress}, {"电话", phone}}});
    appendAddressRows(connection, QStringLiteral("inr"), {{{"姓名", recipientName}, {"地址", QStringLiteral("人民大道一号")}}});
}

void PdfTextTest::cleanupTestCase()
{
    QDir::setCurrent(previousDir);
}

void PdfTextTest::theStandInFacesShareGlyphsWithRadicals()
{
    // Found in the installed faces, not written down: the radicals map back to the ideographs.
    const QHash<char32_t, char32_t>& table = PdfTextRepair::replacements();
    QCOMPARE(table.value(0x2F24), char32_t(U'大'));
    QCOMPARE(table.value(0x2F74), char32_t(U'立'));
    QCOMPARE(table.value(0x2F00), char32_t(U'一'));
    QCOMPARE(table.value(0x2F08), char32_t(U'人'));
    QCOMPARE(table.value(0x2EA6), char32_t(U'丬'));   // no compatibility mapping of its own
    // Ideographs and Latin are never replaced.
    for (const char32_t kept : {U'大', U'A', U'0', U' '})
        QVERIFY(!table.contains(kept));
}

void PdfTextTest::cmapsAreRewritten_data()
{
    QTest::addColumn<QByteArray>("entries");
    QTest::addColumn<QByteArray>("expected");   // bfchar lines after, empty: left alone

    const QByteArray header = "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    QTest::newRow("range with an array, as Qt writes it")
        << header + "2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0004> [<738B> <2F24> <9524> <0009> ]\nendbfrange\n"
        << QByteArray("<0000> <0000>\n<0001> <738B>\n<0002> <5927>\n<0003> <9524>\n<0004> <0020>\n");
    QTest::newRow("range counting up")
        << header + "1 beginbfrange\n<0010> <0012> <2F00>\nendbfrange\n"
        << QByteArray("<0010> <4E00>\n<0011> <4E28>\n<0012> <4E36>\n");
    QTest::newRow("single characters")
        << header + "2 beginbfchar\n<0003> <2F74>\n<0004> <0041>\nendbfchar\n"
        << QByteArray("<0003> <7ACB>\n<0004> <0041>\n");
    QTest::newRow("nothing to mend") << header + "1 beginbfchar\n<0003> <7ACB>\nendbfchar\n" << QByteArray();
    QTest::newRow("ligature kept whole") << header + "2 beginbfchar\n<0003> <00660069>\n<0004> <2F24>\nendbfchar\n"
                                         << QByteArray("<0003> <00660069>\n<0004> <5927>\n");
    QTest::newRow("not understood: left alone") << header + "1 beginbfchar\n<0003> <2F24> /oops\nendbfchar\n"
                                                << QByteArray();
}

void PdfTextTest::cmapsAreRewritten()
{
    QFETCH(QByteArray, entries);
    QFETCH(QByteArray, expected);
    const QByteArray cmap = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n" + entries
                            + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    const QByteArray repaired = PdfTextRepair::repairCMap(cmap, PdfTextRepair::replacements());
    if (expected.isEmpty()) {
        QVERIFY(repaired.isNull());
        return;
    }
    QVERIFY(repaired.startsWith("/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n1 begincodespacerange"));
    QVERIFY(repaired.endsWith("endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n"));
    const int count = expected.count('\n');
    QVERIFY2(repaired.contains(QByteArray::number(count) + " beginbfchar\n" + expected + "endbfchar\n"), repaired.constData());
}

void PdfTextTest::whatQtWritesIsRepaired_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("radicalsFromQt");   // what Qt alone writes extracts with radicals
    QTest::addColumn<PdfTextRepair::Update>("update");
    // Replaced through a temporary file, or appended to a file that is itself a temporary one.
    for (const auto& [update, how] : {std::pair{PdfTextRepair::Update::Replace, "replaced"},
                                      std::pair{PdfTextRepair::Update::Append, "appended"}}) {
        QTest::addRow("宋体, %s", how) << "宋体" << true << false << update;
        QTest::addRow("微软雅黑, %s", how) << "微软雅黑" << true << true << update;
        QTest::addRow("Noto Serif CJK SC, %s", how) << "Noto Serif CJK SC" << false << true << update;
        QTest::addRow("Noto Sans CJK SC, %s", how) << "Noto Sans CJK SC" << false << true << update;
    }
}

void PdfTextTest::whatQtWritesIsRepaired()
{
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(bool, radicalsFromQt);
    QFETCH(PdfTextRepair::Update, update);
    const QString text = QStringLiteral("王大锤 立新一路 人民 丬 0571-88217634");
    const QString pdf = dir.filePath(QStringLiteral("direct.pdf"));
    {
        QPdfWriter writer(pdf);
        QPainter painter(&writer);
        QFont font(family);
        font.setPixelSize(200);
        font.setBold(bold);
        painter.setFont(font);
        painter.drawText(QPointF(200, 600), text);
    }
    const QString before = pdfText(pdf).trimmed();
    const qint64 sizeBefore = QFileInfo(pdf).size();
    const int rewritten = PdfTextRepair::repairFile(pdf, update);
    const QString after = pdfText(pdf).trimmed();
    QVERIFY(wellFormed(pdf));
    QCOMPARE(!radicalsIn(before).isEmpty(), radicalsFromQt);
    if (radicalsFromQt)
        QVERIFY(rewritten > 0);
    // New maps follow the file as Qt wrote it; nothing changes where none was given.
    QCOMPARE(QFileInfo(pdf).size() > sizeBefore, rewritten > 0);
    QVERIFY2(radicalsIn(after).isEmpty(), qPrintable(QStringLiteral("before: %1\nafter: %2").arg(before, after)));
    QCOMPARE(after, text);
}

void PdfTextTest::renderWritesTheTextPrinted()
{
    const QString pdf = dir.filePath(QStringLiteral("render.pdf"));
    QFile::remove(pdf);
    QCOMPARE(runRenderCommand({"--window", "dd", "--template", "1", "--pdf", pdf}), 0);
    const QString text = pdfText(pdf);
    for (const QString& printed : {senderName, senderAddress, recipientName, phone, QStringLiteral("Corvane快递单打印软件")})
        QVERIFY2(text.contains(printed), qPrintable(printed + " not in:\n" + text));
    QVERIFY2(radicalsIn(text).isEmpty(), qPrintable(text));
    // Nothing is left beside the file.
    QCOMPARE(QDir(dir.path()).entryList({"render.pdf*"}, QDir::Files | QDir::Hidden), QStringList{"render.pdf"});
}

void PdfTextTest::printToFileWritesTheTextPrinted_data()
{
    QTest::addColumn<QString>("family");
    QTest::newRow("built-in type") << QString();
    QTest::newRow("type set to 微软雅黑") << "微软雅黑";
    QTest::newRow("type set to Noto Serif CJK SC") << "Noto Serif CJK SC";
}

void PdfTextTest::printToFileWritesTheTextPrinted()
{
    // The setup dialog's "print to file": the page run prints into the file the user chose.
    QFETCH(QString, family);
    Catalogue catalogue(PrintWindowKind::Dd);
    if (!family.isEmpty()) {
        QFont type(family);
        type.setPixelSize(15);
        catalogue.setOrdinaryType(type, Qt::black);
    }
    TemplateReportPage page(catalogue.waybillTemplate(1),
                            SlotRows{[](const QString& column) { return value(column, true); },
                                     [](const QString& column) { return value(column, false); }});
    QtPrintingSystem system;
    page.setPrintingSystem(&system);
    page.ShowProgress = false;
    const QString pdf = dir.filePath(QStringLiteral("chosen.pdf"));
    QFile::remove(pdf);
    page.PrinterSettings.OutputFileName = pdf;
    QVERIFY(page.printJob());
    const QString text = pdfText(pdf);
    for (const QString& printed : {senderName, senderAddress, recipientName, phone})
        QVERIFY2(text.contains(printed), qPrintable(printed + " not in:\n" + text));
    QVERIFY2(radicalsIn(text).isEmpty(), qPrintable(text));
    QVERIFY(wellFormed(pdf));
}

void PdfTextTest::aFileThatIsNoPdfIsLeftAsItWas()
{
    const QString path = dir.filePath(QStringLiteral("not.pdf"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n<< /ToUnicode 5 0 R >>\nthis is not a pdf\n");
    }
    QVERIFY_THROWS_EXCEPTION(Error, PdfTextRepair::repairFile(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("%PDF-1.4\n<< /ToUnicode 5 0 R >>\nthis is not a pdf\n"));
    QCOMPARE(QDir(dir.path()).entryList({"not.pdf*"}, QDir::Files | QDir::Hidden), QStringList{"not.pdf"});
}

QTEST_MAIN(PdfTextTest)
#include "tst_pdf_text.moc"
