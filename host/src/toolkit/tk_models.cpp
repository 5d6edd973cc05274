// Models by name and the windows showing them, as the add-in reaches them.
//
// What the host does:
//  - ProMdlLoad gives the model of that name (ignoring case) and type in
//    session, else reads the newest stored version from the working
//    directory into session. It opens no window.
//  - ProObjectwindowCreate opens a window on the model of that name and
//    type, retrieving it as ProMdlLoad does; the window is not active and
//    shows nothing until the model is displayed. When a window on that
//    model is open already, that window is given again.
//  - ProMdlDisplay draws the model in its newest window; a model with no
//    window is opened in a new one, which becomes active.
//  - ProMdlSave writes the model as it stands in session as the next
//    stored version of its name in its own folder.
//  - ProWindowActivate makes a window the active one, and so its model
//    the current model.
#include <cstring>

#include "guard.h"
#include "host/model_files.h"
#include "models/models.h"
#include "tk_calls.h"

namespace vxhost::tk {

namespace {

// A model name the add-in hands over: read no further than its 32-unit
// buffer; empty when it is absent, unterminated or no valid name.
std::optional<std::u16string> name_argument(const ProWchar* name)
{
    if (!name)
        return std::nullopt;
    const std::u16string text = wide_text(name, PRO_NAME_SIZE);
    if (text.size() >= PRO_NAME_SIZE || !valid_model_name(text))
        return std::nullopt;
    return text;
}

// The journal's text of a name, as far as the buffer goes.
Word name_text(const ProWchar* name)
{
    if (!name)
        return Word{"(null)"};
    const std::u16string text = wide_text(name, PRO_NAME_SIZE);
    return Word{"\"" + to_utf8(text) + "\"" + (text.size() >= PRO_NAME_SIZE ? " (unterminated)" : "")};
}

bool has_files(int type) { return !model_extension(type).empty(); }

std::string window_text(const Window& w)
{
    return "window " + std::to_string(w.id);
}

// The model a toolkit call names: in session, else retrieved from the
// working directory. A name or type no model can have is bad input.
ProError model_by_name(HostState& s, const ProWchar* name, int type, Model** model)
{
    const auto text = name_argument(name);
    if (!text || !has_files(type))
        return PRO_TK_BAD_INPUTS;
    return retrieve_model(s, to_utf8(*text), type, s.working_directory(), model);
}

}  // namespace

ProError ProMdlNameGet(ProMdl model, ProWchar* name)
{
    HostState& state = current_state();
    return guarded("ProMdlNameGet", call_args(model_text(state, model)), [&](HostState& s) -> ProError {
        const Model* found = s.session.find(model);
        if (!found || !name)
            return PRO_TK_BAD_INPUTS;
        const std::u16string text = to_utf16(found->name);
        if (text.size() >= PRO_NAME_SIZE) {
            s.error("ProMdlNameGet: the name of " + model_label(*found) + " does not fit " +
                    std::to_string(PRO_NAME_SIZE) + " units");
            return PRO_TK_LINE_TOO_LONG;
        }
        std::memcpy(name, text.c_str(), (text.size() + 1) * sizeof(ProWchar));
        return PRO_TK_NO_ERROR;
    });
}

ProError ProMdlLoad(const ProWchar* name, ProMdlType type, ProBoolean ask_user, ProMdl* p_model)
{
    return guarded("ProMdlLoad", call_args(name_text(name), type, flag(ask_user)),
                   [&](HostState& s) -> ProError {
                       if (!p_model)
                           return PRO_TK_BAD_INPUTS;
                       Model* model = nullptr;
                       const ProError status = model_by_name(s, name, type, &model);
                       if (status == PRO_TK_NO_ERROR)
                           *p_model = Session::handle_of(*model);
                       return status;
                   });
}

ProError ProObjectwindowCreate(const ProWchar* name, ProMdlType type, int* p_window)
{
    return guarded("ProObjectwindowCreate", call_args(name_text(name), type),
                   [&](HostState& s) -> ProError {
                       if (!p_window)
                           return PRO_TK_BAD_INPUTS;
                       Model* model = nullptr;
                       const ProError status = model_by_name(s, name, type, &model);
                       if (status != PRO_TK_NO_ERROR)
                           return status;
                       if (const Window* open = s.session.window_of(*model)) {
                           s.note(window_text(*open) + " already open on " + model_label(*model));
                           *p_window = open->id;
                           return PRO_TK_NO_ERROR;
                       }
                       *p_window = s.session.create_window(*model);
                       s.note(window_text(*s.session.window(*p_window)) + " opened on " +
                              model_label(*model));
                       return PRO_TK_NO_ERROR;
                   });
}

ProError ProMdlDisplay(ProMdl model)
{
    HostState& state = current_state();
    return guarded("ProMdlDisplay", call_args(model_text(state, model)), [&](HostState& s) -> ProError {
        Model* found = s.session.find(model);
        if (!found)
            return PRO_TK_BAD_INPUTS;
        Model& shown = *found;
        Window* w = s.session.window_of(shown);
        if (!w) {
            const int id = s.session.create_window(shown);
            s.session.activate(id);
            w = s.session.window(id);
            s.note(window_text(*w) + " opened on " + model_label(shown) + ", active");
        }
        w->shown = true;
        s.note(window_text(*w) + " shows " + model_label(shown));
        return PRO_TK_NO_ERROR;
    });
}

ProError ProMdlSave(ProMdl model)
{
    HostState& state = current_state();
    return guarded("ProMdlSave", call_args(model_text(state, model)), [&](HostState& s) -> ProError {
        Model* found = s.session.find(model);
        if (!found)
            return PRO_TK_BAD_INPUTS;
        return save_model(s, *found);
    });
}

ProError ProWindowActivate(int window)
{
    return guarded("ProWindowActivate", call_args(window), [&](HostState& s) -> ProError {
        if (!s.session.activate(window))
            return PRO_TK_BAD_INPUTS;
        const Window& w = *s.session.window(window);
        s.note(window_text(w) + " active: " + (w.model ? model_label(*w.model) : "empty"));
        return PRO_TK_NO_ERROR;
    });
}

}  // namespace vxhost::tk
