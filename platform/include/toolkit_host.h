/*
 * toolkit_host.h -- what passes between the host and the toolkit runtime.
 *
 * At start-up the host calls the runtime's exported user_initialize_plus
 * with a ProHostTable. The runtime looks up, by name, every host function
 * listed below, refuses to start when one is missing, and from then on
 * forwards the add-in's toolkit calls through what it found.
 *
 * Two kinds of host function:
 *  - TK_FORWARDED_CALLS: the host's function has the toolkit call's own
 *    signature and the runtime hands the arguments on unchanged;
 *  - TK_TEXT_CALLS: calls that name the add-in's message file or one of its
 *    dialog layouts; the host's function takes the add-in's text folder
 *    (UTF-8 path of the folder that holds the message file and resource/)
 *    as an extra first argument.
 *
 * Adding a call: declare it in toolkit.h (or winshell.h), add a row here,
 * and give the host an implementation under the same name.
 */
#ifndef TOOLKIT_HOST_H
#define TOOLKIT_HOST_H

#include "toolkit.h"
#ifndef _WIN32
#include "winshell.h"
#endif

#define PRO_HOST_TABLE_VERSION 1

extern "C" {

typedef void (*ProHostFn)(void);

typedef struct {
    const char *name;
    ProHostFn   fn;
} ProHostEntry;

typedef struct {
    int                 version;          /* PRO_HOST_TABLE_VERSION */
    const ProHostEntry *entries;          /* ends with { NULL, NULL } */
    const char         *text_dir;         /* TEXT_DIR of the registration, UTF-8 */
    const char         *language;         /* language folder, e.g. "usascii" */
    const char         *version_text;     /* the host's version */
    const char         *display_version;  /* NULL when none can be had */
    const char         *build_text;
    int                 argc;
    char              **argv;
    void              (*report)(const char *message);  /* runtime start-up errors */
} ProHostTable;

/* The library's exported entry points. */
#if defined(_WIN32)
#define PRO_EXPORT __declspec(dllexport)
#else
#define PRO_EXPORT __attribute__((visibility("default")))
#endif
PRO_EXPORT int  user_initialize_plus(const ProHostTable *table);
PRO_EXPORT void user_terminate_plus(void);

typedef int  (*ProInitializeEntry)(const ProHostTable *table);
typedef void (*ProTerminateEntry)(void);

}   /* extern "C" */

