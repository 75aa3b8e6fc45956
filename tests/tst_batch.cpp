// Batch printing: the batch windows' own connection and query, re-run on every activation,
// one page per row in row order with one sender, the single page of an empty or failed query,
// and the tool bar's note of sender and count.
#include "testsupport/AppTestSupport.h"
#include "testsupport/PrintWindowTestSupport.h"
#include "testsupport/PrintingTestDouble.h"

#include "addressbook/List.h"
#include "core/Fonts.h"
#include "core/Error.h"
#include "output/TemplateReportPage.h"
#include "printwindows/BatchQuery.h"
#include "printwindows/PrintWindow.h"
#include "printwindows/ViewBox.h"
#include "templates/BannerLabel.h"
#include "templates/Catalogue.h"

#include <QLabel>
#include <QMenu>
#include <QtTest>

using namespace corvane;
using namespace corvane::test;

namespace {

using Rows = QVector<QStringList>;

const QStringList senderRow{"王立新", "杭州", "青禾茶叶", "310012", "文三路478号", "13858123467",
                            "", "王立新", "", "2026", "01", "05"};
const QStringList otherSender{"陈静", "宁波", "海曙文具", "315000", "中山西路9号", "13700002222"};

QStringList recipientRow(const QString& name)
{
    return QStringList{name, "上海", name + "商行", "200001", "南京东路", "13900001234", "", "茶叶", "1", "备注" + name};
}

bool drawnInSlot(const RecordedSheet& sheet, const QString& text, const TextSlot& slot)
{
    const DrawnText* drawn = sheet.find(text);
    return drawn && qAbs(drawn->baseline.x() - slot.rect.x()) <= 3 && drawn->baseline.y() > slot.rect.top()
        && drawn->baseline.y() <= slot.rect.bottom() + 1;
}

}

class TestBatch : public QObject {
    Q_OBJECT
private:
    InstalledPrintingDouble printing;

    static bool openFromMenu(MainWindowFixture& f, PrintWindowKind kind, const QString& item,
                             const std::function<void(PrintWindow&)>& inside)
    {
        QAction* action = f.form().templateMenu(kind)->findChild<QAction*>(item);
        return action && whileOpen(*f.form().printWindow(kind), [action] { action->trigger(); }, inside);
    }

private Q_SLOTS:
    void initTestCase()
    {
        installFontSubstitutions();
        printing.printers = {PrintingTestDouble::customSizePrinter(QStringLiteral("Waybills"), 96)};
    }

    void threeRowsGiveThreePagesInRowOrderWithOneSender()
    {
        MainWindowFixture f(Rows{otherSender, senderRow}, Rows{recipientRow("孙悦"), recipientRow("周强"), recipientRow("吴敏")});
        f.clickRow(QStringLiteral("DBGridEh1"), 1);   // the sender grid: 王立新
        QCOMPARE(f.form().ADOQuery1()->RecNo(), 1);
        PrintWindow& w = *f.form().printWindow(PrintWindowKind::Pd);
        const Catalogue& catalogue = w.model().catalogue();
        QList<std::shared_ptr<QPicture>> pages;
        QStringList firstRowAfterPreview;
        QVERIFY(openFromMenu(f, PrintWindowKind::Pd, "EMS3", [&](PrintWindow& win) {
            QCOMPARE(win.findChild<QLabel*>("BatchSummary")->text(), QStringLiteral("寄件人：王立新 · 共 3 张"));
            pages = previewPages(win);
            // The batch leaves the query on its last row; activation brings back the first.
            win.activateWindow();
            QTRY_VERIFY(win.isActiveWindow());
            firstRowAfterPreview = win.viewBox(7)->lines();
        }));
        QCOMPARE(pages.size(), 3);
        const QStringList names{"孙悦", "周强", "吴敏"};
        for (int k = 0; k < 3; ++k) {
            const RecordedSheet sheet = replay(*pages.at(k));
            QVERIFY2(drawnInSlot(sheet, names.at(k), catalogue.slot(7)), qPrintable(sheet.allText()));
            QVERIFY(drawnInSlot(sheet, "备注" + names.at(k), catalogue.slot(20)));
            QVERIFY(drawnInSlot(sheet, "王立新", catalogue.slot(1)));
            QVERIFY(drawnInSlot(sheet, "青禾茶叶", catalogue.slot(4)));
            QVERIFY(!sheet.find("陈静"));
            for (int other = 0; other < 3; ++other)
                if (other != k)
                    QVERIFY(!sheet.find(names.at(other)));
            QVERIFY2(sheet.allText().remove(QLatin1Char('|')).contains(bannerText()), qPrintable(sheet.allText()));
        }
        QCOMPARE(firstRowAfterPreview, QStringList{"孙悦"});
    }

