/*
 * toolkit.h -- the host toolkit as the add-in sees it.
 *
 * These are our own declarations of the host's programming interface in
 * DLL mode: statuses, handles, records and the calls the add-in makes.
 * The add-in is linked with the toolkit runtime (platform/runtime), which
 * forwards every call below to the host by name, except the string
 * utilities, which it carries out itself.
 *
 * Wide text is UTF-16 in every build: ProWchar is char16_t, wide literals
 * are written u"...", and a path buffer of 260 units is 520 bytes.
 */
#ifndef TOOLKIT_H
#define TOOLKIT_H

#include <stddef.h>

typedef char16_t ProWchar;

#define PRO_PATH_SIZE   260     /* paths and file names, terminator included */
#define PRO_NAME_SIZE   32      /* model names, terminator included */
#define PRO_EXT_SIZE    4       /* model type text: "PRT", "ASM", "DRW" */
#define PRO_DEVICE_SIZE 20      /* drive of a model data record */
#define PRO_LINE_SIZE   80      /* error text handed to the add-in at start-up */

typedef ProWchar ProPath[PRO_PATH_SIZE];
typedef ProWchar ProName[PRO_NAME_SIZE];
typedef ProWchar ProLine[PRO_LINE_SIZE];

static_assert(sizeof(ProWchar) == 2, "wide text is UTF-16");
static_assert(sizeof(ProPath) == 520, "a path buffer is 260 UTF-16 units");
static_assert(sizeof(ProName) == 64, "a model name buffer is 32 UTF-16 units");

