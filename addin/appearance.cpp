/*
 * appearance.cpp -- the colour commands and About.
 *
 * The add-in never clears appearances itself: each colour command queues
 * a macro that drives the host's own View-tab gallery, and the host runs
 * it once the command has returned. The paint macro then runs About as
 * its last step but one. PaintColorAct has cleared ShowAboutText by then,
 * so About paints instead of showing its text, and sets the switch again.
 * Both macros end by activating once more the ribbon tab the user was on.
 */
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "addin.h"

int ShowAboutText;

/* The pieces of the two macros, each written once: the steps that clear
 * every appearance, the step that runs About (and so paints), and the
 * start of the last step, which the tab's name and the tail complete. */
#define CLEARING_STEPS                                                                          \
    u"aa ~ Activate `main_dlg_cur` `page_View_control_btn` 1; "                                 \
    u"~ Select `main_dlg_cur` `View:ProCmdViewGallery`; "                                       \
    u"~ Select `main_dlg_cur`  `ProCmdViewGallery_layoutph.palette_holder.clearAppearance`; "   \
    u"~ Close `main_dlg_cur`  `ProCmdViewGallery_layoutph.palette_holder.clearAppearance`; "    \
    u"~ Activate `main_dlg_cur` `clearAllAppearance`; "                                         \
    u"~ FocusIn `UI Message Dialog` `yes`;"                                                     \
    u"~ Activate `UI Message Dialog` `yes`;"
#define ABOUT_STEP     u"~ Command `QVX_About_Act`;"
#define TAB_STEP_START u"~ Activate `main_dlg_cur` `"

static const ProWchar ClearColorMacro[] = CLEARING_STEPS TAB_STEP_START;
static const ProWchar PaintColorMacro[] = CLEARING_STEPS ABOUT_STEP TAB_STEP_START;
static const ProWchar MacroTail[] = u"_control_btn` 1;";

/* Lengths in units, without the terminator. */
#define WIDE_LENGTH(text) ((int)(sizeof(text) / sizeof(ProWchar)) - 1)

static_assert(WIDE_LENGTH(ClearColorMacro) == 425, "the clear-colours macro");
static_assert(WIDE_LENGTH(PaintColorMacro) == 451, "the paint-colours macro");
static_assert(WIDE_LENGTH(MacroTail) == 16, "the macro tail");

static const ProWchar AboutText[] =
    u"Vexholm：日常命令工具。打开模型目录或工作目录，切换工作目录，打开同名工程图，"
    u"对齐尺寸与符号，清理旧版本，重命名模型与工程图，定时保存，随机着色与清除颜色。";

/* The colours are whole multiples of the single-precision value nearest
 * 0.001, widened to double: the largest, 1000 of it, lies a little above 1. */
#define COLOR_FACTOR ((double)0.001f)

/* ---- the macros ---------------------------------------------------------- */

/* The first length units of a macro in a buffer of their own. */
static ProWchar *MacroSteps(const ProWchar *macro, int length)
{
    ProWchar *steps = (ProWchar *)calloc(length + 1, sizeof *steps);

    if (steps != NULL)
        ProWstringCopy(macro, steps, length);
    return steps;
}

/* A colour command's macro completed with the ribbon tab reported last,
 * in a buffer of its own that holds it whole, however long the tab's name;
 * the caller frees it. Before any tab is reported there is none to go
 * back to, and the macro ends with the step before the last. NULL when
 * there is no memory for it. */
static ProWchar *AssembleMacro(const ProWchar *macro, int length)
{
    ProWchar *tab, *assembled;
    size_t    tab_bound;

    if (CurrentRibbonTab == NULL)
        return MacroSteps(macro, length - WIDE_LENGTH(TAB_STEP_START));

    /* A UTF-8 text never takes more UTF-16 units than it has bytes, so
     * its byte count bounds both buffers whatever the conversion gives. */
    tab_bound = strlen(CurrentRibbonTab);
    tab = (ProWchar *)calloc(tab_bound + 1, sizeof *tab);
    if (tab == NULL)
        return NULL;
    ProStringToWstring(tab, CurrentRibbonTab);

    assembled = (ProWchar *)calloc(length + tab_bound + WIDE_LENGTH(MacroTail) + 1,
                                   sizeof *assembled);
    if (assembled != NULL) {
        ProWstringCopy(macro, assembled, -1);
        ProWstringConcatenate(tab, assembled, -1);
        ProWstringConcatenate(MacroTail, assembled, -1);
    }
    free(tab);
    return assembled;
}

int ClearColorAct(uiCmdCmdId, uiCmdValue *, void *)
{
    ProWchar *macro = AssembleMacro(ClearColorMacro, WIDE_LENGTH(ClearColorMacro));

    if (macro == NULL)
        return 0;
    ProMacroLoad(macro);
    free(macro);
    return 0;
}

/* The switch is cleared only for a macro that is queued: without one,
 * nothing would run About to paint and set it again. */
