// Dialog layouts: the host's resource files, one per layout, found as
// <text folder>/resource/<layout name in lower case>.res.
//
// A layout is one parenthesised tree: the dialog, then its components by
// kind and name, each with its attributes.
//
//     ! the timed-save dialog
//     (Dialog TimeSave
//         (Title "Timed Save")
//         (InputPanel InputTime (Label "Interval"))
//         (CheckButton CBAutoSave (Label "Save on the timer"))
//         (PushButton CommitOK (Label "OK")))
//
// "!" begins a comment that runs to the end of its line. Names are words
// of letters, digits and "_"; texts stand in double quotes and are UTF-8,
// a backslash before a quote or a backslash standing for that character. A component kind is a row
// of the kinds table in layouts.cpp; a new kind is a new row there and its
// state in dialogs.h.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vxhost {

namespace fs = std::filesystem;

enum class ComponentKind { InputPanel, CheckButton, PushButton };

const char* component_kind_name(ComponentKind kind);

struct LayoutComponent {
    ComponentKind kind = ComponentKind::PushButton;
    std::string name;
    std::string label;     // empty when the layout gives none
    int line = 0;          // where the layout names it
};

struct Layout {
    std::string name;      // the name after Dialog
    std::string title;
    std::vector<LayoutComponent> components;   // in layout order
};

// Throws HostError "file:line: problem" for text that is no layout.
Layout parse_layout(const std::string& text, const fs::path& file);
// The same for a file; "file:0: ..." when it cannot be read.
Layout read_layout(const fs::path& file);

// The file name of a layout: "timesave.res" for "TimeSave". Empty for a
// name that is no word, so that no layout name can lead out of the folder.
std::string layout_file_name(const std::string& layout);

}  // namespace vxhost
