#include "printwindows/TemplateMenus.h"

#include <QMenu>

namespace corvane {

namespace {

// Heights follow the page: 592 for 480 px pages, 642 for 530 px, 647 for 533 px, 682 for 568 px.
const TemplateMenuRow rows[] = {
    {false, "EMS快递单模板", 1, "EMS快递单模板", 592, {"EMS1", "EMS3", "EMS2", "EMS4"}},
    {false, "申通快递单模板", 0, nullptr, 0, {"N54", "N56", "N55", "N57"}},
    {true, "模板一", 14, "申通快递单模板", 592, {"N98", "N107", "N103", "N111"}},
    {true, "模板二", 2, "申通快递单模板", 592, {"N99", "N108", "N104", "N112"}},
    {false, "天天快递单模板", 3, "天天快递单模板", 592, {"N8", "N29", "N18", "N40"}},
    {false, "韵达快递单模板", 0, nullptr, 0, {"N58", "N59", "N60", "N61"}},
    {true, "模板一", 15, "韵达快递单模板", 592, {"N7", "N28", "N17", "N39"}},
    {true, "模板二", 4, "韵达快递单模板", 592, {"N100", "N109", "N105", "N113"}},
    {true, "模板三", 27, "韵达快递单模板", 592, {"N123", "N125", "N124", "N126"}},
    {false, "国通快递单模板", 5, "国通快递单模板", 592, {"N10", "N31", "N20", "N42"}},
    {false, "汇通快递单模板", 6, "汇通快递单模板", 592, {"N11", "N32", "N21", "N43"}},
    {false, "CCES快递单模板", 7, "CCES快递单模板", 592, {"CCES1", "CCES3", "CCES2", "CCES4"}},
    {false, "速尔快递单模板", 0, nullptr, 0, {"N12", "N33", "N22", "N44"}},
    {true, "模板一", 8, "速尔快递单模板", 592, {"N115", "N117", "N119", "N121"}},
    {true, "模板二", 26, "速尔快递单模板", 642, {"N116", "N118", "N120", "N122"}},
    {false, "顺丰快递单模板", 0, nullptr, 0, {"N62", "N63", "N64", "N65"}},
    {true, "模板一", 16, "顺丰快递单模板", 592, {"N9", "N30", "N19", "N41"}},
    {true, "模板二", 9, "顺丰快递单模板", 682, {"N101", "N110", "N106", "N114"}},
    {true, "模板三", 18, "顺丰快递单模板", 642, {"N102", "N34", "N23", "N45"}},
    {true, "模板四", 22, "顺丰快递单模板", 642, {"N70", "N72", "N71", "N73"}},
    {true, "模板五", 32, "顺丰快递单模板", 592, {"N151", "N152", "N153", "N154"}},
    {false, "中通快递单模板", 0, nullptr, 0, {"N13", "N35", "N24", "N46"}},
    {true, "模板一", 10, "中通快递单模板", 592, {"N127", "N129", "N131", "N133"}},
    {true, "模板二", 28, "中通快递单模板", 592, {"N128", "N130", "N132", "N134"}},
    {false, "圆通快递单模板", 11, "圆通快递单模板", 592, {"N14", "N36", "N25", "N47"}},
    {false, "宅急送快递单模板", 12, "宅急送快递单模板", 647, {"N15", "N37", "N26", "N48"}},
    {false, "德邦快递单模板", 0, nullptr, 0, {"N16", "N38", "N27", "N49"}},
    {true, "模板一", 13, "德邦物流模板", 647, {"N143", "N145", "N147", "N149"}},
    {true, "模板二", 31, "德邦快递单模板", 647, {"N144", "N146", "N148", "N150"}},
    {false, "全一快递单模板", 17, "全一快递单模板", 592, {"N66", "N68", "N67", "N69"}},
    {false, "能达快递单模板", 19, "能达快递单模板", 592, {"N74", "N76", "N75", "N77"}},
    {false, "信丰物流模板", 20, "信丰物流模板", 592, {"N78", "N80", "N79", "N81"}},
    {false, "联昊通快递单模板", 21, "联昊通快递单模板", 642, {"N82", "N84", "N83", "N85"}},
    {false, "增益快递单模板", 23, "增益快递单模板", 592, {"N90", "N94", "N92", "N96"}},
    {false, "安捷快递单模板", 24, "安捷快递单模板", 592, {"N91", "N95", "N93", "N97"}},
    {false, "快捷快递单模板", 25, "快捷快递单模板", 592, {"N86", "N88", "N87", "N89"}},
    {false, "龙邦物流模板", 29, "龙邦物流模板", 642, {"N135", "N136", "N137", "N138"}},
    {false, "全峰快递单模板", 30, "全峰快递单模板", 592, {"N139", "N140", "N141", "N142"}},
    {false, "优速快递单模板", 33, "优速快递单模板", 592, {"N155", "N156", "N157", "N158"}},
};

// Column of a window's menu in the rows' name lists.
int menuColumn(PrintWindowKind window)
{
    switch (window) {
    case PrintWindowKind::Dd: return 0;
    case PrintWindowKind::Pd: return 1;
    case PrintWindowKind::Edd: return 2;
    case PrintWindowKind::Ped: return 3;
    }
    return 0;
}

TemplateChoice choiceOf(const TemplateMenuRow& row, PrintWindowKind window)
{
    return {window, QString::fromLatin1(row.names[menuColumn(window)]), row.templateNumber,
            QString::fromUtf8(row.windowCaption), row.height};
}

}

std::span<const TemplateMenuRow> templateMenuRows()
{
    return rows;
}

QString templateMenuName(PrintWindowKind window)
{
    static const char* const names[] = {"PopupMenu1", "PopupMenu2", "PopupMenu5", "PopupMenu6"};
    return QString::fromLatin1(names[menuColumn(window)]);
}

bool findTemplateChoice(PrintWindowKind window, const QString& itemName, TemplateChoice* choice)
{
    for (const TemplateMenuRow& row : rows) {
        if (row.templateNumber && itemName == QLatin1String(row.names[menuColumn(window)])) {
            if (choice)
                *choice = choiceOf(row, window);
            return true;
        }
    }
    return false;
}

QMenu* buildTemplateMenu(QWidget* owner, PrintWindowKind window,
                         const std::function<void(const TemplateChoice&)>& open)
{
    auto* menu = new QMenu(owner);
    menu->setObjectName(templateMenuName(window));
    QMenu* submenu = nullptr;
    for (const TemplateMenuRow& row : rows) {
        const QString name = QString::fromLatin1(row.names[menuColumn(window)]);
        const QString caption = QString::fromUtf8(row.caption);
        if (!row.templateNumber) {
            submenu = new QMenu(caption, menu);
            submenu->setObjectName(name);
            submenu->menuAction()->setObjectName(name);
            menu->addMenu(submenu);
            continue;
        }
        QMenu* parent = row.inSubmenu ? submenu : menu;
        QAction* action = parent->addAction(caption);
        action->setObjectName(name);
        const TemplateChoice choice = choiceOf(row, window);
        QObject::connect(action, &QAction::triggered, menu, [open, choice] { open(choice); });
    }
    return menu;
}

}
