// Files of a directory as the host lists them, in numbered versions
// ("bracket.prt.3"), and the splitting of such a path into its parts.
#include <algorithm>
#include <cstring>
#include <random>
#include <string_view>
#include <system_error>
#include <unordered_map>

#include "guard.h"
#include "system/folders.h"
#include "tk_calls.h"

namespace vxhost {

namespace {

bool is_separator(char16_t c) { return c == u'\\' || c == u'/'; }

// The newest version of each name, each where its name first appeared.
void keep_newest(std::vector<const FolderEntry*>& files)
{
    std::vector<const FolderEntry*> newest;
    std::unordered_map<std::u16string_view, std::size_t> at;
    for (const FolderEntry* f : files) {
        const std::u16string_view folded_base(f->folded.data(), f->base.size());
        const auto [it, fresh] = at.emplace(folded_base, newest.size());
        if (fresh)
            newest.push_back(f);
        else if (f->version > newest[it->second]->version)
            newest[it->second] = f;
    }
    files = std::move(newest);
}

void put_in_order(std::vector<const FolderEntry*>& files, ListingOrder order, unsigned seed)
{
    const auto by_name = [&files] {
        std::stable_sort(files.begin(), files.end(),
                         [](const FolderEntry* a, const FolderEntry* b) { return a->folded < b->folded; });
    };
    switch (order) {
    case ListingOrder::Directory:
        break;
    case ListingOrder::ByName:
        by_name();
        break;
    case ListingOrder::Reversed:
        by_name();
        std::reverse(files.begin(), files.end());
        break;
    case ListingOrder::Shuffled: {
        // Fisher-Yates on the generator's raw output: the same seed gives
        // the same order with every standard library.
        by_name();
        std::mt19937 random(seed);
        for (std::size_t i = files.size(); i > 1; --i)
            std::swap(files[i - 1], files[random() % i]);
        break;
    }
    }
}

// Whether a filter of plain ASCII without wildcards may fit a name on disk
// that is not text: only when the name starts with the filter (ASCII
// letters match in either case; no other unit folds onto one) and then
// ends or goes on with a dot. Such a name is reported as unlisted by the
// listings it might have been part of, and only by those.
bool is_plain_ascii(const std::u16string& filter)
{
    return std::all_of(filter.begin(), filter.end(),
                       [](char16_t c) { return c < 0x80 && c != u'*' && c != u'?'; });
}

template <class Char>
bool may_fit_plain(const std::basic_string<Char>& path, const std::u16string& filter)
{
    // The file name is what follows the last separator of the native path.
    std::size_t start = path.size();
    while (start > 0 && path[start - 1] != static_cast<Char>('/') &&
           path[start - 1] != static_cast<Char>(fs::path::preferred_separator))
        --start;
    const Char* name = path.data() + start;
    const std::size_t size = path.size() - start;
    if (size < filter.size() || (size > filter.size() && name[filter.size()] != static_cast<Char>('.')))
        return false;
    for (std::size_t i = 0; i < filter.size(); ++i) {
        const auto c = static_cast<char32_t>(name[i]);
        const auto f = static_cast<char32_t>(filter[i]);
        const auto lower = [](char32_t x) { return x >= U'A' && x <= U'Z' ? x + 32 : x; };
        if (lower(c) != lower(f))
            return false;
    }
    return true;
}

void report_unreadable(HostState& s, const FolderListing& listing, const std::u16string& filter)
{
    const bool plain = is_plain_ascii(filter);
    for (const UnreadableName& name : listing.unreadable())
        if (name.folder || !plain || may_fit_plain(name.path.native(), filter))
            s.error("ProFilesList: not listed, a name that is not text: " + name.path.string());
}

// The files whose name without version fits the filter, in the listing's
// order. A filter without wildcards names one such name: the index has it.
std::vector<const FolderEntry*> matching_files(const FolderListing& listing, const std::u16string& filter)
{
    std::vector<const FolderEntry*> files;
    const auto is_file = [](const FolderEntry& e) { return e.kind == FolderEntry::Kind::File; };
    if (filter.find_first_of(u"*?") == std::u16string::npos) {
        for (const FolderEntry* entry : listing.with_base(fold_case(filter)))
            if (is_file(*entry))
                files.push_back(entry);
        return files;
    }
    for (const FolderEntry& entry : listing.entries())
        if (!entry.gone && is_file(entry) && wildcard_match_nocase(filter, entry.base))
            files.push_back(&entry);
    return files;
}

// A live host array of path buffers, as both listing arrays must be.
bool is_path_array(const HostState& s, ProPath* const* p_array)
{
    if (!p_array || !*p_array)
        return false;
    const ArrayInfo* info = s.arrays.find(*p_array);
    return info && info->object_size == static_cast<int>(sizeof(ProPath));
}

// The folder to list: as Windows text ending in "\", which every listed
// path starts with, and taken apart.
struct ListingFolder {
    std::u16string text;
    WindowsPath path;
};

std::optional<ListingFolder> listing_folder(const HostState& s, const ProWchar* directory)
{
    std::u16string folder = s.working_directory();
    if (directory) {
        const auto parsed = parse_windows_path(wide_text(directory, PRO_PATH_SIZE), folder);
        if (!parsed)
            return std::nullopt;
        folder = parsed->folder_text();
    }
    if (folder.empty())
        return std::nullopt;
    if (!is_separator(folder.back()))
        folder += u'\\';
    auto path = parse_windows_path(folder);
    if (!path)
        return std::nullopt;
    return ListingFolder{folder, std::move(*path)};
}

// The folder's entries: as read earlier in this command, else read now
// (and kept, where listings are kept). Nullptr, with the error recorded,
// when it cannot be read.
const FolderListing* folder_listing(HostState& s, FolderCache::Folder& folder,
                                    std::optional<FolderListing>& fresh)
{
    if (folder.listing)
        return &*folder.listing;
    std::error_code ec;
    fresh = FolderListing::read(folder.real, ec);
    if (!fresh) {
        s.error("ProFilesList: cannot read " + folder.real.string() + ": " + ec.message());
        return nullptr;
    }
    if (!kListingsKept)
        return &*fresh;
    folder.listing = std::move(fresh);
    return &*folder.listing;
}

// Appends the entries' full paths to a listing array in one add (the
// array may move). A path that would not fit a path buffer is left out,
// with an error. The buffers are kept from call to call: a purge lists a
// thousand times, and a block of a few kilobytes, new each time, is what
// the allocator is slowest at once the heap is large.
ProError append_paths(HostState& s, ProPath** p_array, const std::u16string& folder,
                      const std::vector<const FolderEntry*>& entries)
{
    static std::vector<ProWchar> buffers;
    buffers.assign(entries.size() * PRO_PATH_SIZE, 0);
    int count = 0;
    for (const FolderEntry* entry : entries) {
        const std::u16string path = folder + entry->name;
        if (path.size() + 1 > PRO_PATH_SIZE) {
            s.error("ProFilesList: not listed, the path does not fit 260 units: " + to_utf8(path));
            continue;
        }
        std::memcpy(&buffers[count * PRO_PATH_SIZE], path.data(), path.size() * sizeof(ProWchar));
        ++count;
    }
    if (count == 0)
        return PRO_TK_NO_ERROR;
    return s.arrays.add(reinterpret_cast<ProArray*>(p_array), -1, count, buffers.data());
}

ProError list_files(HostState& s, const ProWchar* directory, const ProWchar* filter,
                    ProFileListOpt option, ProPath** p_files, ProPath** p_dirs)
{
    if (!filter || !is_path_array(s, p_files) || !is_path_array(s, p_dirs) ||
        (option != PRO_FILE_LIST_ALL && option != PRO_FILE_LIST_LATEST))
        return PRO_TK_BAD_INPUTS;
    const auto folder = listing_folder(s, directory);
    FolderCache::Folder* where = folder ? s.folders.resolve(s.drives, folder->path) : nullptr;
    if (!where)
        return PRO_TK_INVALID_DIR;
    std::optional<FolderListing> fresh;
    const FolderListing* listing = folder_listing(s, *where, fresh);
    if (!listing)
        return PRO_TK_INVALID_DIR;

    const std::u16string pattern = wide_text(filter, PRO_PATH_SIZE);
    report_unreadable(s, *listing, pattern);
    std::vector<const FolderEntry*> files = matching_files(*listing, pattern);
    if (option == PRO_FILE_LIST_LATEST)
        keep_newest(files);
    put_in_order(files, s.listing_order, s.listing_seed);
    if (const ProError status = append_paths(s, p_files, folder->text, files))
        return status;
    return append_paths(s, p_dirs, folder->text, listing->folders());
}

// Copies text and its terminator; the caller has checked that it fits.
void write_text(ProWchar* target, std::u16string_view text)
{
    std::memcpy(target, text.data(), text.size() * sizeof(ProWchar));
    target[text.size()] = 0;
}

ProError parse_filename(const ProWchar* path, ProWchar* directory, ProWchar* name,
                        ProWchar* extension, int* p_version)
{
    if (!path)
        return PRO_TK_BAD_INPUTS;
    // A copy to take apart: an output may be the caller's path buffer itself.
    ProPath copy;
    std::size_t size = 0;
    while (size < PRO_PATH_SIZE && path[size] != 0) {
        copy[size] = path[size];
        ++size;
    }
    if (size + 1 > PRO_PATH_SIZE)
        return PRO_TK_LINE_TOO_LONG;   // no terminator within a path buffer
    const std::u16string_view text(copy, size);
    std::size_t start = text.size();
    while (start > 0 && !is_separator(text[start - 1]))
        --start;
    const auto split = split_file_name(text.substr(start));
    if (!split)
        return PRO_TK_BAD_INPUTS;
    // Every check before any write: a failed call leaves all outputs alone.
    if ((name && split->name.size() + 1 > PRO_NAME_SIZE) ||
        (extension && split->extension.size() + 1 > PRO_NAME_SIZE))
        return PRO_TK_LINE_TOO_LONG;
    if (directory)
        write_text(directory, text.substr(0, start));
    if (name)
        write_text(name, split->name);
    if (extension)
        write_text(extension, split->extension);
    if (p_version)
        *p_version = split->version;
    return PRO_TK_NO_ERROR;
}

}  // namespace

namespace tk {

ProError ProFilesList(const ProWchar* directory, const ProWchar* filter, ProFileListOpt option,
                      ProPath** p_files, ProPath** p_dirs)
{
    return guarded("ProFilesList", call_args(directory, filter, option),
                   [&](HostState& s) { return list_files(s, directory, filter, option, p_files, p_dirs); });
}

ProError ProFilenameParse(const ProWchar* path, ProWchar* directory, ProWchar* name,
                          ProWchar* extension, int* p_version)
{
    return guarded("ProFilenameParse", call_args(path), [&](HostState&) {
        return parse_filename(path, directory, name, extension, p_version);
    });
}

}  // namespace tk

void Host::set_listing_order(ListingOrder order, unsigned seed)
{
    state_->listing_order = order;
    state_->listing_seed = seed;
}

}  // namespace vxhost
