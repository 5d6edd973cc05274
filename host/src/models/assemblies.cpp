#include "assemblies.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "host/text.h"
#include "models.h"

namespace vxhost {

namespace {

std::string placed_label(const ModelFeature& component)
{
    return component.model + "." + model_extension(component.model_type);
}

std::string colour_text(const Model& part)
{
    if (!part.document.appearance)
        return "no appearance of its own";
    const auto& c = part.document.appearance->color;
    char text[64];
    std::snprintf(text, sizeof text, "colour %.3f %.3f %.3f", c[0], c[1], c[2]);
    return text;
}

void clear_below(HostState& s, Model& model, std::set<const Model*>& done, int& cleared)
{
    if (!done.insert(&model).second)
        return;
    if (model.document.appearance) {
        model.document.appearance.reset();
        ++cleared;
    }
    // By index: placing a model may bring new ones into session, never
    // new features into this one.
    for (std::size_t i = 0; i < model.document.features.size(); ++i) {
        const ModelFeature& feature = model.document.features[i];
        if (feature.type != PRO_FEAT_COMPONENT)
            continue;
        if (Model* placed = placed_model(s, model, feature))
            clear_below(s, *placed, done, cleared);
    }
}

void render_below(HostState& s, Model& model, std::vector<const Model*>& above,
                  std::vector<std::string>& lines)
{
    above.push_back(&model);
    const std::string indent(2 * above.size(), ' ');
    for (std::size_t i = 0; i < model.document.features.size(); ++i) {
        const ModelFeature feature = model.document.features[i];
        if (feature.type != PRO_FEAT_COMPONENT)
            continue;
        std::string line = indent + placed_label(feature);
        if (feature.status == PRO_FEAT_SUPPRESSED)
            line += ", suppressed";
        if (feature.visibility != PRO_B_TRUE)
            line += ", hidden";
        Model* placed = placed_model(s, model, feature);
        if (!placed) {
            lines.push_back(line + ": missing");
        } else if (std::find(above.begin(), above.end(), placed) != above.end()) {
            lines.push_back(line + ": places itself");
        } else if (placed->type == PRO_MDL_ASSEMBLY) {
            lines.push_back(line);
            render_below(s, *placed, above, lines);
        } else {
            lines.push_back(line + ": " + colour_text(*placed));
        }
    }
    above.pop_back();
}

}  // namespace

Model* placed_model(HostState& s, const Model& assembly, const ModelFeature& component)
{
    Model* placed = nullptr;
    ProError status = retrieve_model(s, component.model, component.model_type, assembly.folder,
                                     &placed);
    if (status == PRO_TK_E_NOT_FOUND && !equal_nocase(assembly.folder, s.working_directory()))
        status = retrieve_model(s, component.model, component.model_type, s.working_directory(),
                                &placed);
    if (status == PRO_TK_NO_ERROR)
        return placed;
    if (status == PRO_TK_E_NOT_FOUND)
        s.error(model_label(assembly) + " places " + placed_label(component) +
                ", which is neither in session nor stored beside it or in the working directory");
    return nullptr;
}

int clear_appearances(HostState& s, Model& model)
{
    std::set<const Model*> done;
    int cleared = 0;
    clear_below(s, model, done, cleared);
    return cleared;
}

std::vector<std::string> render_colours(HostState& s, Model& model)
{
    std::vector<std::string> lines{model_label(model) +
                                   (model.type == PRO_MDL_PART ? ": " + colour_text(model) : "")};
    std::vector<const Model*> above;
    render_below(s, model, above, lines);
    return lines;
}

std::vector<std::string> Host::render_colours()
{
    HostState& s = *state_;
    Model* current = s.session.current();
    if (!current)
        return {};
    return vxhost::render_colours(s, *current);
}

}  // namespace vxhost