/* X(result, name, parameters, arguments) */
#define TK_TOOLKIT_CALLS(X)                                                          \
    X(ProError, ProMdlCurrentGet, (ProMdl *p_model), (p_model))                      \
    X(ProError, ProMdlTypeGet, (ProMdl model, ProMdlType *p_type), (model, p_type))  \
    X(ProError, ProMdlDataGet, (ProMdl model, ProMdldata *p_data), (model, p_data))  \
    X(ProError, ProMdlNameGet, (ProMdl model, ProWchar *name), (model, name))        \
    X(ProError, ProMdlLoad,                                                          \
      (const ProWchar *name, ProMdlType type, ProBoolean ask_user, ProMdl *p_model), \
      (name, type, ask_user, p_model))                                               \
    X(ProError, ProMdlDisplay, (ProMdl model), (model))                              \
    X(ProError, ProMdlSave, (ProMdl model), (model))                                 \
    X(ProError, ProObjectwindowCreate,                                               \
      (const ProWchar *name, ProMdlType type, int *p_window), (name, type, p_window))\
    X(ProError, ProWindowActivate, (int window), (window))                           \
    X(ProError, ProWindowCurrentGet, (int *p_window), (p_window))                    \
    X(ProError, ProWindowMdlGet, (int window, ProMdl *p_model), (window, p_model))   \
    X(ProError, ProWindowsVisit, (ProWindowVisitAction visit, ProAppData data),      \
      (visit, data))                                                                 \
    X(ProError, ProMdlIsSaveAllowed,                                                 \
      (ProMdl model, ProBoolean with_ui, ProBoolean *p_allowed),                     \
      (model, with_ui, p_allowed))                                                   \
    X(ProError, ProArrayAlloc, (int n, int size, int growth, ProArray *p_array),     \
      (n, size, growth, p_array))                                                    \
    X(ProError, ProArrayFree, (ProArray *p_array), (p_array))                        \
    X(ProError, ProArraySizeGet, (ProArray array, int *p_count), (array, p_count))   \
    X(ProError, ProArrayObjectAdd, (ProArray *p_array, int pos, int n, void *objs),  \
      (p_array, pos, n, objs))                                                       \
    X(ProError, ProStringCopy, (const char *source, char **p_copy), (source, p_copy))\
    X(ProError, ProStringFree, (char *string), (string))                             \
    X(ProError, ProWstringFree, (ProWchar *string), (string))                        \
    X(ProError, ProCmdActionAdd,                                                     \
      (const char *action, uiCmdCmdActFn action_fn, uiCmdPriority priority,          \
       uiCmdAccessFn access_fn, ProBoolean non_active, ProBoolean accessory,         \
       uiCmdCmdId *p_command),                                                       \
      (action, action_fn, priority, access_fn, non_active, accessory, p_command))    \
    X(ProError, ProNotificationSet, (ProNotifyType type, ProFunction fn), (type, fn))\
    X(ProError, ProNotificationUnset, (ProNotifyType type), (type))                  \
    X(ProError, ProDirectoryCurrentGet, (ProWchar *path), (path))                    \
    X(ProError, ProDirectoryChange, (const ProWchar *path), (path))                  \
    X(ProError, ProUIMessageDialogDisplay,                                           \
      (ProUIMessageType type, const ProWchar *title, const ProWchar *message,        \
       ProUIMessageButton *buttons, ProUIMessageButton default_button,               \
       ProUIMessageButton *p_chosen),                                                \
      (type, title, message, buttons, default_button, p_chosen))                     \
    X(ProError, ProFilesList,                                                        \
      (const ProWchar *directory, const ProWchar *filter, ProFileListOpt option,     \
       ProPath **p_files, ProPath **p_dirs),                                         \
      (directory, filter, option, p_files, p_dirs))                                  \
    X(ProError, ProMacroLoad, (const ProWchar *macro), (macro))                      \
    X(ProError, ProUIDialogActivate, (const char *dialog, int *p_status),            \
      (dialog, p_status))                                                            \
    X(ProError, ProUIDialogExit, (const char *dialog, int status), (dialog, status)) \
    X(ProError, ProUIDialogDestroy, (const char *dialog), (dialog))                  \
    X(ProError, ProUIPushbuttonActivateActionSet,                                    \
      (const char *dialog, const char *component, ProUIAction action,                \
       ProAppData data),                                                             \
      (dialog, component, action, data))                                             \
    X(ProError, ProUIInputpanelInputtypeSet,                                         \
      (const char *dialog, const char *component, ProUIInputtype type),              \
      (dialog, component, type))                                                     \
    X(ProError, ProUIInputpanelValueSet,                                             \
      (const char *dialog, const char *component, const ProWchar *value),            \
      (dialog, component, value))                                                    \
    X(ProError, ProUIInputpanelValueGet,                                             \
      (const char *dialog, const char *component, ProWchar **p_value),               \
      (dialog, component, p_value))                                                  \
    X(ProError, ProUICheckbuttonSet, (const char *dialog, const char *component),    \
      (dialog, component))                                                           \
    X(ProError, ProUICheckbuttonGetState,                                            \
      (const char *dialog, const char *component, ProBoolean *p_state),              \
      (dialog, component, p_state))                                                  \
    X(ProError, ProFilenameParse,                                                    \
      (const ProWchar *path, ProWchar *directory, ProWchar *name,                    \
       ProWchar *extension, int *p_version),                                         \
      (path, directory, name, extension, p_version))                                 \
    X(ProError, ProSelbufferSelectionsGet, (ProSelection **p_selections),            \
      (p_selections))                                                                \
    X(ProError, ProSelectionModelitemGet,                                            \
      (ProSelection selection, ProModelitem *p_item), (selection, p_item))           \
    X(ProError, ProSelectionarrayFree, (ProSelection *selections), (selections))     \
    X(ProError, ProMousePickGet,                                                     \
      (ProMouseButton expected, ProMouseButton *p_pressed, ProVector position),      \
      (expected, p_pressed, position))                                               \
    X(ProError, ProDrawingDimensionPosGet,                                           \
      (ProDrawing drawing, ProDimension *dimension, ProVector position),             \
      (drawing, dimension, position))                                                \
    X(ProError, ProDrawingDimensionMove,                                             \
      (ProDrawing drawing, ProDimension *dimension, ProVector position),             \
      (drawing, dimension, position))                                                \
    X(ProError, ProDtlsyminstDataGet,                                                \
      (ProDtlsyminst *symbol, ProDisplayMode mode, ProDtlsyminstdata *p_data),       \
      (symbol, mode, p_data))                                                        \
    X(ProError, ProDtlsyminstdataFree, (ProDtlsyminstdata data), (data))             \
    X(ProError, ProDtlsyminstModify, (ProDtlsyminst *symbol, ProDtlsyminstdata data),\
      (symbol, data))                                                                \
    X(ProError, ProDtlsyminstdataAttachmentGet,                                      \
      (ProDtlsyminstdata data, ProDtlattach *p_attachment), (data, p_attachment))    \
    X(ProError, ProDtlsyminstdataAttachmentSet,                                      \
      (ProDtlsyminstdata data, ProDtlattach attachment), (data, attachment))         \
    X(ProError, ProDtlattachGet,                                                     \
      (ProDtlattach attachment, ProDtlattachType *p_type, ProView *p_view,           \
       ProVector location, ProSelection *p_reference),                               \
      (attachment, p_type, p_view, location, p_reference))                           \
    X(ProError, ProDtlattachAlloc,                                                   \
      (ProDtlattachType type, ProView view, ProVector location,                      \
       ProSelection reference, ProDtlattach *p_attachment),                          \
      (type, view, location, reference, p_attachment))                               \
    X(ProError, ProDtlattachFree, (ProDtlattach attachment), (attachment))           \
    X(ProError, ProDrawingCurrentSheetGet, (ProDrawing drawing, int *p_sheet),       \
      (drawing, p_sheet))                                                            \
    X(ProError, ProDwgSheetRegenerate, (ProDrawing drawing, int sheet),              \
      (drawing, sheet))                                                              \
    X(ProError, ProWindowRepaint, (int window), (window))                            \
    X(ProError, ProMdlToModelitem, (ProMdl model, ProModelitem *p_item),             \
      (model, p_item))                                                               \
    X(ProError, ProSolidFeatVisit,                                                   \
      (ProSolid solid, ProFeatureVisitAction action, ProFeatureFilterAction filter,  \
       ProAppData data),                                                             \
      (solid, action, filter, data))                                                 \
    X(ProError, ProFeatureTypeGet, (ProFeature *feature, ProFeattype *p_type),       \
      (feature, p_type))                                                             \
    X(ProError, ProFeatureStatusGet, (ProFeature *feature, ProFeatStatus *p_status), \
      (feature, p_status))                                                           \
    X(ProError, ProFeatureVisibilityGet, (ProFeature *feature, ProBoolean *p_visible),\
      (feature, p_visible))                                                          \
    X(ProError, ProAsmcompMdlGet, (ProAsmcomp *component, ProMdl *p_model),          \
      (component, p_model))                                                          \
    X(ProError, ProSurfaceAppearancepropsGet,                                        \
      (ProModelitem *item, ProSurfaceAppearanceProps *p_props), (item, p_props))     \
    X(ProError, ProSurfaceAppearancepropsSet,                                        \
      (ProModelitem *item, ProSurfaceAppearanceProps *props), (item, props))

