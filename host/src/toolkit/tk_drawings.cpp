// Drawings and their detail items, as the add-in reaches them.
//
// What the host does:
//  - A dimension or symbol instance is named by a model item whose owner
//    is the drawing in session it lies on and whose type is the item's.
//    Anything else, or a call of the wrong family for the item, is bad
//    input.
//  - ProDrawingDimensionMove and ProDtlsyminstModify change the drawing in
//    session, saying so in the transcript; the change is written when the
//    drawing is saved.
//  - ProDtlsyminstDataGet hands over a copy of the instance's data record
//    and ProDtlsyminstdataAttachmentGet a copy of the attachment in a
//    record; the caller frees them (ProDtlsyminstdataFree,
//    ProDtlattachFree). Setting an attachment copies it into the record.
//  - The reference that ProDtlattachGet gives belongs to the attachment
//    and is released with it; ProDtlattachAlloc copies the reference it is
//    given. Views belong to their drawing and are never freed.
//  - ProDwgSheetRegenerate records the regeneration on the drawing.
#include <algorithm>
#include <cmath>

#include "guard.h"
#include "tk_calls.h"

namespace vxhost {

namespace {

Model* drawing_of(HostState& s, ProMdl handle)
{
    Model* model = s.session.find(handle);
    return model && model->type == PRO_MDL_DRAWING ? model : nullptr;
}

// The detail item a model item names on its own drawing, when its type
// passes `wanted`; `drawing` gets that drawing.
DetailItem* named_item(HostState& s, const ProModelitem* item, bool (*wanted)(int type),
                       Model** drawing)
{
    if (!item || !wanted(item->type))
        return nullptr;
    Model* owner = drawing_of(s, item->owner);
    DetailItem* found = owner ? find_item(owner->document, item->id) : nullptr;
    if (!found || found->type != item->type)
        return nullptr;
    *drawing = owner;
    return found;
}

// A dimension of the drawing a call names.
DetailItem* dimension_on(HostState& s, ProDrawing drawing, const ProModelitem* dimension,
                         Model** model)
{
    Model* owner = nullptr;
    DetailItem* item = named_item(s, dimension, is_dimension, &owner);
    if (!item || Session::handle_of(*owner) != drawing)
        return nullptr;
    *model = owner;
    return item;
}

DetailItem* symbol_named(HostState& s, const ProModelitem* symbol, Model** drawing)
{
    return named_item(s, symbol, [](int type) { return type == PRO_SYMBOL_INSTANCE; }, drawing);
}

Point point_of(const double* v) { return Point{v[0], v[1], v[2]}; }

bool finite(const double* v)
{
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

// The handle of a drawing's view, the same for every call.
ProView view_handle(HostState& s, const Model* drawing, const std::string& name)
{
    for (const auto& view : s.views)
        if (view->drawing == drawing && view->name == name)
            return reinterpret_cast<ProView>(view.get());
    s.views.push_back(std::make_unique<ViewRecord>(ViewRecord{drawing, name}));
    return reinterpret_cast<ProView>(s.views.back().get());
}

const ViewRecord* view_of(const HostState& s, ProView view)
{
    for (const auto& known : s.views)
        if (reinterpret_cast<ProView>(known.get()) == view)
            return known.get();
    return nullptr;
}

// "from (1, 2, 0) to (1, 5, 0), type 0": the attachment told once when
// only its location changes, else in full before and after.
std::string attachment_change(const Attachment& from, const Attachment& to)
{
    const std::string kept = how_attached(from);
    if (kept == how_attached(to))
        return "from " + point_text(from.location) + " to " + point_text(to.location) + ", " + kept;
    return "from " + attachment_text(from) + " to " + attachment_text(to);
}

// The journal's names of items, points and views.
Word item_text(const HostState& s, const ProModelitem* item)
{
    if (!item)
        return Word{"(null)"};
    return Word{"{" + std::to_string(item->type) + ", " + std::to_string(item->id) + ", " +
                model_text(s, item->owner).text + "}"};
}

Word vector_text(const double* v) { return Word{v ? point_text(point_of(v)) : "(null)"}; }

Word view_text(const HostState& s, ProView view)
{
    if (!view)
        return Word{"(null)"};
    const ViewRecord* known = view_of(s, view);
    return Word{known ? "view " + known->name : "view?"};
}

}  // namespace

namespace tk {

ProError ProDrawingDimensionPosGet(ProDrawing drawing, ProDimension* dimension, ProVector position)
{
    HostState& state = current_state();
    return guarded("ProDrawingDimensionPosGet",
                   call_args(model_text(state, drawing), item_text(state, dimension)),
                   [&](HostState& s) -> ProError {
                       Model* model = nullptr;
                       const DetailItem* item = dimension_on(s, drawing, dimension, &model);
                       if (!item || !position)
                           return PRO_TK_BAD_INPUTS;
                       std::copy(item->position.begin(), item->position.end(), position);
                       return PRO_TK_NO_ERROR;
                   });
}

ProError ProDrawingDimensionMove(ProDrawing drawing, ProDimension* dimension, ProVector position)
{
    HostState& state = current_state();
    return guarded("ProDrawingDimensionMove",
                   call_args(model_text(state, drawing), item_text(state, dimension),
                             vector_text(position)),
                   [&](HostState& s) -> ProError {
                       Model* model = nullptr;
                       DetailItem* item = dimension_on(s, drawing, dimension, &model);
                       if (!item || !position || !finite(position))
                           return PRO_TK_BAD_INPUTS;
                       const Point to = point_of(position);
                       s.note(model_label(*model) + ": " + item_label(*item) + " from " +
                              point_text(item->position) + " to " + point_text(to));
                       item->position = to;
                       return PRO_TK_NO_ERROR;
                   });
}

ProError ProDtlsyminstDataGet(ProDtlsyminst* symbol, ProDisplayMode mode, ProDtlsyminstdata* p_data)
{
    HostState& state = current_state();
    return guarded("ProDtlsyminstDataGet", call_args(item_text(state, symbol), mode),
                   [&](HostState& s) -> ProError {
                       Model* drawing = nullptr;
                       const DetailItem* item = symbol_named(s, symbol, &drawing);
                       if (!item || !p_data ||
                           (mode != PRODISPMODE_NUMERIC && mode != PRODISPMODE_SYMBOLIC))
                           return PRO_TK_BAD_INPUTS;
                       return s.symbol_data.give(
                           SymbolDataRecord{drawing, item->id, item->attachment},
                           "ProDtlsyminstDataGet", p_data);
                   });
}

ProError ProDtlsyminstdataFree(ProDtlsyminstdata data)
{
    HostState& state = current_state();
    return guarded("ProDtlsyminstdataFree", call_args(block_text(state, data)),
                   [&](HostState& s) -> ProError {
                       return s.symbol_data.release(data, "ProDtlsyminstdataFree")
                                  ? PRO_TK_NO_ERROR
                                  : PRO_TK_BAD_INPUTS;
                   });
}

ProError ProDtlsyminstModify(ProDtlsyminst* symbol, ProDtlsyminstdata data)
{
    HostState& state = current_state();
    return guarded("ProDtlsyminstModify", call_args(item_text(state, symbol), block_text(state, data)),
                   [&](HostState& s) -> ProError {
                       Model* drawing = nullptr;
                       DetailItem* item = symbol_named(s, symbol, &drawing);
                       const SymbolDataRecord* record =
                           s.symbol_data.find(data, "ProDtlsyminstModify");
                       if (!item || !record)
                           return PRO_TK_BAD_INPUTS;
                       if (record->drawing != drawing || record->id != item->id) {
                           s.error("ProDtlsyminstModify: " + item_label(*item) + " of " +
                                   model_label(*drawing) + " given the data record of another symbol");
                           return PRO_TK_BAD_INPUTS;
                       }
                       s.note(model_label(*drawing) + ": " + item_label(*item) + " " +
                              attachment_change(item->attachment, record->attachment));
                       item->attachment = record->attachment;
                       return PRO_TK_NO_ERROR;
                   });
}

ProError ProDtlsyminstdataAttachmentGet(ProDtlsyminstdata data, ProDtlattach* p_attachment)
{
    HostState& state = current_state();
    return guarded("ProDtlsyminstdataAttachmentGet", call_args(block_text(state, data)),
                   [&](HostState& s) -> ProError {
                       const SymbolDataRecord* record =
                           s.symbol_data.find(data, "ProDtlsyminstdataAttachmentGet");
                       if (!record || !p_attachment)
                           return PRO_TK_BAD_INPUTS;
                       const Model* views = record->attachment.view.empty() ? nullptr : record->drawing;
                       return s.attachments.give(AttachmentRecord{record->attachment, views, nullptr},
                                                 "ProDtlsyminstdataAttachmentGet", p_attachment);
                   });
}

ProError ProDtlsyminstdataAttachmentSet(ProDtlsyminstdata data, ProDtlattach attachment)
{
    HostState& state = current_state();
    return guarded("ProDtlsyminstdataAttachmentSet",
                   call_args(block_text(state, data), block_text(state, attachment)),
                   [&](HostState& s) -> ProError {
                       SymbolDataRecord* record =
                           s.symbol_data.find(data, "ProDtlsyminstdataAttachmentSet");
                       const AttachmentRecord* given =
                           s.attachments.find(attachment, "ProDtlsyminstdataAttachmentSet");
                       if (!record || !given)
                           return PRO_TK_BAD_INPUTS;
                       if (given->drawing && given->drawing != record->drawing) {
                           s.error("ProDtlsyminstdataAttachmentSet: an attachment in a view of " +
                                   model_label(*given->drawing) + " for a symbol of " +
                                   model_label(*record->drawing));
                           return PRO_TK_BAD_INPUTS;
                       }
                       record->attachment = given->parts;
                       return PRO_TK_NO_ERROR;
                   });
}

ProError ProDtlattachGet(ProDtlattach attachment, ProDtlattachType* p_type, ProView* p_view,
                         ProVector location, ProSelection* p_reference)
{
    HostState& state = current_state();
    return guarded("ProDtlattachGet", call_args(block_text(state, attachment)),
                   [&](HostState& s) -> ProError {
                       AttachmentRecord* record = s.attachments.find(attachment, "ProDtlattachGet");
                       if (!record)
                           return PRO_TK_BAD_INPUTS;
                       const Attachment& parts = record->parts;
                       if (p_reference && !parts.reference.empty() && !record->reference) {
                           record->reference = s.selections.add(
                               SelectionRecord{nullptr, 0, parts.reference}, "ProDtlattachGet");
                           if (!record->reference)
                               return PRO_TK_OUT_OF_MEMORY;
                       }
                       if (p_type)
                           *p_type = parts.type;
                       if (p_view)
                           *p_view = parts.view.empty() ? nullptr
                                                        : view_handle(s, record->drawing, parts.view);
                       if (location)
                           std::copy(parts.location.begin(), parts.location.end(), location);
                       if (p_reference)
                           *p_reference = static_cast<ProSelection>(
                               parts.reference.empty() ? nullptr : record->reference);
                       return PRO_TK_NO_ERROR;
                   });
}

ProError ProDtlattachAlloc(ProDtlattachType type, ProView view, ProVector location,
                           ProSelection reference, ProDtlattach* p_attachment)
{
    HostState& state = current_state();
    return guarded("ProDtlattachAlloc",
                   call_args(type, view_text(state, view), vector_text(location),
                             block_text(state, reference)),
                   [&](HostState& s) -> ProError {
                       if (!p_attachment || !location || !finite(location))
                           return PRO_TK_BAD_INPUTS;
                       const ViewRecord* in_view = view ? view_of(s, view) : nullptr;
                       if (view && !in_view) {
                           s.error("ProDtlattachAlloc given a view the host never gave");
                           return PRO_TK_BAD_INPUTS;
                       }
                       const SelectionRecord* to =
                           reference ? s.selections.find(reference, "ProDtlattachAlloc") : nullptr;
                       // This host attaches only to references read from an attachment.
                       if (reference && (!to || to->reference.empty()))
                           return PRO_TK_BAD_INPUTS;
                       Attachment parts{type, in_view ? in_view->name : "", point_of(location),
                                        to ? to->reference : ""};
                       return s.attachments.give(
                           AttachmentRecord{parts, in_view ? in_view->drawing : nullptr, nullptr},
                           "ProDtlattachAlloc", p_attachment);
                   });
}

ProError ProDtlattachFree(ProDtlattach attachment)
{
    HostState& state = current_state();
    return guarded("ProDtlattachFree", call_args(block_text(state, attachment)),
                   [&](HostState& s) -> ProError {
                       const AttachmentRecord* record =
                           s.attachments.find(attachment, "ProDtlattachFree");
                       if (!record)
                           return PRO_TK_BAD_INPUTS;
                       if (record->reference)
                           s.selections.release(record->reference, "ProDtlattachFree");
                       s.attachments.release(attachment, "ProDtlattachFree");
                       return PRO_TK_NO_ERROR;
                   });
}

ProError ProDrawingCurrentSheetGet(ProDrawing drawing, int* p_sheet)
{
    HostState& state = current_state();
    return guarded("ProDrawingCurrentSheetGet", call_args(model_text(state, drawing)),
                   [&](HostState& s) -> ProError {
                       const Model* model = drawing_of(s, drawing);
                       if (!model || !p_sheet)
                           return PRO_TK_BAD_INPUTS;
                       *p_sheet = model->document.current_sheet;
                       return PRO_TK_NO_ERROR;
                   });
}

ProError ProDwgSheetRegenerate(ProDrawing drawing, int sheet)
{
    HostState& state = current_state();
    return guarded("ProDwgSheetRegenerate", call_args(model_text(state, drawing), sheet),
                   [&](HostState& s) -> ProError {
                       Model* model = drawing_of(s, drawing);
                       if (!model || sheet < 1 || sheet > sheet_count(model->document))
                           return PRO_TK_BAD_INPUTS;
                       model->regenerated_sheets.push_back(sheet);
                       s.note(model_label(*model) + ": sheet " + std::to_string(sheet) +
                              " regenerated");
                       return PRO_TK_NO_ERROR;
                   });
}

}  // namespace tk

}  // namespace vxhost
