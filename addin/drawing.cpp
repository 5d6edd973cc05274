/*
 * drawing.cpp -- the drawing commands: open the drawing of the current
 * model's name.
 */
#include <string.h>

#include "addin.h"

/* Loads the drawing named like the current part or assembly and shows it
 * in a window of its own, which becomes the active one. The host decides
 * where it looks for the drawing; the name goes to it unchanged.
 *
 * Every output starts out as "none" (no model, an empty name, no window),
 * so that a host call that reports success without writing is seen as
 * giving nothing: no model handle or name is passed on unless the host
 * wrote it. */
int OpenSamenameDrwAct(uiCmdCmdId, uiCmdValue *, void *)
{
    ProMdl  model = NULL, drawing = NULL;
    ProName name;
    int     window = -1;

    if (ProMdlCurrentGet(&model) != PRO_TK_NO_ERROR || model == NULL)
        return 0;
    memset(name, 0, sizeof name);
    if (ProMdlNameGet(model, name) != PRO_TK_NO_ERROR)
        return 0;
    name[PRO_NAME_SIZE - 1] = 0;
    if (name[0] == 0)
        return 0;

    if (ProMdlLoad(name, PRO_MDL_DRAWING, PRO_B_FALSE, &drawing) != PRO_TK_NO_ERROR
        || drawing == NULL) {
        ShowMessageDialog(1, u"当前工作目录下未发现同名工程图");
        return 0;
    }
    ProObjectwindowCreate(name, PRO_MDL_DRAWING, &window);
    ProMdlDisplay(drawing);
    ProWindowActivate(window);
    return 0;
}
