#include "host/model_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <system_error>

#include "host/errors.h"
#include "host/text.h"
#include "toolkit.h"

namespace vxhost {

namespace {

using nlohmann::json;

// A model file is a few lines; anything far bigger is not one.
constexpr std::uintmax_t max_file_bytes = 1 << 20;

struct TypeWord {
    int type;
    const char* word;        // in the file's "type"
    const char* extension;   // of the file's name
};

const TypeWord type_words[] = {
    {PRO_MDL_PART, "part", "prt"},
    {PRO_MDL_ASSEMBLY, "assembly", "asm"},
    {PRO_MDL_DRAWING, "drawing", "drw"},
};

const TypeWord* by_type(int type)
{
    for (const TypeWord& t : type_words)
        if (t.type == type)
            return &t;
    return nullptr;
}

bool all_digits(const std::u16string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// The optional string field `key`, or `fallback` when absent.
std::string optional_text(const json& object, const char* key, std::string fallback)
{
    const auto it = object.find(key);
    if (it == object.end())
        return fallback;
    if (!it->is_string())
        throw HostError(std::string("\"") + key + "\" must be a string");
    return it->get<std::string>();
}

}  // namespace

std::string model_extension(int type)
{
    const TypeWord* t = by_type(type);
    return t ? t->extension : "";
}

bool valid_model_name(const std::u16string& name)
{
    if (name.empty() || name.size() >= PRO_NAME_SIZE)
        return false;
    static const std::u16string forbidden = u"\\/:*?\"<>|";
    return std::none_of(name.begin(), name.end(), [](char16_t c) {
        return c < 0x20 || forbidden.find(c) != std::u16string::npos;
    });
}

std::optional<ModelFileName> parse_model_file_name(const fs::path& file_name)
{
    const std::u16string text = file_name.filename().u16string();
    const auto last = text.rfind(u'.');
    if (last == std::u16string::npos || last == 0)
        return std::nullopt;
    const auto dot = text.rfind(u'.', last - 1);
    if (dot == std::u16string::npos)
        return std::nullopt;
    const std::u16string version = text.substr(last + 1);
    const std::u16string extension = text.substr(dot + 1, last - dot - 1);
    const std::u16string name = text.substr(0, dot);
    if (!all_digits(version) || version.size() > 9 || !valid_model_name(name))
        return std::nullopt;
    for (const TypeWord& t : type_words)
        if (equal_nocase(extension, to_utf16(t.extension)))
            return ModelFileName{to_utf8(name), t.type, std::stoi(to_utf8(version))};
    return std::nullopt;
}

fs::path model_file_name(const std::string& name, int type, int version)
{
    return fs::path(to_utf16(name + "." + model_extension(type) + "." + std::to_string(version)));
}

std::vector<StoredVersion> stored_versions(const fs::path& folder, const std::string& name,
                                           int type)
{
    std::vector<StoredVersion> found;
    const std::u16string wanted = to_utf16(name);
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code file_ec;
        if (!it->is_regular_file(file_ec))
            continue;
        std::optional<ModelFileName> id;
        try {
            id = parse_model_file_name(it->path());
        } catch (const std::exception&) {
            continue;   // a name not in the file system's encoding: no model's
        }
        if (id && id->type == type && equal_nocase(to_utf16(id->name), wanted))
            found.push_back(StoredVersion{it->path(), *id});
    }
    // Directory order is the file system's: sort, and break a tie of
    // versions (names differing only in case) by file name.
    std::sort(found.begin(), found.end(), [](const StoredVersion& a, const StoredVersion& b) {
        if (a.id.version != b.id.version)
            return a.id.version < b.id.version;
        return a.file.filename() < b.file.filename();
    });
    return found;
}

std::optional<StoredVersion> newest_version(const fs::path& folder, const std::string& name,
                                            int type)
{
    auto versions = stored_versions(folder, name, type);
    if (versions.empty())
        return std::nullopt;
    return versions.back();
}

ModelDocument parse_model_document(const std::string& text)
{
    json object;
    try {
        object = json::parse(text);
    } catch (const json::exception& e) {
        // Not only malformed text: a number beyond a double, say, fails too.
        throw HostError(std::string("not JSON the host can read: ") + e.what());
    }
    if (!object.is_object())
        throw HostError("not a JSON object");
    const auto type = object.find("type");
    if (type == object.end())
        throw HostError("no \"type\"");
    if (!type->is_string())
        throw HostError("\"type\" must be a string");
    ModelDocument document;
    const std::string word = type->get<std::string>();
    for (const TypeWord& t : type_words)
        if (word == t.word)
            document.type = t.type;
    if (document.type == 0)
        throw HostError("\"type\" must be part, assembly or drawing, not \"" + word + "\"");
    document.note = optional_text(object, "note", "");
    return document;
}

std::string format_model_document(const ModelDocument& document)
{
    const TypeWord* t = by_type(document.type);
    if (!t)
        throw HostError("no model file for type " + std::to_string(document.type));
    json object = {{"type", t->word}};
    if (!document.note.empty())
        object["note"] = document.note;
    return object.dump(2) + "\n";
}

ModelDocument read_model_file(const fs::path& file)
{
    const std::string where = to_utf8(file.u16string()) + ": ";
    std::error_code ec;
    const auto bytes = fs::file_size(file, ec);
    if (ec)
        throw HostError(where + "cannot be read: " + ec.message());
    if (bytes > max_file_bytes)
        throw HostError(where + "larger than " + std::to_string(max_file_bytes) + " bytes");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw HostError(where + "cannot be opened");
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ModelDocument document;
    try {
        document = parse_model_document(text);
    } catch (const std::exception& e) {
        // Whatever the reader met, the file is unreadable, and named.
        throw HostError(where + e.what());
    }
    const auto id = parse_model_file_name(file);
    if (id && id->type != document.type)
        throw HostError(where + "holds a " + by_type(document.type)->word + ", not a " +
                        by_type(id->type)->word);
    return document;
}

void write_model_file(const fs::path& file, const ModelDocument& document)
{
    const std::string where = to_utf8(file.u16string()) + ": ";
    const std::string text = format_model_document(document);
    std::error_code ec;
    if (fs::exists(file, ec))
        throw HostError(where + "already exists");
    if (!file.parent_path().empty()) {
        fs::create_directories(file.parent_path(), ec);
        if (ec)
            throw HostError(where + "cannot make its folder: " + ec.message());
    }
    std::ofstream out(file, std::ios::binary);
    out << text;
    out.close();
    if (!out)
        throw HostError(where + "cannot be written");
}

}  // namespace vxhost
