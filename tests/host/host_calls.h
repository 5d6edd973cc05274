// The host's functions as the runtime finds them in the table, typed, for
// tests that play the add-in's side of a call.
#pragma once

#include "host/host.h"

namespace vxtest {

using MenuAddFn = ProError (*)(const char* folder, const char* menu, const char* label,
                               const char* neighbour, ProBoolean add_after, const ProWchar* file);
using SubMenuAddFn = ProError (*)(const char* folder, const char* parent, const char* menu,
                                  const char* label, const char* neighbour, ProBoolean add_after,
                                  const ProWchar* file);
using ButtonAddFn = ProError (*)(const char* folder, const char* parent, const char* button,
                                 const char* label, const char* help, const char* neighbour,
                                 ProBoolean add_after, uiCmdCmdId command, const ProWchar* file);
using MessageDisplayFn = ProError (*)(const char* folder, const ProWchar* file, const char* key);

// Every host function under its toolkit name.
struct HostCalls {
    explicit HostCalls(const vxhost::Host& host)
        : array_alloc(host.entry<decltype(&::ProArrayAlloc)>("ProArrayAlloc")),
          array_free(host.entry<decltype(&::ProArrayFree)>("ProArrayFree")),
          array_size(host.entry<decltype(&::ProArraySizeGet)>("ProArraySizeGet")),
          array_add(host.entry<decltype(&::ProArrayObjectAdd)>("ProArrayObjectAdd")),
          string_copy(host.entry<decltype(&::ProStringCopy)>("ProStringCopy")),
          string_free(host.entry<decltype(&::ProStringFree)>("ProStringFree")),
          action_add(host.entry<decltype(&::ProCmdActionAdd)>("ProCmdActionAdd")),
          notification_set(host.entry<decltype(&::ProNotificationSet)>("ProNotificationSet")),
          notification_unset(host.entry<decltype(&::ProNotificationUnset)>("ProNotificationUnset")),
          directory_get(host.entry<decltype(&::ProDirectoryCurrentGet)>("ProDirectoryCurrentGet")),
          directory_change(host.entry<decltype(&::ProDirectoryChange)>("ProDirectoryChange")),
          mdl_current(host.entry<decltype(&::ProMdlCurrentGet)>("ProMdlCurrentGet")),
          mdl_type(host.entry<decltype(&::ProMdlTypeGet)>("ProMdlTypeGet")),
          mdl_data(host.entry<decltype(&::ProMdlDataGet)>("ProMdlDataGet")),
          menu_add(host.entry<MenuAddFn>("ProMenubarMenuAdd")),
          submenu_add(host.entry<SubMenuAddFn>("ProMenubarmenuMenuAdd")),
          button_add(host.entry<ButtonAddFn>("ProMenubarmenuPushbuttonAdd")),
          message_display(host.entry<MessageDisplayFn>("ProMessageDisplay"))
    {
    }

    decltype(&::ProArrayAlloc) array_alloc;
    decltype(&::ProArrayFree) array_free;
    decltype(&::ProArraySizeGet) array_size;
    decltype(&::ProArrayObjectAdd) array_add;
    decltype(&::ProStringCopy) string_copy;
    decltype(&::ProStringFree) string_free;
    decltype(&::ProCmdActionAdd) action_add;
    decltype(&::ProNotificationSet) notification_set;
    decltype(&::ProNotificationUnset) notification_unset;
    decltype(&::ProDirectoryCurrentGet) directory_get;
    decltype(&::ProDirectoryChange) directory_change;
    decltype(&::ProMdlCurrentGet) mdl_current;
    decltype(&::ProMdlTypeGet) mdl_type;
    decltype(&::ProMdlDataGet) mdl_data;
    MenuAddFn menu_add;
    SubMenuAddFn submenu_add;
    ButtonAddFn button_add;
    MessageDisplayFn message_display;
};

}  // namespace vxtest
