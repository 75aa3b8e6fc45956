#pragma once
#include "templates/PrintWindowKind.h"

#include <QString>
#include <array>
#include <functional>
#include <span>

class QMenu;
class QWidget;

namespace corvane {

// One row of the template menus: a top-level entry, a submenu, or an entry inside the
// submenu above it. The four menus share the tree and differ in item names and window.
struct TemplateMenuRow {
    bool inSubmenu;             // an entry of the submenu row above
    const char* caption;        // as shown, no accelerator
    int templateNumber;         // 0: the row is a submenu
    const char* windowCaption;  // the print window's caption
    int height;                 // the print window's outer height, pixels
    std::array<const char*, 4> names;   // in PopupMenu1, PopupMenu2, PopupMenu5, PopupMenu6
};

std::span<const TemplateMenuRow> templateMenuRows();

// The menu that opens a window: PopupMenu1 (TDdForm), PopupMenu2 (TPdForm),
// PopupMenu5 (TEddForm), PopupMenu6 (TPedForm).
QString templateMenuName(PrintWindowKind window);

// What choosing an entry asks of its window.
struct TemplateChoice {
    PrintWindowKind window;
    QString itemName;        // "N101"
    int templateNumber;
    QString windowCaption;
    int height;
};

// The entry of `itemName` in the window's menu, if the menu has one.
bool findTemplateChoice(PrintWindowKind window, const QString& itemName, TemplateChoice* choice);

// Builds the window's template menu, owned by `owner`; every template entry calls `open`.
QMenu* buildTemplateMenu(QWidget* owner, PrintWindowKind window,
                         const std::function<void(const TemplateChoice&)>& open);

}
