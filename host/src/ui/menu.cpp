#include "host/menu.h"

#include <algorithm>
#include <deque>
#include <type_traits>

namespace vxhost {

namespace {

MenuItem host_menu(const char* name)
{
    MenuItem item;
    item.name = name;
    item.label_key = name;
    item.label = name;
    item.host_own = true;
    return item;
}

// Visits items top menus first, then level by level; stops when visit says so.
template <class Items, class Visit>
void breadth_first(Items& top, Visit visit)
{
    using Item = std::remove_reference_t<decltype(top.front())>;
    std::deque<Item*> queue;
    for (auto& item : top)
        queue.push_back(&item);
    while (!queue.empty()) {
        Item* item = queue.front();
        queue.pop_front();
        if (visit(*item))
            return;
        for (auto& child : item->items)
            queue.push_back(&child);
    }
}

void render_item(const MenuItem& item, int depth, std::vector<std::string>& lines)
{
    std::string line(2 * depth, ' ');
    if (item.kind == MenuItem::Kind::Menu) {
        line += "menu " + item.name + " \"" + item.label + "\"";
    } else {
        line += "button " + item.name + " \"" + item.label + "\" -> " + item.action;
        if (!item.help.empty())
            line += " (help: \"" + item.help + "\")";
    }
    lines.push_back(line);
    for (const auto& child : item.items)
        render_item(child, depth + 1, lines);
}

void collect_buttons(const MenuItem& item, std::vector<const MenuItem*>& found)
{
    if (item.kind == MenuItem::Kind::Button)
        found.push_back(&item);
    for (const auto& child : item.items)
        collect_buttons(child, found);
}

}  // namespace

Menubar::Menubar() { reset(); }

void Menubar::reset()
{
    menus_.clear();
    // A menu after "About", so that a menu placed after it stands apart
    // from one placed last.
    for (const char* name : {"File", "Edit", "View", "Tools", "Window", "About", "Help"})
        menus_.push_back(host_menu(name));
}

ProError Menubar::insert(std::vector<MenuItem>& siblings, MenuItem item, Placement where)
{
    const auto named = [](const std::string& name) {
        return [&name](const MenuItem& m) { return m.name == name; };
    };
    if (std::any_of(siblings.begin(), siblings.end(), named(item.name)))
        return PRO_TK_E_FOUND;
    auto at = where.after ? siblings.end() : siblings.begin();
    if (where.neighbour) {
        const std::string neighbour = where.neighbour;
        at = std::find_if(siblings.begin(), siblings.end(), named(neighbour));
        if (at == siblings.end())
            return PRO_TK_E_NOT_FOUND;
        if (where.after)
            ++at;
    }
    siblings.insert(at, std::move(item));
    return PRO_TK_NO_ERROR;
}

ProError Menubar::add_menu(MenuItem item, Placement where)
{
    return insert(menus_, std::move(item), where);
}

ProError Menubar::add_item(const std::string& parent, MenuItem item, Placement where)
{
    MenuItem* menu = find_menu(parent);
    if (!menu)
        return PRO_TK_E_NOT_FOUND;
    return insert(menu->items, std::move(item), where);
}

MenuItem* Menubar::find_menu(const std::string& name)
{
    MenuItem* found = nullptr;
    breadth_first(menus_, [&](MenuItem& item) {
        if (item.kind == MenuItem::Kind::Menu && item.name == name)
            found = &item;
        return found != nullptr;
    });
    return found;
}

const MenuItem* Menubar::find(const std::string& name) const
{
    const MenuItem* found = nullptr;
    breadth_first(menus_, [&](const MenuItem& item) {
        if (item.name == name)
            found = &item;
        return found != nullptr;
    });
    return found;
}

// In menu order, as the tree is shown.
std::vector<const MenuItem*> Menubar::buttons() const
{
    std::vector<const MenuItem*> found;
    for (const auto& menu : menus_)
        collect_buttons(menu, found);
    return found;
}

std::vector<std::string> Menubar::render() const
{
    std::vector<std::string> lines;
    for (const auto& menu : menus_)
        render_item(menu, 0, lines);
    return lines;
}

}  // namespace vxhost
