// Scenarios: plain text files of steps a user of the host would take.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "host/host.h"

namespace vxhost {

// Splits a step line into words; "double quotes" keep spaces in one word.
// Throws HostError for an unterminated quote.
std::vector<std::string> split_step(const std::string& line);

// Runs the steps of a scenario file on `host`, writing the transcript to
// `out` as it grows. A step that is unknown, has the wrong arguments or
// fails stops the run with "file:line: message" on `err`; the result is
// then 2, else 0.
int run_scenario(Host& host, const fs::path& protk_dat, const fs::path& scenario,
                 std::ostream& out, std::ostream& err);

// The same for scenario text; `file` names it in errors and gives the
// folder that relative drive folders are taken from.
int run_scenario_text(Host& host, const fs::path& protk_dat, const std::string& text,
                      const fs::path& file, std::ostream& out, std::ostream& err);

}  // namespace vxhost
