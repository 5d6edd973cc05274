// Features and assembly components as the add-in reaches them.
//
// What the host does:
//  - A feature is the model item {PRO_FEATURE, id, owner}: the id-th
//    feature (from 1) of a part or an assembly in session, as its file
//    lists them.
//  - ProSolidFeatVisit calls the filter for each feature in that order,
//    skips one for which it gives PRO_TK_CONTINUE and hands every other
//    to the action with the filter's result as its status; a non-zero
//    result of the action ends the visit and is returned. A visit of a
//    model whose own visit is under way is refused: it would be an
//    assembly that places itself.
//  - ProAsmcompMdlGet gives the model a component places, brought into
//    session from beside the assembly or from the working directory.
//  - ProMdlToModelitem gives the model as an item of its own type.
#include <algorithm>

#include "guard.h"
#include "models/assemblies.h"
#include "tk_calls.h"

namespace vxhost::tk {

namespace {

struct FoundFeature {
    Model* owner = nullptr;
    const ModelFeature* feature = nullptr;
};

// The feature an item names, or nothing for an item that is none.
std::optional<FoundFeature> find_feature(HostState& s, const ProModelitem* item)
{
    if (!item || item->type != PRO_FEATURE)
        return std::nullopt;
    Model* owner = s.session.find(item->owner);
    if (!owner || item->id < 1 || static_cast<std::size_t>(item->id) > owner->document.features.size())
        return std::nullopt;
    return FoundFeature{owner, &owner->document.features[item->id - 1]};
}

Word feature_text(const HostState& s, const ProModelitem* item)
{
    if (!item)
        return Word{"(null)"};
    const std::string what = item->type == PRO_FEATURE ? "feature " : "item of type " +
                                                                          std::to_string(item->type) + " id ";
    return Word{what + std::to_string(item->id) + " of " + model_text(s, item->owner).text};
}

bool has_features(const Model& model)
{
    return model.type == PRO_MDL_PART || model.type == PRO_MDL_ASSEMBLY;
}

// One getter: the feature's field into *out.
template <class Out, class Field>
ProError feature_get(const char* call, ProFeature* feature, Out* out, Field field)
{
    HostState& state = current_state();
    return guarded(call, call_args(feature_text(state, feature)), [&](HostState& s) -> ProError {
        const auto found = find_feature(s, feature);
        if (!found || !out)
            return PRO_TK_BAD_INPUTS;
        *out = field(*found->feature);
        return PRO_TK_NO_ERROR;
    });
}

}  // namespace

ProError ProSolidFeatVisit(ProSolid solid, ProFeatureVisitAction action,
                           ProFeatureFilterAction filter, ProAppData data)
{
    HostState& state = current_state();
    return guarded(
        "ProSolidFeatVisit",
        call_args(model_text(state, solid), pointer_flag(reinterpret_cast<const void*>(action)),
                  pointer_flag(reinterpret_cast<const void*>(filter))),
        [&](HostState& s) -> ProError {
            Model* model = s.session.find(solid);
            if (!model || !has_features(*model) || !action)
                return PRO_TK_BAD_INPUTS;
            if (std::find(s.visits.begin(), s.visits.end(), model) != s.visits.end()) {
                s.error("ProSolidFeatVisit: the visit of " + model_label(*model) +
                        " is under way already: it places itself");
                return PRO_TK_BAD_CONTEXT;
            }
            s.visits.push_back(model);
            ProError result = PRO_TK_NO_ERROR;
            const int n = static_cast<int>(model->document.features.size());
            for (int id = 1; id <= n && result == PRO_TK_NO_ERROR; ++id) {
                ProFeature feature{PRO_FEATURE, id, solid};
                const ProError filtered = filter ? filter(&feature, data) : PRO_TK_NO_ERROR;
                if (filtered == PRO_TK_CONTINUE)
                    continue;
                feature = ProFeature{PRO_FEATURE, id, solid};   // whatever the filter did to it
                result = action(&feature, filtered, data);
            }
            s.visits.pop_back();
            return result;
        });
}

ProError ProFeatureTypeGet(ProFeature* feature, ProFeattype* p_type)
{
    return feature_get("ProFeatureTypeGet", feature, p_type,
                       [](const ModelFeature& f) { return f.type; });
}

ProError ProFeatureStatusGet(ProFeature* feature, ProFeatStatus* p_status)
{
    return feature_get("ProFeatureStatusGet", feature, p_status,
                       [](const ModelFeature& f) { return f.status; });
}

ProError ProFeatureVisibilityGet(ProFeature* feature, ProBoolean* p_visible)
{
    return feature_get("ProFeatureVisibilityGet", feature, p_visible,
                       [](const ModelFeature& f) { return f.visibility; });
}

ProError ProAsmcompMdlGet(ProAsmcomp* component, ProMdl* p_model)
{
    HostState& state = current_state();
    return guarded("ProAsmcompMdlGet", call_args(feature_text(state, component)),
                   [&](HostState& s) -> ProError {
                       const auto found = find_feature(s, component);
                       if (!found || !p_model || found->feature->type != PRO_FEAT_COMPONENT)
                           return PRO_TK_BAD_INPUTS;
                       const ModelFeature placed_feature = *found->feature;
                       Model* placed = placed_model(s, *found->owner, placed_feature);
                       if (!placed)
                           return PRO_TK_E_NOT_FOUND;
                       *p_model = Session::handle_of(*placed);
                       return PRO_TK_NO_ERROR;
                   });
}

ProError ProMdlToModelitem(ProMdl model, ProModelitem* p_item)
{
    HostState& state = current_state();
    return guarded("ProMdlToModelitem", call_args(model_text(state, model)),
                   [&](HostState& s) -> ProError {
                       const Model* found = s.session.find(model);
                       if (!found || !p_item)
                           return PRO_TK_BAD_INPUTS;
                       *p_item = ProModelitem{found->type, found->number, model};
                       return PRO_TK_NO_ERROR;
                   });
}

}  // namespace vxhost::tk
