#pragma once

#include <QStringView>
#include <span>

namespace zel {

enum class MenuKind { Menu, Command, Toggle };

// One entry of the main menu: its object name, the object name of the menu that
// holds it (empty for the menu bar) and its caption with the accelerator marked by "&".
struct MenuItemDef {
    QStringView parent;
    QStringView name;
    QStringView caption;
    MenuKind kind;
};

// The whole tree, parents before their children, in display order.
std::span<const MenuItemDef> menuTree();

// Big buttons of the main window's page control, and the clickable totals labels:
// each names the menu command whose handler it calls.
struct ButtonDef {
    QStringView page;  // page caption
    QStringView name;
    QStringView caption;
    QStringView command;
};
std::span<const QStringView> menuPages();
std::span<const ButtonDef> menuButtons();

struct TotalDef {
    QStringView label;    // object name of the clickable label
    QStringView caption;
    QStringView counter;  // object name of the count
    QStringView pathKey;  // archive counted
    QStringView showKey;  // [Totali in Main] key that shows it
    QStringView command;
};
std::span<const TotalDef> totalsPanel();

}  // namespace zel