    void recipientAddedAfterStartUpIsInTheNextBatch()
    {
        MainWindowFixture f(Rows{senderRow}, Rows{recipientRow("孙悦")});
        PrintWindow& w = *f.form().printWindow(PrintWindowKind::Pd);
        QCOMPARE(w.batch()->ADOQuery1()->RecordCount(), 1);
        // Added on the recipient page, through the main window's own list.
        List& recipients = *f.form().ADOQuery2();
        recipients.Append();
        recipients.FieldByName(QStringLiteral("姓名")).setAsString(QStringLiteral("新来的"));
        recipients.Post();
        QCOMPARE(w.batch()->ADOQuery1()->RecordCount(), 1);   // a snapshot until activated
        QList<std::shared_ptr<QPicture>> pages;
        QVERIFY(openFromMenu(f, PrintWindowKind::Pd, "EMS3", [&](PrintWindow& win) {
            QCOMPARE(win.batch()->ADOQuery1()->RecordCount(), 2);
            QCOMPARE(win.batchSummary(), QStringLiteral("寄件人：王立新 · 共 2 张"));
            pages = previewPages(win);
        }));
        QCOMPARE(pages.size(), 2);
        QVERIFY(replay(*pages.at(1)).find("新来的"));
    }

    void emptyImportListGivesOnePageWithTheSender()
    {
        MainWindowFixture f(Rows{senderRow}, Rows{recipientRow("孙悦")});
        PrintWindow& w = *f.form().printWindow(PrintWindowKind::Ped);
        QList<std::shared_ptr<QPicture>> pages;
        QVERIFY(openFromMenu(f, PrintWindowKind::Ped, "EMS4", [&](PrintWindow& win) {
            QVERIFY(win.viewBox(7)->lines().isEmpty());
            QCOMPARE(win.viewBox(1)->lines(), QStringList{"王立新"});
            QCOMPARE(win.batchSummary(), QStringLiteral("寄件人：王立新 · 收件人为空，共 1 张"));
            pages = previewPages(win);
        }));
        QCOMPARE(pages.size(), 1);
        const RecordedSheet sheet = replay(*pages.first());
        QVERIFY(drawnInSlot(sheet, "王立新", w.model().catalogue().slot(1)));
        QVERIFY(!sheet.find("孙悦"));
        QVERIFY2(sheet.allText().remove(QLatin1Char('|')).contains(bannerText()), qPrintable(sheet.allText()));
    }

    // A query that cannot run again reaches the error box, stays closed, and gives the single
    // page; the next activation that succeeds opens it again.
    void failedRequeryGivesTheErrorAndTheSinglePage()
    {
        MainWindowFixture f(Rows{senderRow}, Rows{recipientRow("孙悦")});
        f.book.exec(QStringLiteral("alter table excel rename to excel_away"));
        PrintWindow& w = *f.form().printWindow(PrintWindowKind::Ped);
        QList<std::shared_ptr<QPicture>> pages;
        QVERIFY(openFromMenu(f, PrintWindowKind::Ped, "EMS4", [&](PrintWindow& win) {
            QVERIFY(!win.batch()->ADOQuery1()->Active());
            QVERIFY(win.viewBox(7)->lines().isEmpty());
            QCOMPARE(win.batchSummary(), QStringLiteral("寄件人：王立新 · 收件人未能读取，共 1 张"));
            pages = previewPages(win);
        }));
        // One box for the opening, not one for every activation that follows it.
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages.first().icon, MessageIcon::Stop);
        QVERIFY2(f.dialogs.messages.first().text.contains(QStringLiteral("excel")), qPrintable(f.dialogs.texts().join('\n')));
        QCOMPARE(pages.size(), 1);
        QVERIFY(replay(*pages.first()).find("王立新"));

        f.book.exec(QStringLiteral("alter table excel_away rename to excel"));
        f.book.insert(QStringLiteral("excel"), recipientRow("郑导"));
        f.dialogs.clear();
        QVERIFY(openFromMenu(f, PrintWindowKind::Ped, "EMS4", [&](PrintWindow& win) {
            QVERIFY(win.batch()->ADOQuery1()->Active());
            QCOMPARE(win.viewBox(7)->lines(), QStringList{"郑导"});
        }));
        QVERIFY(f.dialogs.messages.isEmpty());
        Q_UNUSED(w);
    }

    void changingTheSenderChangesTheNextBatch()
    {
        MainWindowFixture f(Rows{senderRow, otherSender}, Rows{recipientRow("孙悦"), recipientRow("周强")});
        QList<std::shared_ptr<QPicture>> pages;
        f.clickRow(QStringLiteral("DBGridEh1"), 1);
        QVERIFY(openFromMenu(f, PrintWindowKind::Pd, "N30", [&](PrintWindow& win) {   // 顺丰 模板一
            QCOMPARE(win.batchSummary(), QStringLiteral("寄件人：陈静 · 共 2 张"));
            pages = previewPages(win);
        }));
        QCOMPARE(pages.size(), 2);
        for (const auto& page : pages) {
            QVERIFY(replay(*page).find("陈静"));
            QVERIFY(!replay(*page).find("王立新"));
        }
    }

    void ownConnectionFailsWithTheEnginesText()
    {
        TemporaryAddressBook book(false);
        try {
            BatchQuery query(QStringLiteral("select * from inr"));
            QFAIL("a missing database opened");
        } catch (const Error& e) {
            QVERIFY(!e.message().isEmpty());
        }
    }
};

QTEST_MAIN(TestBatch)
#include "tst_batch.moc"
