// The print windows end to end in the offscreen platform: opened from the main window's
// template menus on a selected sender and recipient, filled over the form picture, previewed
// through the page engine, moved and retyped, and kept as the user left them.
#include "testsupport/AppTestSupport.h"
#include "testsupport/PrintWindowTestSupport.h"
#include "testsupport/PrintingTestDouble.h"

#include "addressbook/List.h"
#include "core/Fonts.h"
#include "output/TemplateReportPage.h"
#include "printwindows/BatchQuery.h"
#include "printwindows/PrintWindow.h"
#include "printwindows/TemplateMenus.h"
#include "printwindows/ViewBox.h"
#include "templates/BannerLabel.h"
#include "templates/Catalogue.h"

#include <QGroupBox>
#include <QTabBar>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using namespace corvane;
using namespace corvane::test;

namespace {

using Rows = QVector<QStringList>;

// outr: 姓名 城市 寄件单位 邮编 地址 手机 电话 签名 备注 年 月 日
const QStringList senderRow{"王立新", "杭州", "青禾茶叶", "310012", "文三路478号", "13858123467",
                         "0571-88001234", "王立新", "", "2026", "01", "05"};
// inr / excel: 姓名 城市 收件单位 邮编 地址 手机 电话 内件品名 数量 备注
QStringList recipient(const QString& name, const QString& city = QStringLiteral("上海"))
{
    return QStringList{name, city, name + QStringLiteral("商行"), "200001", "南京东路1号", "13900001111", "", "茶叶", "2", "易碎"};
}

const RecordedSheet sheetOf(const QPicture& page) { return replay(page); }

// The text drawn at the top-left of slot K's box (baseline inside the box, start at its left).
bool drawnInSlot(const RecordedSheet& sheet, const QString& text, const TextSlot& slot)
{
    const DrawnText* drawn = sheet.find(text);
    if (!drawn)
        return false;
    return qAbs(drawn->baseline.x() - slot.rect.x()) <= 3 && drawn->baseline.y() > slot.rect.top()
        && drawn->baseline.y() <= slot.rect.bottom() + 1;
}

}

class TestPrintWindow : public QObject {
    Q_OBJECT
private:
    InstalledPrintingDouble printing;

    static PrintWindow& window(MainWindowFixture& f, PrintWindowKind kind) { return *f.form().printWindow(kind); }

    // Triggers a template entry of the main window and runs `inside` while its window is open.
    static bool openFromMenu(MainWindowFixture& f, PrintWindowKind kind, const QString& item,
                             const std::function<void(PrintWindow&)>& inside)
    {
        QAction* action = f.form().templateMenu(kind)->findChild<QAction*>(item);
        if (!action)
            return false;
        return whileOpen(window(f, kind), [action] { action->trigger(); }, inside);
    }

private Q_SLOTS:
    void initTestCase()
    {
        installFontSubstitutions();
        printing.printers = {PrintingTestDouble::customSizePrinter(QStringLiteral("Waybills"), 96)};
    }

    void startUpMakesTheFourWindowsHiddenInOrder()
    {
        MainWindowFixture f(Rows{senderRow}, Rows{recipient("李娜")});
        const QList<PrintWindow*> windows = f.form().findChildren<PrintWindow*>(Qt::FindDirectChildrenOnly);
        QStringList classes;
        for (PrintWindow* w : windows) {
            classes << QString::fromLatin1(w->metaObject()->className()).section(QLatin1String("::"), -1);
            QVERIFY(!w->isVisible());
        }
        QCOMPARE(classes, (QStringList{"TDdForm", "TEddForm", "TPdForm", "TPedForm"}));
        QVERIFY(window(f, PrintWindowKind::Pd).batch());
        QVERIFY(window(f, PrintWindowKind::Ped).batch());
        QVERIFY(!window(f, PrintWindowKind::Dd).batch());
        QCOMPARE(window(f, PrintWindowKind::Pd).batch()->ADOQuery1()->RecordCount(), 1);
        // No template page is made until it is shown.
        for (int n = 1; n <= 33; ++n)
            QVERIFY(!window(f, PrintWindowKind::Dd).pageBuilt(n));
    }

