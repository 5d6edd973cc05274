/*
 * purge.cpp -- purge the working directory: of every drawing, part and
 * assembly, the version with the highest number stays and every other
 * stored version goes to the recycle bin, silently.
 *
 * Two levels of listing: one entry per distinct file (its newest version)
 * for each pattern, then every stored version of that one name.
 */
#include <stdlib.h>
#include <string.h>

#include "addin.h"
#include "win.h"

static const ProWchar *const purge_patterns[] = { u"*.drw", u"*.prt", u"*.asm" };

#define N_PATTERNS ((int)(sizeof purge_patterns / sizeof purge_patterns[0]))

/* Lists the working directory into two fresh arrays; the caller frees both
 * with FreeListing whatever this returns. */
static ProError ListWorkDir(const ProWchar *filter, ProFileListOpt option,
                            ProPath **files, ProPath **dirs)
{
    *files = NULL;
    *dirs = NULL;
    if (ProArrayAlloc(0, sizeof(ProPath), 1, (ProArray *)files) != PRO_TK_NO_ERROR) {
        *files = NULL;
        return PRO_TK_OUT_OF_MEMORY;
    }
    if (ProArrayAlloc(0, sizeof(ProPath), 1, (ProArray *)dirs) != PRO_TK_NO_ERROR) {
        *dirs = NULL;
        return PRO_TK_OUT_OF_MEMORY;
    }
    return ProFilesList(NULL, filter, option, files, dirs);
}

static void FreeListing(ProPath **files, ProPath **dirs)
{
    if (*files != NULL)
        ProArrayFree((ProArray *)files);
    if (*dirs != NULL)
        ProArrayFree((ProArray *)dirs);
}

/* The filter that lists every version of one file: name "." extension.
 * A path the host cannot split, or whose name or extension does not fit,
 * gives the host's status, and the caller leaves that file alone rather
 * than purge by a cut pattern that could match another file. */
static ProError FileNameWithoutVersion(const ProWchar *path, ProWchar *out)
{
    ProName  name, extension;
    ProError status;

    memset(name, 0, sizeof name);
    memset(extension, 0, sizeof extension);
    status = ProFilenameParse(path, NULL, name, extension, NULL);
    if (status != PRO_TK_NO_ERROR)
        return status;
    ProWstringCopy(name, out, -1);
    ProWstringConcatenate(u".", out, -1);
    ProWstringConcatenate(extension, out, -1);
    return PRO_TK_NO_ERROR;
}

static int FileVersion(const ProWchar *path)
{
    int version = 0;

    if (ProFilenameParse(path, NULL, NULL, NULL, &version) != PRO_TK_NO_ERROR)
        version = 0;
    return version;
}

/* Ascending by version number; a path without one counts as version 0.
 * Compared, not subtracted: the difference of two far-apart versions
 * would overflow and put the newest first. */
static int CompareFileVersion(const void *a, const void *b)
{
    int first = FileVersion((const ProWchar *)a);
    int second = FileVersion((const ProWchar *)b);

    return (first > second) - (first < second);
}

/* Sends one file to the recycle bin: no window, no prompt, no error box.
 * A path without its terminator within the buffer is left alone: cut
 * short, it could name another file or the folder above. */
static void RecycleFile(const ProWchar *path)
{
    SHFILEOPSTRUCTW *request;
    WCHAR            from[PRO_PATH_SIZE + 1];   /* one name, its NUL, the list's NUL */
    int              i;

    memset(from, 0, sizeof from);
    for (i = 0; i < PRO_PATH_SIZE && path[i] != 0; i++)
        from[i] = path[i];
    if (i == PRO_PATH_SIZE)
        return;
    request = (SHFILEOPSTRUCTW *)calloc(1, sizeof *request);
    if (request == NULL)
        return;

    request->hwnd = NULL;
    request->wFunc = FO_DELETE;
    request->pFrom = from;
    request->pTo = NULL;
    request->fFlags = FOF_SILENT | FOF_NOERRORUI | FOF_NOCONFIRMATION | FOF_ALLOWUNDO;
    SHFileOperationW(request);
    free(request);
}

/* Every stored version of the file at path but the highest. */
static void PurgeFileVersions(const ProWchar *path)
{
    ProPath  pattern;
    ProPath *files, *dirs;
    int      n = 0, i;

    memset(pattern, 0, sizeof pattern);
    if (FileNameWithoutVersion(path, pattern) != PRO_TK_NO_ERROR)
        return;
    if (ListWorkDir(pattern, PRO_FILE_LIST_ALL, &files, &dirs) == PRO_TK_NO_ERROR
        && ProArraySizeGet(files, &n) == PRO_TK_NO_ERROR) {
        if (n >= 2)
            qsort(files, n, sizeof(ProPath), CompareFileVersion);
        for (i = 0; i < n - 1; i++)
            RecycleFile(files[i]);
    }
    FreeListing(&files, &dirs);
}

static void PurgeFiles(const ProWchar *pattern)
{
    ProPath *files, *dirs;
    int      n = 0, i;

    if (ListWorkDir(pattern, PRO_FILE_LIST_LATEST, &files, &dirs) == PRO_TK_NO_ERROR
        && ProArraySizeGet(files, &n) == PRO_TK_NO_ERROR)
        for (i = 0; i < n; i++)
            PurgeFileVersions(files[i]);
    FreeListing(&files, &dirs);
}

int PurgeWorkDirAct(uiCmdCmdId, uiCmdValue *, void *)
{
    int i;

    for (i = 0; i < N_PATTERNS; i++)
        PurgeFiles(purge_patterns[i]);
    ShowMessageDialog(1, u"当前工作目录已清理。");
    return 0;
}
