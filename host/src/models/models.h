// Models come into session from their stored versions on disk.
#pragma once

#include <string>

#include "state.h"

namespace vxhost {

// The model of that name and type: the one in session, else the newest
// stored version in `folder` (a Windows path), read into session.
// PRO_TK_E_NOT_FOUND when there is neither; PRO_TK_INVALID_FILE, with the
// error recorded, when the newest version cannot be read. `*model` is set
// only on success.
ProError retrieve_model(HostState& s, const std::string& name, int type,
                        const std::u16string& folder, Model** model);

// Writes the model as it stands in session into its folder, as the next
// stored version of its name there (bracket.prt.4 after .3; .1 when it has
// none), and makes that its version. PRO_TK_BAD_INPUTS for a type with no
// files; PRO_TK_INVALID_DIR, with the error recorded, when its folder is
// not on a mapped drive; PRO_TK_GENERAL_ERROR, recorded, when the model is
// read-only or the file cannot be written.
ProError save_model(HostState& s, Model& model);

}  // namespace vxhost