    // Every entry of the four menus: right window, template, caption and height; only that
    // template shows, the tab row never does.
    void everyMenuEntryOpensItsWindowOnItsTemplate()
    {
        MainWindowFixture f(Rows{senderRow}, Rows{recipient("李娜")});
        int entries = 0;
        for (PrintWindowKind kind : allPrintWindowKinds) {
            for (const TemplateMenuRow& row : templateMenuRows()) {
                if (!row.templateNumber)
                    continue;
                const QString item = QString::fromLatin1(row.names[kind == PrintWindowKind::Dd ? 0
                                                                   : kind == PrintWindowKind::Pd ? 1
                                                                   : kind == PrintWindowKind::Edd ? 2 : 3]);
                bool checked = false;
                const bool seen = openFromMenu(f, kind, item, [&](PrintWindow& w) {
                    const QString where = item + QLatin1Char(' ') + w.traits().className;
                    QVERIFY2(w.isModal(), qPrintable(where));
                    QCOMPARE(w.windowTitle(), QString::fromUtf8(row.windowCaption));
                    QCOMPARE(w.shownTemplate(), row.templateNumber);
                    QCOMPARE(w.frameGeometry().height(), row.height);
                    QCOMPARE(w.width(), w.traits().clientWidth);
                    for (int n = 1; n <= 33; ++n)
                        QCOMPARE(w.tabSheet(n)->isVisible(), n == row.templateNumber);
                    QVERIFY2(w.pageBuilt(row.templateNumber), qPrintable(where));
                    // The tool bar covers the tab row.
                    auto* bar = w.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->tabBar();
                    const QRect tabs(bar->mapTo(&w, QPoint(0, 0)), bar->size());
                    QVERIFY2(tabs.bottom() < 79, qPrintable(QString::number(tabs.bottom())));
                    checked = true;
                });
                QVERIFY2(seen, qPrintable(item));
                QVERIFY2(checked, qPrintable(item));
                QVERIFY(!window(f, kind).isVisible());
                ++entries;
            }
        }
        QCOMPARE(entries, 132);
    }

    void shunfengTwoThenThreeShowsOnlyTemplate18At642()
    {
        MainWindowFixture f(Rows{senderRow}, Rows{recipient("李娜")});
        QVERIFY(openFromMenu(f, PrintWindowKind::Dd, "N101", [](PrintWindow& w) {
            QCOMPARE(w.shownTemplate(), 9);
            QCOMPARE(w.frameGeometry().height(), 682);
        }));
        QVERIFY(openFromMenu(f, PrintWindowKind::Dd, "N102", [](PrintWindow& w) {
            QCOMPARE(w.shownTemplate(), 18);
            QCOMPARE(w.frameGeometry().height(), 642);
            QCOMPARE(w.windowTitle(), QStringLiteral("顺丰快递单模板"));
            QVERIFY(!w.tabSheet(9)->isVisible());
            QVERIFY(w.tabSheet(18)->isVisible());
            // The page at 100 %, 25 px in, with the form picture under the boxes.
            QWidget* page = w.tabSheet(18)->findChild<QWidget*>(QStringLiteral("QuickRep18"));
            QCOMPARE(page->geometry(), QRect(25, 0, 816, 530));
            auto* picture = page->findChild<QLabel*>(QStringLiteral("Image18"));
            QVERIFY(picture && !picture->pixmap().isNull());
            QCOMPARE(picture->geometry(), QRect(0, 0, 816, 528));
        }));
    }

