#include "ui/dialogs.h"

#include <algorithm>

#include "host/text.h"

namespace vxhost {

std::string Component::state_text() const
{
    switch (kind) {
    case ComponentKind::InputPanel: return "\"" + to_utf8(text) + "\"";
    case ComponentKind::CheckButton: return set ? "set" : "clear";
    case ComponentKind::PushButton: return action ? "bound" : "unbound";
    }
    return "";
}

Component* Dialog::find(const std::string& component)
{
    for (Component& c : components)
        if (c.name == component)
            return &c;
    return nullptr;
}

Dialog* Dialogs::create(const std::string& name, const std::string& layout_name,
                        const Layout& layout, const fs::path& file)
{
    if (find(name))
        return nullptr;
    auto dialog = std::make_unique<Dialog>();
    dialog->name = name;
    dialog->layout = layout_name;
    dialog->title = layout.title;
    dialog->file = file;
    for (const LayoutComponent& c : layout.components) {
        Component component;
        component.kind = c.kind;
        component.name = c.name;
        component.label = c.label;
        dialog->components.push_back(std::move(component));
    }
    dialogs_.push_back(std::move(dialog));
    return dialogs_.back().get();
}

Dialog* Dialogs::find(const std::string& name)
{
    for (const auto& d : dialogs_)
        if (d->name == name)
            return d.get();
    return nullptr;
}

void Dialogs::destroy(const std::string& name)
{
    dialogs_.erase(std::remove_if(dialogs_.begin(), dialogs_.end(),
                                  [&](const auto& d) { return d->name == name; }),
                   dialogs_.end());
}

bool Dialogs::any_running() const
{
    return std::any_of(dialogs_.begin(), dialogs_.end(), [](const auto& d) { return d->running; });
}

namespace {

std::string opening_text(const Dialog& d)
{
    std::string line = "dialog " + d.name + " opens:";
    const char* separator = " ";
    for (const Component& c : d.components) {
        if (c.kind == ComponentKind::PushButton)
            continue;
        line += separator + c.name + " " + c.state_text();
        separator = ", ";
    }
    return line;
}

// The component an input acts on, when it is there and of the kind the
// input needs; otherwise the user's mistake is recorded.
Component* target(HostState& s, Dialog& d, const DialogInput& input, ComponentKind kind)
{
    Component* c = d.find(input.component);
    if (!c) {
        s.error("dialog " + d.name + ": the user acts on " + input.component +
                ", which its layout does not have");
        return nullptr;
    }
    if (c->kind != kind) {
        s.error("dialog " + d.name + ": " + input.component + " is a " +
                component_kind_name(c->kind) + ", not a " + component_kind_name(kind));
        return nullptr;
    }
    return c;
}

// The user's input, as the transcript and the run's record show it.
std::string input_text(const DialogInput& input)
{
    switch (input.kind) {
    case DialogInput::Kind::Type: return "types \"" + to_utf8(input.text) + "\" into " + input.component;
    case DialogInput::Kind::Set: return "sets " + input.component;
    case DialogInput::Kind::Clear: return "clears " + input.component;
    case DialogInput::Kind::Press: return "presses " + input.component;
    case DialogInput::Kind::Close: return "closes the window";
    case DialogInput::Kind::Wait: return "waits " + clock_text(input.milliseconds);
    case DialogInput::Kind::Look: return "";
    }
    return "";
}

void press(Dialog& d, Component& button)
{
    if (!button.action)
        return;
    // The function may keep neither: copies, writable as the call wants.
    std::string dialog = d.name, component = button.name;
    button.action(dialog.data(), component.data(), button.data);
}

// Carries out one input; false when it closes the window.
bool perform(HostState& s, Dialog& d, const DialogInput& input)
{
    using Kind = DialogInput::Kind;
    switch (input.kind) {
    case Kind::Type:
        if (Component* c = target(s, d, input, ComponentKind::InputPanel))
            c->text = input.text;
        return true;
    case Kind::Set:
    case Kind::Clear:
        if (Component* c = target(s, d, input, ComponentKind::CheckButton))
            c->set = input.kind == Kind::Set;
        return true;
    case Kind::Press:
        if (Component* c = target(s, d, input, ComponentKind::PushButton))
            press(d, *c);
        return true;
    case Kind::Close:
        return false;
    case Kind::Wait:
        idle(s, input.milliseconds);
        return true;
    case Kind::Look:
        if (input.look)
            input.look();
        return true;
    }
    return true;
}

}  // namespace

void Host::type_text(const std::string& component, const std::u16string& text)
{
    state_->dialog_input.push_back(DialogInput{DialogInput::Kind::Type, component, text, 0, {}});
}

void Host::set_check(const std::string& component, bool set)
{
    const auto kind = set ? DialogInput::Kind::Set : DialogInput::Kind::Clear;
    state_->dialog_input.push_back(DialogInput{kind, component, {}, 0, {}});
}

void Host::press(const std::string& component)
{
    state_->dialog_input.push_back(DialogInput{DialogInput::Kind::Press, component, {}, 0, {}});
}

void Host::close_dialog()
{
    state_->dialog_input.push_back(DialogInput{DialogInput::Kind::Close, {}, {}, 0, {}});
}

void Host::wait_in_dialog(long long milliseconds)
{
    state_->dialog_input.push_back(DialogInput{DialogInput::Kind::Wait, {}, {}, milliseconds, {}});
}

void Host::look_in_dialog(std::function<void()> look)
{
    state_->dialog_input.push_back(DialogInput{DialogInput::Kind::Look, {}, {}, 0, std::move(look)});
}

std::size_t Host::dialog_input_left() const { return state_->dialog_input.size(); }
void Host::clear_dialog_input() { state_->dialog_input.clear(); }
const std::vector<DialogRun>& Host::dialog_runs() const { return state_->dialog_runs; }

int run_modal(HostState& s, Dialog& d)
{
    DialogRun run;
    run.dialog = d.name;
    for (const Component& c : d.components)
        run.opened_with[c.name] = c.state_text();
    s.note(opening_text(d));
    d.running = true;
    d.exit_status.reset();
    while (!d.exit_status) {
        if (s.dialog_input.empty()) {
            s.error("dialog " + d.name + " waits for the user, who has nothing more to do in it; "
                    "the host closes its window");
            run.closed = true;
            break;
        }
        const DialogInput input = std::move(s.dialog_input.front());
        s.dialog_input.pop_front();
        const std::string text = input_text(input);
        if (!text.empty()) {
            s.note("  user " + text);
            run.inputs.push_back(text);
        }
        if (!perform(s, d, input)) {
            run.closed = true;
            break;
        }
    }
    d.running = false;
    run.status = run.closed ? kClosedStatus : *d.exit_status;
    s.note("dialog " + d.name + (run.closed ? " closed" : " ends") + " with status " +
           std::to_string(run.status));
    s.dialog_runs.push_back(std::move(run));
    return s.dialog_runs.back().status;
}

}  // namespace vxhost
