// Selections and the mouse, as the add-in reaches them.
//
// What the host does:
//  - The selection buffer holds what the user selected last
//    (Host::select_items). ProSelbufferSelectionsGet hands over a fresh
//    selection array of it, every selection a handle of its own, and
//    leaves the buffer as it is; nothing selected gives an empty array.
//  - ProSelectionarrayFree releases such an array with its selections;
//    ProArrayFree and ProArrayObjectAdd refuse it.
//  - ProSelectionModelitemGet gives the detail item a selection names. A
//    selection of an attachment's reference names no item here.
//  - ProMousePickGet takes the user's next pick (Host::queue_pick): its
//    point and the button pressed, whichever that is. A pick without a
//    point fails with PRO_TK_USER_ABORT and writes nothing.
#include <algorithm>

#include "guard.h"
#include "tk_calls.h"

namespace vxhost {

namespace {

constexpr int kAllButtons = PRO_LEFT_BUTTON | PRO_MIDDLE_BUTTON | PRO_RIGHT_BUTTON;

const char* button_name(int button)
{
    switch (button) {
    case PRO_LEFT_BUTTON: return "left";
    case PRO_MIDDLE_BUTTON: return "middle";
    case PRO_RIGHT_BUTTON: return "right";
    }
    return "unknown";
}

// Releases a selection array and the selections in it; false, with the
// mistake recorded, for anything but a live selection array.
bool free_selection_array(HostState& s, const ProArray array, const char* call)
{
    ProArray freed = array;
    if (s.arrays.free(&freed, AllocKind::SelectionArray, call) != PRO_TK_NO_ERROR)
        return false;
    const auto node = s.selection_arrays.extract(array);
    if (node)
        for (void* selection : node.mapped())
            s.selections.release(selection, call);
    return true;
}

}  // namespace

namespace tk {

ProError ProSelbufferSelectionsGet(ProSelection** p_selections)
{
    return guarded("ProSelbufferSelectionsGet", CallArgs{}, [&](HostState& s) -> ProError {
        if (!p_selections)
            return PRO_TK_BAD_INPUTS;
        const auto& buffer = s.selection_buffer;
        ProArray array = nullptr;
        const ProError status =
            s.arrays.alloc(static_cast<int>(buffer.size()), sizeof(ProSelection), 1, &array,
                           AllocKind::SelectionArray, "ProSelbufferSelectionsGet");
        if (status != PRO_TK_NO_ERROR)
            return status;
        auto* elements = static_cast<ProSelection*>(array);
        std::vector<void*>& owned = s.selection_arrays[array];
        for (std::size_t i = 0; i < buffer.size(); ++i) {
            void* selection = s.selections.add(SelectionRecord{buffer[i].drawing, buffer[i].id, {}},
                                               "ProSelbufferSelectionsGet");
            if (!selection) {
                free_selection_array(s, array, "ProSelbufferSelectionsGet");
                return PRO_TK_OUT_OF_MEMORY;
            }
            owned.push_back(selection);
            elements[i] = static_cast<ProSelection>(selection);
        }
        *p_selections = elements;
        return PRO_TK_NO_ERROR;
    });
}

ProError ProSelectionarrayFree(ProSelection* selections)
{
    HostState& state = current_state();
    return guarded("ProSelectionarrayFree", call_args(block_text(state, selections)),
                   [&](HostState& s) -> ProError {
                       if (!selections)
                           return PRO_TK_BAD_INPUTS;
                       return free_selection_array(s, selections, "ProSelectionarrayFree")
                                  ? PRO_TK_NO_ERROR
                                  : PRO_TK_BAD_INPUTS;
                   });
}

ProError ProSelectionModelitemGet(ProSelection selection, ProModelitem* p_item)
{
    HostState& state = current_state();
    return guarded("ProSelectionModelitemGet", call_args(block_text(state, selection)),
                   [&](HostState& s) -> ProError {
                       const SelectionRecord* r =
                           s.selections.find(selection, "ProSelectionModelitemGet");
                       if (!r || !p_item)
                           return PRO_TK_BAD_INPUTS;
                       const DetailItem* item =
                           r->drawing ? find_item(r->drawing->document, r->id) : nullptr;
                       if (!item)
                           return PRO_TK_E_NOT_FOUND;
                       *p_item = ProModelitem{item->type, item->id, Session::handle_of(*r->drawing)};
                       return PRO_TK_NO_ERROR;
                   });
}

ProError ProMousePickGet(ProMouseButton expected, ProMouseButton* p_pressed, ProVector position)
{
    return guarded("ProMousePickGet", call_args(expected), [&](HostState& s) -> ProError {
        if (!p_pressed || !position || expected == 0 || (expected & ~kAllButtons) != 0)
            return PRO_TK_BAD_INPUTS;
        if (s.picks.empty()) {
            s.error("ProMousePickGet: the user was given no pick to make");
            s.note("pick: none made");
            return PRO_TK_USER_ABORT;
        }
        const MousePick pick = s.picks.front();
        s.picks.pop_front();
        if (!pick.point) {
            s.note("pick: no point given");
            return PRO_TK_USER_ABORT;
        }
        std::copy(pick.point->begin(), pick.point->end(), position);
        *p_pressed = pick.button;
        s.note("pick " + point_text(*pick.point) + " with the " + button_name(pick.button) +
               " button");
        return PRO_TK_NO_ERROR;
    });
}

}  // namespace tk

void Host::select_items(const std::vector<int>& ids)
{
    HostState& s = *state_;
    Model* current = s.session.current();
    if (!current || current->type != PRO_MDL_DRAWING)
        throw HostError("select: no drawing is current");
    Model& drawing = *current;
    std::vector<SelectedItem> buffer;
    std::string labels;
    for (int id : ids) {
        int sheet = 0;
        const DetailItem* item = vxhost::find_item(drawing.document, id, &sheet);
        if (!item || sheet != drawing.document.current_sheet)
            throw HostError("select: " + model_label(drawing) + " has no item " +
                            std::to_string(id) + " on its current sheet");
        buffer.push_back(SelectedItem{&drawing, id});
        labels += (labels.empty() ? "" : ", ") + item_label(*item);
    }
    s.selection_buffer = std::move(buffer);
    note("select on " + model_label(drawing) + ": " + (labels.empty() ? "nothing" : labels));
}

void Host::queue_pick(const Point& point, int button)
{
    state_->picks.push_back(MousePick{point, button});
}

void Host::queue_failed_pick() { state_->picks.push_back(MousePick{std::nullopt, 0}); }

}  // namespace vxhost
