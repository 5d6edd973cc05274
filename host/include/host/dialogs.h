// The add-in's dialogs as the host holds them: built from a layout
// (host/layouts.h), bound, run modally while the user -- a scenario or a
// test -- acts on their components, and destroyed.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/layouts.h"
#include "toolkit.h"

namespace vxhost {

// One component and the state its kind has.
struct Component {
    ComponentKind kind = ComponentKind::PushButton;
    std::string name;
    std::string label;
    std::u16string text;                    // InputPanel
    int input_type = PRO_UI_INPUT_STRING;   // InputPanel
    bool set = false;                       // CheckButton
    ProUIAction action = nullptr;           // PushButton
    ProAppData data = nullptr;              // PushButton

    // How it looks to the user: "10" for a panel, set/clear for a box.
    std::string state_text() const;
};

struct Dialog {
    std::string name;
    std::string layout;
    std::string title;
    fs::path file;                          // the layout it was built from
    std::vector<Component> components;
    bool running = false;                   // in its modal run
    std::optional<int> exit_status;         // set by ProUIDialogExit during the run

    Component* find(const std::string& component);
};

class Dialogs {
public:
    // A new dialog of that name from the layout; nullptr when one of that
    // name exists already.
    Dialog* create(const std::string& name, const std::string& layout_name, const Layout& layout,
                   const fs::path& file);
    Dialog* find(const std::string& name);
    void destroy(const std::string& name);
    void clear() { dialogs_.clear(); }
    bool any_running() const;

private:
    std::vector<std::unique_ptr<Dialog>> dialogs_;
};

// What the user does in a dialog while it runs modally.
struct DialogInput {
    enum class Kind {
        Type,     // replaces an input panel's text
        Set,      // sets a check button
        Clear,    // clears a check button
        Press,    // presses a push button: its bound function runs
        Close,    // closes the dialog's window: the run ends, status kClosedStatus
        Wait,     // time passes with the dialog open; the message loop runs
        Look      // a test looks in, with the dialog open
    } kind = Kind::Close;
    std::string component;
    std::u16string text;                    // Type
    long long milliseconds = 0;             // Wait
    std::function<void()> look;             // Look
};

// The exit status of a run whose window the user closed, or that the host
// ended because the user had nothing more to do in it.
constexpr int kClosedStatus = -1;

// One modal run, as the user saw it.
struct DialogRun {
    std::string dialog;
    std::map<std::string, std::string> opened_with;   // each component's state_text()
    std::vector<std::string> inputs;                  // what the user did, in order
    int status = kClosedStatus;                       // what ProUIDialogActivate gave
    bool closed = false;                              // ended by its window, not ProUIDialogExit
};

}  // namespace vxhost
