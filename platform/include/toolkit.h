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

ProError ProMdlCurrentGet(ProMdl *p_model);
ProError ProMdlTypeGet(ProMdl model, ProMdlType *p_type);
ProError ProMdlDataGet(ProMdl model, ProMdldata *p_data);
ProError ProMdlNameGet(ProMdl model, ProWchar *name);  /* 32 units, no extension */
ProError ProMdlLoad(const ProWchar *name, ProMdlType type, ProBoolean ask_user, ProMdl *p_model);
ProError ProMdlDisplay(ProMdl model);
ProError ProMdlSave(ProMdl model);     /* the next stored version, in the model's folder */
/* A new name in session only; the next save writes it. */
ProError ProMdlRename(ProMdl model, const ProWchar *new_name);

/* ---- windows ------------------------------------------------------------ */

ProError ProObjectwindowCreate(const ProWchar *name, ProMdlType type, int *p_window);
ProError ProWindowActivate(int window);

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

/* Reads what the user types in the message area into string, at most
 * max_len units with the terminator; non-zero when the entry was aborted
 * or left empty, and then string is not written. */
ProError ProMessageStringRead(int max_len, ProWchar *string);

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

/* ---- macros -------------------------------------------------------------- */

/* Queues a macro of the host's user-interface steps; the host carries it
 * out once control is back with it. */
ProError ProMacroLoad(const ProWchar *macro);

/* ---- the add-in's entry points, called by the runtime ------------------- */

int  AddinInitialize(int argc, char **argv, char *version, char *build, ProWchar *err_buff);
void AddinTerminate(void);

}   /* extern "C" */

#endif
