// The host's side of the toolkit calls, handed to the runtime by name.
// Each has the toolkit call's signature (text calls take the add-in's text
// folder first); the table checks this against the lists in toolkit_host.h.
#pragma once

#include "toolkit_host.h"

namespace vxhost::tk {

ProError ProMdlCurrentGet(ProMdl* p_model);
ProError ProMdlTypeGet(ProMdl model, ProMdlType* p_type);
ProError ProMdlDataGet(ProMdl model, ProMdldata* p_data);
ProError ProMdlNameGet(ProMdl model, ProWchar* name);
ProError ProMdlLoad(const ProWchar* name, ProMdlType type, ProBoolean ask_user, ProMdl* p_model);
ProError ProMdlDisplay(ProMdl model);
ProError ProMdlSave(ProMdl model);
ProError ProMdlRename(ProMdl model, const ProWchar* new_name);
ProError ProObjectwindowCreate(const ProWchar* name, ProMdlType type, int* p_window);
ProError ProWindowActivate(int window);

ProError ProArrayAlloc(int n, int size, int growth, ProArray* p_array);
ProError ProArrayFree(ProArray* p_array);
ProError ProArraySizeGet(ProArray array, int* p_count);
ProError ProArrayObjectAdd(ProArray* p_array, int pos, int n, void* objs);
ProError ProStringCopy(const char* source, char** p_copy);
ProError ProStringFree(char* string);

ProError ProCmdActionAdd(const char* action, uiCmdCmdActFn action_fn, uiCmdPriority priority,
                         uiCmdAccessFn access_fn, ProBoolean non_active, ProBoolean accessory,
                         uiCmdCmdId* p_command);
ProError ProNotificationSet(ProNotifyType type, ProFunction fn);
ProError ProNotificationUnset(ProNotifyType type);
ProError ProDirectoryCurrentGet(ProWchar* path);
ProError ProDirectoryChange(const ProWchar* path);

ProError ProUIMessageDialogDisplay(ProUIMessageType type, const ProWchar* title,
                                   const ProWchar* message, ProUIMessageButton* buttons,
                                   ProUIMessageButton default_button, ProUIMessageButton* p_chosen);

ProError ProFilesList(const ProWchar* directory, const ProWchar* filter, ProFileListOpt option,
                      ProPath** p_files, ProPath** p_dirs);
ProError ProFilenameParse(const ProWchar* path, ProWchar* directory, ProWchar* name,
                          ProWchar* extension, int* p_version);

ProError ProMacroLoad(const ProWchar* macro);
ProError ProMessageStringRead(int max_len, ProWchar* string);

#ifndef _WIN32
// The Windows shell, played by the host off Windows.
int SHFileOperationW(SHFILEOPSTRUCTW* request);
HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                        LPCWSTR directory, int show);
#endif

ProError ProMenubarMenuAdd(const char* folder, const char* menu, const char* label,
                           const char* neighbour, ProBoolean add_after, const ProWchar* file);
ProError ProMenubarmenuMenuAdd(const char* folder, const char* parent, const char* menu,
                               const char* label, const char* neighbour, ProBoolean add_after,
                               const ProWchar* file);
ProError ProMenubarmenuPushbuttonAdd(const char* folder, const char* parent, const char* button,
                                     const char* label, const char* help, const char* neighbour,
                                     ProBoolean add_after, uiCmdCmdId command,
                                     const ProWchar* file);
ProError ProMessageDisplay(const char* folder, const ProWchar* file, const char* key);

}  // namespace vxhost::tk
