// The registration file (protk.dat) naming the add-in to load.
#pragma once

#include <filesystem>
#include <string>

namespace vxhost {

namespace fs = std::filesystem;

struct Registration {
    fs::path file;            // the registration file itself
    std::string name;         // NAME
    std::string startup = "dll";
    fs::path exec_file;       // EXEC_FILE, made absolute
    fs::path text_dir;        // TEXT_DIR, made absolute
    std::string allow_stop;   // ALLOW_STOP, as written
    std::string delay_start;  // DELAY_START, as written
    std::string revision;     // REVISION, as written
};

// Lines "KEYWORD value", keywords in any case, '!' and '#' lines and blank
// lines skipped, END last. Relative paths are taken from the file's
// folder. Throws HostError "file:line: problem".
Registration parse_registration(const fs::path& file);
Registration parse_registration_text(const std::string& text, const fs::path& file);

}  // namespace vxhost
