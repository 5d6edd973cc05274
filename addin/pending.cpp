/*
 * pending.cpp -- the commands not built yet. Each is registered with the
 * host and does nothing until its own file replaces it here.
 */
#include "addin.h"

int ShowDirectoryAct(uiCmdCmdId, uiCmdValue *, void *)       { return 0; }
int ShowWorkDirectoryAct(uiCmdCmdId, uiCmdValue *, void *)   { return 0; }
int ChangeWorkDirectoryAct(uiCmdCmdId, uiCmdValue *, void *) { return 0; }
int MdlRenameAct(uiCmdCmdId, uiCmdValue *, void *)           { return 0; }
