// The add-in's dialogs as it reaches them: built from a layout in the
// resource folder of its text folder, bound, run modally while the user
// acts (ui/dialogs.cpp), destroyed. A call that names a dialog the add-in
// has not created, or a component its layout lacks, fails with the
// reason recorded. A list copies the names and labels it is given; the
// user selects its items, and the names of those go back to the add-in as
// a string array (tk_memory.cpp).
#include <optional>
#include <vector>

#include "guard.h"
#include "host/layouts.h"
#include "tk_calls.h"
#include "ui/dialogs.h"

namespace vxhost {

namespace {

// The texts a component takes; a longer one, or one without a terminator
// this far, is refused.
constexpr std::size_t kTextLimit = 4096;

// Runs `body` on the named dialog when the add-in has created it;
// otherwise records that there is none.
template <class Body>
ProError on_dialog(HostState& s, const char* call, const char* dialog, Body body)
{
    if (!dialog)
        return PRO_TK_BAD_INPUTS;
    Dialog* d = s.dialogs.find(dialog);
    if (!d) {
        s.error(std::string(call) + ": no dialog " + dialog);
        return PRO_TK_E_NOT_FOUND;
    }
    return body(*d);
}

// A call the dialog's state does not allow.
ProError refuse(HostState& s, const char* call, const Dialog& d, const char* why)
{
    s.error(std::string(call) + ": dialog " + d.name + " " + why);
    return PRO_TK_BAD_CONTEXT;
}

// Runs `body` on the named component of the named dialog when both are
// there and the component is of `kind`; otherwise records why not.
template <class Body>
ProError on_component(HostState& s, const char* call, const char* dialog, const char* component,
                      ComponentKind kind, Body body)
{
    if (!component)
        return PRO_TK_BAD_INPUTS;
    return on_dialog(s, call, dialog, [&](Dialog& d) -> ProError {
        Component* c = d.find(component);
        if (!c) {
            s.error(std::string(call) + ": dialog " + dialog + " has no component " + component +
                    " (" + d.file.string() + ")");
            return PRO_TK_E_NOT_FOUND;
        }
        if (c->kind != kind) {
            s.error(std::string(call) + ": " + component + " of dialog " + dialog + " is a " +
                    component_kind_name(c->kind) + ", not a " + component_kind_name(kind));
            return PRO_TK_BAD_INPUTS;
        }
        return body(*c);
    });
}

// The layout file, found ignoring case as Windows would; the error names
// the file that is missing.
std::optional<fs::path> find_layout(HostState& s, const char* folder, const std::string& file)
{
    const fs::path wanted = fs::path(folder) / "resource" / file;
    const auto dir = resolve_nocase(fs::path(folder));
    const auto path = dir ? resolve_nocase(*dir, fs::path("resource") / file) : std::nullopt;
    if (!path)
        s.error(wanted.string() + ":0: no such layout");
    return path;
}

ProError create_dialog(HostState& s, const char* folder, const char* dialog, const char* layout)
{
    const std::string file = layout_file_name(layout);
    if (file.empty() || !*dialog)
        return PRO_TK_BAD_INPUTS;
    if (s.dialogs.find(dialog)) {
        s.error(std::string("ProUIDialogCreate: a dialog ") + dialog + " exists already");
        return PRO_TK_E_FOUND;
    }
    const auto path = find_layout(s, folder, file);
    if (!path)
        return PRO_TK_E_NOT_FOUND;
    try {
        const Layout read = read_layout(*path);
        if (!equal_nocase(read.name, std::string(layout)))
            throw HostError(path->string() + ":1: the layout is " + read.name + ", not " + layout);
        s.dialogs.create(dialog, layout, read, *path);
    } catch (const HostError& e) {
        s.error(e.what());
        return PRO_TK_INVALID_FILE;
    }
    return PRO_TK_NO_ERROR;
}

std::string bounded(const char* text) { return narrow_text(text, kTextLimit); }
std::u16string bounded(const ProWchar* text) { return wide_text(text, kTextLimit); }

// The `count` texts of an array the add-in passes, or nothing, with the
// reason recorded: a count below 0, no array for items, an absent text or
// one without its terminator. An array the host handed out must hold that
// many elements.
template <class Char>
std::optional<std::vector<std::basic_string<Char>>> list_texts(HostState& s, const char* call,
                                                               int count, Char* const* texts)
{
    const auto refuse = [&](const std::string& why) {
        s.error(std::string(call) + ": " + why);
        return std::nullopt;
    };
    if (count < 0)
        return refuse("a count of " + std::to_string(count));
    if (count > 0 && !texts)
        return refuse(std::to_string(count) + " item(s) and no array");
    if (const ArrayInfo* info = s.arrays.find(texts); info && info->count < count)
        return refuse(std::to_string(count) + " item(s) from an array of " + std::to_string(info->count));
    std::vector<std::basic_string<Char>> list;
    for (int i = 0; i < count; ++i) {
        if (!texts[i])
            return refuse("item " + std::to_string(i) + " has no text");
        list.push_back(bounded(texts[i]));
        if (list.back().size() >= kTextLimit)
            return refuse("item " + std::to_string(i) + " has no terminator within " +
                          std::to_string(kTextLimit) + " units");
    }
    return list;
}

}  // namespace

namespace tk {

ProError ProUIDialogCreate(const char* folder, const char* dialog, const char* layout)
{
    return guarded("ProUIDialogCreate", call_args(dialog, layout), [&](HostState& s) -> ProError {
        if (!folder || !dialog || !layout)
            return PRO_TK_BAD_INPUTS;
        return create_dialog(s, folder, dialog, layout);
    });
}

ProError ProUIDialogActivate(const char* dialog, int* p_status)
{
    return guarded("ProUIDialogActivate", call_args(dialog), [&](HostState& s) {
        return on_dialog(s, "ProUIDialogActivate", dialog, [&](Dialog& d) -> ProError {
            if (d.running)
                return refuse(s, "ProUIDialogActivate", d, "runs already");
            const int status = run_modal(s, d);
            if (p_status)
                *p_status = status;
            return PRO_TK_NO_ERROR;
        });
    });
}

ProError ProUIDialogExit(const char* dialog, int status)
{
    return guarded("ProUIDialogExit", call_args(dialog, status), [&](HostState& s) {
        return on_dialog(s, "ProUIDialogExit", dialog, [&](Dialog& d) -> ProError {
            if (!d.running)
                return refuse(s, "ProUIDialogExit", d, "is not running");
            d.exit_status = status;
            return PRO_TK_NO_ERROR;
        });
    });
}

ProError ProUIDialogDestroy(const char* dialog)
{
    return guarded("ProUIDialogDestroy", call_args(dialog), [&](HostState& s) {
        return on_dialog(s, "ProUIDialogDestroy", dialog, [&](Dialog& d) -> ProError {
            if (d.running)
                return refuse(s, "ProUIDialogDestroy", d, "is still running");
            s.dialogs.destroy(dialog);
            return PRO_TK_NO_ERROR;
        });
    });
}

ProError ProUIPushbuttonActivateActionSet(const char* dialog, const char* component,
                                          ProUIAction action, ProAppData data)
{
    return guarded("ProUIPushbuttonActivateActionSet",
                   call_args(dialog, component, pointer_flag(reinterpret_cast<const void*>(action))),
                   [&](HostState& s) {
                       return on_component(s, "ProUIPushbuttonActivateActionSet", dialog, component,
                                           ComponentKind::PushButton, [&](Component& c) {
                                               c.action = action;
                                               c.data = data;
                                               return PRO_TK_NO_ERROR;
                                           });
                   });
}

ProError ProUIInputpanelInputtypeSet(const char* dialog, const char* component, ProUIInputtype type)
{
    return guarded("ProUIInputpanelInputtypeSet", call_args(dialog, component, type),
                   [&](HostState& s) {
                       return on_component(s, "ProUIInputpanelInputtypeSet", dialog, component,
                                           ComponentKind::InputPanel, [&](Component& c) {
                                               if (type < PRO_UI_INPUT_STRING || type > PRO_UI_INPUT_DOUBLE)
                                                   return PRO_TK_BAD_INPUTS;
                                               c.input_type = type;
                                               return PRO_TK_NO_ERROR;
                                           });
                   });
}

ProError ProUIInputpanelValueSet(const char* dialog, const char* component, const ProWchar* value)
{
    return guarded("ProUIInputpanelValueSet", call_args(dialog, component, value),
                   [&](HostState& s) {
                       return on_component(s, "ProUIInputpanelValueSet", dialog, component,
                                           ComponentKind::InputPanel, [&](Component& c) {
                                               if (!value)
                                                   return PRO_TK_BAD_INPUTS;
                                               const std::u16string text = wide_text(value, kTextLimit);
                                               if (text.size() >= kTextLimit) {
                                                   s.error("ProUIInputpanelValueSet: no terminator within " +
                                                           std::to_string(kTextLimit) + " units");
                                                   return PRO_TK_LINE_TOO_LONG;
                                               }
                                               c.text = text;
                                               return PRO_TK_NO_ERROR;
                                           });
                   });
}

ProError ProUIInputpanelValueGet(const char* dialog, const char* component, ProWchar** p_value)
{
    return guarded("ProUIInputpanelValueGet", call_args(dialog, component), [&](HostState& s) {
        return on_component(s, "ProUIInputpanelValueGet", dialog, component, ComponentKind::InputPanel,
                            [&](Component& c) {
                                if (!p_value)
                                    return PRO_TK_BAD_INPUTS;
                                const std::size_t bytes = (c.text.size() + 1) * sizeof(ProWchar);
                                auto* copy = static_cast<ProWchar*>(s.ledger.allocate(
                                    bytes, AllocKind::WideString, "ProUIInputpanelValueGet"));
                                if (!copy)
                                    return PRO_TK_OUT_OF_MEMORY;
                                std::copy(c.text.begin(), c.text.end(), copy);
                                copy[c.text.size()] = 0;
                                *p_value = copy;
                                return PRO_TK_NO_ERROR;
                            });
    });
}

ProError ProUICheckbuttonSet(const char* dialog, const char* component)
{
    return guarded("ProUICheckbuttonSet", call_args(dialog, component), [&](HostState& s) {
        return on_component(s, "ProUICheckbuttonSet", dialog, component, ComponentKind::CheckButton,
                            [&](Component& c) {
                                c.set = true;
                                return PRO_TK_NO_ERROR;
                            });
    });
}

ProError ProUICheckbuttonGetState(const char* dialog, const char* component, ProBoolean* p_state)
{
    return guarded("ProUICheckbuttonGetState", call_args(dialog, component), [&](HostState& s) {
        return on_component(s, "ProUICheckbuttonGetState", dialog, component,
                            ComponentKind::CheckButton, [&](Component& c) {
                                if (!p_state)
                                    return PRO_TK_BAD_INPUTS;
                                *p_state = c.set ? PRO_B_TRUE : PRO_B_FALSE;
                                return PRO_TK_NO_ERROR;
                            });
    });
}

ProError ProUIListNamesSet(const char* dialog, const char* component, int count, char** names)
{
    return guarded("ProUIListNamesSet", call_args(dialog, component, count), [&](HostState& s) {
        return on_component(s, "ProUIListNamesSet", dialog, component, ComponentKind::List,
                            [&](Component& c) -> ProError {
                                auto texts = list_texts(s, "ProUIListNamesSet", count, names);
                                if (!texts)
                                    return PRO_TK_BAD_INPUTS;
                                // New items: no label and none selected yet.
                                c.names = std::move(*texts);
                                c.labels.clear();
                                c.selected.clear();
                                return PRO_TK_NO_ERROR;
                            });
    });
}

ProError ProUIListLabelsSet(const char* dialog, const char* component, int count, ProWchar** labels)
{
    return guarded("ProUIListLabelsSet", call_args(dialog, component, count), [&](HostState& s) {
        return on_component(s, "ProUIListLabelsSet", dialog, component, ComponentKind::List,
                            [&](Component& c) -> ProError {
                                if (count != static_cast<int>(c.names.size())) {
                                    s.error("ProUIListLabelsSet: " + std::to_string(count) +
                                            " label(s) for the " + std::to_string(c.names.size()) +
                                            " item(s) of " + c.name);
                                    return PRO_TK_BAD_INPUTS;
                                }
                                auto texts = list_texts(s, "ProUIListLabelsSet", count, labels);
                                if (!texts)
                                    return PRO_TK_BAD_INPUTS;
                                c.labels = std::move(*texts);
                                return PRO_TK_NO_ERROR;
                            });
    });
}

ProError ProUIListSelectednamesGet(const char* dialog, const char* component, int* p_count,
                                   char*** p_names)
{
    return guarded("ProUIListSelectednamesGet", call_args(dialog, component), [&](HostState& s) {
        return on_component(s, "ProUIListSelectednamesGet", dialog, component, ComponentKind::List,
                            [&](Component& c) -> ProError {
                                if (!p_count || !p_names)
                                    return PRO_TK_BAD_INPUTS;
                                std::vector<std::string> chosen;
                                for (int item : c.selected)
                                    chosen.push_back(c.names[static_cast<std::size_t>(item)]);
                                char** names = hand_out_strings(s, chosen, "ProUIListSelectednamesGet");
                                if (!names)
                                    return PRO_TK_OUT_OF_MEMORY;
                                *p_count = static_cast<int>(chosen.size());
                                *p_names = names;
                                return PRO_TK_NO_ERROR;
                            });
    });
}

}  // namespace tk

}  // namespace vxhost
