/*
 * main.cpp -- start-up, the command table and shut-down.
 *
 * AddinInitialize builds everything the host shows of the add-in: the top
 * menu after the host's "About" menu, its sub-menus, one push button per
 * command and the two notifications. Menus and commands stay registered
 * until the host unloads the library; AddinTerminate only stops the
 * timed-save timer, removes the notifications and releases what the add-in
 * holds.
 */
#include <string.h>

#include "addin.h"

#define TOP_MENU "QVX_Mainmenu"

static uiCmdAccessState AccessAlways(uiCmdAccessMode mode);
static uiCmdAccessState AccessPartOrAsm(uiCmdAccessMode mode);
static uiCmdAccessState AccessAsm(uiCmdAccessMode mode);
static uiCmdAccessState AccessDrw(uiCmdAccessMode mode);

struct Command {
    const char      *action;
    uiCmdCmdActFn    act;
    uiCmdAccessFn    access;
    const char      *menu;
    const char      *button;    /* also its label key */
    const char      *help;
};

/* The twelve commands, registered in this order. Every name is spelt out:
 * an action does not always share its button's stem. */
static const Command commands[] = {
    { "QVX_ShowDirectory_Act",       ShowDirectoryAct,       AccessAlways,    "QVX_DirToolsubmenu",
      "QVX_ShowDirmenu",             "QVX_ShowDirmenuTips" },
    { "QVX_ShowWorkDirectory_Act",   ShowWorkDirectoryAct,   AccessAlways,    "QVX_DirToolsubmenu",
      "QVX_ShowWorkDirmenu",         "QVX_ShowWorkDirmenuTips" },
    { "QVX_ChangeWorkDirectory_Act", ChangeWorkDirectoryAct, AccessAlways,    "QVX_DirToolsubmenu",
      "QVX_ChangeWorkDirectorymenu", "QVX_ChangeWorkDirectorymenuTips" },
    { "QVX_OpenSamenameDrw_Act",     OpenSamenameDrwAct,     AccessPartOrAsm, "QVX_DirDRWsubmenu",
      "QVX_OpenSamenameDrwmenu",     "QVX_OpenSamenameDrwmenuTips" },
    { "QVX_VerticalAlign_Act",       VerticalAlignAct,       AccessDrw,       "QVX_DirDRWsubmenu",
      "QVX_VerticalAlignmenu",       "QVX_VerticalAlignmenuTips" },
    { "QVX_HorizonAlign_Act",        HorizonAlignAct,        AccessDrw,       "QVX_DirDRWsubmenu",
      "QVX_HorizonAlignmenu",        "QVX_HorizonAlignmenuTips" },
    { "QVX_PurgeWorkDir_Act",        PurgeWorkDirAct,        AccessAlways,    "QVX_Filesubmenu",
      "QVX_PurgeWorkDirmenu",        "QVX_PurgeWorkDirmenuTips" },
    { "QVX_MdlRenamemenu_Act",       MdlRenameAct,           AccessPartOrAsm, "QVX_Filesubmenu",
      "QVX_MdlRenamemenu",           "QVX_MdlRenamemenuTips" },
    { "QVX_TimeSave_Act",            TimeSaveAct,            AccessAlways,    "QVX_Filesubmenu",
      "QVX_TimeSavemenu",            "QVX_TimeSavemenuTips" },
    { "QVX_PaintColor_Act",          PaintColorAct,          AccessAsm,       "QVX_PaintColorsubmenu",
      "QVX_PaintColormenu",          "QVX_PaintColormenuTips" },
    { "QVX_ClearColor_Act",          ClearColorAct,          AccessAsm,       "QVX_PaintColorsubmenu",
      "QVX_ClearColormenu",          "QVX_ClearColormenuTips" },
    { "QVX_About_Act",               AboutAct,               AccessAlways,    TOP_MENU,
      "QVX_Aboutmenu",               "QVX_AboutmenuTips" },
};

#define N_COMMANDS ((int)(sizeof commands / sizeof commands[0]))

/* The sub-menus that hold commands, in order. */
static const char *const submenus[] = {
    "QVX_DirToolsubmenu",
    "QVX_DirDRWsubmenu",
    "QVX_Filesubmenu",
    "QVX_PaintColorsubmenu",
};

