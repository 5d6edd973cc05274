// The working directory and the two notifications the host sends.
#include <algorithm>
#include <cstring>
#include <system_error>

#include "state.h"

namespace vxhost {

namespace {

bool has_drive(const std::u16string& text) { return text.size() >= 2 && text[1] == u':'; }

// The new working directory's text: the caller's own words when it named
// a drive, else the resolved path; always ending in a separator.
std::u16string directory_text(const std::u16string& given, const WindowsPath& parsed)
{
    if (!has_drive(given))
        return parsed.folder_text();
    std::u16string text = given;
    if (text.back() != u'\\' && text.back() != u'/')
        text += u'\\';
    return text;
}

}  // namespace

ProError change_working_directory(HostState& s, const char16_t* path, bool by_addin)
{
    if (!path)
        return PRO_TK_BAD_INPUTS;
    const std::u16string given = wide_text(path, PRO_PATH_SIZE);
    const auto refuse = [&](ProError status) {
        if (!by_addin)
            s.note("cd " + to_utf8(given) + ": refused (" + std::to_string(status) + ")");
        return status;
    };
    if (given.size() >= PRO_PATH_SIZE || given.empty())
        return refuse(PRO_TK_INVALID_DIR);
    const auto parsed = parse_windows_path(given, s.working_directory());
    const auto real = parsed ? s.drives.to_real(*parsed) : std::nullopt;
    std::error_code ec;
    if (!real || !std::filesystem::is_directory(*real, ec))
        return refuse(PRO_TK_INVALID_DIR);
    const std::u16string text = directory_text(given, *parsed);
    if (text.size() >= PRO_PATH_SIZE)
        return refuse(PRO_TK_INVALID_DIR);
    s.workdir = text;
    s.note(std::string(by_addin ? "the add-in changed" : "cd: changed") +
           " the working directory to " + to_utf8(text));
    // A relative change is reported as the folder it led to: the add-in
    // keeps what it is told and could not resolve ".." later.
    notify_directory_changed(s, has_drive(given) ? given : text);
    return PRO_TK_NO_ERROR;
}

void notify_directory_changed(HostState& s, const std::u16string& path)
{
    const auto it = s.notifications.find(PRO_DIRECTORY_CHANGE_POST);
    if (it == s.notifications.end())
        return;
    // The add-in copies the whole buffer: hand it all 260 units, zero-filled.
    ProPath buffer{};
    const std::size_t n = std::min<std::size_t>(path.size(), PRO_PATH_SIZE - 1);
    std::memcpy(buffer, path.data(), n * sizeof(ProWchar));
    reinterpret_cast<ProDirectoryChangeAction>(it->second)(buffer);
}

void notify_tab_switch(HostState& s, const std::string& left, const std::string& entered)
{
    const auto it = s.notifications.find(PRO_RIBBON_TAB_SWITCH);
    if (it == s.notifications.end())
        return;
    // The callback takes writable text: give it copies.
    std::string left_copy = left;
    std::string entered_copy = entered;
    reinterpret_cast<ProRibbonTabSwitchAction>(it->second)(left_copy.data(), entered_copy.data());
}

}  // namespace vxhost
