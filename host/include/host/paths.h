// File names on disk as Windows sees them: case-insensitive look-up, and
// drive letters mapped onto real folders.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vxhost {

namespace fs = std::filesystem;

// base/relative on disk, each component of `relative` matched exactly
// first and then ignoring case. Empty when some component is not there.
std::optional<fs::path> resolve_nocase(const fs::path& base, const fs::path& relative);

// The same for a whole path: absolute, or relative to the process folder.
std::optional<fs::path> resolve_nocase(const fs::path& path);

// A Windows path split up: drive letter (upper case) and the folder names
// under its root, with "." and ".." already applied.
struct WindowsPath {
    char drive = 0;
    std::vector<std::u16string> parts;

    // "D:\a\b\" -- as a folder, with the trailing separator.
    std::u16string folder_text() const;
};

// Reads "D:\a\b", "d:/a/b/", "D:" or, against `base` (itself a Windows
// path), "\a", "sub\dir" and "..". Empty when it is not a path of a drive,
// also when either text holds U+0000.
std::optional<WindowsPath> parse_windows_path(const std::u16string& text,
                                              const std::u16string& base = {});

// Drive letters mapped onto real folders.
class DriveMap {
public:
    // Maps (or remaps) a drive; the folder must exist.
    void map(char letter, const fs::path& folder);

    bool empty() const { return drives_.empty(); }
    // The first drive mapped, in the order of mapping.
    std::optional<char> first() const;
    const std::vector<std::pair<char, fs::path>>& drives() const { return drives_; }

    // The real path, components found ignoring case where they exist and
    // kept as written where they do not. Empty for an unmapped drive, and
    // for a component no name on this file system can spell (a lone
    // surrogate).
    std::optional<fs::path> to_real(const WindowsPath& path) const;
    std::optional<fs::path> to_real(const std::u16string& text,
                                    const std::u16string& base = {}) const;

    // A real path that reaches an existing file or folder, spelt as on
    // disk or not: the path as written when it exists (one look-up), else
    // the case-blind search of to_real. Empty when nothing is there.
    std::optional<fs::path> reach(const WindowsPath& path) const;

    // The folder a drive is mapped to, or nullptr.
    const fs::path* folder_of(char letter) const;

    // The Windows text of a real path under a mapped drive ("D:\a\b"; a
    // drive's own folder is "D:\"). Empty when no drive holds it.
    std::optional<std::u16string> to_windows(const fs::path& real) const;

private:
    std::vector<std::pair<char, fs::path>> drives_;
};

}  // namespace vxhost
