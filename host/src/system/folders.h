// What the host learns of folders while one command runs: where on disk
// the folder a Windows path names lies, and the entries of each folder it
// lists, read once and kept true as the host's own shell and saves change
// them. A command that purges a folder of thousands of versions lists it
// a thousand times; reading it each time would cost far more than the
// command's own work. All of it is forgotten when the command ends.
#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "host/paths.h"

namespace vxhost {

namespace fs = std::filesystem;

// Whether listings are kept for the rest of a command. Not on Windows,
// where the add-in calls the real shell, which moves files behind the
// host's back.
#ifdef _WIN32
constexpr bool kListingsKept = false;
#else
constexpr bool kListingsKept = true;
#endif

// A file name as listings see it: "bracket.prt.3" is bracket, prt, 3.
// The parts are views into the name taken apart.
struct FileName {
    std::u16string_view name;
    std::u16string_view extension;
    int version = 0;
};

// "name.ext.N" or "name.ext". A trailing number counts as the version only
// when a name and an extension stand before it, so "notes.3" is a file
// with the extension 3; a number beyond an int is no version either.
std::optional<FileName> split_file_name(std::u16string_view file);

// One entry of a folder.
struct FolderEntry {
    enum class Kind { File, Folder, Other };

    std::u16string name;     // as on disk
    std::u16string base;     // the name without its version ("bracket.prt"), as filters see it
    std::u16string folded;   // the name in one letter case, for ordering by name
    int version = 0;
    Kind kind = Kind::Other;
    bool gone = false;       // moved or removed since the folder was read
};

FolderEntry folder_entry(const std::u16string& name, FolderEntry::Kind kind);

// A name on disk that is not text: no Windows name reaches it.
struct UnreadableName {
    fs::path path;
    bool folder = false;
};

// A folder's entries in the order the directory gave them, with an index
// by the case-folded name and extension (the base) of each. An entry stays
// where it is until the listing goes.
class FolderListing {
public:
    // Reads a folder; empty, with the reason in `ec`, when it cannot be read.
    static std::optional<FolderListing> read(const fs::path& folder, std::error_code& ec);

    const std::deque<FolderEntry>& entries() const { return entries_; }
    // The entries whose base folds to `folded_base`, in order.
    std::vector<const FolderEntry*> with_base(const std::u16string& folded_base) const;
    // The sub-folders, in order.
    std::vector<const FolderEntry*> folders() const;
    const std::vector<UnreadableName>& unreadable() const { return unreadable_; }

    // The entry of that name, spelt exactly or, failing that, ignoring
    // case; nullptr when there is none.
    const FolderEntry* find(const std::u16string& name) const;

    // The host made or moved an entry in, or took one out of, the folder.
    // A new entry comes last: where a directory puts one is its own affair.
    void add(const std::u16string& name, FolderEntry::Kind kind);
    void remove(const FolderEntry& entry);

private:
    const std::vector<std::size_t>* indexed(const std::u16string& folded_base) const;

    std::deque<FolderEntry> entries_;   // a deque: entries stay where they are as others come
    // Entries by their base in one letter case. Folding leaves dots and
    // digits alone, so the key is the folded name cut to the base's length.
    std::unordered_map<std::u16string, std::vector<std::size_t>> by_base_;
    std::vector<std::size_t> folders_;
    std::vector<UnreadableName> unreadable_;
};

// The folders one command has reached, by the Windows text that named
// them; two texts that reach one folder share its record.
class FolderCache {
public:
    struct Folder {
        fs::path real;                        // as the first text found it
        fs::path canonical;                   // the same, with every link followed
        std::optional<FolderListing> listing;  // once listed, off Windows
    };

    // The existing folder a Windows path names, found on disk the first
    // time only; nullptr when it names no folder.
    Folder* resolve(const DriveMap& drives, const WindowsPath& path);

    // The listing of a folder, named by its canonical path, to keep true
    // as the host changes it; nullptr when it is not listed.
    FolderListing* listing_of(const fs::path& canonical);

    // Forgets everything: the end of a command, or a change the records
    // cannot follow (a folder made, moved or removed).
    void clear();
    bool empty() const { return folders_.empty(); }

private:
    Folder* known(const fs::path& canonical);

    std::deque<Folder> folders_;   // a deque: records stay where they are
    std::unordered_map<std::u16string, Folder*> by_text_;
};

}  // namespace vxhost
