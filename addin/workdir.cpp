/*
 * workdir.cpp -- Change Working Directory: the dialog "ChangeWorkDirectory"
 * lists every directory of the history, the start-up directory first, and
 * OK makes the selected one the working directory.
 *
 * Each item is named by the narrow (UTF-8) form of its path and labelled
 * with the path itself, which is what the user sees. Two paths can share
 * a narrow form (a lone surrogate converts as U+FFFD does); both items
 * then bear the same name, and OK goes to the earlier entry.
 */
#include <stdlib.h>
#include <string.h>

#include "addin.h"

#define DIALOG        "ChangeWorkDirectory"
#define LIST          "WorkDirList"
#define OK_BUTTON     "CommitChangeDir"
#define CANCEL_BUTTON "CommitCancelChangeDir"

/* The narrow form of a history path: at most 259 units, none taking more
 * than three bytes, and the terminator. */
#define NARROW_PATH_SIZE ((PRO_PATH_SIZE - 1) * 3 + 1)

/* The name of an item whose buffer could not be had. Never freed. */
static char no_name[] = "";

static ProWchar *HistoryEntry(int i)
{
    return ((ProPath *)WorkDirHistory)[i];
}

/* The number of entries; 0 when there is no history or its size cannot
 * be read. */
static int HistorySize(void)
{
    int n = 0;

    if (WorkDirHistory == NULL || ProArraySizeGet(WorkDirHistory, &n) != PRO_TK_NO_ERROR || n < 0)
        return 0;
    return n;
}

/* A zero-filled buffer of our own holding the narrow form of entry i; the
 * caller frees it. NULL when it cannot be had. */
static char *NarrowEntry(int i)
{
    char *narrow = (char *)calloc(NARROW_PATH_SIZE, 1);

    if (narrow != NULL)
        ProWstringToString(narrow, HistoryEntry(i));
    return narrow;
}

/* ---- the dialog's list -------------------------------------------------- */

/* The name list of n items (n at least 1): a host array of pointers, each
 * to the item's name in a buffer of our own; NULL when the host gives no
 * array. */
static char **MakeNames(int n)
{
    char **names = NULL;
    int    i;

    if (ProArrayAlloc(n, sizeof(char *), n, (ProArray *)&names) != PRO_TK_NO_ERROR || names == NULL)
        return NULL;
    for (i = 0; i < n; i++) {
        names[i] = NarrowEntry(i);
        if (names[i] == NULL)
            names[i] = no_name;
    }
    return names;
}

/* Only once the dialog is gone: the host may read the names until then. */
static void FreeNames(char **names, int n)
{
    int i;

    if (names == NULL)
        return;
    for (i = 0; i < n; i++)
        if (names[i] != no_name)
            free(names[i]);
    ProArrayFree((ProArray *)&names);
}

/* Item i: the name of entry i and, as its label, the entry itself. The
 * host copies the labels, so their pointer list goes at once. Without a
 * name list, or when the host refuses the names, the list stays empty:
 * there are no items to label. */
static void FillList(char **names, int n)
{
    ProWchar **labels;
    int        i;

    if (names == NULL || ProUIListNamesSet(DIALOG, LIST, n, names) != PRO_TK_NO_ERROR)
        return;
    labels = (ProWchar **)calloc(n, sizeof *labels);
    if (labels == NULL)
        return;
    for (i = 0; i < n; i++)
        labels[i] = HistoryEntry(i);
    ProUIListLabelsSet(DIALOG, LIST, n, labels);
    free(labels);
}

/* ---- OK and Cancel ------------------------------------------------------ */

/* Changes to the first entry, in history order, whose narrow form is name;
 * an entry whose narrow form cannot be made matches nothing. The history
 * is read afresh. The change brings the host's notification, which may
 * grow and move the history: the entry is copied out before, and nothing
 * of the history is read after. */
static void ChangeToEntryNamed(const char *name)
{
    ProPath path;
    char   *narrow;
    int     n = HistorySize(), i, equal;

    for (i = 0; i < n; i++) {
        narrow = NarrowEntry(i);
        if (narrow == NULL)
            continue;
        equal = strcmp(name, narrow) == 0;
        free(narrow);
        if (equal) {
            ProWstringCopy(HistoryEntry(i), path, -1);
            ProDirectoryChange(path);
            return;
        }
    }
}

/* Only the first selected name counts. The dialog closes whether or not
 * the directory changed; the selected names are released only when the
 * host gave them. */
static void ChangeWorkDirectoryOk(char *, char *, ProAppData)
{
    char **selected = NULL;
    int    count = 0;

    if (ProUIListSelectednamesGet(DIALOG, LIST, &count, &selected) == PRO_TK_NO_ERROR
            && selected != NULL) {
        if (count >= 1 && selected[0] != NULL)
            ChangeToEntryNamed(selected[0]);
        ProStringarrayFree(selected, count);
    }
    ProUIDialogExit(DIALOG, 1);
}

static void ChangeWorkDirectoryCancel(char *, char *, ProAppData)
{
    ProUIDialogExit(DIALOG, 0);
}

/* The list is filled from the history as it stands now; no item is
 * selected. When the layout cannot be loaded the dialog calls fail, and
 * everything is still freed. */
int ChangeWorkDirectoryAct(uiCmdCmdId, uiCmdValue *, void *)
{
    char **names;
    int    n;

    ProUIDialogCreate(DIALOG, DIALOG);
    n = HistorySize();
    names = n > 0 ? MakeNames(n) : NULL;
    FillList(names, n);
    ProUIPushbuttonActivateActionSet(DIALOG, OK_BUTTON, ChangeWorkDirectoryOk, NULL);
    ProUIPushbuttonActivateActionSet(DIALOG, CANCEL_BUTTON, ChangeWorkDirectoryCancel, NULL);
    ProUIDialogActivate(DIALOG, NULL);
    ProUIDialogDestroy(DIALOG);
    FreeNames(names, n);
    return 0;
}