    // The view boxes show the selected rows; the preview's page carries the same values in
    // the print boxes, the banner, and no picture.
    void previewCarriesTheSelectedRowsInThePrintBoxes()
    {
        MainWindowFixture f(Rows{senderRow, {"张三", "北京"}}, Rows{recipient("李娜"), recipient("赵敏", "广州")});
        f.clickRow(QStringLiteral("DBGridEh2"), 1);   // the recipient grid
        QCOMPARE(f.form().ADOQuery2()->RecNo(), 1);
        const Catalogue& catalogue = window(f, PrintWindowKind::Dd).model().catalogue();
        QList<std::shared_ptr<QPicture>> pages;
        QVERIFY(openFromMenu(f, PrintWindowKind::Dd, "EMS1", [&](PrintWindow& w) {
            QCOMPARE(w.viewBox(1)->lines(), QStringList{"王立新"});
            QCOMPARE(w.viewBox(7)->lines(), QStringList{"赵敏"});
            QCOMPARE(w.viewBox(12)->lines(), QStringList{"广州"});
            QVERIFY(w.viewBox(1)->isVisible());
            QCOMPARE(w.viewBox(1)->geometry(), QRect(120, 100, 97, 22));
            QVERIFY(w.bannerLabel(1)->isVisible());
            bool closedByItsButton = false;
            pages = previewPages(w, &closedByItsButton);
            // The preview opened from the modal window takes the user's clicks.
            QVERIFY(closedByItsButton);
        }));
        QCOMPARE(pages.size(), 1);
        const RecordedSheet sheet = sheetOf(*pages.first());
        QVERIFY2(drawnInSlot(sheet, "王立新", catalogue.slot(1)), qPrintable(sheet.allText()));
        QVERIFY(drawnInSlot(sheet, "13858123467", catalogue.slot(2)));
        QVERIFY(drawnInSlot(sheet, "青禾茶叶", catalogue.slot(4)));
        QVERIFY(drawnInSlot(sheet, "赵敏", catalogue.slot(7)));
        QVERIFY(drawnInSlot(sheet, "赵敏商行", catalogue.slot(10)));
        QVERIFY(drawnInSlot(sheet, "广州", catalogue.slot(12)));
        QVERIFY(drawnInSlot(sheet, "易碎", catalogue.slot(20)));
        QVERIFY(!sheet.find("李娜"));
        QVERIFY2(sheet.allText().remove(QLatin1Char('|')).contains(bannerText()), qPrintable(sheet.allText()));
        QCOMPARE(picturesDrawn(*pages.first()), 0);

        // The counter does see a picture when one is drawn.
        QPicture withPicture;
        QPainter painter(&withPicture);
        painter.drawImage(QPoint(0, 0), QImage(4, 4, QImage::Format_RGB32));
        painter.end();
        QCOMPARE(picturesDrawn(withPicture), 1);
    }

    void importWindowPrintsTheCurrentImportRow()
    {
        MainWindowFixture f(Rows{senderRow}, Rows{recipient("李娜")});
        f.book.insert(QStringLiteral("excel"), recipient("周杰"));
        f.form().ADOQuery3()->Open();
        QList<std::shared_ptr<QPicture>> pages;
        QVERIFY(openFromMenu(f, PrintWindowKind::Edd, "EMS2", [&](PrintWindow& w) {
            QCOMPARE(w.viewBox(7)->lines(), QStringList{"周杰"});
            pages = previewPages(w);
        }));
        QCOMPARE(pages.size(), 1);
        QVERIFY(replay(*pages.first()).find("周杰"));
        QVERIFY(!replay(*pages.first()).find("李娜"));
    }

    void emptySenderStillGivesOneWaybill()
    {
        MainWindowFixture f(Rows{}, Rows{recipient("李娜")});
        QList<std::shared_ptr<QPicture>> pages;
        QVERIFY(openFromMenu(f, PrintWindowKind::Dd, "EMS1", [&](PrintWindow& w) {
            QVERIFY(w.viewBox(1)->lines().isEmpty());
            pages = previewPages(w);
        }));
        QCOMPARE(pages.size(), 1);
        const RecordedSheet sheet = replay(*pages.first());
        QVERIFY(sheet.find("李娜"));
        QVERIFY(!sheet.find("王立新"));
        QVERIFY2(sheet.allText().remove(QLatin1Char('|')).contains(bannerText()), qPrintable(sheet.allText()));
    }

