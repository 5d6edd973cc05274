/*
 * timesave.cpp -- the timed save: the dialog "TimeSave" sets an interval
 * of 5 to 60 minutes and two switches, and a Windows thread timer saves
 * on that interval.
 *
 * One save first saves the models of the other windows directly (when all
 * windows are wanted), then queues the host's own Save command for the
 * active window's model, then shows its notice; the notice therefore comes
 * before the host has carried out the queued save.
 *
 * The timer runs from the moment the dialog is left through OK or Cancel
 * until the command next opens it, and never after shut-down: a tick must
 * not reach a library the host has released.
 */
#include <limits.h>
#include <stdio.h>

#include "addin.h"
#include "win.h"

#define DIALOG          "TimeSave"
#define INTERVAL_PANEL  "InputTime"
#define AUTO_SAVE_BOX   "CBAutoSave"
#define SAVE_ALL_BOX    "CBSaveAll"
#define OK_BUTTON       "CommitOK"
#define CANCEL_BUTTON   "CommitCancel"

#define MIN_INTERVAL    5
#define MAX_INTERVAL    60
#define TIMER_ID_ASKED  10      /* Windows gives a thread timer an id of its own */

/* The settings, for as long as the library is loaded. The host writes the
 * two switches straight from the check buttons. */
static int        TimeSaveInterval = 10;        /* minutes */
static ProBoolean AutoSaveEnabled  = PRO_B_FALSE;
static ProBoolean SaveAllWindows   = PRO_B_FALSE;

/* The timer's identity: what SetTimer returned, 0 while none runs. */
static UINT_PTR TimeSaveTimer;

/* The host's Save command on the active window's model, then the OK of its
 * save dialog. */
static const ProWchar save_macro[] =
    u"~ Command `ProCmdModelSave` ;~ Activate `file_saveas` `OK`;";

static const ProWchar range_message[] = u"时间范围必须设定在5~60分钟以内。";

/* ---- the interval rule ---------------------------------------------------- */

/* The white space of the platform's character classification, as ranges of
 * UTF-16 units; one table for every build, so that an entry reads alike
 * everywhere. */
static const struct { ProWchar first, last; } white_space[] = {
    { 0x0009, 0x000D }, { 0x0020, 0x0020 }, { 0x00A0, 0x00A0 }, { 0x1680, 0x1680 },
    { 0x2000, 0x200A }, { 0x2028, 0x2029 }, { 0x202F, 0x202F }, { 0x205F, 0x205F },
    { 0x3000, 0x3000 },
};

#define N_WHITE_SPACE ((int)(sizeof white_space / sizeof white_space[0]))

/* The decimal digits read, by the unit of their zero: ASCII, full-width,
 * and sixteen further scripts, each range the values 0 to 9 in order. */
static const ProWchar digit_zeros[] = {
    0x0030, 0xFF10,
    0x0660, 0x06F0, 0x0966, 0x09E6, 0x0A66, 0x0AE6, 0x0B66, 0x0C66,
    0x0CE6, 0x0D66, 0x0E50, 0x0ED0, 0x0F20, 0x1040, 0x17E0, 0x1810,
};

#define N_DIGIT_RANGES ((int)(sizeof digit_zeros / sizeof digit_zeros[0]))

static int IsWhiteSpace(ProWchar c)
{
    int i;

    for (i = 0; i < N_WHITE_SPACE; i++)
        if (c >= white_space[i].first && c <= white_space[i].last)
            return 1;
    return 0;
}

/* The value of a digit, or -1 for any other unit. */
static int DigitValue(ProWchar c)
{
    int i;

    for (i = 0; i < N_DIGIT_RANGES; i++)
        if (c >= digit_zeros[i] && c <= digit_zeros[i] + 9)
            return c - digit_zeros[i];
    return -1;
}

/* The whole number at the start of text: white space skipped, one sign,
 * then digits up to the first unit that is none; 0 when there is no digit.
 * A value beyond the 32-bit range gives the nearest bound. */
static int ReadInterval(const ProWchar *text)
{
    long long value = 0;
    int       negative = 0, digit;

    while (IsWhiteSpace(*text))
        text++;
    if (*text == u'+' || *text == u'-')
        negative = *text++ == u'-';
    for (; (digit = DigitValue(*text)) >= 0; text++) {
        value = value * 10 + digit;
        if (value > (long long)INT_MAX + 1)
            value = (long long)INT_MAX + 1;     /* stays beyond either bound */
    }
    if (negative)
        return (int)-value;                     /* INT_MIN at most */
    return value > INT_MAX ? INT_MAX : (int)value;
}

/* ---- the timer -------------------------------------------------------------- */

static void CALLBACK TimeSaveTimerProc(HWND, UINT, UINT_PTR, DWORD);

/* Stops the timer, if one runs: the command before it builds the dialog,
 * and shut-down. */
void StopTimeSaveTimer(void)
{
    if (TimeSaveTimer == 0)
        return;
    KillTimer(NULL, TimeSaveTimer);
    TimeSaveTimer = 0;
}

/* The first tick comes one full interval from now. A timer that Windows
 * does not set leaves none running until the dialog is next left. */
static void StartTimeSaveTimer(void)
{
    StopTimeSaveTimer();        /* never two */
    TimeSaveTimer = SetTimer(NULL, TIMER_ID_ASKED, (UINT)TimeSaveInterval * 60000u,
                             TimeSaveTimerProc);
}

/* ---- the save --------------------------------------------------------------- */

static ProError AddWindowId(int *window, ProAppData data)
{
    return ProArrayObjectAdd((ProArray *)data, -1, 1, window);
}

