/*
 * explorer.cpp -- open the file explorer on the current model's folder or
 * on the working directory, and the readings of the host that these two
 * commands share with the rename.
 *
 * The shell starts the explorer and returns at once; neither command
 * waits for its window or tells the user anything, whether it opens or
 * not.
 */
#include <string.h>

#include "addin.h"
#include "win.h"

/* The working directory, ending in its separator. A directory the host
 * cannot report leaves the empty text and a non-zero status: the buffer
 * is never handed on as the host left it. */
ProError ReadWorkingDirectory(ProPath dir)
{
    memset(dir, 0, sizeof(ProPath));
    if (ProDirectoryCurrentGet(dir) != PRO_TK_NO_ERROR) {
        memset(dir, 0, sizeof(ProPath));
        return PRO_TK_GENERAL_ERROR;
    }
    dir[PRO_PATH_SIZE - 1] = 0;
    return dir[0] != 0 ? PRO_TK_NO_ERROR : PRO_TK_GENERAL_ERROR;
}

/* The model's data record, every text ending within its own field
 * whatever the host wrote there. Every model has a name: a record without
 * one is a record the host did not write, and counts as none. */
ProError ReadModelData(ProMdl model, ProMdldata *data)
{
    ProError status;

    memset(data, 0, sizeof *data);
    status = ProMdlDataGet(model, data);
    data->name[PRO_NAME_SIZE - 1] = 0;
    data->type[PRO_EXT_SIZE - 1] = 0;
    data->device[PRO_DEVICE_SIZE - 1] = 0;
    data->path[PRO_PATH_SIZE - 1] = 0;
    if (status == PRO_TK_NO_ERROR && data->name[0] == 0)
        return PRO_TK_GENERAL_ERROR;
    return status;
}

/* Drive, ":" and directory, each as the record has it: nothing is added,
 * dropped or quoted, and whether the folder exists is the explorer's
 * matter. */
void ModelFolderPath(const ProMdldata *data, MdlFolderPath folder)
{
    ProWstringCopy(data->device, folder, -1);
    ProWstringConcatenate(u":", folder, -1);
    ProWstringConcatenate(data->path, folder, -1);
}

/* The folder text is the explorer's whole parameter string: a folder
 * whose name holds blanks goes unquoted, as the explorer takes it. */
static void OpenExplorer(const ProWchar *folder)
{
    ShellExecuteW(NULL, WIN_TEXT(u"open"), WIN_TEXT(u"explorer.exe"), WIN_TEXT(folder), NULL,
                  SW_SHOWNORMAL);
}

int ShowDirectoryAct(uiCmdCmdId, uiCmdValue *, void *)
{
    ProMdl        model = NULL;
    ProMdldata    data;
    MdlFolderPath folder;

    if (ProMdlCurrentGet(&model) != PRO_TK_NO_ERROR || model == NULL)
        return 0;
    if (ReadModelData(model, &data) != PRO_TK_NO_ERROR)
        return 0;
    ModelFolderPath(&data, folder);
    OpenExplorer(folder);
    return 0;
}

int ShowWorkDirectoryAct(uiCmdCmdId, uiCmdValue *, void *)
{
    ProPath dir;

    if (ReadWorkingDirectory(dir) != PRO_TK_NO_ERROR)
        return 0;
    OpenExplorer(dir);
    return 0;
}
