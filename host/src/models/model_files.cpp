#include "host/model_files.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>
#include <system_error>
#include <tuple>

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

// The integer field `key`; `fallback` when absent, HostError when
// required and absent.
int integer_field(const json& object, const char* key, std::optional<int> fallback = {})
{
    const auto it = object.find(key);
    if (it == object.end()) {
        if (!fallback)
            throw HostError(std::string("no \"") + key + "\"");
        return *fallback;
    }
    // As a double, a whole number of any size compares safely with the bounds.
    if (!it->is_number_integer() || it->get<double>() < INT_MIN || it->get<double>() > INT_MAX)
        throw HostError(std::string("\"") + key + "\" must be a whole number");
    return it->get<int>();
}

// The required field `key`: three finite numbers.
Point point_field(const json& object, const char* key)
{
    const auto it = object.find(key);
    if (it == object.end())
        throw HostError(std::string("no \"") + key + "\"");
    const std::string wanted = std::string("\"") + key + "\" must be three numbers";
    if (!it->is_array() || it->size() != 3)
        throw HostError(wanted);
    Point point{};
    for (std::size_t i = 0; i < 3; ++i) {
        const json& value = (*it)[i];
        if (!value.is_number() || !std::isfinite(value.get<double>()))
            throw HostError(wanted);
        point[i] = value.get<double>();
    }
    return point;
}

const json& object_field(const json& object, const char* key)
{
    const auto it = object.find(key);
    if (it == object.end())
        throw HostError(std::string("no \"") + key + "\"");
    if (!it->is_object())
        throw HostError(std::string("\"") + key + "\" must be an object");
    return *it;
}

// The array field `key`, empty when absent.
json array_field(const json& object, const char* key)
{
    const auto it = object.find(key);
    if (it == object.end())
        return json::array();
    if (!it->is_array())
        throw HostError(std::string("\"") + key + "\" must be an array");
    return *it;
}

DetailItem parse_item(const json& object)
{
    if (!object.is_object())
        throw HostError("an item must be an object");
    DetailItem item;
    item.id = integer_field(object, "id");
    if (item.id < 1)
        throw HostError("an item's \"id\" is a number from 1");
    item.type = integer_field(object, "type");
    if (is_dimension(item.type))
        item.position = point_field(object, "position");
    if (item.type == PRO_SYMBOL_INSTANCE) {
        const json& attachment = object_field(object, "attachment");
        item.attachment.type = integer_field(attachment, "type", 0);
        item.attachment.view = optional_text(attachment, "view", "");
        item.attachment.location = point_field(attachment, "location");
        item.attachment.reference = optional_text(attachment, "reference", "");
    }
    return item;
}

// The sheets of a drawing's file, each item's error naming where it is.
void parse_sheets(const json& object, ModelDocument& document)
{
    const json sheets = array_field(object, "sheets");
    if (document.type != PRO_MDL_DRAWING) {
        if (!sheets.empty())
            throw HostError("only a drawing has \"sheets\"");
        return;
    }
    std::set<int> ids;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const std::string where = "sheet " + std::to_string(i + 1);
        if (!sheets[i].is_object())
            throw HostError(where + " must be an object");
        Sheet sheet;
        const json items = array_field(sheets[i], "items");
        for (std::size_t j = 0; j < items.size(); ++j) {
            try {
                sheet.items.push_back(parse_item(items[j]));
            } catch (const HostError& e) {
                throw HostError(where + ", item " + std::to_string(j + 1) + ": " + e.what());
            }
            if (!ids.insert(sheet.items.back().id).second)
                throw HostError(where + ": two items of id " + std::to_string(sheet.items.back().id));
        }
        document.sheets.push_back(std::move(sheet));
    }
    document.current_sheet = integer_field(object, "current_sheet", 1);
    if (document.current_sheet < 1 || document.current_sheet > sheet_count(document))
        throw HostError("\"current_sheet\" must be a sheet from 1 to " +
                        std::to_string(sheet_count(document)));
}

json format_item(const DetailItem& item)
{
    json object = {{"id", item.id}, {"type", item.type}};
    if (is_dimension(item.type))
        object["position"] = item.position;
    if (item.type == PRO_SYMBOL_INSTANCE) {
        json attachment = {{"type", item.attachment.type}, {"location", item.attachment.location}};
        if (!item.attachment.view.empty())
            attachment["view"] = item.attachment.view;
        if (!item.attachment.reference.empty())
            attachment["reference"] = item.attachment.reference;
        object["attachment"] = attachment;
    }
    return object;
}

double optional_real(const json& object, const char* key, double fallback)
{
    const auto it = object.find(key);
    if (it == object.end())
        return fallback;
    if (!it->is_number())
        throw HostError(std::string("\"") + key + "\" must be a number");
    return it->get<double>();
}

std::array<double, 3> optional_rgb(const json& object, const char* key,
                                   const std::array<double, 3>& fallback)
{
    const auto it = object.find(key);
    if (it == object.end())
        return fallback;
    if (!it->is_array() || it->size() != 3 ||
        !std::all_of(it->begin(), it->end(), [](const json& v) { return v.is_number(); }))
        throw HostError(std::string("\"") + key + "\" must be [red, green, blue]");
    return {(*it)[0].get<double>(), (*it)[1].get<double>(), (*it)[2].get<double>()};
}

// An appearance text: what fits the toolkit's 260-unit buffer.
std::u16string appearance_text(const json& object, const char* key, const std::u16string& fallback)
{
    const auto it = object.find(key);
    if (it == object.end())
        return fallback;
    const std::u16string text = to_utf16(optional_text(object, key, ""));
    if (text.size() >= PRO_PATH_SIZE)
        throw HostError(std::string("\"") + key + "\" must have at most " +
                        std::to_string(PRO_PATH_SIZE - 1) + " UTF-16 units");
    return text;
}

