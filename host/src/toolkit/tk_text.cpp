// The calls that name the add-in's message file: menus, buttons and the
// message area. Labels and help texts come from the file in the add-in's
// text folder.
#include <algorithm>
#include <system_error>

#include "guard.h"
#include "tk_calls.h"

namespace vxhost {

namespace {

struct Lookup {
    enum class Result { Found, MissingKey, BadFile } result;
    std::string text;
};

// The message file on disk: the path as given when it is there, else
// found ignoring case. Looked for once per load, since every menu and
// button names it again.
std::optional<fs::path> find_message_file(HostState& s, const char* folder, const std::string& file)
{
    auto [it, fresh] = s.message_paths.try_emplace({folder, file});
    if (fresh) {
        const fs::path exact = fs::path(folder) / fs::path(file);
        std::error_code ec;
        if (fs::exists(exact, ec)) {
            it->second = exact;
        } else {
            const auto dir = resolve_nocase(fs::path(folder));
            it->second = dir ? resolve_nocase(*dir, fs::path(file)) : std::nullopt;
        }
    }
    if (!it->second)
        s.error(std::string(folder) + "/" + file + ":0: no such message file");
    return it->second;
}

// The text shown for `key`; a missing key shows as the key itself.
Lookup look_up(HostState& s, const char* folder, const ProWchar* file, const std::string& key)
{
    const std::string file_name = to_utf8(wide_text(file, PRO_PATH_SIZE));
    const RequestedKey asked{file_name, key};
    if (std::find(s.keys.begin(), s.keys.end(), asked) == s.keys.end())
        s.keys.push_back(asked);
    const auto path = find_message_file(s, folder, file_name);
    if (!path)
        return {Lookup::Result::BadFile, key};
    try {
        const MessageFile& messages = s.messages.get(*path);
        if (const auto* entry = messages.find(key))
            return {Lookup::Result::Found, entry->text};
        s.error(path->string() + ": no message key '" + key + "'");
        return {Lookup::Result::MissingKey, key};
    } catch (const HostError& e) {
        s.error(e.what());
        return {Lookup::Result::BadFile, key};
    }
}

// Fills an item's label and help; false when the message file is unusable.
bool label_item(HostState& s, MenuItem& item, const char* folder, const ProWchar* file,
                const char* label, const char* help)
{
    item.label_key = label;
    const Lookup shown = look_up(s, folder, file, label);
    item.label = shown.text;
    if (shown.result == Lookup::Result::BadFile)
        return false;
    if (help) {
        item.help_key = help;
        const Lookup help_text = look_up(s, folder, file, help);
        item.help = help_text.text;
        return help_text.result != Lookup::Result::BadFile;
    }
    return true;
}

}  // namespace

namespace tk {

ProError ProMenubarMenuAdd(const char* folder, const char* menu, const char* label,
                           const char* neighbour, ProBoolean add_after, const ProWchar* file)
{
    return guarded("ProMenubarMenuAdd",
                   call_args(menu, label, neighbour, flag(add_after), file),
                   [&](HostState& s) -> ProError {
                       if (!folder || !menu || !label || !file)
                           return PRO_TK_BAD_INPUTS;
                       MenuItem item;
                       item.name = menu;
                       if (!label_item(s, item, folder, file, label, nullptr))
                           return PRO_TK_MSG_NOT_FOUND;
                       return s.menubar.add_menu(std::move(item), Placement{neighbour, add_after != 0});
                   });
}

ProError ProMenubarmenuMenuAdd(const char* folder, const char* parent, const char* menu,
                               const char* label, const char* neighbour, ProBoolean add_after,
                               const ProWchar* file)
{
    return guarded("ProMenubarmenuMenuAdd",
                   call_args(parent, menu, label, neighbour, flag(add_after), file),
                   [&](HostState& s) -> ProError {
                       if (!folder || !parent || !menu || !label || !file)
                           return PRO_TK_BAD_INPUTS;
                       MenuItem item;
                       item.name = menu;
                       if (!label_item(s, item, folder, file, label, nullptr))
                           return PRO_TK_MSG_NOT_FOUND;
                       return s.menubar.add_item(parent, std::move(item),
                                                 Placement{neighbour, add_after != 0});
                   });
}

ProError ProMenubarmenuPushbuttonAdd(const char* folder, const char* parent, const char* button,
                                     const char* label, const char* help, const char* neighbour,
                                     ProBoolean add_after, uiCmdCmdId command, const ProWchar* file)
{
    HostState& state = current_state();
    return guarded("ProMenubarmenuPushbuttonAdd",
                   call_args(parent, button, label, help, neighbour, flag(add_after),
                             command_text(state, command), file),
                   [&](HostState& s) -> ProError {
                       if (!folder || !parent || !button || !label || !file || !command)
                           return PRO_TK_BAD_INPUTS;
                       const Command* bound = s.commands.find(command);
                       if (!bound) {
                           s.error(std::string("ProMenubarmenuPushbuttonAdd: button ") + button +
                                   " given a command id the host never made");
                           return PRO_TK_BAD_INPUTS;
                       }
                       MenuItem item;
                       item.name = button;
                       item.kind = MenuItem::Kind::Button;
                       item.command = command;
                       item.action = bound->action;
                       if (!label_item(s, item, folder, file, label, help))
                           return PRO_TK_MSG_NOT_FOUND;
                       return s.menubar.add_item(parent, std::move(item),
                                                 Placement{neighbour, add_after != 0});
                   });
}

ProError ProMessageDisplay(const char* folder, const ProWchar* file, const char* key)
{
    return guarded("ProMessageDisplay", call_args(file, key), [&](HostState& s) -> ProError {
        if (!folder || !file || !key)
            return PRO_TK_BAD_INPUTS;
        const Lookup shown = look_up(s, folder, file, key);
        if (shown.result != Lookup::Result::Found) {
            s.note("message: [error: no text for message key " + std::string(key) + "]");
            return PRO_TK_MSG_NOT_FOUND;
        }
        s.note("message: " + shown.text);
        return PRO_TK_NO_ERROR;
    });
}

}  // namespace tk

}  // namespace vxhost