#ifdef _WIN32
#define TK_FORWARDED_CALLS(X) TK_TOOLKIT_CALLS(X)
#else
/* Off Windows the host also plays the Windows shell and timer. */
#define TK_WINDOWS_CALLS(X)                                                          \
    X(int, SHFileOperationW, (SHFILEOPSTRUCTW *request), (request))                  \
    X(UINT_PTR, SetTimer, (HWND hwnd, UINT_PTR id, UINT milliseconds, TIMERPROC proc),\
      (hwnd, id, milliseconds, proc))                                                \
    X(BOOL, KillTimer, (HWND hwnd, UINT_PTR id), (hwnd, id))
#define TK_FORWARDED_CALLS(X) TK_TOOLKIT_CALLS(X) TK_WINDOWS_CALLS(X)
#endif

/* X(result, name, host parameters) -- the first host parameter is the
 * add-in's text folder. */
#define TK_TEXT_CALLS(X)                                                             \
    X(ProError, ProMenubarMenuAdd,                                                   \
      (const char *folder, const char *menu, const char *label,                      \
       const char *neighbour, ProBoolean add_after, const ProWchar *file))           \
    X(ProError, ProMenubarmenuMenuAdd,                                               \
      (const char *folder, const char *parent, const char *menu, const char *label,  \
       const char *neighbour, ProBoolean add_after, const ProWchar *file))           \
    X(ProError, ProMenubarmenuPushbuttonAdd,                                         \
      (const char *folder, const char *parent, const char *button, const char *label,\
       const char *help, const char *neighbour, ProBoolean add_after,                \
       uiCmdCmdId command, const ProWchar *file))                                    \
    X(ProError, ProMessageDisplay,                                                   \
      (const char *folder, const ProWchar *file, const char *key))                   \
    X(ProError, ProUIDialogCreate,                                                   \
      (const char *folder, const char *dialog, const char *layout))

#endif
