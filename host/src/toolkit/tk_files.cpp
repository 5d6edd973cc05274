// Files of a directory as the host lists them, in numbered versions
// ("bracket.prt.3"), and the splitting of such a path into its parts.
#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <random>
#include <system_error>

#include "guard.h"
#include "tk_calls.h"

namespace vxhost {

namespace {

// A file name split up: "bracket.prt.3" is bracket, prt, 3.
struct FileName {
    std::u16string name;
    std::u16string extension;
    int version = 0;
};

bool is_separator(char16_t c) { return c == u'\\' || c == u'/'; }

// The digits of a version number as an int; nothing for anything else,
// also for a number beyond what an int holds.
std::optional<int> version_number(const std::u16string& digits)
{
    if (digits.empty())
        return std::nullopt;
    long long value = 0;
    for (char16_t c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > INT_MAX)
            return std::nullopt;
    }
    return static_cast<int>(value);
}

// "name.ext" with both parts non-empty.
std::optional<FileName> split_name_extension(const std::u16string& text)
{
    const std::size_t dot = text.rfind(u'.');
    if (dot == std::u16string::npos || dot == 0 || dot + 1 == text.size())
        return std::nullopt;
    return FileName{text.substr(0, dot), text.substr(dot + 1), 0};
}

// "name.ext.N" or "name.ext". A trailing number counts as the version only
// when a name and an extension stand before it, so "notes.3" is a file
// with the extension 3.
std::optional<FileName> split_file_name(const std::u16string& file)
{
    const std::size_t dot = file.rfind(u'.');
    if (dot != std::u16string::npos) {
        if (const auto version = version_number(file.substr(dot + 1))) {
            if (auto split = split_name_extension(file.substr(0, dot))) {
                split->version = *version;
                return split;
            }
        }
    }
    return split_name_extension(file);
}

// One file of a listing: its name on disk, the name without version that
// the filter is matched against, and its version.
struct Listed {
    std::u16string file;
    std::u16string base;
    int version = 0;
};

Listed listed(const std::u16string& file)
{
    if (const auto split = split_file_name(file))
        return Listed{file, split->name + u'.' + split->extension, split->version};
    return Listed{file, file, 0};   // no extension: listed under its own name
}

// The newest version of each name, each where its name first appeared.
void keep_newest(std::vector<Listed>& files)
{
    std::vector<Listed> newest;
    std::map<std::u16string, std::size_t> at;
    for (auto& f : files) {
        const auto [it, fresh] = at.emplace(fold_case(f.base), newest.size());
        if (fresh)
            newest.push_back(std::move(f));
        else if (f.version > newest[it->second].version)
            newest[it->second] = std::move(f);
    }
    files = std::move(newest);
}

void put_in_order(std::vector<Listed>& files, ListingOrder order, unsigned seed)
{
    const auto by_name = [&files] {
        std::stable_sort(files.begin(), files.end(), [](const Listed& a, const Listed& b) {
            return fold_case(a.file) < fold_case(b.file);
        });
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

// A filter of plain ASCII without wildcards names one file: a name on disk
// can fit it only when it starts with the filter (ASCII letters match in
// either case; no other unit folds onto one) and then ends or goes on with
// a dot. This cheap look at the undecoded name spares the decoding of every
// other entry when one file's versions are listed.
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

// A live host array of path buffers, as both listing arrays must be.
bool is_path_array(const HostState& s, ProPath* const* p_array)
{
    if (!p_array || !*p_array)
        return false;
    const ArrayInfo* info = s.arrays.find(*p_array);
    return info && info->object_size == static_cast<int>(sizeof(ProPath));
}

// The folder to list as Windows text ending in "\", or nothing.
std::optional<std::u16string> listing_folder(const HostState& s, const ProWchar* directory)
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
    return folder;
}

// Appends paths to a listing array in one add; the array may move.
ProError append_paths(HostState& s, ProPath** p_array, const std::vector<std::u16string>& paths)
{
    if (paths.empty())
        return PRO_TK_NO_ERROR;
    std::vector<ProWchar> buffers(paths.size() * PRO_PATH_SIZE, 0);
    for (std::size_t i = 0; i < paths.size(); ++i)
        std::memcpy(&buffers[i * PRO_PATH_SIZE], paths[i].data(), paths[i].size() * sizeof(ProWchar));
    return s.arrays.add(reinterpret_cast<ProArray*>(p_array), -1, static_cast<int>(paths.size()),
                        buffers.data());
}

// Full paths that fit a path buffer; the others are left out, with an error.
std::vector<std::u16string> full_paths(HostState& s, const std::u16string& folder,
                                       const std::vector<std::u16string>& names)
{
    std::vector<std::u16string> paths;
    for (const auto& name : names) {
        std::u16string path = folder + name;
        if (path.size() + 1 > PRO_PATH_SIZE) {
            s.error("ProFilesList: not listed, the path does not fit 260 units: " + to_utf8(path));
            continue;
        }
        paths.push_back(std::move(path));
    }
    return paths;
}

ProError list_files(HostState& s, const ProWchar* directory, const ProWchar* filter,
                    ProFileListOpt option, ProPath** p_files, ProPath** p_dirs)
{
    if (!filter || !is_path_array(s, p_files) || !is_path_array(s, p_dirs) ||
        (option != PRO_FILE_LIST_ALL && option != PRO_FILE_LIST_LATEST))
        return PRO_TK_BAD_INPUTS;
    const auto folder = listing_folder(s, directory);
    const auto real = folder ? s.drives.to_real(*folder) : std::nullopt;
    std::error_code ec;
    if (!real || !fs::is_directory(*real, ec))
        return PRO_TK_INVALID_DIR;

    const std::u16string pattern = wide_text(filter, PRO_PATH_SIZE);
    const bool plain = is_plain_ascii(pattern);
    std::vector<Listed> files;
    std::vector<std::u16string> dirs;
    for (fs::directory_iterator it(*real, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        const bool is_dir = it->is_directory(kind);
        if (!is_dir && plain && !may_fit_plain(it->path().native(), pattern))
            continue;
        std::u16string name;
        try {
            name = it->path().filename().u16string();
        } catch (const std::exception&) {
            s.error("ProFilesList: not listed, a name that is not text: " + it->path().string());
            continue;
        }
        if (is_dir)
            dirs.push_back(name);
        else if (it->is_regular_file(kind)) {
            Listed file = listed(name);
            if (wildcard_match_nocase(pattern, file.base))
                files.push_back(std::move(file));
        }
    }
    if (ec) {
        s.error("ProFilesList: cannot read " + real->string() + ": " + ec.message());
        return PRO_TK_INVALID_DIR;
    }
    if (option == PRO_FILE_LIST_LATEST)
        keep_newest(files);
    put_in_order(files, s.listing_order, s.listing_seed);

    std::vector<std::u16string> names;
    for (const auto& f : files)
        names.push_back(f.file);
    if (const ProError status = append_paths(s, p_files, full_paths(s, *folder, names)))
        return status;
    return append_paths(s, p_dirs, full_paths(s, *folder, dirs));
}

// Copies text and its terminator; the caller has checked that it fits.
void write_text(ProWchar* target, const std::u16string& text)
{
    std::memcpy(target, text.c_str(), (text.size() + 1) * sizeof(ProWchar));
}

ProError parse_filename(const ProWchar* path, ProWchar* directory, ProWchar* name,
                        ProWchar* extension, int* p_version)
{
    if (!path)
        return PRO_TK_BAD_INPUTS;
    const std::u16string text = wide_text(path, PRO_PATH_SIZE);
    if (text.size() + 1 > PRO_PATH_SIZE)
        return PRO_TK_LINE_TOO_LONG;   // no terminator within a path buffer
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
