// The Windows shell's ShellExecuteW as the host plays it off Windows. The
// one program it starts is the file explorer, which shows the folder its
// parameter string names; the transcript says which. Every argument is
// checked as the shell checks it. On Windows the add-in calls the real
// shell and this host only keeps (empty) records.
#include <system_error>

#include "guard.h"
#include "tk_calls.h"

namespace vxhost {

#ifndef _WIN32

namespace {

// The shell's results: above 32 is success, and Wine's shell gives 33.
constexpr int kStarted = 33;
constexpr int kOutOfResources = 0;   // also what a text it cannot read gives
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kNoAssociation = 31;   // a verb the file does not have

// A command line holds at most 32767 units: a text that does not end by
// then is none the shell can pass on, and it is read no further.
constexpr std::size_t kTextLimit = 32768;

struct Texts {
    bool unterminated = false;

    std::optional<std::u16string> read(LPCWSTR text)
    {
        if (!text)
            return std::nullopt;
        const std::u16string got = wide_text(text, kTextLimit);
        unterminated = unterminated || got.size() >= kTextLimit;
        return got;
    }
};

// A folder of a mapped drive that is there, spelt as on disk or not. A
// relative text names none: the explorer's own folder is not the host's.
bool folder_exists(const HostState& s, const std::u16string& text)
{
    const auto parsed = parse_windows_path(text);
    const auto real = parsed ? s.drives.reach(*parsed) : std::nullopt;
    std::error_code ec;
    return real && fs::is_directory(*real, ec);
}

// The explorer takes its whole parameter string as the folder, quotes
// around it or not; with none, or a folder that is not there, it shows
// its start page.
std::optional<std::u16string> explorer_folder(const HostState& s, std::u16string text)
{
    if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"')
        text = text.substr(1, text.size() - 2);
    if (text.empty() || !folder_exists(s, text))
        return std::nullopt;
    return text;
}

std::string show_text(int show)
{
    return show == SW_SHOWNORMAL ? "" : " (show mode " + std::to_string(show) + ")";
}

int execute(HostState& s, ShellExecution& e, bool unterminated)
{
    if (unterminated) {
        s.error("ShellExecuteW: a text without its terminator within " +
                std::to_string(kTextLimit) + " units");
        return kOutOfResources;
    }
    if (!e.file || e.file->empty())
        return kFileNotFound;
    const std::string file = to_utf8(*e.file);
    if (!equal_nocase(*e.file, u"explorer.exe") && !equal_nocase(*e.file, u"explorer")) {
        s.error("ShellExecuteW: this host starts the explorer only, not " + file);
        return kFileNotFound;
    }
    if (e.verb && !e.verb->empty() && !equal_nocase(*e.verb, u"open")) {
        s.note("shell: " + file + " has no verb " + to_utf8(*e.verb));
        return kNoAssociation;
    }
    if (e.directory && !folder_exists(s, *e.directory)) {
        s.note("shell: no folder " + to_utf8(*e.directory) + " to start " + file + " in");
        return kPathNotFound;
    }
    const std::u16string asked = e.parameters.value_or(u"");
    e.opened = explorer_folder(s, asked);
    if (e.opened)
        s.note("shell: the explorer opens " + to_utf8(*e.opened) + show_text(e.show));
    else if (asked.empty())
        s.note("shell: the explorer opens its start page" + show_text(e.show));
    else
        s.note("shell: the explorer finds no folder " + to_utf8(asked) +
               " and opens its start page" + show_text(e.show));
    return kStarted;
}

}  // namespace

namespace tk {

HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                        LPCWSTR directory, int show)
{
    HostState& state = current_state();
    Texts texts;
    ShellExecution e;
    e.owner = hwnd != nullptr;
    e.verb = texts.read(verb);
    e.file = texts.read(file);
    e.parameters = texts.read(parameters);
    e.directory = texts.read(directory);
    e.show = show;
    CallArgs args;
    args.word(hwnd ? "hwnd" : "(null)")
        .wide(verb, kTextLimit)
        .wide(file, kTextLimit)
        .wide(parameters, kTextLimit)
        .wide(directory, kTextLimit)
        .number(show);
    // Recorded before the call runs, so that one failed by an injected
    // fault is on the record too.
    const std::size_t index = state.executions.size();
    state.executions.push_back(e);
    const int result = guarded("ShellExecuteW", std::move(args), [&](HostState& s) -> ProError {
        return execute(s, s.executions[index], texts.unterminated);
    });
    state.executions[index].result = result;
    return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(result));
}

}  // namespace tk

#endif

const std::vector<ShellExecution>& Host::shell_executions() const { return state_->executions; }

}  // namespace vxhost
