/*
 * drawing.cpp -- the drawing commands: open the drawing of the current
 * model's name.
 */
#include <string.h>

#include "addin.h"

/* Loads the drawing named like the current part or assembly and shows it
 * in a window of its own, which becomes the active one. The host decides
 * where it looks for the drawing; the name goes to it unchanged. */
int OpenSamenameDrwAct(uiCmdCmdId, uiCmdValue *, void *)
{
    ProMdl  model, drawing;
    ProName name;
    int     window = -1;

    if (ProMdlCurrentGet(&model) != PRO_TK_NO_ERROR)
        return 0;
    memset(name, 0, sizeof name);
    if (ProMdlNameGet(model, name) != PRO_TK_NO_ERROR)
        return 0;
    name[PRO_NAME_SIZE - 1] = 0;

    if (ProMdlLoad(name, PRO_MDL_DRAWING, PRO_B_FALSE, &drawing) != PRO_TK_NO_ERROR) {
        ShowMessageDialog(1, u"当前工作目录下未发现同名工程图");
        return 0;
    }
    ProObjectwindowCreate(name, PRO_MDL_DRAWING, &window);
    ProMdlDisplay(drawing);
    ProWindowActivate(window);
    return 0;
}
