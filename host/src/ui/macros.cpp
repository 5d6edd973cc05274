#include "ui/macros.h"

#include <cctype>
#include <cstring>

#include "host/text.h"
#include "ui/ribbon.h"
#include "models/models.h"

namespace vxhost {

namespace {

// A macro that queues macros that queue macros ... ends here.
constexpr int kMaxMacrosPerRun = 1000;

constexpr const char* kSaveDialog = "file_saveas";

// ProCmdModelSave: the host's save dialog opens for the active window's model.
StepResult open_save_dialog(HostState& s, const MacroStep&)
{
    Model* current = s.session.current();
    if (!current)
        return std::string("no model in the active window to save");
    s.saving = current;
    s.note("host dialog " + std::string(kSaveDialog) + " opens for " + model_label(*current));
    return std::nullopt;
}

// OK of the save dialog: the model it was opened for is saved.
StepResult confirm_save(HostState& s, const MacroStep&)
{
    Model* model = s.saving;
    if (!model)
        return std::string("the dialog ") + kSaveDialog + " is not open";
    s.saving = nullptr;
    if (save_model(s, *model) != PRO_TK_NO_ERROR)
        return model_label(*model) + " was not saved";
    return std::nullopt;
}

// The host's own commands that macros can name.
const HostCommand host_commands[] = {
    {"ProCmdModelSave", open_save_dialog},
};

// The elements of host dialogs that macro steps act on. The first row
// that fits a step runs it: a row for any component comes after the rows
// for named ones of its dialog.
const MacroTarget macro_targets[] = {
    {"Select", kMainWindow, kViewGallery, select_view_gallery},
    {"Select", kMainWindow, kClearEntry, select_clear_entry},
    {"Close", kMainWindow, kClearEntry, close_clear_entry},
    {"Activate", kMainWindow, kClearAll, activate_clear_all},
    {"FocusIn", kConfirmation, kYes, focus_yes},
    {"Activate", kConfirmation, kYes, activate_yes},
    {"Activate", kMainWindow, nullptr, activate_tab_button},   // <tab>_control_btn
    {"Activate", kSaveDialog, "OK", confirm_save},
};

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// One step's text, "~ Verb `a` `b` 1", taken apart.
std::optional<std::string> parse_step(const std::string& text, MacroStep& step)
{
    step.text = text;
    if (text.empty() || text[0] != '~')
        return "a step begins with ~";
    std::size_t at = 1;
    auto skip_blanks = [&] {
        while (at < text.size() && is_blank(text[at]))
            ++at;
    };
    skip_blanks();
    while (at < text.size() && std::isalpha(static_cast<unsigned char>(text[at])))
        step.verb += text[at++];
    if (step.verb.empty())
        return "a step names its verb after ~";
    for (skip_blanks(); at < text.size(); skip_blanks()) {
        if (text[at] == '`') {
            const std::size_t close = text.find('`', at + 1);
            if (close == std::string::npos)
                return "an operand without its closing `";
            if (!step.values.empty())
                return "an operand after a value";
            step.operands.push_back(text.substr(at + 1, close - at - 1));
            at = close + 1;
            continue;
        }
        std::string value;
        while (at < text.size() && !is_blank(text[at]) && text[at] != '`')
            value += text[at++];
        step.values.push_back(value);
    }
    return std::nullopt;
}

std::string step_where(std::size_t number, const std::string& text)
{
    return "step " + std::to_string(number) + " \"" + text + "\"";
}

const HostCommand* find_host_command(const std::string& name)
{
    for (const HostCommand& c : host_commands)
        if (c.name && name == c.name)
            return &c;
    return nullptr;
}

StepResult run_command_step(HostState& s, const MacroStep& step)
{
    if (step.operands.size() != 1)
        return std::string("Command takes one operand, the command's name");
    const std::string& name = step.operands[0];
    if (const HostCommand* c = find_host_command(name))
        return c->run(s, step);
    if (const Command* command = s.commands.find(name)) {
        if (!run_command(s, "macro: Command " + name, CommandRegistry::id_of(*command)))
            return "the command " + name + " is not available";
        return std::nullopt;
    }
    return "no command " + name;
}

StepResult run_step(HostState& s, const MacroStep& step)
{
    if (step.verb == "Command")
        return run_command_step(s, step);
    if (step.operands.size() < 2)
        return step.verb + " names a dialog and a component";
    const std::string& dialog = step.operands[0];
    const std::string& component = step.operands[1];
    bool dialog_known = false;
    for (const MacroTarget& t : macro_targets) {
        if (!t.verb || dialog != t.dialog)
            continue;
        dialog_known = true;
        if (step.verb == t.verb && (!t.component || component == t.component))
            return t.run(s, step);
    }
    if (!dialog_known)
        return "no dialog " + dialog;
    return "no " + step.verb + " for " + component + " of " + dialog;
}

}  // namespace

ParsedMacro parse_macro(const std::string& text)
{
    ParsedMacro parsed;
    std::string rest = trim(text);
    // The key sequence's name, if the macro opens with one.
    if (!rest.empty() && rest[0] != '~') {
        std::size_t end = 0;
        while (end < rest.size() && std::isalnum(static_cast<unsigned char>(rest[end])))
            ++end;
        if (end == 0 || (end < rest.size() && !is_blank(rest[end]))) {
            parsed.error = "a macro begins with a step, or a key name and a step";
            return parsed;
        }
        rest = trim(rest.substr(end));
    }
    std::size_t start = 0, number = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find(';', start);
        if (end == std::string::npos)
            end = rest.size();
        const std::string piece = trim(rest.substr(start, end - start));
        start = end + 1;
        if (piece.empty()) {
            if (end == rest.size())
                break;
            parsed.error = step_where(number + 1, piece) + ": an empty step";
            return parsed;
        }
        MacroStep step;
        if (const auto problem = parse_step(piece, step)) {
            parsed.error = step_where(number + 1, piece) + ": " + *problem;
            return parsed;
        }
        parsed.steps.push_back(std::move(step));
        ++number;
    }
    if (parsed.steps.empty())
        parsed.error = "a macro without steps";
    return parsed;
}