    // Moves apply to every banner, view box and print box of all 33 templates, shown or not,
    // add up, and survive closing the window; the page shown later is made moved.
    void movesApplyToAllTemplatesAndAddUp()
    {
        MainWindowFixture f(Rows{senderRow}, Rows{recipient("李娜")});
        PrintWindow& w = window(f, PrintWindowKind::Dd);
        const Catalogue before(PrintWindowKind::Dd);
        auto expectMoved = [&](int dx, int dy) {
            const Catalogue& now = w.model().catalogue();
            for (int n = 1; n <= 33; ++n)
                QCOMPARE(now.waybillTemplate(n).banner, before.waybillTemplate(n).banner + QPoint(dx, dy));
            for (int k = 1; k <= 597; ++k) {
                QCOMPARE(now.slot(k).rect, before.slot(k).rect.translated(dx, dy));
                QCOMPARE(now.slot(k).viewRect, before.slot(k).viewRect.translated(dx, dy));
            }
        };
        QVERIFY(openFromMenu(f, PrintWindowKind::Dd, "N99", [&](PrintWindow& win) {   // 申通 模板二: template 2
            win.findChild<QLineEdit*>("Edit1")->setText("10");
            win.findChild<QToolButton*>("SpeedButton5")->click();
            expectMoved(0, 10);
            QCOMPARE(win.viewBox(21)->geometry().topLeft(), before.slot(21).viewRect.topLeft() + QPoint(0, 10));
            QCOMPARE(win.bannerLabel(2)->pos(), before.waybillTemplate(2).banner + QPoint(0, 10));
            win.findChild<QToolButton*>("SpeedButton5")->click();
            expectMoved(0, 20);
            win.findChild<QLineEdit*>("Edit1")->setText("-20");
            win.findChild<QToolButton*>("SpeedButton5")->click();
            expectMoved(0, 0);
            // Left by Edit2 alone, whatever Edit1 holds; then with Edit1 empty.
            win.findChild<QLineEdit*>("Edit2")->setText("-5");
            win.findChild<QToolButton*>("SpeedButton6")->click();
            expectMoved(-5, 0);
            win.findChild<QLineEdit*>("Edit1")->clear();
            win.findChild<QToolButton*>("SpeedButton6")->click();
            win.findChild<QToolButton*>("SpeedButton5")->click();   // empty: nothing, no message
            expectMoved(-10, 0);
        }));
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(!w.pageBuilt(14));
        QVERIFY(openFromMenu(f, PrintWindowKind::Dd, "N98", [&](PrintWindow& win) {   // template 14
            QCOMPARE(win.findChild<QLineEdit*>("Edit2")->text(), QStringLiteral("-5"));
            QCOMPARE(win.viewBox(236)->geometry().topLeft(), before.slot(236).viewRect.topLeft() + QPoint(-10, 0));
            QCOMPARE(win.bannerLabel(14)->pos(), before.waybillTemplate(14).banner + QPoint(-10, 0));
        }));
        // The print boxes the engine lays out follow the model.
        TemplateReportPage& page = w.reportPage(14);
        page.fillBand();
        const BandElement* box = page.band.element("QRRichText236");
        QVERIFY(box);
        QCOMPARE(box->rect.topLeft(), tenthsFromPixels(before.slot(236).rect.topLeft() + QPoint(-10, 0)));
        // The other windows keep their own positions.
        const Catalogue& batchCopy = window(f, PrintWindowKind::Pd).model().catalogue();
        QCOMPARE(batchCopy.slot(236).rect, Catalogue(PrintWindowKind::Pd).slot(236).rect);
    }

    void amountsThatDoNotConvertMoveNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("vertical");
        QTest::newRow("letters") << "abc" << true;
        QTest::newRow("fraction") << "1.5" << true;
        QTest::newRow("trailing blank") << "10 " << false;
        QTest::newRow("sign alone") << "+" << true;
        QTest::newRow("blanks alone") << "   " << false;
        QTest::newRow("beyond 32 bits") << "2147483648" << true;
        QTest::newRow("below 32 bits") << "-2147483649" << false;
        QTest::newRow("hex prefix alone") << "0x" << true;
        QTest::newRow("two signs") << "--1" << false;
        QTest::newRow("full-width digits") << "１０" << true;
    }
    void amountsThatDoNotConvertMoveNothing()
    {
        QFETCH(QString, text);
        QFETCH(bool, vertical);
        MainWindowFixture f(Rows{senderRow}, Rows{recipient("李娜")});
        const Catalogue before(PrintWindowKind::Edd);
        QVERIFY(openFromMenu(f, PrintWindowKind::Edd, "EMS2", [&](PrintWindow& w) {
            w.findChild<QLineEdit*>(vertical ? "Edit1" : "Edit2")->setText(text);
            w.findChild<QToolButton*>(vertical ? "SpeedButton5" : "SpeedButton6")->click();
            QCOMPARE(w.findChild<QLineEdit*>(vertical ? "Edit1" : "Edit2")->text(), text);
            QVERIFY(w.isVisible());
        }));
        QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("'%1' is not a valid integer value.").arg(text)});
        QCOMPARE(f.dialogs.messages.first().icon, MessageIcon::Stop);
        const Catalogue& now = window(f, PrintWindowKind::Edd).model().catalogue();
        for (int k = 1; k <= 597; ++k)
            QCOMPARE(now.slot(k).rect, before.slot(k).rect);
        for (int n = 1; n <= 33; ++n)
            QCOMPARE(now.waybillTemplate(n).banner, before.waybillTemplate(n).banner);
    }

    void amountsThatConvert_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("amount");
        QTest::newRow("blanks before") << "  7" << 7;
        QTest::newRow("plus") << "+12" << 12;
        QTest::newRow("minus") << "-3" << -3;
        QTest::newRow("dollar hex") << "$1A" << 26;
        QTest::newRow("0x hex") << "0x10" << 16;
        QTest::newRow("x hex") << "x0f" << 15;
        QTest::newRow("negative hex") << "-$8" << -8;
        QTest::newRow("leading zeros") << "007" << 7;
    }
    void amountsThatConvert()
    {
        QFETCH(QString, text);
        QFETCH(int, amount);
        MainWindowFixture f(Rows{senderRow}, Rows{recipient("李娜")});
        const Catalogue before(PrintWindowKind::Ped);
        QVERIFY(openFromMenu(f, PrintWindowKind::Ped, "EMS4", [&](PrintWindow& w) {
            w.findChild<QLineEdit*>("Edit2")->setText(text);
            w.findChild<QToolButton*>("SpeedButton6")->click();
        }));
        QVERIFY(f.dialogs.messages.isEmpty());
        const Catalogue& now = window(f, PrintWindowKind::Ped).model().catalogue();
        QCOMPARE(now.slot(597).rect, before.slot(597).rect.translated(amount, 0));
        QCOMPARE(now.waybillTemplate(33).banner, before.waybillTemplate(33).banner + QPoint(amount, 0));
    }

    // 设置字体 starts from "MS Sans Serif" 11 px, then from the last confirmed font; the type
    // goes to every ordinary view and print box, never to large-type slots or banners.
    void typeChangeReachesOrdinaryBoxesOnly()
    {
        MainWindowFixture f(Rows{senderRow}, Rows{recipient("李娜")});
        PrintWindow& w = window(f, PrintWindowKind::Pd);
        ScriptedFontChooser chooser;
        w.setFontChooser(&chooser);
        QFont twenty(QStringLiteral("宋体"));
        twenty.setPixelSize(20);
        twenty.setItalic(true);
        chooser.answer = twenty;
        chooser.answerColour = Qt::darkBlue;
        const Catalogue before(PrintWindowKind::Pd);
        QVERIFY(openFromMenu(f, PrintWindowKind::Pd, "N28", [&](PrintWindow& win) {   // template 15
            win.findChild<QToolButton*>("SpeedButton1")->click();
            QCOMPARE(win.viewBox(254)->font().pixelSize(), 20);
            QCOMPARE(win.viewBox(470)->font().pixelSize(), 56);
            QCOMPARE(win.bannerLabel(15)->font(), bannerFont());
        }));
        QCOMPARE(chooser.offered.size(), 1);
        QCOMPARE(chooser.offered.first().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(chooser.offered.first().pixelSize(), 11);
        const Catalogue& now = w.model().catalogue();
        for (int k = 1; k <= 597; ++k) {
            const TextSlot& slot = now.slot(k);
            if (slot.largeType) {
                QCOMPARE(slot.font, before.slot(k).font);
            } else {
                QCOMPARE(slot.font.pixelSize(), 20);
                QVERIFY(slot.font.italic());
                QCOMPARE(slot.colour, QColor(Qt::darkBlue));
            }
        }
        int large = 0;
        for (int k = 1; k <= 597; ++k)
            large += now.slot(k).largeType;
        QCOMPARE(large, 11);
        // Print boxes take the same type as their view boxes; the banner keeps its own.
        TemplateReportPage& page = w.reportPage(15);
        page.fillBand();
        QCOMPARE(page.band.element("QRRichText254")->font.family(), QStringLiteral("宋体"));
        QVERIFY(page.band.element("QRRichText254")->font.italic());
        QCOMPARE(page.band.element("QRRichText254")->font.pointSize(), 15);
        QCOMPARE(page.band.element("QRRichText470")->font.pointSize(), 42);
        QCOMPARE(page.band.element("QRLabel15")->font.pointSize(), 12);
        QVERIFY(!page.band.element("QRLabel15")->font.italic());

        // Next time the dialog starts from the confirmed font; a cancel changes nothing.
        chooser.confirm = false;
        QVERIFY(openFromMenu(f, PrintWindowKind::Pd, "EMS3", [](PrintWindow& win) {
            win.findChild<QToolButton*>("SpeedButton1")->click();
        }));
        QCOMPARE(chooser.offered.last().pixelSize(), 20);
        QCOMPARE(now.slot(1).font.pixelSize(), 20);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void toolBarAsTabulated_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("previewCaption");
        QTest::addColumn<int>("closeX");
        QTest::addColumn<int>("pageControlHeight");
        QTest::newRow("TDdForm") << int(PrintWindowKind::Dd) << "单张预览" << 154 << 600;
        QTest::newRow("TEddForm") << int(PrintWindowKind::Edd) << "单张预览" << 155 << 600;
        QTest::newRow("TPdForm") << int(PrintWindowKind::Pd) << "批量预览" << 154 << 618;
        QTest::newRow("TPedForm") << int(PrintWindowKind::Ped) << "批量预览" << 154 << 618;
    }
    void toolBarAsTabulated()
    {
        QFETCH(int, kind);
        QFETCH(QString, previewCaption);
        QFETCH(int, closeX);
        QFETCH(int, pageControlHeight);
        MainWindowFixture f(Rows{senderRow}, Rows{recipient("李娜")});
        PrintWindow& w = window(f, PrintWindowKind(kind));
        auto button = [&w](const char* name) { return w.findChild<QToolButton*>(QLatin1String(name)); };
        QCOMPARE(button("SpeedButton1")->text(), QStringLiteral("设置字体"));
        QCOMPARE(button("SpeedButton1")->geometry(), QRect(8, 2, 73, 73));
        QCOMPARE(button("SpeedButton3")->text(), previewCaption);
        QCOMPARE(button("SpeedButton3")->geometry(), QRect(81, 2, 73, 73));
        QCOMPARE(button("SpeedButton4")->text(), QStringLiteral("关闭窗口"));
        QCOMPARE(button("SpeedButton4")->geometry(), QRect(closeX, 2, 73, 73));
        auto* group = w.findChild<QGroupBox*>("GroupBox1");
        QCOMPARE(group->title(), QStringLiteral("调整打印位置"));
        QCOMPARE(group->geometry(), QRect(432, 16, 435, 57));
        QCOMPARE(w.findChild<QLineEdit*>("Edit1")->geometry(), QRect(89, 24, 41, 21));
        QCOMPARE(w.findChild<QLineEdit*>("Edit2")->geometry(), QRect(296, 24, 41, 21));
        QCOMPARE(button("SpeedButton5")->geometry(), QRect(144, 24, 57, 21));
        QCOMPARE(button("SpeedButton6")->geometry(), QRect(352, 24, 57, 21));
        QCOMPARE(button("SpeedButton5")->parentWidget(), group);
        QCOMPARE(w.findChild<QLabel*>("Label1")->text(), QStringLiteral("上下移动"));
        QCOMPARE(w.findChild<QLabel*>("Label2")->text(), QStringLiteral("左右移动"));
        QCOMPARE(w.findChild<QTabWidget*>("PageControl1")->geometry(), QRect(0, 55, w.traits().clientWidth, pageControlHeight));
        QCOMPARE(w.findChild<QTabWidget*>("PageControl1")->count(), 33);
        QCOMPARE(w.findChild<QFrame*>("Panel1")->geometry(), QRect(0, 0, 881, 79));
        QVERIFY(!(w.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
    }

    // Closing by the close box hides the window as 关闭窗口 does, and a later preview lays the
    // page out again from the rows current then.
    void closeBoxHidesAndKeepsTheWindow()
    {
        MainWindowFixture f(Rows{senderRow}, Rows{recipient("李娜"), recipient("赵敏")});
        PrintWindow& w = window(f, PrintWindowKind::Dd);
        QVERIFY(whileOpen(w, [&] { f.form().templateMenu(PrintWindowKind::Dd)->findChild<QAction*>("EMS1")->trigger(); },
                          [](PrintWindow& win) { win.close(); }));
        QVERIFY(!w.isVisible());
        QVERIFY(w.pageBuilt(1));
        f.clickRow(QStringLiteral("DBGridEh2"), 1);
        QList<std::shared_ptr<QPicture>> pages;
        QVERIFY(openFromMenu(f, PrintWindowKind::Dd, "EMS1", [&](PrintWindow& win) { pages = previewPages(win); }));
        QCOMPARE(pages.size(), 1);
        QVERIFY(replay(*pages.first()).find("赵敏"));
    }
};

QTEST_MAIN(TestPrintWindow)
#include "tst_printwindow.moc"
