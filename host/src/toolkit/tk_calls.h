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
ProError ProObjectwindowCreate(const ProWchar* name, ProMdlType type, int* p_window);
ProError ProWindowActivate(int window);
ProError ProWindowCurrentGet(int* p_window);
ProError ProWindowMdlGet(int window, ProMdl* p_model);
ProError ProWindowsVisit(ProWindowVisitAction visit, ProAppData data);
ProError ProMdlIsSaveAllowed(ProMdl model, ProBoolean with_ui, ProBoolean* p_allowed);

ProError ProArrayAlloc(int n, int size, int growth, ProArray* p_array);
ProError ProArrayFree(ProArray* p_array);
ProError ProArraySizeGet(ProArray array, int* p_count);
ProError ProArrayObjectAdd(ProArray* p_array, int pos, int n, void* objs);
ProError ProStringCopy(const char* source, char** p_copy);
ProError ProStringFree(char* string);
ProError ProWstringFree(ProWchar* string);

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

ProError ProSelbufferSelectionsGet(ProSelection** p_selections);
ProError ProSelectionModelitemGet(ProSelection selection, ProModelitem* p_item);
ProError ProSelectionarrayFree(ProSelection* selections);
ProError ProMousePickGet(ProMouseButton expected, ProMouseButton* p_pressed, ProVector position);

ProError ProDrawingDimensionPosGet(ProDrawing drawing, ProDimension* dimension, ProVector position);
ProError ProDrawingDimensionMove(ProDrawing drawing, ProDimension* dimension, ProVector position);
ProError ProDtlsyminstDataGet(ProDtlsyminst* symbol, ProDisplayMode mode, ProDtlsyminstdata* p_data);
ProError ProDtlsyminstdataFree(ProDtlsyminstdata data);
ProError ProDtlsyminstModify(ProDtlsyminst* symbol, ProDtlsyminstdata data);
ProError ProDtlsyminstdataAttachmentGet(ProDtlsyminstdata data, ProDtlattach* p_attachment);
ProError ProDtlsyminstdataAttachmentSet(ProDtlsyminstdata data, ProDtlattach attachment);
ProError ProDtlattachGet(ProDtlattach attachment, ProDtlattachType* p_type, ProView* p_view,
                         ProVector location, ProSelection* p_reference);
ProError ProDtlattachAlloc(ProDtlattachType type, ProView view, ProVector location,
                           ProSelection reference, ProDtlattach* p_attachment);
ProError ProDtlattachFree(ProDtlattach attachment);
ProError ProDrawingCurrentSheetGet(ProDrawing drawing, int* p_sheet);
ProError ProDwgSheetRegenerate(ProDrawing drawing, int sheet);
ProError ProWindowRepaint(int window);
ProError ProMdlToModelitem(ProMdl model, ProModelitem* p_item);
ProError ProSolidFeatVisit(ProSolid solid, ProFeatureVisitAction action,
                           ProFeatureFilterAction filter, ProAppData data);
ProError ProFeatureTypeGet(ProFeature* feature, ProFeattype* p_type);
ProError ProFeatureStatusGet(ProFeature* feature, ProFeatStatus* p_status);
ProError ProFeatureVisibilityGet(ProFeature* feature, ProBoolean* p_visible);
ProError ProAsmcompMdlGet(ProAsmcomp* component, ProMdl* p_model);
ProError ProSurfaceAppearancepropsGet(ProModelitem* item, ProSurfaceAppearanceProps* p_props);
ProError ProSurfaceAppearancepropsSet(ProModelitem* item, ProSurfaceAppearanceProps* props);
ProError ProUIDialogActivate(const char* dialog, int* p_status);
ProError ProUIDialogExit(const char* dialog, int status);
ProError ProUIDialogDestroy(const char* dialog);
ProError ProUIPushbuttonActivateActionSet(const char* dialog, const char* component,
                                          ProUIAction action, ProAppData data);
ProError ProUIInputpanelInputtypeSet(const char* dialog, const char* component, ProUIInputtype type);
ProError ProUIInputpanelValueSet(const char* dialog, const char* component, const ProWchar* value);
ProError ProUIInputpanelValueGet(const char* dialog, const char* component, ProWchar** p_value);
ProError ProUICheckbuttonSet(const char* dialog, const char* component);
ProError ProUICheckbuttonGetState(const char* dialog, const char* component, ProBoolean* p_state);

#ifndef _WIN32
// The Windows shell and thread timer, played by the host off Windows.
int SHFileOperationW(SHFILEOPSTRUCTW* request);
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT milliseconds, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
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
ProError ProUIDialogCreate(const char* folder, const char* dialog, const char* layout);

}  // namespace vxhost::tk