extern "C" {

/* ---- statuses ---------------------------------------------------------- */

typedef int ProError;
enum {
    PRO_TK_NO_ERROR       = 0,
    PRO_TK_GENERAL_ERROR  = -1,
    PRO_TK_BAD_INPUTS     = -2,
    PRO_TK_USER_ABORT     = -3,
    PRO_TK_E_NOT_FOUND    = -4,
    PRO_TK_E_FOUND        = -5,
    PRO_TK_LINE_TOO_LONG  = -6,
    PRO_TK_CONTINUE       = -7,
    PRO_TK_BAD_CONTEXT    = -8,
    PRO_TK_OUT_OF_MEMORY  = -10,
    PRO_TK_INVALID_DIR    = -15,
    PRO_TK_INVALID_FILE   = -16,
    PRO_TK_INVALID_TYPE   = -18,
    PRO_TK_INVALID_NAME   = -22,
    PRO_TK_CANT_OPEN      = -24,
    PRO_TK_MSG_NOT_FOUND  = -28
};

typedef int ProBoolean;
enum { PRO_B_FALSE = 0, PRO_B_TRUE = 1 };

/* Caller's data handed back to a visit or dialog function unchanged. */
typedef void *ProAppData;

/* A point or a colour: x, y, z or red, green, blue. */
typedef double ProVector[3];

/* ---- models ------------------------------------------------------------ */

typedef struct pro_model *ProMdl;

typedef int ProMdlType;
enum {
    PRO_MDL_UNUSED   = -1,      /* CurrentMdlType: none, or unreadable */
    PRO_MDL_ASSEMBLY = 1,
    PRO_MDL_PART     = 2,
    PRO_MDL_DRAWING  = 4
};

/* The model data record. name: the model name without extension; type:
 * "PRT", "ASM" or "DRW"; device: the drive letter without colon; path:
 * the model's directory without drive, e.g. \work\parts\ . */
typedef struct {
    ProName  name;
    ProWchar type[PRO_EXT_SIZE];
    ProWchar device[PRO_DEVICE_SIZE];
    ProPath  path;
} ProMdldata;

/* An item of a model as the host names it: its type (ProType), its id
 * within the owner, and the owning model. Features, assembly components,
 * dimensions and detail symbol instances are all model items. */
typedef int ProType;
typedef struct {
    ProType type;
    int     id;
    ProMdl  owner;
} ProModelitem;

/* Item types of a drawing's detail items, as the host numbers them. */
enum {
    PRO_TYPE_UNUSED     = -1,
    PRO_DIMENSION       = 8,
    PRO_REF_DIMENSION   = 28,
    PRO_SYMBOL_INSTANCE = 76
};

ProError ProMdlCurrentGet(ProMdl *p_model);
ProError ProMdlTypeGet(ProMdl model, ProMdlType *p_type);
ProError ProMdlDataGet(ProMdl model, ProMdldata *p_data);
ProError ProMdlNameGet(ProMdl model, ProWchar *name);  /* 32 units, no extension */
ProError ProMdlLoad(const ProWchar *name, ProMdlType type, ProBoolean ask_user, ProMdl *p_model);
ProError ProMdlDisplay(ProMdl model);
ProError ProMdlSave(ProMdl model);     /* the next stored version, in the model's folder */

/* ---- selections and the mouse ------------------------------------------ */

typedef struct pro_selection *ProSelection;

/* The items the user selected before the command, in the order of the
 * selection buffer, as a fresh host array of selections (the count with
 * ProArraySizeGet). The buffer itself is left as it is. The caller frees
 * the array with ProSelectionarrayFree, never ProArrayFree. */
ProError ProSelbufferSelectionsGet(ProSelection **p_selections);
ProError ProSelectionModelitemGet(ProSelection selection, ProModelitem *p_item);
/* Frees an array of selections and the selections in it. */
ProError ProSelectionarrayFree(ProSelection *selections);

typedef int ProMouseButton;
enum {
    PRO_LEFT_BUTTON   = 1,
    PRO_MIDDLE_BUTTON = 2,
    PRO_RIGHT_BUTTON  = 4
};

/* Waits for the user to pick a point, expecting one of the buttons in
 * expected; gives the button pressed and the point (x, y, z). Fails when
 * the user gives no point. */
ProError ProMousePickGet(ProMouseButton expected, ProMouseButton *p_pressed, ProVector position);

/* ---- drawings and their detail items ------------------------------------- */

typedef ProMdl ProDrawing;                 /* a model of type PRO_MDL_DRAWING */
typedef ProModelitem ProDimension;         /* PRO_DIMENSION, PRO_REF_DIMENSION */
typedef ProModelitem ProDtlsyminst;        /* PRO_SYMBOL_INSTANCE */
typedef struct pro_view *ProView;          /* a view of a drawing; the host's */
typedef struct pro_dtlsyminstdata *ProDtlsyminstdata;
typedef struct pro_dtlattach *ProDtlattach;
typedef int ProDtlattachType;              /* as the host numbers them */

typedef int ProDisplayMode;
enum { PRODISPMODE_NUMERIC = 0, PRODISPMODE_SYMBOLIC = 1 };

/* A dimension's position on the drawing, and moving it there. */
ProError ProDrawingDimensionPosGet(ProDrawing drawing, ProDimension *dimension, ProVector position);
ProError ProDrawingDimensionMove(ProDrawing drawing, ProDimension *dimension, ProVector position);

/* A symbol instance's data record, a copy the caller owns and frees with
 * ProDtlsyminstdataFree; ProDtlsyminstModify gives the instance on the
 * drawing what the record holds. */
ProError ProDtlsyminstDataGet(ProDtlsyminst *symbol, ProDisplayMode mode, ProDtlsyminstdata *p_data);
ProError ProDtlsyminstdataFree(ProDtlsyminstdata data);
ProError ProDtlsyminstModify(ProDtlsyminst *symbol, ProDtlsyminstdata data);

/* The attachment a record holds, as a copy the caller owns and frees with
 * ProDtlattachFree; setting one copies it into the record. */
ProError ProDtlsyminstdataAttachmentGet(ProDtlsyminstdata data, ProDtlattach *p_attachment);
ProError ProDtlsyminstdataAttachmentSet(ProDtlsyminstdata data, ProDtlattach attachment);

/* An attachment's parts: its type, its view (NULL for none), its location
 * and its reference (NULL for none). The reference belongs to the
 * attachment and goes with it. NULL for a part not wanted. */
ProError ProDtlattachGet(ProDtlattach attachment, ProDtlattachType *p_type, ProView *p_view,
                         ProVector location, ProSelection *p_reference);
/* A new attachment of these parts, which copies the reference; the caller
 * frees it with ProDtlattachFree. */
ProError ProDtlattachAlloc(ProDtlattachType type, ProView view, ProVector location,
                           ProSelection reference, ProDtlattach *p_attachment);
ProError ProDtlattachFree(ProDtlattach attachment);

/* Sheets are numbered from 1. */
ProError ProDrawingCurrentSheetGet(ProDrawing drawing, int *p_sheet);
ProError ProDwgSheetRegenerate(ProDrawing drawing, int sheet);

/* The model as a model item: its type is the model's (1 an assembly, 2 a
 * part), its owner the model itself. */
ProError ProMdlToModelitem(ProMdl model, ProModelitem *p_item);

/* ---- features and assembly components ----------------------------------- */

/* A part or an assembly: a model that has features. */
typedef ProMdl ProSolid;

/* Types of model items (ProType): a whole model has its model type. */
enum { PRO_ASSEMBLY = PRO_MDL_ASSEMBLY, PRO_PART = PRO_MDL_PART, PRO_FEATURE = 3 };

/* A feature, and an assembly component (a feature that places a model),
 * are model items: type PRO_FEATURE, the feature's id, the owning solid. */
typedef ProModelitem ProFeature;
typedef ProModelitem ProAsmcomp;

typedef int ProFeattype;
enum { PRO_FEAT_COMPONENT = 1000 };     /* an assembly component */

typedef int ProFeatStatus;
enum { PRO_FEAT_ACTIVE = 0, PRO_FEAT_SUPPRESSED = 5 };

/* The filter returns PRO_TK_CONTINUE to skip a feature; anything else
 * visits it and reaches the action as its status. A non-zero result of
 * the action ends the visit, and the visit returns it. */
typedef ProError (*ProFeatureFilterAction)(ProFeature *feature, ProAppData data);
typedef ProError (*ProFeatureVisitAction)(ProFeature *feature, ProError status, ProAppData data);

/* Visits the features of a solid in model-tree order. */
ProError ProSolidFeatVisit(ProSolid solid, ProFeatureVisitAction action,
                           ProFeatureFilterAction filter, ProAppData data);
ProError ProFeatureTypeGet(ProFeature *feature, ProFeattype *p_type);
ProError ProFeatureStatusGet(ProFeature *feature, ProFeatStatus *p_status);
ProError ProFeatureVisibilityGet(ProFeature *feature, ProBoolean *p_visible);
/* The model the component places, a part or a sub-assembly, brought into
 * session when it is not there yet. */
ProError ProAsmcompMdlGet(ProAsmcomp *component, ProMdl *p_model);

/* ---- appearances ----------------------------------------------------------- */

/* A surface appearance: lighting, colours (red, green, blue), and four
 * texts of 260 units each. */
typedef struct {
    double    ambient;
    double    diffuse;
    double    highlight;
    double    shininess;
    double    transparency;
    ProVector color_rgb;
    ProVector highlight_color;
    double    reflection;
    ProWchar  name[PRO_PATH_SIZE];
    ProWchar  label[PRO_PATH_SIZE];
    ProWchar  description[PRO_PATH_SIZE];
    ProWchar  keywords[PRO_PATH_SIZE];
} ProSurfaceAppearanceProps;

/* Reads and replaces the appearance of an item, here a whole part model. */
ProError ProSurfaceAppearancepropsGet(ProModelitem *item, ProSurfaceAppearanceProps *p_props);
ProError ProSurfaceAppearancepropsSet(ProModelitem *item, ProSurfaceAppearanceProps *props);

/* ---- windows ------------------------------------------------------------ */

ProError ProObjectwindowCreate(const ProWchar *name, ProMdlType type, int *p_window);
ProError ProWindowActivate(int window);
/* Draws a window again; -1 is the current window. */
ProError ProWindowRepaint(int window);

ProError ProWindowCurrentGet(int *p_window);
/* The model a window shows; fails for a window that shows none. */
ProError ProWindowMdlGet(int window, ProMdl *p_model);

/* Called once for each window, in the host's order, with the caller's data;
 * a result other than PRO_TK_NO_ERROR stops the visit, and ProWindowsVisit
 * returns it. */
typedef ProError (*ProWindowVisitAction)(int window, ProAppData data);
ProError ProWindowsVisit(ProWindowVisitAction visit, ProAppData data);

/* Whether the host lets the model be saved: *p_allowed is PRO_B_TRUE or
 * PRO_B_FALSE. with_ui: judged as the user's own Save would be. */
ProError ProMdlIsSaveAllowed(ProMdl model, ProBoolean with_ui, ProBoolean *p_allowed);

/* ---- expandable arrays -------------------------------------------------- */

typedef void *ProArray;

ProError ProArrayAlloc(int n_objects, int object_size, int growth, ProArray *p_array);
ProError ProArrayFree(ProArray *p_array);
ProError ProArraySizeGet(ProArray array, int *p_count);
ProError ProArrayObjectAdd(ProArray *p_array, int position, int n_objects, void *objects);

/* ---- strings ------------------------------------------------------------ */

/* Host-allocated narrow copy, released with ProStringFree. */
ProError ProStringCopy(const char *source, char **p_copy);
ProError ProStringFree(char *string);
/* Releases wide text the host allocated (ProUIInputpanelValueGet). */
ProError ProWstringFree(ProWchar *string);

/* The runtime's own wide-string utilities. A length of -1 means the whole
 * string; -2 (PRO_TK_BAD_INPUTS) for an absent string or a length below -1
 * or beyond the source. None bounds its target. */
ProError ProWstringCopy(const ProWchar *source, ProWchar *target, int length);
ProError ProWstringConcatenate(const ProWchar *source, ProWchar *target, int length);
ProError ProWstringLengthGet(const ProWchar *string, int *p_length);
ProError ProWstringCompare(const ProWchar *first, const ProWchar *second,
                           int length, int *p_result);

/* Conversions between narrow (UTF-8) and wide text. Each gives the target,
 * or NULL and writes nothing when either string is absent. A narrow target
 * takes up to three bytes per wide unit. */
ProWchar *ProStringToWstring(ProWchar *target, const char *source);
char *ProWstringToString(char *target, const ProWchar *source);

/* ---- menus and commands ------------------------------------------------- */

typedef struct pro_ui_command *uiCmdCmdId;
typedef struct pro_ui_value uiCmdValue;
typedef int uiCmdAccessMode;
typedef int uiCmdAccessState;
enum { ACCESS_UNAVAILABLE = 0, ACCESS_AVAILABLE = 3 };
typedef int uiCmdPriority;
enum { uiProe2ndImmediate = 2 };

typedef int (*uiCmdCmdActFn)(uiCmdCmdId command, uiCmdValue *p_value, void *p_push_data);
typedef uiCmdAccessState (*uiCmdAccessFn)(uiCmdAccessMode access_mode);

ProError ProMenubarMenuAdd(const char *menu, const char *label, const char *neighbour,
                           ProBoolean add_after, const ProWchar *message_file);
ProError ProMenubarmenuMenuAdd(const char *parent, const char *menu, const char *label,
                               const char *neighbour, ProBoolean add_after,
                               const ProWchar *message_file);
ProError ProCmdActionAdd(const char *action, uiCmdCmdActFn action_fn, uiCmdPriority priority,
                         uiCmdAccessFn access_fn, ProBoolean non_active_window,
                         ProBoolean accessory_window, uiCmdCmdId *p_command);
ProError ProMenubarmenuPushbuttonAdd(const char *parent, const char *button, const char *label,
                                     const char *help, const char *neighbour,
                                     ProBoolean add_after, uiCmdCmdId command,
                                     const ProWchar *message_file);

/* ---- notifications ------------------------------------------------------ */

typedef int ProNotifyType;
enum {
    PRO_DIRECTORY_CHANGE_POST = 23,
    PRO_RIBBON_TAB_SWITCH     = 94
};

typedef void (*ProFunction)(void);
typedef ProError (*ProRibbonTabSwitchAction)(char *tab_left, char *tab_entered);
typedef ProError (*ProDirectoryChangeAction)(ProWchar *new_path);

ProError ProNotificationSet(ProNotifyType type, ProFunction callback);
ProError ProNotificationUnset(ProNotifyType type);

/* ---- directories -------------------------------------------------------- */

ProError ProDirectoryCurrentGet(ProWchar *path);    /* 260 units, ends in "\" */
ProError ProDirectoryChange(const ProWchar *path);

/* ---- files --------------------------------------------------------------- */

typedef int ProFileListOpt;
enum {
    PRO_FILE_LIST_ALL    = 0,   /* every stored version of each matching file */
    PRO_FILE_LIST_LATEST = 1    /* only the newest version of each */
};

/* Lists the files of a directory (NULL: the working directory) matching
 * filter into *p_files, its subdirectories into *p_dirs; both arrays of
 * ProPath exist before the call and may move. */
ProError ProFilesList(const ProWchar *directory, const ProWchar *filter, ProFileListOpt option,
                      ProPath **p_files, ProPath **p_dirs);

/* Splits a path into directory (260 units), name and extension (32 units
 * each, the extension without its dot) and version; NULL for an output not
 * wanted. Fails rather than overrun an output. */
ProError ProFilenameParse(const ProWchar *path, ProWchar *directory, ProWchar *name,
                          ProWchar *extension, int *p_version);

/* ---- message area and message dialogs ------------------------------------ */

ProError ProMessageDisplay(const ProWchar *message_file, const char *key, ...);

typedef int ProUIMessageType;
enum { PRO_UI_MESSAGE_INFO = 3 };
typedef int ProUIMessageButton;
enum { PRO_UI_MESSAGE_OK = 4, PRO_UI_MESSAGE_CANCEL = 5 };

/* A modal dialog with one button per code of buttons (an expandable array
 * of ProUIMessageButton), in list order; returns once it is closed, with
 * the code of the chosen button in *p_chosen. */
ProError ProUIMessageDialogDisplay(ProUIMessageType type, const ProWchar *title,
                                   const ProWchar *message, ProUIMessageButton *buttons,
                                   ProUIMessageButton default_button,
                                   ProUIMessageButton *p_chosen);

/* ---- dialogs ------------------------------------------------------------- */

/* A dialog is built from a layout, found by name in the resource folder of
 * the add-in's text folder; its components are named by the layout. Every
 * call that names a component the dialog lacks fails. */
ProError ProUIDialogCreate(const char *dialog, const char *layout);
/* Runs the dialog modally: returns once a bound function has called
 * ProUIDialogExit, with its status in *p_status (NULL: not wanted). */
ProError ProUIDialogActivate(const char *dialog, int *p_status);
ProError ProUIDialogExit(const char *dialog, int status);
ProError ProUIDialogDestroy(const char *dialog);

typedef void (*ProUIAction)(char *dialog, char *component, ProAppData data);
ProError ProUIPushbuttonActivateActionSet(const char *dialog, const char *component,
                                          ProUIAction action, ProAppData data);

typedef int ProUIInputtype;
enum {
    PRO_UI_INPUT_STRING  = 0,
    PRO_UI_INPUT_WSTRING = 1,
    PRO_UI_INPUT_INTEGER = 2,
    PRO_UI_INPUT_DOUBLE  = 3
};
ProError ProUIInputpanelInputtypeSet(const char *dialog, const char *component,
                                     ProUIInputtype type);
ProError ProUIInputpanelValueSet(const char *dialog, const char *component,
                                 const ProWchar *value);
/* A host copy of the panel's text, released with ProWstringFree. */
ProError ProUIInputpanelValueGet(const char *dialog, const char *component, ProWchar **p_value);

ProError ProUICheckbuttonSet(const char *dialog, const char *component);
ProError ProUICheckbuttonGetState(const char *dialog, const char *component,
                                  ProBoolean *p_state);

/* ---- macros -------------------------------------------------------------- */

/* Queues a macro of the host's user-interface steps; the host carries it
 * out once control is back with it. */
ProError ProMacroLoad(const ProWchar *macro);

/* ---- the add-in's entry points, called by the runtime ------------------- */

int  AddinInitialize(int argc, char **argv, char *version, char *build, ProWchar *err_buff);
void AddinTerminate(void);

}   /* extern "C" */

#endif
