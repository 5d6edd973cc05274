// A stand-in add-in library for the host's loader tests. It uses the host
// table directly, as the toolkit runtime does, and keeps a little state
// the tests read back through fake_probe().
#include <cstring>
#include <string>

#include "toolkit_host.h"

namespace {

struct Probe {
    int starts = 0;              // user_initialize_plus calls since this copy was loaded
    int actions = 0;             // times the command ran
    int available = ACCESS_AVAILABLE;
    ProWchar last_path[PRO_PATH_SIZE];
    std::string last_tab;
};

Probe probe;

decltype(&ProArrayAlloc) array_alloc;
decltype(&ProArrayFree) array_free;
decltype(&ProArrayObjectAdd) array_add;
decltype(&ProStringCopy) string_copy;
decltype(&ProStringFree) string_free;
decltype(&ProCmdActionAdd) action_add;
decltype(&ProNotificationSet) notification_set;
ProError (*menu_add)(const char*, const char*, const char*, const char*, ProBoolean, const ProWchar*);
ProError (*button_add)(const char*, const char*, const char*, const char*, const char*, const char*,
                       ProBoolean, uiCmdCmdId, const ProWchar*);

ProArray kept_array;
char* kept_string;

ProHostFn lookup(const ProHostTable* table, const char* name)
{
    for (const ProHostEntry* e = table->entries; e->name; ++e)
        if (std::strcmp(e->name, name) == 0)
            return e->fn;
    table->report((std::string("fake add-in: no host function ") + name).c_str());
    return nullptr;
}

template <class Fn>
bool resolve(const ProHostTable* table, Fn& slot, const char* name)
{
    slot = reinterpret_cast<Fn>(lookup(table, name));
    return slot != nullptr;
}

bool resolve_all(const ProHostTable* t)
{
    return resolve(t, array_alloc, "ProArrayAlloc") & resolve(t, array_free, "ProArrayFree") &
           resolve(t, array_add, "ProArrayObjectAdd") & resolve(t, string_copy, "ProStringCopy") &
           resolve(t, string_free, "ProStringFree") & resolve(t, action_add, "ProCmdActionAdd") &
           resolve(t, notification_set, "ProNotificationSet") &
           resolve(t, menu_add, "ProMenubarMenuAdd") &
           resolve(t, button_add, "ProMenubarmenuPushbuttonAdd");
}

int run_action(uiCmdCmdId, uiCmdValue*, void*)
{
    ++probe.actions;
    return 0;
}

uiCmdAccessState access(uiCmdAccessMode) { return probe.available; }

ProError directory_changed(ProWchar* path)
{
    std::memcpy(probe.last_path, path, sizeof probe.last_path);
    return PRO_TK_NO_ERROR;
}

ProError tab_switched(char* left, char* entered)
{
    probe.last_tab = std::string(left) + ">" + entered;
    return PRO_TK_NO_ERROR;
}

ProError build_menu(const ProHostTable* table)
{
    const std::string folder = std::string(table->text_dir) + "/text/" + table->language;
    const ProWchar* file = u"Fake.txt";
    uiCmdCmdId id = nullptr;
    ProError status = action_add("FakeAct", run_action, uiProe2ndImmediate, access, 1, 1, &id);
    if (status == PRO_TK_NO_ERROR)
        status = menu_add(folder.c_str(), "FakeMenu", "FakeMenuLabel", "About", 0, file);
    if (status == PRO_TK_NO_ERROR)
        status = button_add(folder.c_str(), "FakeMenu", "FakeButton", "FakeButtonLabel",
                            "FakeButtonHelp", nullptr, 1, id, file);
    return status;
}

ProError keep_allocations()
{
    int one = 1;
    ProError status = array_alloc(0, sizeof(int), 1, &kept_array);
    if (status == PRO_TK_NO_ERROR)
        status = array_add(&kept_array, -1, 1, &one);
    if (status == PRO_TK_NO_ERROR)
        status = string_copy("kept", &kept_string);
    return status;
}

}  // namespace

extern "C" PRO_EXPORT Probe* fake_probe() { return &probe; }

extern "C" int user_initialize_plus(const ProHostTable* table)
{
    if (table->version != PRO_HOST_TABLE_VERSION)
        return PRO_TK_BAD_CONTEXT;
    if (probe.starts++ != 0)
        return PRO_TK_GENERAL_ERROR;     // state left over from an earlier load
    if (!resolve_all(table))
        return PRO_TK_E_NOT_FOUND;
    ProError status = build_menu(table);
    if (status == PRO_TK_NO_ERROR)
        status = keep_allocations();
    if (status == PRO_TK_NO_ERROR)
        status = notification_set(PRO_DIRECTORY_CHANGE_POST, reinterpret_cast<ProFunction>(directory_changed));
    if (status == PRO_TK_NO_ERROR)
        status = notification_set(PRO_RIBBON_TAB_SWITCH, reinterpret_cast<ProFunction>(tab_switched));
    return status;
}

extern "C" void user_terminate_plus()
{
    array_free(&kept_array);
    string_free(kept_string);
}
