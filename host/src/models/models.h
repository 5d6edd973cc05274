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

}  // namespace vxhost
