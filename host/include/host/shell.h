// Files as the add-in lists them, and the Windows shell as the host plays
// it off Windows: what the shell was asked and what went to the recycle bin.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vxhost {

// The order in which the host lists the files of a directory. The real
// host promises none; tests choose one to show that the add-in does not
// depend on it.
enum class ListingOrder {
    Directory,   // as the directory gives them (the default)
    ByName,      // by file name, ignoring case, as text ("a.prt.10" before "a.prt.2")
    Reversed,    // ByName backwards
    Shuffled     // a shuffle drawn from the seed
};

// One SHFileOperationW call as the shell received it.
struct ShellRequest {
    unsigned function = 0;              // FO_DELETE, ...
    unsigned flags = 0;                 // FOF_* as passed
    std::vector<std::u16string> names;  // the double-NUL list, one entry per name
    int result = 0;                     // what the call returned; 0 is success
};

// A file the shell moved to the recycle bin of its drive.
struct RecycledFile {
    std::u16string original;     // the Windows path it had
    std::filesystem::path file;  // where it lies now, under <drive folder>/$Recycle.Bin/
    std::filesystem::path info;  // the bin's index beside it: a JSON line for each
                                 // file (bin name, original path, time)
};

// One ShellExecuteW call as the shell received it; a text passed as NULL
// is std::nullopt. Off Windows the host plays only the explorer: `opened` is the
// folder it shows, empty when it was not started or found no such folder.
struct ShellExecution {
    bool owner = false;                         // an owner window was given
    std::optional<std::u16string> verb;
    std::optional<std::u16string> file;
    std::optional<std::u16string> parameters;
    std::optional<std::u16string> directory;
    int show = 0;
    long long result = 0;                       // above 32 is success
    std::optional<std::u16string> opened;
};

#ifdef _WIN32
// Under Wine every explorer the shell starts stays a process of its own, a
// child of this one. These are the ids of those still running, and the
// host ends them, by id, when it unloads the add-in.
std::vector<unsigned long> explorer_children();
void end_explorer_children();
#endif

}  // namespace vxhost
