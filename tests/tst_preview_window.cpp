// The preview window over a real page run: status, progress, thumbnails, zoom, keys, the
// setup and print buttons, closing (also in the middle of a batch or of a print run).
#include "outputwindows/PageImage.h"
#include "outputwindows/PreviewPageView.h"
#include "output/TPageRun.h"
#include "outputwindows/TQRStandardPreview.h"
#include "outputwindows/ThumbGrid.h"
#include "testsupport/AnsweringDialogs.h"
#include "testsupport/OutputFixtures.h"
#include "testsupport/PreviewLayout.h"
#include "testsupport/PrintingTestDouble.h"


#include <QLabel>
#include <QPainter>
#include <QPicture>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>
#include <functional>

using namespace corvane;
using namespace corvane::test;

class TestPreviewWindow : public QObject {
    Q_OBJECT
private:
    InstalledPrintingDouble system;

private Q_SLOTS:
    void init()
    {
        system.printers = {PrintingTestDouble::customSizePrinter(QStringLiteral("Waybills"))};
        system.jobs.clear();
        system.setupRequests.clear();
        system.answerSetup = nullptr;
    }

    void singleWaybill()
    {
        OutputWaybill waybill;
        QString statusAtOpen;
        QStringList statusAfter;
        int thumbRows = -1;
        QString progressPanel;
        QString caption;
        QRect geometry;
        QStringList captions;
        connect(&waybill.page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) {
            statusAtOpen = window->statusPanel(1)->text();
            caption = window->windowTitle();
            geometry = window->frameGeometry();
            for (int i = 1; i <= 10; ++i)
                captions << window->SpeedButton(i)->text();
            QCOMPARE(window->Tabs()->tabText(0), QStringLiteral("缩略图"));
            whenLaidOut(waybill.page, window, [&, window] {
                statusAfter << window->statusPanel(1)->text();
                thumbRows = window->ThumbGridWidget()->rowCount();
                progressPanel = window->statusPanel(0)->text();
                QVERIFY(window->QRPreview()->image()->hasPage());
            });
        });
        waybill.page.Preview();
        QCOMPARE(waybill.beforePrintCalls, 1);
        QCOMPARE(statusAtOpen, QStringLiteral("第 1/0 页"));
        QCOMPARE(statusAfter, QStringList{QStringLiteral("第 1/1 页")});
        QCOMPARE(thumbRows, 1);
        QCOMPARE(progressPanel, QStringLiteral("0%"));
        QCOMPARE(caption, QStringLiteral("打印预览"));
        QCOMPARE(captions, (QStringList{"合适大小", "合适宽度", "缩放100%", "首 页", "上一页", "下一页", "末 页",
                                        "设 置", "打 印", "关 闭"}));
        QCOMPARE(geometry, QGuiApplication::primaryScreen()->availableGeometry());
        QVERIFY(!waybill.page.previewRun()); // released with the window
        QVERIFY(waybill.page.available());
    }

    void batchCountsUpWhilePageOneStaysInView()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(40));
        QStringList statuses;
        QStringList progressTexts;
        int rowsAtEnd = 0;
        int pageInView = 0;
        connect(&waybill.page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) {
            connect(window->run(), &TPageRun::pageAvailable, this, [&, window](int) {
                statuses << window->statusPanel(1)->text();
            });
            connect(window->run(), &TPageRun::progressChanged, this, [&, window](int) {
                const QString text = window->statusPanel(0)->text();
                if (progressTexts.isEmpty() || progressTexts.last() != text)
                    progressTexts << text;
            });
            whenLaidOut(waybill.page, window, [&, window] {
                rowsAtEnd = window->ThumbGridWidget()->rowCount();
                pageInView = window->QRPreview()->pageNumber();
            });
        });
        waybill.page.Preview();
        QStringList expected;
        for (int n = 2; n <= 40; ++n)
            expected << QStringLiteral("第 1/%1 页").arg(n);
        expected << QStringLiteral("第 1/40 页"); // the last page, at the end of the run
        QCOMPARE(statuses, expected);
        QStringList percents{QStringLiteral("0%")}; // 2% is below the 5% step
        for (int p = 5; p <= 95; p += 5)
            percents << QString::number(p) + QLatin1Char('%');
        percents << QString();
        QCOMPARE(progressTexts, percents);
        QCOMPARE(rowsAtEnd, 40);
        QCOMPARE(pageInView, 1);
    }

    void zoom()
    {
        OutputWaybill waybill;
        QSize at100;
        int fitZoom = 0;
        int expectedFit = 0;
        int afterBadZoom = 0;
        QSize afterBadSize;
        QPoint centred;
        QPoint expectedCentre;
        connect(&waybill.page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) {
            whenLaidOut(waybill.page, window, [&, window] {
                PreviewPageView* view = window->QRPreview();
                QCOMPARE(view->zoomMode(), PreviewPageView::ZoomMode::FitPage);
                const QSize area = view->maximumViewportSize();
                expectedFit = qMin(qRound(area.width() / 869.0 * 95), qRound(area.height() / 480.0 * 95));
                fitZoom = view->zoom();
                window->SpeedButton(3)->click();
                at100 = view->image()->size();
                expectedCentre = QPoint(qMax(0, (area.width() - at100.width()) / 2),
                                        qMax(0, (area.height() - at100.height()) / 2));
                centred = view->image()->pos();
                view->setZoom(1);
                view->setZoom(2001);
                afterBadZoom = view->zoom();
                afterBadSize = view->image()->size();
            });
        });
        waybill.page.Preview();
        QCOMPARE(fitZoom, expectedFit);
        QCOMPARE(at100, QSize(873, 484));
        QCOMPARE(centred, expectedCentre);
        QCOMPARE(afterBadZoom, 100);
        QCOMPARE(afterBadSize, QSize(873, 484));
    }

    void keysAndButtonsMoveBetweenPages_data()
    {
        QTest::addColumn<int>("startPage");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("button"); // 0: the key is used
        QTest::addColumn<int>("expectedPage");
        QTest::newRow("Ctrl+PageDown: last") << 2 << int(Qt::Key_PageDown) << int(Qt::ControlModifier) << 0 << 6;
        QTest::newRow("Shift+PageDown: next") << 2 << int(Qt::Key_PageDown) << int(Qt::ShiftModifier) << 0 << 3;
        QTest::newRow("Ctrl+Shift+PageDown: next") << 2 << int(Qt::Key_PageDown) << int(Qt::ControlModifier | Qt::ShiftModifier) << 0 << 3;
        QTest::newRow("PageUp: previous") << 4 << int(Qt::Key_PageUp) << 0 << 0 << 3;
        QTest::newRow("Ctrl+PageUp: first") << 4 << int(Qt::Key_PageUp) << int(Qt::ControlModifier) << 0 << 1;
        QTest::newRow("Home") << 4 << int(Qt::Key_Home) << 0 << 0 << 1;
        QTest::newRow("End") << 2 << int(Qt::Key_End) << 0 << 0 << 6;
        QTest::newRow("PageUp on page 1") << 1 << int(Qt::Key_PageUp) << 0 << 0 << 1;
        QTest::newRow("首 页") << 4 << 0 << 0 << 4 << 1;
        QTest::newRow("上一页") << 4 << 0 << 0 << 5 << 3;
        QTest::newRow("下一页") << 4 << 0 << 0 << 6 << 5;
        QTest::newRow("末 页") << 2 << 0 << 0 << 7 << 6;
        QTest::newRow("下一页 on the last page") << 6 << 0 << 0 << 6 << 6;
    }
    void keysAndButtonsMoveBetweenPages()
    {
        QFETCH(int, startPage);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, button);
        QFETCH(int, expectedPage);
        OutputWaybill waybill;
        waybill.useRows(numberedRows(6));
        int page = 0;
        int selectedRow = -1;
        QString status;
        connect(&waybill.page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) {
            whenLaidOut(waybill.page, window, [&, window] {
                window->showPage(startPage);
                if (button)
                    window->SpeedButton(button)->click();
                else
                    QTest::keyClick(window->QRPreview(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
                page = window->QRPreview()->pageNumber();
                selectedRow = window->ThumbGridWidget()->currentRow();
                status = window->statusPanel(1)->text();
                QVERIFY(window->QRPreview()->image()->hasPage());
            });
        });
        waybill.page.Preview();
        QCOMPARE(page, expectedPage);
        QCOMPARE(status, QStringLiteral("第 %1/6 页").arg(expectedPage));
        QCOMPARE(selectedRow, expectedPage - 1);
    }

    void selectingAThumbnailShowsItsPage()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(4));
        int page = 0;
        connect(&waybill.page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) {
            whenLaidOut(waybill.page, window, [&, window] {
                window->ThumbGridWidget()->selectRow(2);
                page = window->QRPreview()->pageNumber();
            });
        });
        waybill.page.Preview();
        QCOMPARE(page, 3);
    }

    void lastPageDuringABatchShowsTheUnfinishedPageEmpty()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(8));
        TQRStandardPreview* preview = nullptr;
        bool emptyWhileLaidOut = false;
        int pageShown = 0;
        bool filledLater = false;
        connect(&waybill.page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) {
            preview = window;
            whenLaidOut(waybill.page, window, [&, window] { filledLater = window->QRPreview()->image()->hasPage(); });
        });
        auto handler = waybill.page.band.BeforePrint;
        waybill.page.band.BeforePrint = [&](DetailBand& band, bool& print) {
            handler(band, print);
            if (waybill.beforePrintCalls == 6) {
                preview->SpeedButton(7)->click(); // 末 页: page 5 is being laid out
                pageShown = preview->QRPreview()->pageNumber();
                emptyWhileLaidOut = !preview->QRPreview()->image()->hasPage();
            }
        };
        waybill.page.Preview();
        QCOMPARE(pageShown, 5);
        QVERIFY(emptyWhileLaidOut);
        QVERIFY(filledLater);
    }

    void closingDuringABatchStopsBeforeTheNextRow()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(100));
        TQRStandardPreview* preview = nullptr;
        connect(&waybill.page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) { preview = window; });
        auto handler = waybill.page.band.BeforePrint;
        waybill.page.band.BeforePrint = [&](DetailBand& band, bool& print) {
            handler(band, print);
            if (waybill.beforePrintCalls == 10)
                preview->SpeedButton(10)->click();
        };
        QPointer<TQRStandardPreview> watch;
        connect(&waybill.page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) { watch = window; });
        waybill.page.Preview();
        QCOMPARE(waybill.beforePrintCalls, 10);
        QVERIFY(!waybill.page.previewRun());
        QVERIFY(waybill.page.available());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!watch);
        // A new preview lays the page out again, in a new window.
        waybill.page.band.BeforePrint = handler;
        connect(&waybill.page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) {
            whenLaidOut(waybill.page, window, [] {});
        });
        waybill.page.Preview();
        QCOMPARE(waybill.beforePrintCalls, 110);
    }

    // The preview window closes only by its close button or the title bar's close box; Escape,
    // which a dialog takes as "reject", must not hide it behind the run's back.
    void escapeNeitherHidesTheWindowNorLeavesTheRunGoing()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(30));
        QPointer<TQRStandardPreview> preview;
        connect(&waybill.page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) { preview = window; });
        bool visibleAfterEscape = false;
        auto handler = waybill.page.band.BeforePrint;
        waybill.page.band.BeforePrint = [&](DetailBand& band, bool& print) {
            handler(band, print);
            if (waybill.beforePrintCalls == 10) {
                QTest::keyClick(preview, Qt::Key_Escape);
                visibleAfterEscape = preview && preview->isVisible();
            }
            if (waybill.beforePrintCalls == 20 && preview)
                preview->close();
        };
        waybill.page.Preview();
        QVERIFY(visibleAfterEscape);
        QCOMPARE(waybill.beforePrintCalls, 20);
        QVERIFY(!waybill.page.previewRun());
        QVERIFY(waybill.page.available());
    }

    void setupGreysTheZoomButtonsAndLimitsThePages()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(5));
        system.answerSetup = [](PrinterSetupRequest&) { return false; };
        QList<bool> enabled;
        connect(&waybill.page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) {
            whenLaidOut(waybill.page, window, [&, window] {
                window->SpeedButton(8)->click();
                for (int i = 1; i <= 10; ++i)
                    enabled << window->SpeedButton(i)->isEnabled();
            });
        });
        waybill.page.Preview();
        QCOMPARE(enabled, (QList<bool>{false, false, false, true, true, true, true, true, true, true}));
        QCOMPARE(system.setupRequests.size(), 1);
        QCOMPARE(system.setupRequests.first().minPage, 1);
        QCOMPARE(system.setupRequests.first().maxPage, 5);
        QCOMPARE(system.setupRequests.first().toPage, 5);
    }

    void printButtonLaysThePageOutAgainForThePrinter()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(3));
        int pagesKept = 0;
        connect(&waybill.page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) {
            whenLaidOut(waybill.page, window, [&, window] {
                window->SpeedButton(9)->click();
                window->SpeedButton(9)->click();
                pagesKept = window->run()->pagesFinished();
            });
        });
        waybill.page.Preview();
        QCOMPARE(waybill.beforePrintCalls, 9);
        QCOMPARE(system.jobs.size(), 2);
        QCOMPARE(system.jobs.first().sheets.size(), 3);
        QCOMPARE(pagesKept, 3);
    }

    void closingThePreviewDuringAPrintRunAbortsTheJob()
    {
        OutputWaybill waybill;
        waybill.useRows(numberedRows(6));
        TQRStandardPreview* preview = nullptr;
        connect(&waybill.page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) {
            preview = window;
            whenLaidOut(waybill.page, window, [window] { window->SpeedButton(9)->click(); });
        });
        auto handler = waybill.page.band.BeforePrint;
        waybill.page.band.BeforePrint = [&](DetailBand& band, bool& print) {
            handler(band, print);
            if (waybill.beforePrintCalls == 6 + 3) // third row of the print run
                preview->close();
        };
        waybill.page.Preview();
        QCOMPARE(waybill.beforePrintCalls, 9);
        QCOMPARE(system.jobs.size(), 1);
        QVERIFY(system.jobs.first().aborted);
        QVERIFY(!system.jobs.first().ended);
        QVERIFY(waybill.page.available());
    }

    void thumbnailGeometryFollowsThePaper()
    {
        OutputWaybill waybill;
        ThumbGrid::Geometry geometry;
        int width = 0;
        connect(&waybill.page, &ReportPage::previewOpened, this, [&](TQRStandardPreview* window) {
            whenLaidOut(waybill.page, window, [&, window] {
                geometry = window->ThumbGridWidget()->geometry();
                width = window->ThumbGridWidget()->width();
            });
        });
        waybill.page.Preview();
        QCOMPARE(geometry.columnWidth, width - 4);
        QCOMPARE(geometry.thumbWidth, width - 24);
        QCOMPARE(geometry.thumbHeight, qRound(geometry.thumbWidth * 1270.0 / 2300.0 - geometry.textHeight));
        QCOMPARE(geometry.offsetX, 10);
    }

    // On A4 paper a 230 mm waybill is wider than the page: the page image and its thumbnails
    // show the page, with nothing of the band drawn beyond its outline.
    void nothingIsDrawnBeyondThePage()
    {
        system.printers = {PrintingTestDouble::a4OnlyPrinter(QStringLiteral("A4"))};
        OutputWaybill waybill;
        waybill.useRows(numberedRows(2));
        TPageRun run(system);
        waybill.page.layout(run);
        QCOMPARE(run.settings().paperWidth, 2100.0);
        const std::unique_ptr<QPicture> page = run.GetPage(1);
        QVERIFY(page);
        const int w = 149, h = 213; // a thumbnail of the 193 px wide list
        QImage image(w + 40, h, QImage::Format_RGB32);
        image.fill(Qt::darkGray);
        QPainter painter(&image);
        drawPageImage(painter, *page, w, h);
        painter.end();
        QCOMPARE(image.pixelColor(w / 2, h / 2), QColor(Qt::white)); // the page itself
        for (int y = 0; y < h; ++y)
            for (int x = w; x < w + 40; ++x)
                QVERIFY2(image.pixelColor(x, y) == QColor(Qt::darkGray), qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
    }
};

QTEST_MAIN(TestPreviewWindow)
#include "tst_preview_window.moc"
