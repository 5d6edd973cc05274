// The drawing side of the session: a drawing's detail items found by id
// and told as text, and what stands behind the handles of the selection
// and detail calls (toolkit/tk_selection.cpp, toolkit/tk_drawings.cpp).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/session.h"

namespace vxhost {

// An item in the user's selection buffer.
struct SelectedItem {
    Model* drawing = nullptr;
    int id = 0;
};

// What a selection handle stands for: a detail item of a drawing, or the
// reference of an attachment, which this host knows by its name only.
struct SelectionRecord {
    Model* drawing = nullptr;
    int id = 0;                  // 0 for a reference
    std::string reference;
};

// A view handle: the view of that name on that drawing. The drawing owns
// its views, so these are never freed.
struct ViewRecord {
    const Model* drawing = nullptr;
    std::string name;
};

// An attachment handle. The selection handed out for its reference, made
// when first asked for, belongs to it and is released with it.
struct AttachmentRecord {
    Attachment parts;
    const Model* drawing = nullptr;   // whose view parts.view names; nullptr for no view
    void* reference = nullptr;
};

// A symbol instance's data record, a copy of what the instance holds.
struct SymbolDataRecord {
    Model* drawing = nullptr;
    int id = 0;
    Attachment attachment;
};

// The user's answer to a pick: a point and the button pressed, or no
// point at all (the pick aborted).
struct MousePick {
    std::optional<Point> point;
    int button = 0;
};

// The item of that id on any sheet of the drawing, or nullptr; `sheet`
// gets its sheet's number.
DetailItem* find_item(ModelDocument& document, int id, int* sheet = nullptr);

std::string point_text(const Point& point);
// "dimension 1", "symbol 4", "item 5 (type 12)"
std::string item_label(const DetailItem& item);
// Where the item is: "(10, 20, 0)", or for a symbol its attachment:
// "(50, 60, 0), type 1, view FRONT, reference edge 7". Empty for others.
std::string item_place(const DetailItem& item);
std::string attachment_text(const Attachment& attachment);
// An attachment without its location: "type 1, view FRONT, reference edge 7".
std::string how_attached(const Attachment& attachment);

// The drawing's sheets and every item on them, a line each.
std::vector<std::string> render_sheets(const Model& drawing);

}  // namespace vxhost
