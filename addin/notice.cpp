/*
 * notice.cpp -- the add-in's notices: a modal host message dialog titled
 * "提示" with one button, or two.
 */
#include "addin.h"

/* Shows text with one button (style 1) or two (any other style) and gives
 * the code of the button that closed the dialog. The default button, and
 * the answer when the host gives none, is the first. */
int ShowMessageDialog(int style, const ProWchar *text)
{
    ProUIMessageButton *buttons = NULL;
    ProUIMessageButton  chosen = PRO_UI_MESSAGE_OK;
    int                 n = style == 1 ? 1 : 2;

    if (ProArrayAlloc(n, sizeof *buttons, 1, (ProArray *)&buttons) != PRO_TK_NO_ERROR
        || buttons == NULL)
        return PRO_UI_MESSAGE_OK;
    buttons[0] = PRO_UI_MESSAGE_OK;
    if (n == 2)
        buttons[1] = PRO_UI_MESSAGE_CANCEL;
    ProUIMessageDialogDisplay(PRO_UI_MESSAGE_INFO, u"提示", text, buttons, buttons[0], &chosen);
    ProArrayFree((ProArray *)&buttons);
    return chosen;
}