#define N_SUBMENUS ((int)(sizeof submenus / sizeof submenus[0]))

/* The current model's type number, or PRO_MDL_UNUSED when there is no
 * current model or its type cannot be read. Both outputs start out as
 * "none", so that a call that reports success without writing gives none
 * too. */
static int CurrentMdlType(void)
{
    ProMdl     model = NULL;
    ProMdlType type = PRO_MDL_UNUSED;

    if (ProMdlCurrentGet(&model) != PRO_TK_NO_ERROR || model == NULL)
        return PRO_MDL_UNUSED;
    if (ProMdlTypeGet(model, &type) != PRO_TK_NO_ERROR)
        return PRO_MDL_UNUSED;
    return type;
}

static uiCmdAccessState AccessAlways(uiCmdAccessMode)
{
    return ACCESS_AVAILABLE;
}

static uiCmdAccessState AccessPartOrAsm(uiCmdAccessMode)
{
    if (CurrentMdlType() == PRO_MDL_ASSEMBLY)
        return ACCESS_AVAILABLE;
    return CurrentMdlType() == PRO_MDL_PART ? ACCESS_AVAILABLE : ACCESS_UNAVAILABLE;
}

static uiCmdAccessState AccessAsm(uiCmdAccessMode)
{
    return CurrentMdlType() == PRO_MDL_ASSEMBLY ? ACCESS_AVAILABLE : ACCESS_UNAVAILABLE;
}

static uiCmdAccessState AccessDrw(uiCmdAccessMode)
{
    return CurrentMdlType() == PRO_MDL_DRAWING ? ACCESS_AVAILABLE : ACCESS_UNAVAILABLE;
}

/* One row: the action first, then its button bound to that action. A row
 * whose action the host refuses gets no button, since there is no command
 * to bind it to. */
static void AddCommand(const Command *c)
{
    uiCmdCmdId id = NULL;

    if (ProCmdActionAdd(c->action, c->act, uiProe2ndImmediate, c->access,
                        PRO_B_TRUE, PRO_B_TRUE, &id) != PRO_TK_NO_ERROR || id == NULL)
        return;
    ProMenubarmenuPushbuttonAdd(c->menu, c->button, c->button, c->help, NULL, PRO_B_TRUE, id,
                                MSG_FILE);
}

/* The commands of one menu, in table order. */
static void AddCommandsOf(const char *menu)
{
    int i;

    for (i = 0; i < N_COMMANDS; i++)
        if (strcmp(commands[i].menu, menu) == 0)
            AddCommand(&commands[i]);
}

static void AddSubmenu(const char *menu)
{
    ProMenubarmenuMenuAdd(TOP_MENU, menu, menu, NULL, PRO_B_TRUE, MSG_FILE);
}

extern "C" int AddinInitialize(int, char **, char *, char *, ProWchar *)
{
    int i;

    ProMenubarMenuAdd(TOP_MENU, TOP_MENU, "About", PRO_B_TRUE, MSG_FILE);
    AddSubmenu(TOP_MENU);       /* bears the top menu's name, holds nothing */
    for (i = 0; i < N_SUBMENUS; i++) {
        AddSubmenu(submenus[i]);
        AddCommandsOf(submenus[i]);
    }
    AddCommandsOf(TOP_MENU);    /* About, after the sub-menus */

    ProNotificationSet(PRO_RIBBON_TAB_SWITCH, (ProFunction)RibbonTabSwitched);
    ProNotificationSet(PRO_DIRECTORY_CHANGE_POST, (ProFunction)DirectoryChanged);

    StartWorkDirHistory();
    ShowAboutText = 1;
    return PRO_TK_NO_ERROR;
}

/* The timer goes first: no tick may reach the library once it is released. */
extern "C" void AddinTerminate(void)
{
    StopTimeSaveTimer();
    ReleaseRibbonTab();
    ProNotificationUnset(PRO_RIBBON_TAB_SWITCH);
    ProNotificationUnset(PRO_DIRECTORY_CHANGE_POST);
    ReleaseWorkDirHistory();
}
