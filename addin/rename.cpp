/*
 * rename.cpp -- give the current part or assembly a new name, typed in the
 * message area, and the drawing of its former name the same; save both.
 *
 * While the command renames, saves and looks for the drawing, the model's
 * own folder is the working directory, so the drawing is the one beside
 * the model and both saves land there; the directory the user had is set
 * again at the end. Past the prompt nothing is shown, whatever fails.
 */
#include <string.h>

#include "addin.h"

/* The name the user typed, untouched. A host that reports a name but
 * writes none gives the empty text, taken as no name at all. */
static ProError ReadNewName(ProName name)
{
    memset(name, 0, sizeof(ProName));
    if (ProMessageStringRead(PRO_NAME_SIZE, name) != PRO_TK_NO_ERROR)
        return PRO_TK_USER_ABORT;
    name[PRO_NAME_SIZE - 1] = 0;
    return name[0] != 0 ? PRO_TK_NO_ERROR : PRO_TK_USER_ABORT;
}

/* The drawing looked for bears the model's former name: the record was
 * read before the model's rename. The drawing is left alone when the host
 * refuses the model the new name, which then belongs to another model
 * whose drawing the save would become; and when the model's folder could
 * not be made the working directory, since the drawing of that name found
 * elsewhere is not the one beside the model. */
static void RenameAndSave(ProMdl model, const ProMdldata *former, const ProWchar *name,
                          int in_model_folder)
{
    ProMdl drawing = NULL;
    int    renamed = ProMdlRename(model, name) == PRO_TK_NO_ERROR;

    ProMdlSave(model);
    if (!renamed || !in_model_folder)
        return;
    if (ProMdlLoad(former->name, PRO_MDL_DRAWING, PRO_B_FALSE, &drawing) != PRO_TK_NO_ERROR
        || drawing == NULL)
        return;
    ProMdlRename(drawing, name);
    ProMdlSave(drawing);
}

/* Without the current model, the working directory to return to, a name
 * or the model's record, nothing is changed. */
int MdlRenameAct(uiCmdCmdId, uiCmdValue *, void *)
{
    ProMdl        model = NULL;
    ProPath       saved_dir;
    ProName       name;
    ProMdldata    data;
    MdlFolderPath folder;

    if (ProMdlCurrentGet(&model) != PRO_TK_NO_ERROR || model == NULL)
        return 0;
    if (ReadWorkingDirectory(saved_dir) != PRO_TK_NO_ERROR)
        return 0;
    ProMessageDisplay(MSG_FILE, "QVX_Enter_New_Name");
    if (ReadNewName(name) != PRO_TK_NO_ERROR)
        return 0;
    if (ReadModelData(model, &data) != PRO_TK_NO_ERROR)
        return 0;
    ModelFolderPath(&data, folder);

    RenameAndSave(model, &data, name, ProDirectoryChange(folder) == PRO_TK_NO_ERROR);
    ProDirectoryChange(saved_dir);
    return 0;
}
