// Models, commands, notifications and the working directory as the add-in
// reaches them.
#include <algorithm>
#include <cstring>

#include "guard.h"
#include "tk_calls.h"

namespace vxhost::tk {

namespace {

// Copies text and its terminator into a fixed buffer; false if it does not fit.
bool copy_into(ProWchar* target, std::size_t units, const std::u16string& text)
{
    if (text.size() + 1 > units)
        return false;
    std::memcpy(target, text.c_str(), (text.size() + 1) * sizeof(ProWchar));
    return true;
}

void fill_model_data(const Model& model, ProMdldata& data)
{
    std::memset(&data, 0, sizeof data);
    const auto folder = parse_windows_path(model.folder);
    copy_into(data.name, PRO_NAME_SIZE, to_utf16(model.name));
    copy_into(data.type, PRO_EXT_SIZE, to_utf16(model_type_text(model.type)));
    if (!folder)
        return;
    copy_into(data.device, PRO_DEVICE_SIZE, std::u16string(1, static_cast<char16_t>(folder->drive)));
    // The folder without its drive: \work\parts\ .
    if (!copy_into(data.path, PRO_PATH_SIZE, folder->folder_text().substr(2)))
        throw HostError("the folder of model " + model.name + " is too long");
}

}  // namespace

ProError ProMdlCurrentGet(ProMdl* p_model)
{
    return guarded("ProMdlCurrentGet", CallArgs{}, [&](HostState& s) -> ProError {
        if (!p_model)
            return PRO_TK_BAD_INPUTS;
        const Model* model = s.session.current();
        if (!model)
            return PRO_TK_E_NOT_FOUND;
        *p_model = Session::handle_of(*model);
        return PRO_TK_NO_ERROR;
    });
}

ProError ProMdlTypeGet(ProMdl model, ProMdlType* p_type)
{
    HostState& state = current_state();
    return guarded("ProMdlTypeGet", call_args(model_text(state, model)), [&](HostState& s) -> ProError {
        const Model* found = s.session.find(model);
        if (!found || !p_type)
            return PRO_TK_BAD_INPUTS;
        *p_type = found->type;
        return PRO_TK_NO_ERROR;
    });
}

ProError ProMdlDataGet(ProMdl model, ProMdldata* p_data)
{
    HostState& state = current_state();
    return guarded("ProMdlDataGet", call_args(model_text(state, model)), [&](HostState& s) -> ProError {
        const Model* found = s.session.find(model);
        if (!found || !p_data)
            return PRO_TK_BAD_INPUTS;
        fill_model_data(*found, *p_data);
        return PRO_TK_NO_ERROR;
    });
}

ProError ProCmdActionAdd(const char* action, uiCmdCmdActFn action_fn, uiCmdPriority priority,
                         uiCmdAccessFn access_fn, ProBoolean non_active, ProBoolean accessory,
                         uiCmdCmdId* p_command)
{
    return guarded("ProCmdActionAdd",
                   call_args(action, pointer_flag(reinterpret_cast<const void*>(action_fn)),
                             priority,
                             pointer_flag(reinterpret_cast<const void*>(access_fn)), flag(non_active),
                             flag(accessory)),
                   [&](HostState& s) -> ProError {
                       if (!action || !p_command)
                           return PRO_TK_BAD_INPUTS;
                       Command command;
                       command.action = action;
                       command.action_fn = action_fn;
                       command.access_fn = access_fn;
                       command.priority = priority;
                       command.non_active_window = non_active != 0;
                       command.accessory_window = accessory != 0;
                       return s.commands.add(std::move(command), p_command);
                   });
}

ProError ProNotificationSet(ProNotifyType type, ProFunction fn)
{
    return guarded("ProNotificationSet",
                   call_args(type, pointer_flag(reinterpret_cast<const void*>(fn))),
                   [&](HostState& s) -> ProError {
                       if (!fn)
                           return PRO_TK_BAD_INPUTS;
                       s.notifications[type] = fn;
                       return PRO_TK_NO_ERROR;
                   });
}

ProError ProNotificationUnset(ProNotifyType type)
{
    return guarded("ProNotificationUnset", call_args(type), [&](HostState& s) -> ProError {
        return s.notifications.erase(type) ? PRO_TK_NO_ERROR : PRO_TK_E_NOT_FOUND;
    });
}

ProError ProDirectoryCurrentGet(ProWchar* path)
{
    return guarded("ProDirectoryCurrentGet", CallArgs{}, [&](HostState& s) -> ProError {
        if (!path)
            return PRO_TK_BAD_INPUTS;
        const std::u16string current = s.working_directory();
        if (current.empty()) {
            s.error("ProDirectoryCurrentGet: no working directory (no drive mapped)");
            return PRO_TK_GENERAL_ERROR;
        }
        if (!copy_into(path, PRO_PATH_SIZE, current)) {
            s.error("ProDirectoryCurrentGet: the working directory does not fit 260 units: " +
                    to_utf8(current));
            return PRO_TK_LINE_TOO_LONG;
        }
        return PRO_TK_NO_ERROR;
    });
}

ProError ProDirectoryChange(const ProWchar* path)
{
    return guarded("ProDirectoryChange", call_args(path), [&](HostState& s) {
        return change_working_directory(s, path, true);
    });
}

}  // namespace vxhost::tk
