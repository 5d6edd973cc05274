// Files as the add-in lists them, and the Windows shell as the host plays
// it off Windows: what the shell was asked and what went to the recycle bin.
#pragma once

#include <filesystem>
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

}  // namespace vxhost
