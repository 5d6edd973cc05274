// Macros: strings of the host's own user-interface steps, which the
// add-in queues with ProMacroLoad and the host carries out once control
// is back with it.
//
// The language, as this host reads it:
//
//     [key] step ; step ; ...
//     step:  ~ Verb `operand` `operand` ... [value ...]
//
// A macro may open with the name of the key sequence it was recorded for
// (one word, "aa"), which plays no part in running it. Steps are separated
// by ";"; blanks around them, and an empty step after the last ";", are
// nothing. Operands stand between grave accents. The steps this host knows:
//
//     ~ Command `name`                runs a host command or an add-in action
//     ~ Verb `dialog` `component` ... acts on a component of a host dialog
//
// Of the host's own: the command ProCmdModelSave opens the save dialog
// file_saveas for the active window's model, and ~ Activate `file_saveas`
// `OK` saves that model. A save dialog that its macro leaves open is
// cancelled when the macro ends.
//
// A step that names what the host does not have, or what cannot be
// reached in the state the interface is in, stops its macro: the error is
// recorded and nothing after it runs. Other queued macros still run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "state.h"

namespace vxhost {

struct MacroStep {
    std::string verb;                    // Command, Activate, Select, ...
    std::vector<std::string> operands;   // the texts between grave accents
    std::vector<std::string> values;     // words after the operands
    std::string text;                    // the step as written
};

// The steps of a macro, or a message saying what is wrong with it.
struct ParsedMacro {
    std::vector<MacroStep> steps;
    std::optional<std::string> error;
};
ParsedMacro parse_macro(const std::string& text);

// What carrying out one step gives: nothing, or why it could not be done.
using StepResult = std::optional<std::string>;

// A command of the host's own that a macro can name, ProCmdModelSave say.
struct HostCommand {
    const char* name;
    StepResult (*run)(HostState& s, const MacroStep& step);
};

// An element of a host dialog that macro steps act on.
struct MacroTarget {
    const char* verb;
    const char* dialog;
    const char* component;   // nullptr: any component, the step's function decides
    StepResult (*run)(HostState& s, const MacroStep& step);
};

// Carries out one macro now; false when a step stopped it.
bool run_macro(HostState& s, const std::u16string& macro);

// Carries out the queue, macros queued meanwhile included, unless the
// host holds it, is carrying it out already (a command that a macro runs
// queues behind the macro that ran it) or runs a modal dialog of the
// add-in's. Returns the macros run.
int run_macro_queue(HostState& s);

}  // namespace vxhost
