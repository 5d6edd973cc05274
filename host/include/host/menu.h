// The host's menu bar: top menus, sub-menus and push buttons.
#pragma once

#include <string>
#include <vector>

#include "toolkit.h"

namespace vxhost {

struct MenuItem {
    enum class Kind { Menu, Button };

    std::string name;
    Kind kind = Kind::Menu;
    std::string label_key;
    std::string label;       // as shown
    std::string help_key;
    std::string help;        // as shown
    uiCmdCmdId command = nullptr;   // buttons
    std::string action;             // buttons: the command's action name
    bool host_own = false;          // one of the host's own menus
    std::vector<MenuItem> items;    // menus
};

// Where a new item goes among its siblings.
struct Placement {
    const char* neighbour = nullptr;   // nullptr: at the end (after) or start (before)
    bool after = true;
};

class Menubar {
public:
    // Starts with the host's own top menus.
    Menubar();

    const std::vector<MenuItem>& menus() const { return menus_; }

    // Statuses as the toolkit gives them: PRO_TK_E_FOUND for a name already
    // among the siblings, PRO_TK_E_NOT_FOUND for an unknown parent or
    // neighbour.
    ProError add_menu(MenuItem item, Placement where);
    ProError add_item(const std::string& parent, MenuItem item, Placement where);

    // By name, top menus first, then breadth-first through the tree.
    const MenuItem* find(const std::string& name) const;
    std::vector<const MenuItem*> buttons() const;

    // One line per item, indented by depth.
    std::vector<std::string> render() const;

    // Back to the host's own menus.
    void reset();

private:
    MenuItem* find_menu(const std::string& name);
    static ProError insert(std::vector<MenuItem>& siblings, MenuItem item, Placement where);

    std::vector<MenuItem> menus_;
};

}  // namespace vxhost
