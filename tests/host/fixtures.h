// Small helpers shared by the host tests: throw-away folders and files.
#pragma once

#include <filesystem>
#include <string>

namespace vxtest {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& path() const { return path_; }
    // Writes `text` to path()/relative, making folders as needed.
    fs::path write(const fs::path& relative, const std::string& text) const;
    fs::path folder(const fs::path& relative) const;

private:
    fs::path path_;
};

// A message file of groups "key / text / translation / #" from
// "key=text" or "key=text|translation" lines.
std::string message_file(std::initializer_list<std::string> entries);

inline const char* fake_addin_path() { return VX_FAKE_ADDIN; }

}  // namespace vxtest
