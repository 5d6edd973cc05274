#include "ui/ribbon.h"

#include "host/text.h"
#include "models/assemblies.h"

namespace vxhost {

namespace {

const char* const ribbon_tabs[] = {
    "page_Model", "page_Analysis", "page_Annotate", "page_Render",
    "page_Tools", "page_View",     "page_Applications",
};

constexpr const char* kViewTab = "page_View";
const std::string kButtonSuffix = "_control_btn";

// A step on a button or an entry takes no value; a tab's button takes 1.
StepResult takes_values(const MacroStep& step, const std::vector<std::string>& values)
{
    if (step.operands.size() != 2)
        return step.verb + " takes a dialog and one component";
    if (step.values != values)
        return step.verb + " " + step.operands[1] +
               (values.empty() ? " takes no value" : " takes the value " + values[0]);
    return std::nullopt;
}

}  // namespace

bool is_ribbon_tab(const std::string& tab)
{
    for (const char* t : ribbon_tabs)
        if (tab == t)
            return true;
    return false;
}

void switch_ribbon_tab(HostState& s, const std::string& tab)
{
    const std::string left = s.tab;
    s.tab = tab;
    s.note("tab " + left + " -> " + tab);
    notify_tab_switch(s, left, tab);
}

StepResult activate_tab_button(HostState& s, const MacroStep& step)
{
    const std::string& button = step.operands[1];
    const std::size_t n = button.size();
    const bool is_button = n > kButtonSuffix.size() &&
                           button.compare(n - kButtonSuffix.size(), kButtonSuffix.size(), kButtonSuffix) == 0;
    const std::string tab = is_button ? button.substr(0, n - kButtonSuffix.size()) : "";
    if (!is_button || !is_ribbon_tab(tab))
        return "no button " + button + " in " + kMainWindow;
    if (auto problem = takes_values(step, {"1"}))
        return problem;
    switch_ribbon_tab(s, tab);
    return std::nullopt;
}

StepResult select_view_gallery(HostState& s, const MacroStep& step)
{
    if (auto problem = takes_values(step, {}))
        return problem;
    if (s.tab != kViewTab)
        return std::string(kViewGallery) + " is on the View tab, and " + s.tab + " is shown";
    s.gallery.open = true;
    return std::nullopt;
}

StepResult select_clear_entry(HostState& s, const MacroStep& step)
{
    if (auto problem = takes_values(step, {}))
        return problem;
    if (!s.gallery.open)
        return std::string(kClearEntry) + " is in the gallery, which is not open";
    s.gallery.clear_chosen = true;
    return std::nullopt;
}

StepResult close_clear_entry(HostState& s, const MacroStep& step)
{
    if (auto problem = takes_values(step, {}))
        return problem;
    if (!s.gallery.open)
        return std::string(kClearEntry) + " is in the gallery, which is not open";
    s.gallery.open = false;
    return std::nullopt;
}

StepResult activate_clear_all(HostState& s, const MacroStep& step)
{
    if (auto problem = takes_values(step, {}))
        return problem;
    if (!s.gallery.clear_chosen)
        return std::string(kClearAll) + " is offered once the gallery's clear entry is chosen";
    s.gallery.clear_chosen = false;
    s.gallery.confirming = true;
    s.note(std::string(kConfirmation) + ": clear all appearances? [yes no]");
    return std::nullopt;
}

StepResult focus_yes(HostState& s, const MacroStep& step)
{
    if (auto problem = takes_values(step, {}))
        return problem;
    if (!s.gallery.confirming)
        return std::string(kConfirmation) + " is not open";
    return std::nullopt;
}

StepResult activate_yes(HostState& s, const MacroStep& step)
{
    if (auto problem = takes_values(step, {}))
        return problem;
    if (!s.gallery.confirming)
        return std::string(kConfirmation) + " is not open";
    s.gallery.confirming = false;
    Model* current = s.session.current();
    if (!current) {
        s.note("yes: no model to clear");
        return std::nullopt;
    }
    Model& model = *current;
    const int cleared = clear_appearances(s, model);
    s.note("yes: appearances cleared from " + model_label(model) + " and all it places (" +
           std::to_string(cleared) + " part(s) had one)");
    return std::nullopt;
}

}  // namespace vxhost
