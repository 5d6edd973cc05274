// Appearances and repainting as the add-in reaches them.
//
// What the host does:
//  - The appearance of a part belongs to the part model: the item is the
//    part as ProMdlToModelitem gives it. A part without an appearance of
//    its own (never given one, or cleared) shows the host's default one,
//    and that is what ProSurfaceAppearancepropsGet gives for it.
//  - ProSurfaceAppearancepropsSet keeps every field of the record in
//    session; the model's next save writes it into its file. A record
//    whose numbers are not finite or whose texts do not end within their
//    260 units is refused, and the part keeps what it had.
//  - ProWindowRepaint draws a window again; -1 is the active one.
#include <cmath>
#include <cstring>

#include "guard.h"
#include "tk_calls.h"

namespace vxhost::tk {

namespace {

// The part an item names, or nullptr for an item that is no part's.
Model* find_part(HostState& s, const ProModelitem* item)
{
    if (!item || item->type != PRO_PART)
        return nullptr;
    Model* owner = s.session.find(item->owner);
    return owner && owner->type == PRO_MDL_PART ? owner : nullptr;
}

Word item_text(const HostState& s, const ProModelitem* item)
{
    if (!item)
        return Word{"(null)"};
    return Word{"item of type " + std::to_string(item->type) + " of " + model_text(s, item->owner).text};
}

void put_text(ProWchar (&target)[PRO_PATH_SIZE], const std::u16string& text)
{
    std::memset(target, 0, sizeof target);
    std::memcpy(target, text.data(), std::min<std::size_t>(text.size(), PRO_PATH_SIZE - 1) * sizeof(ProWchar));
}

void fill_props(const Appearance& a, ProSurfaceAppearanceProps& p)
{
    std::memset(&p, 0, sizeof p);
    p.ambient = a.ambient;
    p.diffuse = a.diffuse;
    p.highlight = a.highlight;
    p.shininess = a.shininess;
    p.transparency = a.transparency;
    for (int i = 0; i < 3; ++i) {
        p.color_rgb[i] = a.color[i];
        p.highlight_color[i] = a.highlight_color[i];
    }
    p.reflection = a.reflection;
    put_text(p.name, a.name);
    put_text(p.label, a.label);
    put_text(p.description, a.description);
    put_text(p.keywords, a.keywords);
}

// The record as an appearance, or why the host refuses it.
std::optional<std::string> read_props(const ProSurfaceAppearanceProps& p, Appearance& a)
{
    const double numbers[] = {p.ambient,      p.diffuse,      p.highlight,    p.shininess,
                              p.transparency, p.color_rgb[0], p.color_rgb[1], p.color_rgb[2],
                              p.highlight_color[0], p.highlight_color[1], p.highlight_color[2],
                              p.reflection};
    for (double n : numbers)
        if (!std::isfinite(n))
            return std::string("a value that is not a finite number");
    const struct {
        const char* field;
        const ProWchar* text;
        std::u16string* into;
    } texts[] = {{"name", p.name, &a.name},
                 {"label", p.label, &a.label},
                 {"description", p.description, &a.description},
                 {"keywords", p.keywords, &a.keywords}};
    for (const auto& t : texts) {
        *t.into = wide_text(t.text, PRO_PATH_SIZE);
        if (t.into->size() >= PRO_PATH_SIZE)
            return std::string("its ") + t.field + " does not end within " +
                   std::to_string(PRO_PATH_SIZE) + " units";
    }
    a.ambient = p.ambient;
    a.diffuse = p.diffuse;
    a.highlight = p.highlight;
    a.shininess = p.shininess;
    a.transparency = p.transparency;
    a.color = {p.color_rgb[0], p.color_rgb[1], p.color_rgb[2]};
    a.highlight_color = {p.highlight_color[0], p.highlight_color[1], p.highlight_color[2]};
    a.reflection = p.reflection;
    return std::nullopt;
}

}  // namespace

ProError ProSurfaceAppearancepropsGet(ProModelitem* item, ProSurfaceAppearanceProps* p_props)
{
    HostState& state = current_state();
    return guarded("ProSurfaceAppearancepropsGet", call_args(item_text(state, item)),
                   [&](HostState& s) -> ProError {
                       const Model* part = find_part(s, item);
                       if (!part || !p_props)
                           return PRO_TK_BAD_INPUTS;
                       fill_props(part->document.appearance.value_or(Appearance{}), *p_props);
                       return PRO_TK_NO_ERROR;
                   });
}

ProError ProSurfaceAppearancepropsSet(ProModelitem* item, ProSurfaceAppearanceProps* props)
{
    HostState& state = current_state();
    CallArgs args = call_args(item_text(state, item));
    if (props)
        args.real(props->color_rgb[0]).real(props->color_rgb[1]).real(props->color_rgb[2]);
    return guarded("ProSurfaceAppearancepropsSet", std::move(args), [&](HostState& s) -> ProError {
        Model* part = find_part(s, item);
        if (!part || !props)
            return PRO_TK_BAD_INPUTS;
        Appearance appearance;
        if (const auto problem = read_props(*props, appearance)) {
            s.error("ProSurfaceAppearancepropsSet: the appearance of " + model_label(*part) +
                    " refused: " + *problem);
            return PRO_TK_BAD_INPUTS;
        }
        part->document.appearance = appearance;
        return PRO_TK_NO_ERROR;
    });
}

ProError ProWindowRepaint(int window)
{
    return guarded("ProWindowRepaint", call_args(window), [&](HostState& s) -> ProError {
        const int id = window == -1 ? s.session.active() : window;
        const Window* w = s.session.window(id);
        if (!w)
            return window == -1 ? PRO_TK_BAD_CONTEXT : PRO_TK_BAD_INPUTS;
        s.note("window " + std::to_string(w->id) + " repainted: " +
               (w->model ? model_label(*w->model) : "empty"));
        return PRO_TK_NO_ERROR;
    });
}

}  // namespace vxhost::tk
