/*
 * pending.cpp -- the commands not built yet. Each is registered with the
 * host and does nothing until its own file replaces it here.
 */
#include "addin.h"

int ShowAboutText;

int ChangeWorkDirectoryAct(uiCmdCmdId, uiCmdValue *, void *) { return 0; }
int VerticalAlignAct(uiCmdCmdId, uiCmdValue *, void *)       { return 0; }
int HorizonAlignAct(uiCmdCmdId, uiCmdValue *, void *)        { return 0; }
int TimeSaveAct(uiCmdCmdId, uiCmdValue *, void *)            { return 0; }
int PaintColorAct(uiCmdCmdId, uiCmdValue *, void *)          { return 0; }
int ClearColorAct(uiCmdCmdId, uiCmdValue *, void *)          { return 0; }
int AboutAct(uiCmdCmdId, uiCmdValue *, void *)               { return 0; }
