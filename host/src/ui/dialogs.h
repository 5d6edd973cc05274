// The modal run of an add-in dialog.
#pragma once

#include "host/dialogs.h"
#include "state.h"

namespace vxhost {

// Runs the dialog modally: the user's queued inputs are taken in turn
// until a bound function ends the run with ProUIDialogExit or the window
// is closed. With no input left the host closes the window itself and
// records why. Returns the exit status.
int run_modal(HostState& s, Dialog& dialog);

}  // namespace vxhost
