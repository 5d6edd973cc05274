// The statuses each host call fails with, as its implementation in this
// folder returns them: what a fault sweep injects, one run for each. A new
// call adds its row here; a host test checks that every entry of the host
// table has one.
#include <map>

#include "host/journal.h"
#include "toolkit_host.h"

namespace vxhost {

namespace {

// The Windows shell's results as the host plays it (tk_shell.cpp): a name
// not there, access denied, a bad parameter, a path of no mapped drive, an
// operation not played.
const std::vector<int> kShellResults = {2, 5, 0x57, 0x7C, 0x78};

// What ShellExecuteW gives when it starts nothing (tk_explorer.cpp): no
// such file, no such folder to start in, no such verb. Its 0 (out of
// resources) is what an unwritten run gives.
const std::vector<int> kExecuteResults = {2, 3, 31};

const std::map<std::string, std::vector<int>>& own_statuses()
{
    static const std::map<std::string, std::vector<int>> table = {
        // models and windows (tk_models.cpp, tk_session.cpp)
        {"ProMdlCurrentGet", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND}},
        {"ProMdlTypeGet", {PRO_TK_BAD_INPUTS}},
        {"ProMdlDataGet", {PRO_TK_BAD_INPUTS}},
        {"ProMdlNameGet", {PRO_TK_BAD_INPUTS, PRO_TK_LINE_TOO_LONG}},
        {"ProMdlLoad", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND, PRO_TK_INVALID_FILE}},
        {"ProMdlDisplay", {PRO_TK_BAD_INPUTS}},
        {"ProMdlSave", {PRO_TK_BAD_INPUTS, PRO_TK_INVALID_DIR}},
        {"ProMdlRename", {PRO_TK_BAD_INPUTS, PRO_TK_INVALID_NAME, PRO_TK_E_FOUND}},
        {"ProObjectwindowCreate", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND, PRO_TK_INVALID_FILE}},
        {"ProWindowActivate", {PRO_TK_BAD_INPUTS}},
        // arrays and strings (tk_memory.cpp)
        {"ProArrayAlloc", {PRO_TK_BAD_INPUTS, PRO_TK_OUT_OF_MEMORY}},
        {"ProArrayFree", {PRO_TK_BAD_INPUTS}},
        {"ProArraySizeGet", {PRO_TK_BAD_INPUTS}},
        {"ProArrayObjectAdd", {PRO_TK_BAD_INPUTS, PRO_TK_OUT_OF_MEMORY}},
        {"ProStringCopy", {PRO_TK_BAD_INPUTS, PRO_TK_OUT_OF_MEMORY}},
        {"ProStringFree", {PRO_TK_BAD_INPUTS}},
        {"ProStringarrayFree", {PRO_TK_BAD_INPUTS}},
        // commands, notifications, directories (tk_session.cpp)
        {"ProCmdActionAdd", {PRO_TK_BAD_INPUTS, PRO_TK_E_FOUND}},
        {"ProNotificationSet", {PRO_TK_BAD_INPUTS}},
        {"ProNotificationUnset", {PRO_TK_E_NOT_FOUND}},
        {"ProDirectoryCurrentGet", {PRO_TK_BAD_INPUTS, PRO_TK_LINE_TOO_LONG}},
        {"ProDirectoryChange", {PRO_TK_BAD_INPUTS, PRO_TK_INVALID_DIR}},
        // dialogs, files, macros
        {"ProUIMessageDialogDisplay", {PRO_TK_BAD_INPUTS}},
        {"ProFilesList", {PRO_TK_BAD_INPUTS, PRO_TK_INVALID_DIR, PRO_TK_OUT_OF_MEMORY}},
        {"ProFilenameParse", {PRO_TK_BAD_INPUTS, PRO_TK_LINE_TOO_LONG}},
        {"ProMacroLoad", {PRO_TK_BAD_INPUTS, PRO_TK_LINE_TOO_LONG}},
        // the calls that name the message file (tk_text.cpp)
        {"ProMenubarMenuAdd",
         {PRO_TK_BAD_INPUTS, PRO_TK_MSG_NOT_FOUND, PRO_TK_E_FOUND, PRO_TK_E_NOT_FOUND}},
        {"ProMenubarmenuMenuAdd",
         {PRO_TK_BAD_INPUTS, PRO_TK_MSG_NOT_FOUND, PRO_TK_E_FOUND, PRO_TK_E_NOT_FOUND}},
        {"ProMenubarmenuPushbuttonAdd",
         {PRO_TK_BAD_INPUTS, PRO_TK_MSG_NOT_FOUND, PRO_TK_E_FOUND, PRO_TK_E_NOT_FOUND}},
        {"ProMessageDisplay", {PRO_TK_BAD_INPUTS, PRO_TK_MSG_NOT_FOUND}},
        // the message area's input line (tk_prompts.cpp); Enter alone is
        // the general error
        {"ProMessageStringRead", {PRO_TK_BAD_INPUTS, PRO_TK_USER_ABORT}},
        // windows (tk_windows.cpp, tk_appearance.cpp)
        {"ProWindowCurrentGet", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND}},
        {"ProWindowMdlGet", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND}},
        {"ProWindowsVisit", {PRO_TK_BAD_INPUTS}},
        {"ProWindowRepaint", {PRO_TK_BAD_INPUTS, PRO_TK_BAD_CONTEXT}},
        {"ProMdlIsSaveAllowed", {PRO_TK_BAD_INPUTS}},
        {"ProWstringFree", {PRO_TK_BAD_INPUTS}},
        // dialogs (tk_dialogs.cpp)
        {"ProUIDialogCreate",
         {PRO_TK_BAD_INPUTS, PRO_TK_E_FOUND, PRO_TK_E_NOT_FOUND, PRO_TK_INVALID_FILE}},
        {"ProUIDialogActivate", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND, PRO_TK_BAD_CONTEXT}},
        {"ProUIDialogExit", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND, PRO_TK_BAD_CONTEXT}},
        {"ProUIDialogDestroy", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND, PRO_TK_BAD_CONTEXT}},
        {"ProUIPushbuttonActivateActionSet", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND}},
        {"ProUIInputpanelInputtypeSet", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND}},
        {"ProUIInputpanelValueSet", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND, PRO_TK_LINE_TOO_LONG}},
        {"ProUIInputpanelValueGet", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND, PRO_TK_OUT_OF_MEMORY}},
        {"ProUICheckbuttonSet", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND}},
        {"ProUICheckbuttonGetState", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND}},
        {"ProUIListNamesSet", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND}},
        {"ProUIListLabelsSet", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND}},
        {"ProUIListSelectednamesGet", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND, PRO_TK_OUT_OF_MEMORY}},
        // selections and drawings (tk_selection.cpp, tk_drawings.cpp)
        {"ProSelbufferSelectionsGet", {PRO_TK_BAD_INPUTS, PRO_TK_OUT_OF_MEMORY}},
        {"ProSelectionModelitemGet", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND}},
        {"ProSelectionarrayFree", {PRO_TK_BAD_INPUTS}},
        {"ProMousePickGet", {PRO_TK_BAD_INPUTS, PRO_TK_USER_ABORT}},
        {"ProDrawingDimensionPosGet", {PRO_TK_BAD_INPUTS}},
        {"ProDrawingDimensionMove", {PRO_TK_BAD_INPUTS}},
        {"ProDtlsyminstDataGet", {PRO_TK_BAD_INPUTS, PRO_TK_OUT_OF_MEMORY}},
        {"ProDtlsyminstdataFree", {PRO_TK_BAD_INPUTS}},
        {"ProDtlsyminstModify", {PRO_TK_BAD_INPUTS}},
        {"ProDtlsyminstdataAttachmentGet", {PRO_TK_BAD_INPUTS, PRO_TK_OUT_OF_MEMORY}},
        {"ProDtlsyminstdataAttachmentSet", {PRO_TK_BAD_INPUTS}},
        {"ProDtlattachGet", {PRO_TK_BAD_INPUTS, PRO_TK_OUT_OF_MEMORY}},
        {"ProDtlattachAlloc", {PRO_TK_BAD_INPUTS, PRO_TK_OUT_OF_MEMORY}},
        {"ProDtlattachFree", {PRO_TK_BAD_INPUTS}},
        {"ProDrawingCurrentSheetGet", {PRO_TK_BAD_INPUTS}},
        {"ProDwgSheetRegenerate", {PRO_TK_BAD_INPUTS}},
        // assemblies and appearances (tk_features.cpp, tk_appearance.cpp)
        {"ProMdlToModelitem", {PRO_TK_BAD_INPUTS}},
        {"ProSolidFeatVisit", {PRO_TK_BAD_INPUTS, PRO_TK_BAD_CONTEXT}},
        {"ProFeatureTypeGet", {PRO_TK_BAD_INPUTS}},
        {"ProFeatureStatusGet", {PRO_TK_BAD_INPUTS}},
        {"ProFeatureVisibilityGet", {PRO_TK_BAD_INPUTS}},
        {"ProAsmcompMdlGet", {PRO_TK_BAD_INPUTS, PRO_TK_E_NOT_FOUND}},
        {"ProSurfaceAppearancepropsGet", {PRO_TK_BAD_INPUTS}},
        {"ProSurfaceAppearancepropsSet", {PRO_TK_BAD_INPUTS}},
        // the Windows shell and thread timer, off Windows (tk_shell.cpp,
        // tk_explorer.cpp, tk_timers.cpp); a timer call fails by giving 0,
        // whatever status a fault gives it
        {"SHFileOperationW", kShellResults},
        {"ShellExecuteW", kExecuteResults},
        {"SetTimer", {}},
        {"KillTimer", {}},
    };
    return table;
}

}  // namespace

std::vector<int> failing_statuses(const std::string& call)
{
    const auto& table = own_statuses();
    const auto it = table.find(call);
    if (it == table.end())
        return {};
    std::vector<int> statuses = it->second;
    // guarded() turns an exception inside any call into a general error.
    statuses.push_back(PRO_TK_GENERAL_ERROR);
    return statuses;
}

}  // namespace vxhost
