#include "host/paths.h"

#include <cctype>
#include <exception>
#include <string_view>
#include <system_error>

#include "host/errors.h"
#include "host/text.h"

namespace vxhost {

namespace {

// The entry of `folder` named `name`, spelt as on disk: exact match first,
// then ignoring case. The folder is listed even when `folder / name`
// exists, since on Windows that holds for any spelling of the name.
std::optional<fs::path> find_entry(const fs::path& folder, const fs::path& name)
{
    std::error_code ec;
    const std::u16string wanted = name.u16string();
    std::optional<fs::path> folded;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::u16string entry;
        try {
            entry = it->path().filename().u16string();
        } catch (const std::exception&) {
            continue;   // a name on disk that is not text: no Windows name matches it
        }
        if (entry == wanted)
            return it->path();
        if (!folded && equal_nocase(entry, wanted))
            folded = it->path();
    }
    if (folded)
        return folded;
    if (fs::exists(folder / name, ec))   // a folder that cannot be listed
        return folder / name;
    return std::nullopt;
}

bool is_separator(char16_t c) { return c == u'\\' || c == u'/'; }

// A part of a Windows path as a name on this file system; nothing for one
// that no file here can be named by (a lone surrogate, say, which Windows
// allows in names and UTF-8 cannot spell).
std::optional<fs::path> native_name(const std::u16string& part)
{
    try {
        return fs::path(part);
    } catch (const fs::filesystem_error&) {
        return std::nullopt;
    }
}

// Applies the components of `text` to `parts`; ".." never climbs above the root.
void apply_components(std::vector<std::u16string>& parts, std::u16string_view text)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = start;
        while (end < text.size() && !is_separator(text[end]))
            ++end;
        const std::u16string_view part = text.substr(start, end - start);
        if (part == u"..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != u".") {
            parts.emplace_back(part);
        }
        start = end + 1;
    }
}

bool has_drive(const std::u16string& text)
{
    return text.size() >= 2 && text[1] == u':' && text[0] < 0x80 &&
           std::isalpha(static_cast<unsigned char>(text[0]));
}

}  // namespace

std::optional<fs::path> resolve_nocase(const fs::path& base, const fs::path& relative)
{
    fs::path found = base;
    for (const fs::path& part : relative) {
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            found = found.parent_path();
            continue;
        }
        auto entry = find_entry(found, part);
        if (!entry)
            return std::nullopt;
        found = *entry;
    }
    return found;
}

std::optional<fs::path> resolve_nocase(const fs::path& path)
{
    if (path.is_absolute())
        return resolve_nocase(path.root_path(), path.relative_path());
    return resolve_nocase(fs::path("."), path);
}

std::u16string WindowsPath::folder_text() const
{
    std::u16string text{static_cast<char16_t>(drive), u':', u'\\'};
    for (const auto& part : parts)
        text += part + u'\\';
    return text;
}

std::optional<WindowsPath> parse_windows_path(const std::u16string& text,
                                              const std::u16string& base)
{
    // No Windows name holds U+0000, and the file system would read such a
    // component only up to it: "D:\..<NUL>x" would reach the folder above
    // the drive's own.
    if (text.find(u'\0') != std::u16string::npos || base.find(u'\0') != std::u16string::npos)
        return std::nullopt;
    WindowsPath path;
    std::u16string_view rest = text;
    if (has_drive(text)) {
        path.drive = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        rest.remove_prefix(2);
    } else {
        if (!has_drive(base))
            return std::nullopt;
        auto start = parse_windows_path(base);
        if (!start)
            return std::nullopt;
        path = std::move(*start);
        if (!text.empty() && is_separator(text[0]))
            path.parts.clear();
        rest = text;
    }
    apply_components(path.parts, rest);
    return path;
}

void DriveMap::map(char letter, const fs::path& folder)
{
    if (letter >= 'a' && letter <= 'z')
        letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z')
        throw HostError(std::string("not a drive letter: ") + letter);
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw HostError("drive " + std::string(1, letter) + ": no such folder " + folder.string());
    fs::path real = fs::canonical(folder);
    for (auto& [drive, where] : drives_) {
        if (drive == letter) {
            where = real;
            return;
        }
    }
    drives_.emplace_back(letter, real);
}

std::optional<char> DriveMap::first() const
{
    if (drives_.empty())
        return std::nullopt;
    return drives_.front().first;
}

const fs::path* DriveMap::folder_of(char letter) const
{
    for (const auto& [drive, where] : drives_)
        if (drive == letter)
            return &where;
    return nullptr;
}

std::optional<fs::path> DriveMap::to_real(const WindowsPath& path) const
{
    const fs::path* root = folder_of(path.drive);
    if (!root)
        return std::nullopt;
    fs::path real = *root;
    bool found = true;
    for (const auto& part : path.parts) {
        const auto name = native_name(part);
        if (!name)
            return std::nullopt;
        std::optional<fs::path> entry;
        if (found)
            entry = find_entry(real, *name);
        found = entry.has_value();
        real = found ? *entry : real / *name;
    }
    return real;
}

std::optional<fs::path> DriveMap::reach(const WindowsPath& path) const
{
    const fs::path* root = folder_of(path.drive);
    if (!root)
        return std::nullopt;
    fs::path real = *root;
    for (const auto& part : path.parts) {
        const auto name = native_name(part);
        if (!name)
            return std::nullopt;
        real /= *name;
    }
    std::error_code ec;
    if (fs::exists(real, ec))
        return real;
    const auto found = to_real(path);
    if (!found || !fs::exists(*found, ec))
        return std::nullopt;
    return found;
}

std::optional<fs::path> DriveMap::to_real(const std::u16string& text,
                                          const std::u16string& base) const
{
    auto path = parse_windows_path(text, base);
    if (!path)
        return std::nullopt;
    return to_real(*path);
}

std::optional<std::u16string> DriveMap::to_windows(const fs::path& real) const
{
    const fs::path full = fs::weakly_canonical(real);
    for (const auto& [drive, where] : drives_) {
        const fs::path relative = full.lexically_relative(where);
        if (relative.empty() || *relative.begin() == "..")
            continue;
        std::u16string text{static_cast<char16_t>(drive), u':', u'\\'};
        if (relative == ".")
            return text;
        bool first = true;
        for (const fs::path& part : relative) {
            if (!first)
                text += u'\\';
            try {
                text += part.u16string();
            } catch (const std::exception&) {
                return std::nullopt;   // a name on disk that is not text: Windows cannot spell it
            }
            first = false;
        }
        return text;
    }
    return std::nullopt;
}

}  // namespace vxhost
