// The four template menus: the same tree of 23 entries and six submenus, item names per menu,
// captions as written, and the print buttons popping the right menu from the right page.
#include "testsupport/AppTestSupport.h"

#include "printwindows/PrintWindow.h"
#include "printwindows/TemplateMenus.h"

#include <QMenu>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using namespace corvane;
using namespace corvane::test;

namespace {

const QStringList topLevel{
    "EMS快递单模板", "申通快递单模板", "天天快递单模板", "韵达快递单模板", "国通快递单模板", "汇通快递单模板",
    "CCES快递单模板", "速尔快递单模板", "顺丰快递单模板", "中通快递单模板", "圆通快递单模板", "宅急送快递单模板",
    "德邦快递单模板", "全一快递单模板", "能达快递单模板", "信丰物流模板", "联昊通快递单模板", "增益快递单模板",
    "安捷快递单模板", "快捷快递单模板", "龙邦物流模板", "全峰快递单模板", "优速快递单模板"};

}

class TestTemplateMenus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The tree as data: 33 templates, each once, six submenus with their variants in order.
    void tableHoldsEveryTemplateOnce()
    {
        QSet<int> templates;
        QSet<QString> names;
        int submenus = 0;
        for (const TemplateMenuRow& row : templateMenuRows()) {
            if (!row.templateNumber) {
                ++submenus;
                QVERIFY(!row.inSubmenu);
            } else {
                QVERIFY(!templates.contains(row.templateNumber));
                templates.insert(row.templateNumber);
                QVERIFY(row.height == 592 || row.height == 642 || row.height == 647 || row.height == 682);
            }
            for (const char* name : row.names) {
                QVERIFY2(!names.contains(QLatin1String(name)), name);
                names.insert(QLatin1String(name));
            }
        }
        QCOMPARE(templates.size(), 33);
        QCOMPARE(submenus, 6);
        QCOMPARE(names.size(), (33 + 6) * 4);
    }

    void menusAsBuilt_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("menuName");
        QTest::addColumn<QStringList>("someNames");
        QTest::newRow("PopupMenu1") << int(PrintWindowKind::Dd) << "PopupMenu1" << QStringList{"EMS1", "N54", "N98", "N62", "N101", "N155"};
        QTest::newRow("PopupMenu2") << int(PrintWindowKind::Pd) << "PopupMenu2" << QStringList{"EMS3", "N56", "N107", "N63", "N110", "N156"};
        QTest::newRow("PopupMenu5") << int(PrintWindowKind::Edd) << "PopupMenu5" << QStringList{"EMS2", "N55", "N103", "N64", "N106", "N157"};
        QTest::newRow("PopupMenu6") << int(PrintWindowKind::Ped) << "PopupMenu6" << QStringList{"EMS4", "N57", "N111", "N65", "N114", "N158"};
    }
    void menusAsBuilt()
    {
        QFETCH(int, kind);
        QFETCH(QString, menuName);
        QFETCH(QStringList, someNames);
        QWidget owner;
        QList<TemplateChoice> chosen;
        QMenu* menu = buildTemplateMenu(&owner, PrintWindowKind(kind), [&](const TemplateChoice& c) { chosen << c; });
        QCOMPARE(menu->objectName(), menuName);
        QStringList captions;
        int submenus = 0;
        for (QAction* action : menu->actions()) {
            captions << action->text();
            QVERIFY2(!action->text().contains(QLatin1Char('&')), qPrintable(action->text()));
            if (QMenu* sub = action->menu()) {
                ++submenus;
                QStringList variants;
                for (QAction* entry : sub->actions())
                    variants << entry->text();
                const QString company = action->text();
                if (company == QStringLiteral("顺丰快递单模板"))
                    QCOMPARE(variants, (QStringList{"模板一", "模板二", "模板三", "模板四", "模板五"}));
                else if (company == QStringLiteral("韵达快递单模板"))
                    QCOMPARE(variants, (QStringList{"模板一", "模板二", "模板三"}));
                else
                    QCOMPARE(variants, (QStringList{"模板一", "模板二"}));
            }
        }
        QCOMPARE(captions, topLevel);
        QCOMPARE(submenus, 6);
        for (const QString& name : someNames)
            QVERIFY2(menu->findChild<QAction*>(name), qPrintable(name));

        // Every template entry asks for its own window, template, caption and height.
        for (QAction* action : menu->findChildren<QAction*>()) {
            if (action->menu() || action->objectName().isEmpty())
                continue;
            action->trigger();
        }
        QCOMPARE(chosen.size(), 33);
        for (const TemplateChoice& c : chosen)
            QCOMPARE(int(c.window), kind);
        auto find = [&](int templateNumber) {
            for (const TemplateChoice& c : chosen)
                if (c.templateNumber == templateNumber)
                    return c;
            return TemplateChoice{};
        };
        QCOMPARE(find(9).height, 682);
        QCOMPARE(find(9).windowCaption, QStringLiteral("顺丰快递单模板"));
        QCOMPARE(find(13).windowCaption, QStringLiteral("德邦物流模板"));
        QCOMPARE(find(31).windowCaption, QStringLiteral("德邦快递单模板"));
        QCOMPARE(find(12).height, 647);
        QCOMPARE(find(26).height, 642);
        QCOMPARE(find(1).height, 592);
    }

    // 单张打印 from the sender page switches to the recipient page and pops PopupMenu1 under
    // the button; 批量打印 on the import page pops PopupMenu6 and stays there.
    void printButtonsPopTheMenuOfThePage_data()
    {
        QTest::addColumn<int>("page");      // 0 sender, 1 recipient, 2 import
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<int>("pageAfter");
        QTest::newRow("单张打印 on senders") << 0 << 3 << "PopupMenu1" << 1;
        QTest::newRow("单张打印 on recipients") << 1 << 3 << "PopupMenu1" << 1;
        QTest::newRow("单张打印 on import") << 2 << 3 << "PopupMenu5" << 2;
        QTest::newRow("批量打印 on senders") << 0 << 4 << "PopupMenu2" << 1;
        QTest::newRow("批量打印 on recipients") << 1 << 4 << "PopupMenu2" << 1;
        QTest::newRow("批量打印 on import") << 2 << 4 << "PopupMenu6" << 2;
    }
    void printButtonsPopTheMenuOfThePage()
    {
        QFETCH(int, page);
        QFETCH(int, button);
        QFETCH(QString, menu);
        QFETCH(int, pageAfter);
        MainWindowFixture f;
        f.form().PageControl1()->setCurrentIndex(page);
        QToolButton* pressed = f.form().navigationButton(button);
        pressed->click();
        QCOMPARE(f.form().PageControl1()->currentIndex(), pageAfter);
        QMenu* shown = nullptr;
        for (PrintWindowKind kind : allPrintWindowKinds) {
            QMenu* m = f.form().templateMenu(kind);
            if (m->isVisible()) {
                QVERIFY2(!shown, "two menus open");
                shown = m;
            }
        }
        QVERIFY(shown);
        QCOMPARE(shown->objectName(), menu);
        QCOMPARE(f.form().popupPosition(pressed),
                 QPoint(f.form().geometry().left() + pressed->x(), f.form().geometry().top() + 145));
        shown->close();
    }
};

QTEST_MAIN(TestTemplateMenus)
#include "tst_templatemenus.moc"