Appearance parse_appearance(const json& object)
{
    if (!object.is_object())
        throw HostError("\"appearance\" must be an object");
    const Appearance d;
    Appearance a;
    a.ambient = optional_real(object, "ambient", d.ambient);
    a.diffuse = optional_real(object, "diffuse", d.diffuse);
    a.highlight = optional_real(object, "highlight", d.highlight);
    a.shininess = optional_real(object, "shininess", d.shininess);
    a.transparency = optional_real(object, "transparency", d.transparency);
    a.color = optional_rgb(object, "color", d.color);
    a.highlight_color = optional_rgb(object, "highlight_color", d.highlight_color);
    a.reflection = optional_real(object, "reflection", d.reflection);
    a.name = appearance_text(object, "name", d.name);
    a.label = appearance_text(object, "label", d.label);
    a.description = appearance_text(object, "description", d.description);
    a.keywords = appearance_text(object, "keywords", d.keywords);
    return a;
}

json format_appearance(const Appearance& a)
{
    return json{{"ambient", a.ambient},
                {"diffuse", a.diffuse},
                {"highlight", a.highlight},
                {"shininess", a.shininess},
                {"transparency", a.transparency},
                {"color", a.color},
                {"highlight_color", a.highlight_color},
                {"reflection", a.reflection},
                {"name", to_utf8(a.name)},
                {"label", to_utf8(a.label)},
                {"description", to_utf8(a.description)},
                {"keywords", to_utf8(a.keywords)}};
}

// "shaft.prt" or "gear.asm": what a component can place.
std::pair<std::string, int> placed_model_name(const std::string& text)
{
    const auto dot = text.rfind('.');
    if (dot != std::string::npos && valid_model_name(to_utf16(text.substr(0, dot)))) {
        const std::u16string extension = to_utf16(text.substr(dot + 1));
        for (int type : {PRO_MDL_PART, PRO_MDL_ASSEMBLY})
            if (equal_nocase(extension, to_utf16(by_type(type)->extension)))
                return {text.substr(0, dot), type};
    }
    throw HostError("a component places name.prt or name.asm, not \"" + text + "\"");
}

ModelFeature parse_feature(const json& object, int owner_type)
{
    if (!object.is_object())
        throw HostError("a feature must be an object");
    if (object.find("type") == object.end())
        throw HostError("a feature has no \"type\"");
    ModelFeature feature;
    feature.type = integer_field(object, "type", 0);
    feature.status = integer_field(object, "status", 0);
    feature.visibility = integer_field(object, "visibility", 1);
    if (feature.type != PRO_FEAT_COMPONENT)
        return feature;
    if (owner_type != PRO_MDL_ASSEMBLY)
        throw HostError("only an assembly has components");
    if (object.find("model") == object.end())
        throw HostError("a component has no \"model\"");
    std::tie(feature.model, feature.model_type) = placed_model_name(optional_text(object, "model", ""));
    return feature;
}

std::vector<ModelFeature> parse_features(const json& object, int owner_type)
{
    std::vector<ModelFeature> features;
    const auto it = object.find("features");
    if (it == object.end())
        return features;
    if (!it->is_array())
        throw HostError("\"features\" must be a list");
    if (owner_type != PRO_MDL_PART && owner_type != PRO_MDL_ASSEMBLY)
        throw HostError("only a part or an assembly has features");
    for (std::size_t i = 0; i < it->size(); ++i) {
        try {
            features.push_back(parse_feature((*it)[i], owner_type));
        } catch (const HostError& e) {
            throw HostError("feature " + std::to_string(i + 1) + ": " + e.what());
        }
    }
    return features;
}

json format_feature(const ModelFeature& feature)
{
    json object = {{"type", feature.type}};
    if (feature.type == PRO_FEAT_COMPONENT)
        object["model"] = feature.model + "." + model_extension(feature.model_type);
    if (feature.status != 0)
        object["status"] = feature.status;
    if (feature.visibility != 1)
        object["visibility"] = feature.visibility;
    return object;
}

}  // namespace

bool is_dimension(int type) { return type == PRO_DIMENSION || type == PRO_REF_DIMENSION; }

int sheet_count(const ModelDocument& document)
{
    return document.sheets.empty() ? 1 : static_cast<int>(document.sheets.size());

}

bool operator==(const Appearance& a, const Appearance& b)
{
    return a.ambient == b.ambient && a.diffuse == b.diffuse && a.highlight == b.highlight &&
           a.shininess == b.shininess && a.transparency == b.transparency && a.color == b.color &&
           a.highlight_color == b.highlight_color && a.reflection == b.reflection &&
           a.name == b.name && a.label == b.label && a.description == b.description &&
           a.keywords == b.keywords;
}

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
    parse_sheets(object, document);
    document.features = parse_features(object, document.type);
    if (const auto it = object.find("appearance"); it != object.end()) {
        if (document.type != PRO_MDL_PART)
            throw HostError("only a part has an \"appearance\"");
        document.appearance = parse_appearance(*it);
    }
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
    if (!document.sheets.empty()) {
        object["current_sheet"] = document.current_sheet;
        json sheets = json::array();
        for (const Sheet& sheet : document.sheets) {
            json items = json::array();
            for (const DetailItem& item : sheet.items)
                items.push_back(format_item(item));
            sheets.push_back({{"items", items}});
        }
        object["sheets"] = sheets;
    }
    if (!document.features.empty()) {
        object["features"] = json::array();
        for (const ModelFeature& feature : document.features)
            object["features"].push_back(format_feature(feature));
    }
    if (document.appearance)
        object["appearance"] = format_appearance(*document.appearance);
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
