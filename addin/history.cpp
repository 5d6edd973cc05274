/*
 * history.cpp -- the working directories visited since load, and the name
 * of the ribbon tab entered last. Both are fed by host notifications and
 * live in memory until the host unloads the add-in.
 */
#include <string.h>

#include "addin.h"

ProArray WorkDirHistory;
char    *CurrentRibbonTab;

/* Entry 0: the working directory at start-up without its last character,
 * the trailing separator. A directory the host cannot report gives the
 * empty text. A history the host could not allocate stays NULL, and the
 * notification then adds nothing. */
void StartWorkDirHistory(void)
{
    ProPath dir;
    int     length = 0;

    memset(dir, 0, sizeof dir);
    if (ProDirectoryCurrentGet(dir) != PRO_TK_NO_ERROR)
        memset(dir, 0, sizeof dir);
    dir[PRO_PATH_SIZE - 1] = 0;
    ProWstringLengthGet(dir, &length);
    if (length >= 1)
        dir[length - 1] = 0;

    WorkDirHistory = NULL;
    if (ProArrayAlloc(1, sizeof(ProPath), 1, &WorkDirHistory) != PRO_TK_NO_ERROR
        || WorkDirHistory == NULL) {
        WorkDirHistory = NULL;
        return;
    }
    ProWstringCopy(dir, ((ProPath *)WorkDirHistory)[0], -1);
}

void ReleaseRibbonTab(void)
{
    if (CurrentRibbonTab != NULL)
        ProStringFree(CurrentRibbonTab);
    CurrentRibbonTab = NULL;
}

void ReleaseWorkDirHistory(void)
{
    if (WorkDirHistory != NULL)
        ProArrayFree(&WorkDirHistory);
    WorkDirHistory = NULL;
}

ProError RibbonTabSwitched(char *, char *tab_entered)
{
    ReleaseRibbonTab();
    if (ProStringCopy(tab_entered, &CurrentRibbonTab) != PRO_TK_NO_ERROR)
        CurrentRibbonTab = NULL;
    return PRO_TK_NO_ERROR;
}

/* Is path already an entry, compared whole and character by character?
 * A count the host does not give, or gives as "success" without writing
 * it, leaves -1: an unreadable history takes nothing more. */
static int InHistory(const ProWchar *path)
{
    int n = -1, i, result;

    if (ProArraySizeGet(WorkDirHistory, &n) != PRO_TK_NO_ERROR || n < 0)
        return 1;
    for (i = 0; i < n; i++)
        if (ProWstringCompare(path, ((ProPath *)WorkDirHistory)[i], -1, &result)
                == PRO_TK_NO_ERROR && result == 0)
            return 1;
    return 0;
}

/* Appends a directory the host reports, unchanged, unless it is known. The
 * path is taken into a buffer of our own first, so that an entry is always
 * a terminated path of at most 259 characters. */
ProError DirectoryChanged(ProWchar *new_path)
{
    ProPath path;
    int     i;

    if (WorkDirHistory == NULL || new_path == NULL)
        return PRO_TK_NO_ERROR;
    memset(path, 0, sizeof path);
    for (i = 0; i < PRO_PATH_SIZE && new_path[i] != 0; i++)
        path[i] = new_path[i];
    if (i == PRO_PATH_SIZE)
        return PRO_TK_NO_ERROR;     /* no terminator: not a path */
    if (!InHistory(path))
        ProArrayObjectAdd(&WorkDirHistory, -1, 1, path);
    return PRO_TK_NO_ERROR;
}
