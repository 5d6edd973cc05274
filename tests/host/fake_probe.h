// What the fake add-in records, and a way for tests to read it while the
// library is loaded.
#pragma once

#include <string>

#include "toolkit.h"

namespace vxtest {

struct FakeProbe {
    int starts = 0;
    int actions = 0;
    int available = ACCESS_AVAILABLE;
    ProWchar last_path[PRO_PATH_SIZE];
    std::string last_tab;
};

// The loaded fake add-in's probe, or nullptr when it is not loaded. The
// handle taken to find it is released before returning, so unloading
// still really unloads.
FakeProbe* fake_probe();

}  // namespace vxtest