static ProError CollectWindowVisit(int window, ProAppData data)
{
    return AddWindowId(&window, data);
}

/* A fresh host array of every window's identifier, in the host's order, in
 * *list; no list when it cannot be made or filled. The visit is handed the
 * list variable itself, since the list moves as it grows. */
static ProError CollectWindows(int **list)
{
    ProError status;

    if (list == NULL)
        return PRO_TK_BAD_INPUTS;
    *list = NULL;
    status = ProArrayAlloc(0, sizeof **list, 1, (ProArray *)list);
    if (status != PRO_TK_NO_ERROR || *list == NULL) {
        *list = NULL;
        return status != PRO_TK_NO_ERROR ? status : PRO_TK_GENERAL_ERROR;
    }
    status = ProWindowsVisit(CollectWindowVisit, (ProAppData)list);
    if (status != PRO_TK_NO_ERROR) {
        if (*list != NULL)
            ProArrayFree((ProArray *)list);
        *list = NULL;
        return status;
    }
    return PRO_TK_NO_ERROR;
}

/* Saves the model a window shows, when the host allows it. A window that
 * shows no model, or whose model's permission cannot be read, is passed
 * over: the other windows, and the active one, are still saved. */
static void SaveWindowModel(int window)
{
    ProMdl     model = NULL;
    ProBoolean allowed = PRO_B_FALSE;

    if (ProWindowMdlGet(window, &model) != PRO_TK_NO_ERROR || model == NULL)
        return;
    if (ProMdlIsSaveAllowed(model, PRO_B_TRUE, &allowed) != PRO_TK_NO_ERROR)
        return;
    if (allowed == PRO_B_TRUE)
        ProMdlSave(model);
}

/* Every window's model but the current window's, which the queued Save
 * command saves. */
static void SaveOtherWindows(int has_current, int current)
{
    int *windows = NULL;
    int  n = 0, i;

    CollectWindows(&windows);
    if (windows == NULL)
        return;
    if (ProArraySizeGet(windows, &n) != PRO_TK_NO_ERROR)
        n = 0;
    for (i = 0; i < n; i++)
        if (!has_current || windows[i] != current)
            SaveWindowModel(windows[i]);
    ProArrayFree((ProArray *)&windows);
}

static void AutoSave(int all_windows)
{
    int current = -1;
    int has_current = ProWindowCurrentGet(&current) == PRO_TK_NO_ERROR;

    if (all_windows)
        SaveOtherWindows(has_current, current);
    ProMacroLoad(save_macro);
    ProMessageDisplay(MSG_FILE, "QVX_MESSAGE_AutoSaved");
}

static void CALLBACK TimeSaveTimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    if (AutoSaveEnabled)
        AutoSave(SaveAllWindows);
}

/* ---- the dialog ------------------------------------------------------------- */

/* OK: an interval of 5 to 60 is stored with both switches and starts the
 * timer; any other entry, or none, is refused with the range message and
 * the dialog stays open with nothing changed. */
static void TimeSaveOk(char *, char *, ProAppData)
{
    ProWchar *text = NULL;
    int       minutes = 0;

    ProUIInputpanelValueGet(DIALOG, INTERVAL_PANEL, &text);
    if (text != NULL)
        minutes = ReadInterval(text);
    if (minutes < MIN_INTERVAL || minutes > MAX_INTERVAL) {
        if (text != NULL)
            ProWstringFree(text);
        ShowMessageDialog(1, range_message);
        return;
    }
    TimeSaveInterval = minutes;
    ProUICheckbuttonGetState(DIALOG, AUTO_SAVE_BOX, &AutoSaveEnabled);
    ProUICheckbuttonGetState(DIALOG, SAVE_ALL_BOX, &SaveAllWindows);
    ProWstringFree(text);
    StartTimeSaveTimer();
    ProUIDialogExit(DIALOG, 1);
}

/* Cancel: the timer starts again with the interval in force when the
 * dialog opened, whether or not one ran before. */
static void TimeSaveCancel(char *, char *, ProAppData)
{
    StartTimeSaveTimer();
    ProUIDialogExit(DIALOG, 0);
}

/* The layout has both boxes clear, so only a setting that is on needs
 * showing. No tick comes while the dialog is open: the timer is stopped
 * first. */
int TimeSaveAct(uiCmdCmdId, uiCmdValue *, void *)
{
    char     digits[5];
    ProWchar interval[5];       /* four digits and the terminator */

    StopTimeSaveTimer();
    ProUIDialogCreate(DIALOG, DIALOG);
    ProUIInputpanelInputtypeSet(DIALOG, INTERVAL_PANEL, PRO_UI_INPUT_INTEGER);
    if (AutoSaveEnabled)
        ProUICheckbuttonSet(DIALOG, AUTO_SAVE_BOX);
    if (SaveAllWindows)
        ProUICheckbuttonSet(DIALOG, SAVE_ALL_BOX);
    snprintf(digits, sizeof digits, "%d", TimeSaveInterval);
    ProStringToWstring(interval, digits);
    ProUIInputpanelValueSet(DIALOG, INTERVAL_PANEL, interval);
    ProUIPushbuttonActivateActionSet(DIALOG, OK_BUTTON, TimeSaveOk, NULL);
    ProUIPushbuttonActivateActionSet(DIALOG, CANCEL_BUTTON, TimeSaveCancel, NULL);
    ProUIDialogActivate(DIALOG, NULL);
    ProUIDialogDestroy(DIALOG);
    return 0;
}