int PaintColorAct(uiCmdCmdId, uiCmdValue *, void *)
{
    ProWchar *macro = AssembleMacro(PaintColorMacro, WIDE_LENGTH(PaintColorMacro));

    if (macro == NULL)
        return 0;
    ShowAboutText = 0;
    ProMacroLoad(macro);
    free(macro);
    return 0;
}

/* ---- the painting -------------------------------------------------------- */

static ProError ComponentFeatureFilter(ProFeature *feature, ProAppData);
static ProError PaintComponentVisit(ProFeature *feature, ProError, ProAppData);

static double RandomUnit(void)
{
    return (double)(rand() % 1001) * COLOR_FACTOR;
}

/* Gives a part a random colour under fixed lighting, keeping its
 * reflection and texts. A part whose appearance cannot be read is left as
 * it is, and no colour is drawn for it; so is one whose read reports
 * success but leaves the record unwritten, which the NaN shows. */
static void PaintRandomAppearance(ProModelitem *part)
{
    ProSurfaceAppearanceProps current, painted;

    memset(&current, 0, sizeof current);
    current.ambient = NAN;
    if (ProSurfaceAppearancepropsGet(part, &current) != PRO_TK_NO_ERROR || isnan(current.ambient))
        return;
    painted = current;      /* reflection, name, label, description, keywords */
    painted.ambient = 0.8;
    painted.diffuse = 0.8;
    painted.highlight = 0.7;
    painted.shininess = 0.6;
    painted.transparency = 0.0;
    painted.color_rgb[0] = RandomUnit();
    painted.color_rgb[1] = RandomUnit();
    painted.color_rgb[2] = RandomUnit();
    painted.highlight_color[0] = 0.0;
    painted.highlight_color[1] = 0.0;
    painted.highlight_color[2] = 1.0;
    ProSurfaceAppearancepropsSet(part, &painted);
}

/* Visits assembly components only. */
static ProError ComponentFeatureFilter(ProFeature *feature, ProAppData)
{
    ProFeattype type = 0;

    if (ProFeatureTypeGet(feature, &type) != PRO_TK_NO_ERROR)
        return PRO_TK_CONTINUE;
    return type == PRO_FEAT_COMPONENT ? PRO_TK_NO_ERROR : PRO_TK_CONTINUE;
}

/* Paints a visible, unsuppressed component: a part gets its colour, a
 * sub-assembly is visited whole before the next component of this level.
 * A component that is hidden or suppressed, or that cannot be read, is
 * passed over with everything below it; so is one whose item the host
 * reports but leaves unwritten, without an owner. The visit always goes
 * on. */
static ProError PaintComponentVisit(ProFeature *feature, ProError, ProAppData)
{
    ProFeatStatus status = PRO_FEAT_SUPPRESSED;
    ProBoolean    visible = PRO_B_FALSE;
    ProMdl        model = NULL;
    ProModelitem  item = { PRO_TYPE_UNUSED, 0, NULL };

    if (ProFeatureStatusGet(feature, &status) != PRO_TK_NO_ERROR
        || ProFeatureVisibilityGet(feature, &visible) != PRO_TK_NO_ERROR)
        return PRO_TK_NO_ERROR;
    if (visible != PRO_B_TRUE || status == PRO_FEAT_SUPPRESSED)
        return PRO_TK_NO_ERROR;

    if (ProAsmcompMdlGet(feature, &model) != PRO_TK_NO_ERROR || model == NULL)
        return PRO_TK_NO_ERROR;
    if (ProMdlToModelitem(model, &item) != PRO_TK_NO_ERROR || item.owner == NULL)
        return PRO_TK_NO_ERROR;

    if (item.type == PRO_ASSEMBLY)
        ProSolidFeatVisit(model, PaintComponentVisit, ComponentFeatureFilter, NULL);
    else
        PaintRandomAppearance(&item);
    return PRO_TK_NO_ERROR;
}

/* Every visible part of the current model gets a random colour, drawn
 * from a generator seeded once with the time in seconds, so that two
 * paintings within one second give the same colours. Without a current
 * model, or with one reported but not written, nothing is visited. The
 * window is repainted once, also when there was nothing to paint. */
static void PaintAllComponents(void)
{
    ProMdl model = NULL;

    if (ProMdlCurrentGet(&model) == PRO_TK_NO_ERROR && model != NULL) {
        srand((unsigned)time(NULL));
        ProSolidFeatVisit(model, PaintComponentVisit, ComponentFeatureFilter, NULL);
    }
    ProWindowRepaint(-1);
}

/* ---- About ---------------------------------------------------------------- */

/* Shows the About text, or paints when the paint-colours command has
 * cleared the switch; either way the next run shows the text. */
int AboutAct(uiCmdCmdId, uiCmdValue *, void *)
{
    if (ShowAboutText)
        ShowMessageDialog(1, AboutText);
    else
        PaintAllComponents();
    ShowAboutText = 1;
    return 0;
}
