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

/* A fresh empty array of paths, or NULL: also when the host reports
 * success but hands out no array. */
static ProPath *NewPathArray(void)
{
    ProArray array = NULL;

    if (ProArrayAlloc(0, sizeof(ProPath), 1, &array) != PRO_TK_NO_ERROR)
        return NULL;
    return (ProPath *)array;
}

/* Lists the working directory into two fresh arrays; the caller frees both
 * with FreeListing whatever this returns. */
static ProError ListWorkDir(const ProWchar *filter, ProFileListOpt option,
                            ProPath **files, ProPath **dirs)
{
    *files = NewPathArray();
    *dirs = *files != NULL ? NewPathArray() : NULL;
    if (*files == NULL || *dirs == NULL)
        return PRO_TK_OUT_OF_MEMORY;
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
 * than purge by a cut pattern that could match another file. A split that
 * "succeeds" with an empty name or extension is no split either. */
static ProError FileNameWithoutVersion(const ProWchar *path, ProWchar *out)
{
    ProName  name, extension;
    ProError status;

    memset(name, 0, sizeof name);
    memset(extension, 0, sizeof extension);
    status = ProFilenameParse(path, NULL, name, extension, NULL);
    if (status != PRO_TK_NO_ERROR)
        return status;
    if (name[0] == 0 || extension[0] == 0)
        return PRO_TK_GENERAL_ERROR;
    ProWstringCopy(name, out, -1);
    ProWstringConcatenate(u".", out, -1);
    ProWstringConcatenate(extension, out, -1);
    return PRO_TK_NO_ERROR;
}

/* One listed version: its number, read once, and its path in the file
 * array. */
struct Version {
    int             number;
    const ProWchar *path;
};

/* The version number of a listed path; a path without one is version 0.
 * -1 when the host cannot read it, also when it reports success but
 * writes no number. */
static int FileVersion(const ProWchar *path)
{
    int version = -1;

    if (ProFilenameParse(path, NULL, NULL, NULL, &version) != PRO_TK_NO_ERROR || version < 0)
        return -1;
    return version;
}

/* Ascending by version number. Compared, not subtracted, so that it
 * holds for any two ints. */
static int CompareFileVersion(const void *a, const void *b)
{
    int first = ((const Version *)a)->number;
    int second = ((const Version *)b)->number;

    return (first > second) - (first < second);
}

/* Reads the number of each of the n listed paths into versions, sorted
 * ascending. Nonzero when one of them cannot be read: which version is
 * the newest is then unknown. */
static int SortVersions(ProPath *files, int n, Version *versions)
{
    int i;

    for (i = 0; i < n; i++) {
        versions[i].path = files[i];
        versions[i].number = FileVersion(files[i]);
        if (versions[i].number < 0)
            return -1;
    }
    qsort(versions, n, sizeof *versions, CompareFileVersion);
    return 0;
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

/* Recycles every listed version but the highest. When a version number
 * cannot be read, none goes: the unread one could be the newest. */
static void RecycleOlderVersions(ProPath *files, int n)
{
    Version *versions;
    int      i;

    if (n < 2)
        return;
    versions = (Version *)malloc(n * sizeof *versions);
    if (versions == NULL)
        return;
    if (SortVersions(files, n, versions) == 0)
        for (i = 0; i < n - 1; i++)
            RecycleFile(versions[i].path);
    free(versions);
}

/* Every stored version of the file at path but the highest. */
static void PurgeFileVersions(const ProWchar *path)
{
    ProPath  pattern;
    ProPath *files, *dirs;
    int      n = -1;

    memset(pattern, 0, sizeof pattern);
    if (FileNameWithoutVersion(path, pattern) != PRO_TK_NO_ERROR)
        return;
    if (ListWorkDir(pattern, PRO_FILE_LIST_ALL, &files, &dirs) == PRO_TK_NO_ERROR
        && ProArraySizeGet(files, &n) == PRO_TK_NO_ERROR)
        RecycleOlderVersions(files, n);
    FreeListing(&files, &dirs);
}

static void PurgeFiles(const ProWchar *pattern)
{
    ProPath *files, *dirs;
    int      n = -1, i;

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
