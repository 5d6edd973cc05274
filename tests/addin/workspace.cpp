#include "workspace.h"

#include <climits>
#include <fstream>
#include <optional>
#include <sstream>

#include "host/text.h"

namespace vxtest {

namespace {

std::string read_file(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

struct Stored {
    std::string key;   // name.ext in lower case
    long long version = 0;
};

std::optional<long long> version_number(const std::string& digits)
{
    if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const long long value = std::stoll(digits);
    if (value > INT_MAX)
        return std::nullopt;
    return value;
}

// "name.ext", both parts non-empty, as lower-case name.ext, if the
// extension is one the purge lists.
std::optional<std::string> model_key(const std::string& text)
{
    const std::size_t dot = text.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == text.size())
        return std::nullopt;
    const std::string extension = lower(text.substr(dot + 1));
    if (extension != "drw" && extension != "prt" && extension != "asm")
        return std::nullopt;
    return lower(text);
}

// A drawing, part or assembly file, its name read as the host reads it.
std::optional<Stored> stored_version(const std::string& file)
{
    const std::size_t dot = file.rfind('.');
    if (dot != std::string::npos) {
        if (const auto version = version_number(file.substr(dot + 1))) {
            const std::string rest = file.substr(0, dot);
            const std::size_t inner = rest.rfind('.');
            if (inner != std::string::npos && inner != 0 && inner + 1 != rest.size()) {
                if (const auto key = model_key(rest))
                    return Stored{*key, *version};
                return std::nullopt;
            }
        }
    }
    if (const auto key = model_key(file))
        return Stored{*key, 0};
    return std::nullopt;
}

}  // namespace

Snapshot snapshot(const fs::path& folder)
{
    Snapshot files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().lexically_relative(folder).generic_string();
        files[name] = entry.is_directory() ? "/" : read_file(entry.path());
    }
    return files;
}

std::set<std::string> newest_versions(const Snapshot& before)
{
    std::map<std::string, std::pair<long long, std::string>> newest;
    for (const auto& [name, content] : before) {
        if (content == "/" || name.find('/') != std::string::npos)
            continue;
        const auto stored = stored_version(name);
        if (!stored)
            continue;
        const auto it = newest.find(stored->key);
        if (it == newest.end() || stored->version > it->second.first)
            newest[stored->key] = {stored->version, name};
    }
    std::set<std::string> kept;
    for (const auto& [key, version] : newest)
        kept.insert(version.second);
    return kept;
}

std::vector<std::string> purge_problems(const vxhost::Host& host, const fs::path& folder,
                                        const std::u16string& windows, const Snapshot& before,
                                        std::size_t bin_from, bool complete)
{
    std::vector<std::string> problems;
    const Snapshot after = snapshot(folder);
    const std::set<std::string> newest = newest_versions(before);

    std::map<std::string, const vxhost::RecycledFile*> binned;
    const auto& bin = host.recycle_bin();
    for (std::size_t i = bin_from; i < bin.size(); ++i) {
        const std::string original = vxhost::to_utf8(bin[i].original);
        const std::string prefix = vxhost::to_utf8(windows);
        if (original.rfind(prefix, 0) != 0 || !before.count(original.substr(prefix.size()))) {
            problems.push_back("in the bin, but never in the folder: " + original);
            continue;
        }
        const std::string name = original.substr(prefix.size());
        if (after.count(name))
            problems.push_back("in the bin and still in the folder: " + name);
        binned[name] = &bin[i];
    }

    for (const auto& [name, content] : after)
        if (!before.count(name))
            problems.push_back("appeared: " + name);
    for (const auto& [name, content] : before) {
        const auto now = after.find(name);
        const bool must_stay = name.find('/') != std::string::npos || content == "/" ||
                               newest.count(name) || !stored_version(name);
        if (now != after.end()) {
            if (now->second != content)
                problems.push_back("changed: " + name);
            else if (complete && !must_stay)
                problems.push_back("not purged: " + name);
            continue;
        }
        if (must_stay)
            problems.push_back("gone, though it must stay: " + name);
        const auto in_bin = binned.find(name);
        if (in_bin == binned.end())
            problems.push_back("gone, and not in the bin: " + name);
        else if (read_file(in_bin->second->file) != content)
            problems.push_back("in the bin with other content: " + name);
    }
    return problems;
}

}  // namespace vxtest
