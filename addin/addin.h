/*
 * addin.h -- what the add-in's files share: its state, its callbacks and
 * the message file that names every text the host shows for it.
 */
#ifndef ADDIN_H
#define ADDIN_H

#include "toolkit.h"

#define MSG_FILE u"Vexholm.txt"

/* history.cpp: the directories visited and the active ribbon tab */
extern ProArray WorkDirHistory;     /* of ProPath, entry 0 the start-up directory */
extern char    *CurrentRibbonTab;   /* host copy of the last tab entered, or NULL */

void     StartWorkDirHistory(void);
void     ReleaseRibbonTab(void);
void     ReleaseWorkDirHistory(void);
ProError RibbonTabSwitched(char *tab_left, char *tab_entered);
ProError DirectoryChanged(ProWchar *new_path);

/* the About switch: nonzero shows the About text, zero paints */
extern int ShowAboutText;

/* notice.cpp */
int ShowMessageDialog(int style, const ProWchar *text);

/* timesave.cpp: stops the timed-save timer, if one runs */
void StopTimeSaveTimer(void);

/* The command actions, one per row of the command table. */
int ShowDirectoryAct(uiCmdCmdId, uiCmdValue *, void *);
int ShowWorkDirectoryAct(uiCmdCmdId, uiCmdValue *, void *);
int ChangeWorkDirectoryAct(uiCmdCmdId, uiCmdValue *, void *);
int OpenSamenameDrwAct(uiCmdCmdId, uiCmdValue *, void *);
int VerticalAlignAct(uiCmdCmdId, uiCmdValue *, void *);
int HorizonAlignAct(uiCmdCmdId, uiCmdValue *, void *);
int PurgeWorkDirAct(uiCmdCmdId, uiCmdValue *, void *);
int MdlRenameAct(uiCmdCmdId, uiCmdValue *, void *);
int TimeSaveAct(uiCmdCmdId, uiCmdValue *, void *);
int PaintColorAct(uiCmdCmdId, uiCmdValue *, void *);
int ClearColorAct(uiCmdCmdId, uiCmdValue *, void *);
int AboutAct(uiCmdCmdId, uiCmdValue *, void *);

#endif
