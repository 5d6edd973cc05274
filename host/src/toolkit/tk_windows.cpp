// Windows and what they show, as the add-in reaches them, and whether a
// model may be saved. Windows are visited in the order they were opened;
// an emptied window stays in that order but shows no model.
#include "guard.h"
#include "host/model_files.h"
#include "tk_calls.h"

namespace vxhost::tk {

ProError ProWindowCurrentGet(int* p_window)
{
    return guarded("ProWindowCurrentGet", CallArgs{}, [&](HostState& s) -> ProError {
        if (!p_window)
            return PRO_TK_BAD_INPUTS;
        if (s.session.active() == 0)
            return PRO_TK_E_NOT_FOUND;
        *p_window = s.session.active();
        return PRO_TK_NO_ERROR;
    });
}

ProError ProWindowMdlGet(int window, ProMdl* p_model)
{
    return guarded("ProWindowMdlGet", call_args(window), [&](HostState& s) -> ProError {
        const Window* w = s.session.window(window);
        if (!w || !p_model)
            return PRO_TK_BAD_INPUTS;
        if (!w->model)
            return PRO_TK_E_NOT_FOUND;
        *p_model = Session::handle_of(*w->model);
        return PRO_TK_NO_ERROR;
    });
}

ProError ProWindowsVisit(ProWindowVisitAction visit, ProAppData data)
{
    return guarded("ProWindowsVisit", call_args(pointer_flag(reinterpret_cast<const void*>(visit))),
                   [&](HostState& s) -> ProError {
                       if (!visit)
                           return PRO_TK_BAD_INPUTS;
                       // The windows as they are now; a window closed meanwhile is not visited.
                       std::vector<int> ids;
                       for (const Window& w : s.session.windows())
                           ids.push_back(w.id);
                       for (int id : ids) {
                           if (!s.session.window(id))
                               continue;
                           const ProError status = visit(id, data);
                           if (status != PRO_TK_NO_ERROR)
                               return status;
                       }
                       return PRO_TK_NO_ERROR;
                   });
}

ProError ProMdlIsSaveAllowed(ProMdl model, ProBoolean with_ui, ProBoolean* p_allowed)
{
    HostState& state = current_state();
    return guarded("ProMdlIsSaveAllowed", call_args(model_text(state, model), flag(with_ui)),
                   [&](HostState& s) -> ProError {
                       const Model* found = s.session.find(model);
                       if (!found || !p_allowed || (with_ui != PRO_B_FALSE && with_ui != PRO_B_TRUE))
                           return PRO_TK_BAD_INPUTS;
                       // A model of a type with no files cannot be stored either.
                       const bool allowed = !found->read_only && !model_extension(found->type).empty();
                       *p_allowed = allowed ? PRO_B_TRUE : PRO_B_FALSE;
                       return PRO_TK_NO_ERROR;
                   });
}

}  // namespace vxhost::tk
