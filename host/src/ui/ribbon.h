// The ribbon as the user and macros drive it: its tabs, each activated by
// its button <tab>_control_btn, and the View tab's appearance gallery,
// whose clear-appearance entry offers to clear all appearances after a
// confirmation.
#pragma once

#include "ui/macros.h"

namespace vxhost {

// The host's main window and its confirmation dialog, as macros name them.
inline constexpr const char* kMainWindow = "main_dlg_cur";
inline constexpr const char* kConfirmation = "UI Message Dialog";
inline constexpr const char* kViewGallery = "View:ProCmdViewGallery";
inline constexpr const char* kClearEntry = "ProCmdViewGallery_layoutph.palette_holder.clearAppearance";
inline constexpr const char* kClearAll = "clearAllAppearance";
inline constexpr const char* kYes = "yes";

// The tabs a macro can activate. The user may stand on another (a tab of
// a mode of its own, say: Host::switch_tab takes any name); no macro
// reaches that one.
bool is_ribbon_tab(const std::string& tab);

// The macro steps of the ribbon, rows of the macro targets:
//   ~ Activate `main_dlg_cur` `<tab>_control_btn` 1   shows the tab
//   ~ Select `main_dlg_cur` `View:ProCmdViewGallery`  opens the gallery (View tab only)
//   ~ Select `main_dlg_cur` `...clearAppearance`      chooses its clear entry (gallery open)
//   ~ Close `main_dlg_cur` `...clearAppearance`       closes the gallery again
//   ~ Activate `main_dlg_cur` `clearAllAppearance`    asks for confirmation (entry chosen)
//   ~ FocusIn `UI Message Dialog` `yes`               (confirmation asked)
//   ~ Activate `UI Message Dialog` `yes`              clears every appearance of the
//                                                     current model and all it places
StepResult activate_tab_button(HostState& s, const MacroStep& step);
StepResult select_view_gallery(HostState& s, const MacroStep& step);
StepResult select_clear_entry(HostState& s, const MacroStep& step);
StepResult close_clear_entry(HostState& s, const MacroStep& step);
StepResult activate_clear_all(HostState& s, const MacroStep& step);
StepResult focus_yes(HostState& s, const MacroStep& step);
StepResult activate_yes(HostState& s, const MacroStep& step);

}  // namespace vxhost
