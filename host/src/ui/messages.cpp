#include "host/messages.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "host/errors.h"

namespace vxhost {

namespace {

std::vector<std::string> split_lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool blank(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

std::string strip_bom(const std::string& text)
{
    return text.rfind("\xEF\xBB\xBF", 0) == 0 ? text.substr(3) : text;
}

}  // namespace

MessageFile MessageFile::parse_text(const std::string& text, const fs::path& file)
{
    MessageFile result;
    result.file_ = file;
    const auto lines = split_lines(strip_bom(text));
    auto fail = [&](std::size_t index, const std::string& message) {
        throw HostError(file.string() + ":" + std::to_string(index + 1) + ": " + message);
    };
    std::size_t i = 0;
    while (i < lines.size()) {
        if (blank(lines[i])) {
            ++i;
            continue;
        }
        if (i + 4 > lines.size())
            fail(i, "message group '" + lines[i] + "' is cut short: four lines are needed");
        const std::string& key = lines[i];
        if (lines[i + 3] != "#")
            fail(i + 3, "the fourth line of message group '" + key + "' must be #");
        const std::string& shown = lines[i + 2] == "#" ? lines[i + 1] : lines[i + 2];
        const auto [at, added] = result.entries_.emplace(key, Entry{shown, static_cast<int>(i + 1)});
        if (!added)
            fail(i, "key '" + key + "' already given at line " + std::to_string(at->second.line));
        i += 4;
    }
    return result;
}

MessageFile MessageFile::parse(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw HostError(file.string() + ":0: cannot open the message file");
    std::ostringstream text;
    text << in.rdbuf();
    return parse_text(text.str(), file);
}

const MessageFile::Entry* MessageFile::find(const std::string& key) const
{
    const auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : &it->second;
}

const MessageFile& MessageCache::get(const fs::path& file)
{
    auto it = files_.find(file);
    if (it == files_.end())
        it = files_.emplace(file, MessageFile::parse(file)).first;
    return it->second;
}

}  // namespace vxhost
