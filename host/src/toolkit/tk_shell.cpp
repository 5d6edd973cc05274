// The Windows shell's file operation as the host plays it off Windows:
// deletes, into the recycle bin at the root of the file's drive when undo
// is asked for. On Windows the add-in calls the real shell and this host
// only keeps (empty) records.
#include <chrono>
#include <ctime>
#include <fstream>
#include <sstream>
#include <system_error>

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
    std::ostringstream text;
    text << "0x" << std::hex << value;
    return text.str();
}

std::string json_string(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            const char* digits = "0123456789abcdef";
            out += "\\u00";
            out += digits[c >> 4];
            out += digits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string utc_now()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    char text[32] = "";
    if (const std::tm* tm = std::gmtime(&now))
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", tm);
    return text;
}

// One name of a request, found on disk.
struct Target {
    std::u16string name;
    fs::path real;
    fs::path drive_folder;
};

// Finds a name on disk; the shell's result when it cannot.
int find_target(const HostState& s, const std::u16string& name, Target& target)
{
    const auto parsed = parse_windows_path(name, s.working_directory());
    const fs::path* root = parsed ? s.drives.folder_of(parsed->drive) : nullptr;
    if (!root || parsed->parts.empty())
        return kInvalidFiles;
    // Any path that reaches the file will do: the shell only moves it.
    const auto real = s.drives.reach(*parsed);
    if (!real)
        return kFileNotFound;
    target = Target{name, *real, *root};
    return 0;
}

// Moves a file into its drive's bin under a name of its own ("R<n>_" and
// its name, so that two files of one name never meet) and adds a line to
// the bin's index that tells which file it is, where it came from and
// when. One index, not a file per entry: creating thousands of small files
// would cost more than all the moves.
int recycle(HostState& s, const Target& target)
{
    const fs::path bin = target.drive_folder / kBinFolder;
    std::error_code ec;
    fs::create_directories(bin, ec);
    const std::string file_name = target.real.filename().string();
    fs::path file;
    for (std::size_t n = s.recycled.size() + 1;; ++n) {
        file = bin / fs::path("R" + std::to_string(n) + "_" + file_name);
        if (!fs::exists(file, ec))
            break;
    }
    fs::rename(target.real, file, ec);
    if (ec)
        return kAccessDenied;
    const fs::path index = bin / kBinIndex;
    std::ofstream out(index, std::ios::binary | std::ios::app);
    out << "{\"file\": " << json_string(file.filename().string())
        << ", \"path\": " << json_string(to_utf8(target.name))
        << ", \"deleted\": " << json_string(utc_now()) << "}\n";
    if (!out)
        s.error("SHFileOperationW: cannot write " + index.string());
    s.recycled.push_back(RecycledFile{target.name, file, index});
    s.note("shell: recycled " + to_utf8(target.name));
    return 0;
}

int remove_for_good(HostState& s, const Target& target)
{
    std::error_code ec;
    fs::remove_all(target.real, ec);
    if (ec)
        return kAccessDenied;
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
    for (const Target& target : targets) {
        const int result = flags & FOF_ALLOWUNDO ? recycle(s, target) : remove_for_good(s, target);
        if (result)
            return result;
    }
    return 0;
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
