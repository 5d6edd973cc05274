// The Windows shell's file operation as the host plays it off Windows:
// deletes, into the recycle bin at the root of the file's drive when undo
// is asked for. On Windows the add-in calls the real shell and this host
// only keeps (empty) records.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>   // AT_FDCWD
#endif

#include "guard.h"
#include "tk_calls.h"

namespace vxhost {

namespace {

#ifndef _WIN32

// The shell's results; 0 is success.
constexpr int kFileNotFound = 2;         // a name that is not there
constexpr int kAccessDenied = 5;         // there, but could not be moved or removed
constexpr int kInvalidParameter = 0x57;  // no request, no list, an unterminated list
constexpr int kInvalidFiles = 0x7C;      // not a path of a mapped drive, or a drive itself
constexpr int kNotPlayed = 0x78;         // an operation this host does not play

// A name list is read at most this far: one that has no second NUL by then
// is not a list.
constexpr std::size_t kListLimit = 32768;

constexpr const char* kBinFolder = "$Recycle.Bin";
constexpr const char* kBinIndex = "index.jsonl";   // one JSON object a line

// The names of a double-NUL list, or nothing when it does not end in time.
std::optional<std::vector<std::u16string>> read_names(LPCWSTR list)
{
    std::vector<std::u16string> names;
    std::u16string name;
    for (std::size_t i = 0; i < kListLimit; ++i) {
        if (list[i] != 0) {
            name += list[i];
            continue;
        }
        if (name.empty())
            return names;
        names.push_back(std::move(name));
        name.clear();
    }
    return std::nullopt;
}

std::string function_text(unsigned function)
{
    switch (function) {
    case 1: return "FO_MOVE";
    case 2: return "FO_COPY";
    case FO_DELETE: return "FO_DELETE";
    case 4: return "FO_RENAME";
    }
    return std::to_string(function);
}

std::string hex(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", value);
    return text;
}

// Appends text as a JSON string.
void put_json_string(std::string& out, const std::string& text)
{
    out += '"';
    std::size_t plain = 0;   // the start of a run that needs no escape
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c != '"' && c != '\\' && c >= 0x20)
            continue;
        out.append(text, plain, i - plain);
        plain = i + 1;
        if (c >= 0x20) {
            out += '\\';
            out += static_cast<char>(c);
        } else {
            const char* digits = "0123456789abcdef";
            out += "\\u00";
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    out.append(text, plain, std::string::npos);
    out += '"';
}

// The time to the second; made text once a second, as a purge asks for it
// thousands of times.
std::string utc_now()
{
    static std::time_t last = -1;
    static char text[32] = "";
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    if (now != last) {
        const std::tm* tm = std::gmtime(&now);
        if (!tm || !std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", tm))
            text[0] = 0;
        last = now;
    }
    return text;
}

// One name of a request, found on disk.
struct Target {
    std::u16string name;                     // as the request gave it
    char drive = 0;
    std::string real;                        // a native path that reaches it
    FolderCache::Folder* folder = nullptr;   // the folder it lies in
    const FolderEntry* entry = nullptr;      // its entry there, when that folder is listed
    bool is_folder = false;
};

std::string native_child(const fs::path& folder, const std::string& name)
{
    std::string path;
    path.reserve(folder.native().size() + 1 + name.size());
    path += folder.native();
    if (path.empty() || path.back() != '/')
        path += '/';
    return path += name;
}

// Finds a name on disk; the shell's result when it cannot. Its folder is
// found once per command. In a folder this command has listed, the
// listing knows the file; elsewhere the name as spelt is tried before a
// search that ignores case. Any path that reaches the file will do: the
// shell only moves it.
int find_target(HostState& s, const std::u16string& name, Target& target)
{
    auto parsed = parse_windows_path(name, s.working_directory());
    if (!parsed || !s.drives.folder_of(parsed->drive) || parsed->parts.empty())
        return kInvalidFiles;
    const std::u16string file = parsed->parts.back();
    parsed->parts.pop_back();
    FolderCache::Folder* folder = s.folders.resolve(s.drives, *parsed);
    if (!folder)
        return kFileNotFound;
    target = Target{name, parsed->drive, {}, folder, nullptr, false};
    if (folder->listing) {
        target.entry = folder->listing->find(file);
        if (!target.entry)
            return kFileNotFound;
        target.real = native_child(folder->real, to_utf8(target.entry->name));
        target.is_folder = target.entry->kind == FolderEntry::Kind::Folder;
        return 0;
    }
    std::error_code ec;
    fs::path real = folder->real / fs::path(file);
    if (!fs::exists(real, ec)) {
        const auto found = resolve_nocase(folder->real, fs::path(file));
        if (!found || !fs::exists(*found, ec))
            return kFileNotFound;
        real = *found;
    }
    target.real = real.native();
    target.is_folder = fs::is_directory(real, ec);
    return 0;
}

// The drive's bin, made the first time a command needs it.
RecycleBin* bin_of(HostState& s, char drive)
{
    if (const auto it = s.bins.find(drive); it != s.bins.end())
        return &it->second;
    const fs::path* drive_folder = s.drives.folder_of(drive);
    if (!drive_folder)
        return nullptr;
    const fs::path folder = *drive_folder / kBinFolder;
    std::error_code ec;
    if (fs::create_directories(folder, ec))
        if (FolderListing* listing = s.folders.listing_of(*drive_folder))
            listing->add(folder.filename().u16string(), FolderEntry::Kind::Folder);
    if (ec)
        return nullptr;
    return &s.bins.emplace(drive, RecycleBin{folder, folder / kBinIndex, {}}).first->second;
}

// Moves a file to `to`, never over a file already there: 0, EEXIST when
// one is, else the reason it could not be moved.
int move_no_replace(const std::string& from, const std::string& to)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system that cannot refuse to replace: look first.
#endif
    std::error_code ec;
    if (fs::exists(to, ec))
        return EEXIST;
    fs::rename(from, to, ec);
    return ec.value();
}

// What a move or a removal did to the folders this command knows: a file
// leaves its folder's listing. A folder takes along whatever was learnt of
// the folders under it; the caller forgets all that once its request is
// done.
void target_gone(const Target& target)
{
    if (target.entry && !target.is_folder)
        target.folder->listing->remove(*target.entry);
}

// Moves a file into its drive's bin under a name of its own ("R<n>_" and
// its name, so that two files of one name never meet: a name taken is
// refused and the next tried) and owes the bin's index a line that tells
// which file it is, where it came from and when. One index, not a file per
// entry, written once when the command ends: creating or reopening
// thousands of small files would cost more than all the moves.
int recycle(HostState& s, const Target& target)
{
    RecycleBin* bin = bin_of(s, target.drive);
    if (!bin)
        return kAccessDenied;
    const std::string file_name = target.real.substr(target.real.rfind('/') + 1);
    std::string bin_name, moved_to;
    for (std::size_t n = s.recycled.size() + 1;; ++n) {
        bin_name = "R" + std::to_string(n) + "_" + file_name;
        moved_to = native_child(bin->folder, bin_name);
        const int moved = move_no_replace(target.real, moved_to);
        if (moved == 0)
            break;
        if (moved != EEXIST)
            return kAccessDenied;
    }
    target_gone(target);
    if (FolderListing* listing = s.folders.listing_of(bin->folder))
        listing->add(to_utf16(bin_name), target.is_folder ? FolderEntry::Kind::Folder : FolderEntry::Kind::File);
    const std::string original = to_utf8(target.name);
    std::string& lines = bin->lines;
    lines += "{\"file\": ";
    put_json_string(lines, bin_name);
    lines += ", \"path\": ";
    put_json_string(lines, original);
    lines += ", \"deleted\": ";
    put_json_string(lines, utc_now());
    lines += "}\n";
    s.recycled.push_back(RecycledFile{target.name, fs::path(std::move(moved_to)), bin->index});
    s.note("shell: recycled " + original);
    return 0;
}

int remove_for_good(HostState& s, const Target& target)
{
    std::error_code ec;
    fs::remove_all(target.real, ec);
    if (ec)
        return kAccessDenied;
    target_gone(target);
    s.note("shell: deleted " + to_utf8(target.name));
    return 0;
}

// Every name is found before any is touched: a request with one bad name
// does nothing, as the shell does.
int delete_names(HostState& s, const std::vector<std::u16string>& names, unsigned flags)
{
    std::vector<Target> targets(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        if (const int result = find_target(s, names[i], targets[i]))
            return result;
    int result = 0;
    bool folder_gone = false;
    for (const Target& target : targets) {
        result = flags & FOF_ALLOWUNDO ? recycle(s, target) : remove_for_good(s, target);
        if (result)
            break;
        folder_gone = folder_gone || target.is_folder;
    }
    if (folder_gone)
        s.folders.clear();
    return result;
}

int file_operation(HostState& s, const SHFILEOPSTRUCTW* request, const std::vector<std::u16string>& names)
{
    if (request->wFunc != FO_DELETE) {
        s.error("SHFileOperationW: " + function_text(request->wFunc) + " is not played by this host");
        return kNotPlayed;
    }
    const int result = delete_names(s, names, request->fFlags);
    // Without FOF_NOERRORUI the shell would show its error box.
    if (result && !(request->fFlags & FOF_NOERRORUI))
        s.note("shell error box: " + function_text(request->wFunc) + " failed with " + hex(result));
    return result;
}

// The request as a whole, before anything is done with it. The add-in
// passes no owner window, no target list, no progress title and no name
// mappings: any of them is a mistake. And the real shell, asked without
// FOF_SILENT, FOF_NOCONFIRMATION or FOF_NOERRORUI, would show a progress
// window, ask the user or show an error box; here that is on the record
// instead. Both go into the ledger, so that a clean run cannot have them.
void check_request(HostState& s, const SHFILEOPSTRUCTW& request)
{
    const auto mistake = [&s](const std::string& what) {
        s.ledger.note_error("SHFileOperationW: " + what);
    };
    if (request.hwnd)
        mistake("an owner window was given");
    if (request.pTo)
        mistake("a target list was given");
    if (request.lpszProgressTitle)
        mistake("a progress title was given");
    if (request.hNameMappings)
        mistake("name mappings were given");
    struct Unasked {
        unsigned flag;
        const char* shown;
    };
    const Unasked unasked[] = {
        {FOF_SILENT, "without FOF_SILENT the shell would show a progress window"},
        {FOF_NOCONFIRMATION, "without FOF_NOCONFIRMATION the shell would ask the user"},
        {FOF_NOERRORUI, "without FOF_NOERRORUI the shell would show an error box"},
    };
    for (const Unasked& u : unasked)
        if (!(request.fFlags & u.flag))
            mistake(u.shown);
}

#endif

}  // namespace

void write_bin_indexes(HostState& s)
{
    for (auto& [drive, bin] : s.bins) {
        if (bin.lines.empty())
            continue;
        std::ofstream out(bin.index, std::ios::binary | std::ios::app);
        out << bin.lines;
        out.close();
        if (!out)
            s.error("SHFileOperationW: cannot write " + bin.index.string());
        bin.lines.clear();
    }
}

#ifndef _WIN32
namespace tk {

int SHFileOperationW(SHFILEOPSTRUCTW* request)
{
    HostState& state = current_state();
    if (request)
        check_request(state, *request);
    std::optional<std::vector<std::u16string>> names;
    if (request && request->pFrom)
        names = read_names(request->pFrom);
    CallArgs args;
    if (!request) {
        args.word("(null)");
    } else {
        args.word(function_text(request->wFunc)).word(hex(request->fFlags));
        if (!names)
            args.word("(no list)");
        for (const auto& name : names.value_or(std::vector<std::u16string>{}))
            args.wide(name.c_str(), name.size());
    }
    // Recorded before the call runs, so a request failed by an injected
    // fault is on the record too.
    const std::size_t index = state.shell_requests.size();
    state.shell_requests.push_back(ShellRequest{request ? request->wFunc : 0u,
                                                request ? request->fFlags : 0u,
                                                names.value_or(std::vector<std::u16string>{}), 0});
    const int result = guarded("SHFileOperationW", std::move(args), [&](HostState& s) -> ProError {
        if (!request || !names || names->empty()) {
            s.error("SHFileOperationW: no request or no name list ending in a second NUL");
            return kInvalidParameter;
        }
        return file_operation(s, request, *names);
    });
    state.shell_requests[index].result = result;
    return result;
}

}  // namespace tk
#endif

const std::vector<ShellRequest>& Host::shell_requests() const { return state_->shell_requests; }
const std::vector<RecycledFile>& Host::recycle_bin() const { return state_->recycled; }

}  // namespace vxhost
