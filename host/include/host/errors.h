// The one exception type the host throws: a problem with what it was given
// (a registration file, a message file, a library, a scenario).
#pragma once

#include <stdexcept>
#include <string>

namespace vxhost {

class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace vxhost