bool run_macro(HostState& s, const std::u16string& macro)
{
    const std::string text = to_utf8(macro);
    const ParsedMacro parsed = parse_macro(text);
    if (parsed.error) {
        s.error("macro \"" + text + "\": " + *parsed.error);
        s.note("macro refused: " + *parsed.error);
        return false;
    }
    bool done = true;
    for (std::size_t i = 0; i < parsed.steps.size() && done; ++i) {
        const MacroStep& step = parsed.steps[i];
        s.note("macro: " + step.text);
        if (const auto problem = run_step(s, step)) {
            const std::string where = step_where(i + 1, step.text);
            s.error("macro " + where + ": " + *problem);
            s.note("macro stopped at " + where + ": " + *problem);
            done = false;
        }
    }
    // Nobody answers a host dialog the macro left open: it is cancelled.
    if (s.saving) {
        s.note("host dialog " + std::string(kSaveDialog) + " cancelled: its macro did not answer it");
        s.saving = nullptr;
    }
    return done;
}

int run_macro_queue(HostState& s)
{
    // A modal dialog of the add-in holds control until it ends.
    if (s.hold_macros || s.running_macros || s.dialogs.any_running())
        return 0;
    s.running_macros = true;
    int run = 0;
    while (!s.macro_queue.empty()) {
        if (run == kMaxMacrosPerRun) {
            s.error("macros kept queueing macros: " + std::to_string(s.macro_queue.size()) +
                    " left unrun after " + std::to_string(run));
            s.macro_queue.clear();
            break;
        }
        const std::u16string macro = std::move(s.macro_queue.front());
        s.macro_queue.pop_front();
        run_macro(s, macro);
        ++run;
    }
    s.running_macros = false;
    return run;
}

}  // namespace vxhost
