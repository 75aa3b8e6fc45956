// A batch window's batch printed through the real CUPS queue (the cups-pdf test printer):
// one job, one sheet per row, in row order, every sheet with the same sender.
#include "testsupport/AppTestSupport.h"
#include "testsupport/CupsPdfQueue.h"
#include "testsupport/ExternalTools.h"
#include "testsupport/PdfPageImages.h"
#include "testsupport/PrintWindowTestSupport.h"

#include "core/Fonts.h"
#include "output/QtPrintingSystem.h"
#include "output/TemplateReportPage.h"
#include "printwindows/PrintWindow.h"
#include "templates/Catalogue.h"

#include <QImage>

#include <QDir>
#include <QMenu>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>

using namespace corvane;
using namespace corvane::test;

namespace {

using Rows = QVector<QStringList>;

// The queue's PDF keeps no text, so rows are told apart by ink: a full block is one em wide.
const QString block = QString(QChar(0x2588));

// Whole ems of ink in a box given in pixels of the template (11 pt type).
int emsOfInk(const QImage& image, const QRect& pixels)
{
    const QRect region(qRound(pixels.x() * 254.0 / 96) - 5, qRound(pixels.y() * 254.0 / 96) - 5,
                       qRound(pixels.width() * 254.0 / 96) + 10, qRound(pixels.height() * 254.0 / 96) + 10);
    return qRound(inkIn(image, region).width() / (11 * 254.0 / 72));
}

}

class TestBatchCups : public QObject {
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

    void batchArrivesAsOneJobWithOneSheetPerRow()
    {
        // Row k's recipient 姓名 is k blocks; the sender's 姓名 is two blocks on every sheet.
        Rows recipients;
        for (int k = 1; k <= 3; ++k)
            recipients << QStringList{block.repeated(k), "上海", "商行", "200001", "南京东路", "13900001234"};
        MainWindowFixture f(Rows{{block.repeated(2), "杭州", "青禾茶叶", "310012", "文三路", "13858123467"}}, recipients);
        PrintWindow& w = *f.form().printWindow(PrintWindowKind::Pd);
        const QString title = QStringLiteral("corvane-test-batchwindow-%1").arg(QCoreApplication::applicationPid());
        for (const QString& old : cupsPdfFiles(title))
            QFile::remove(QDir(cupsPdfDirectory()).filePath(old));
        bool printed = false;
        QAction* entry = f.form().templateMenu(PrintWindowKind::Pd)->findChild<QAction*>(QStringLiteral("EMS3"));
        QVERIFY(whileOpen(w, [entry] { entry->trigger(); }, [&](PrintWindow& win) {
            TemplateReportPage& page = win.reportPage(win.shownTemplate());
            page.setPrintingSystem(&system);
            page.PrinterSettings.PrinterIndex = queueIndex;
            page.ReportTitle = title;
            printed = page.printJob();
        }));
        QVERIFY(printed);
        const QString pdf = waitForNewCupsPdf(title);
        QVERIFY2(!pdf.isEmpty(), "no PDF arrived from the queue within 30 s");
        QThread::msleep(1500);
        QCOMPARE(cupsPdfFiles(title).size(), 1);   // one job, not one per waybill
        const QString info = toolOutput(QStringLiteral("pdfinfo"), {pdf});
        QCOMPARE(QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt(), 3);
        // Template 1: slot 1 (sender 姓名) at 120, 100; slot 7 (recipient 姓名) at 120, 216.
        const Catalogue& catalogue = w.model().catalogue();
        for (int sheet = 1; sheet <= 3; ++sheet) {
            const QImage image = pdfPageAt254Dpi(pdf, sheet);
            QVERIFY(!image.isNull());
            QCOMPARE(emsOfInk(image, catalogue.slot(7).rect), sheet);
            QCOMPARE(emsOfInk(image, catalogue.slot(1).rect), 2);
        }
        QFile::remove(pdf);
    }
};

QTEST_MAIN(TestBatchCups)
#include "tst_batch_cups.moc"
