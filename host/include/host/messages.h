// Message files: the add-in's labels, help texts and messages.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace vxhost {

namespace fs = std::filesystem;

// UTF-8 text in groups of four lines: key; text; translation or "#"; "#".
// Blank lines between groups are skipped and CRLF endings accepted.
class MessageFile {
public:
    struct Entry {
        std::string text;         // the text as shown: the translation if any
        int line = 0;             // line of the key
    };

    // Throws HostError "file:line: problem" for a malformed group, a key
    // given twice or a file that cannot be read.
    static MessageFile parse(const fs::path& file);
    static MessageFile parse_text(const std::string& text, const fs::path& file);

    const Entry* find(const std::string& key) const;
    std::size_t size() const { return entries_.size(); }
    const fs::path& file() const { return file_; }

private:
    fs::path file_;
    std::map<std::string, Entry> entries_;
};

// Parsed message files, each read once per path.
class MessageCache {
public:
    const MessageFile& get(const fs::path& file);
    void clear() { files_.clear(); }

private:
    std::map<fs::path, MessageFile> files_;
};

}  // namespace vxhost
