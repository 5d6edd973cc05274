// Assemblies: the models their components place, and what the host does
// to a model and to everything it places.
#pragma once

#include <string>
#include <vector>

#include "state.h"

namespace vxhost {

// The model that a component of `assembly` places: the one in session,
// else the newest stored version beside the assembly, else the newest in
// the working directory, read into session. nullptr, with the error
// recorded, when it is nowhere or cannot be read.
Model* placed_model(HostState& s, const Model& assembly, const ModelFeature& component);

// Takes every appearance off the model and off every model it places,
// down through all its sub-assemblies and whatever their status, each
// model once. Returns the parts that had one.
int clear_appearances(HostState& s, Model& model);

// The model and everything it places, depth-first in feature order, one
// line a component, indented by its depth: a part with its colour, and
// whether it is suppressed or hidden.
std::vector<std::string> render_colours(HostState& s, Model& model);

}  // namespace vxhost
