#include "drawings.h"

#include <charconv>

#include "toolkit.h"

namespace vxhost {

namespace {

std::string number_text(double value)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value);
    return std::string(text, end.ptr);
}

}  // namespace

DetailItem* find_item(ModelDocument& document, int id, int* sheet)
{
    for (std::size_t i = 0; i < document.sheets.size(); ++i)
        for (DetailItem& item : document.sheets[i].items)
            if (item.id == id) {
                if (sheet)
                    *sheet = static_cast<int>(i) + 1;
                return &item;
            }
    return nullptr;
}

std::string point_text(const Point& point)
{
    return "(" + number_text(point[0]) + ", " + number_text(point[1]) + ", " +
           number_text(point[2]) + ")";
}

std::string item_label(const DetailItem& item)
{
    const std::string id = std::to_string(item.id);
    switch (item.type) {
    case PRO_DIMENSION: return "dimension " + id;
    case PRO_REF_DIMENSION: return "reference dimension " + id;
    case PRO_SYMBOL_INSTANCE: return "symbol " + id;
    }
    return "item " + id + " (type " + std::to_string(item.type) + ")";
}

std::string how_attached(const Attachment& attachment)
{
    std::string text = "type " + std::to_string(attachment.type);
    if (!attachment.view.empty())
        text += ", view " + attachment.view;
    if (!attachment.reference.empty())
        text += ", reference " + attachment.reference;
    return text;
}

std::string attachment_text(const Attachment& attachment)
{
    return point_text(attachment.location) + ", " + how_attached(attachment);
}

std::string item_place(const DetailItem& item)
{
    if (is_dimension(item.type))
        return point_text(item.position);
    return item.type == PRO_SYMBOL_INSTANCE ? attachment_text(item.attachment) : "";
}

std::vector<std::string> render_sheets(const Model& drawing)
{
    std::vector<std::string> lines;
    const ModelDocument& document = drawing.document;
    for (int number = 1; number <= sheet_count(document); ++number) {
        const bool listed = number <= static_cast<int>(document.sheets.size());
        const std::size_t n = listed ? document.sheets[number - 1].items.size() : 0;
        lines.push_back(model_label(drawing) + " sheet " + std::to_string(number) +
                        (number == document.current_sheet ? " (current)" : "") + ": " +
                        std::to_string(n) + " item(s)");
        for (std::size_t i = 0; i < n; ++i) {
            const DetailItem& item = document.sheets[number - 1].items[i];
            const std::string place = item_place(item);
            lines.push_back("  " + item_label(item) + (place.empty() ? "" : " at " + place));
        }
    }
    return lines;
}

}  // namespace vxhost
