// Models stored on disk. Every saved version of a model is a file of its
// own, named the host's way: bracket.prt.3 is version 3 of the part
// "bracket", pump.asm.1 an assembly, bracket.drw.2 a drawing; the highest
// number is the newest. A file holds one JSON object:
//
//     {"type": "drawing", "note": "bracket, sheet 1 of 1"}
//
// A drawing's file may list its sheets and their detail items:
//
//     "current_sheet": 1,
//     "sheets": [{"items": [
//         {"id": 1, "type": 8, "position": [10, 20, 0]},
//         {"id": 2, "type": 76, "attachment": {"type": 0, "view": "FRONT",
//                                              "location": [50, 60, 0],
//                                              "reference": "edge 7"}},
//         {"id": 3, "type": 12}]}]
//
// "type" ("part", "assembly" or "drawing") is required and must agree with
// the file's extension; every other field is optional and a field the host
// does not know is ignored, so that files can grow (an assembly's
// components, a part's appearance, a drawing's sheets) without breaking
// older ones.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vxhost {

namespace fs = std::filesystem;

// "prt", "asm", "drw"; empty for a type that has no files.
std::string model_extension(int type);

// A model's name as the host accepts it: 1 to 31 UTF-16 units, none of
// them a control character or one of \ / : * ? " < > |.
bool valid_model_name(const std::u16string& name);

// A stored version's file name taken apart: bracket.prt.3 is
// {"bracket", PRO_MDL_PART, 3}. Name and extension keep their spelling on
// disk; the extension is recognised in any letter case.
struct ModelFileName {
    std::string name;   // UTF-8
    int type = 0;
    int version = 0;
};

// Empty for anything but name.ext.N with a valid name, a known extension
// and N of 1 to 9 digits.
std::optional<ModelFileName> parse_model_file_name(const fs::path& file_name);
fs::path model_file_name(const std::string& name, int type, int version);

struct StoredVersion {
    fs::path file;
    ModelFileName id;
};

// The stored versions of one model in a folder, oldest first; the name is
// compared ignoring case, as Windows does. Folders and files of other
// names are passed over; a missing folder has no versions.
std::vector<StoredVersion> stored_versions(const fs::path& folder, const std::string& name,
                                           int type);
std::optional<StoredVersion> newest_version(const fs::path& folder, const std::string& name,
                                            int type);

// A point on a drawing sheet: x, y, z.
using Point = std::array<double, 3>;

// Where a detail symbol instance is placed: its attachment's type (a
// number the host does not interpret), the view it lies in, its location
// and what it is attached to. The stand-in knows a view and a reference
// only by their names; empty for none.
struct Attachment {
    int type = 0;
    std::string view;
    Point location{};
    std::string reference;
};

// A detail item on a drawing sheet, known by its id (unique within its
// drawing) and its item type. A dimension (PRO_DIMENSION or
// PRO_REF_DIMENSION) sits at `position`; a symbol instance
// (PRO_SYMBOL_INSTANCE) is placed by `attachment`; of an item of any other
// type the host keeps only id and type.
struct DetailItem {
    int id = 0;
    int type = 0;
    Point position{};
    Attachment attachment;
};

// PRO_DIMENSION or PRO_REF_DIMENSION: an item with a position.
bool is_dimension(int type);

struct Sheet {
    std::vector<DetailItem> items;
};

// A feature of a part or an assembly, as the file lists it:
//
//     {"type": 1000, "model": "shaft.prt", "status": 5, "visibility": 0}
//
// "type" is the feature type's number; 1000 is an assembly component,
// which places the model that "model" names, a part or a sub-assembly
// (name.prt or name.asm, found beside the assembly or in the working
// directory). "status" (5: suppressed) and "visibility" (1: visible) are
// optional, 0 and 1 when absent. A feature's id is its place in the list,
// from 1.
struct ModelFeature {
    int type = 0;
    int status = 0;
    int visibility = 1;
    std::string model;      // a component's placed model, without extension
    int model_type = 0;     // PRO_MDL_PART or PRO_MDL_ASSEMBLY; 0 for other features
};

// A part's surface appearance: every field of the toolkit's record, the
// texts as UTF-16 of at most 259 units. In the file, "appearance" holds
// an object of these fields (colours as [red, green, blue]); a field left
// out has the value of the host's default appearance.
struct Appearance {
    double ambient = 0.6;
    double diffuse = 0.8;
    double highlight = 0.4;
    double shininess = 0.5;
    double transparency = 0.0;
    std::array<double, 3> color{0.75, 0.75, 0.75};
    std::array<double, 3> highlight_color{1.0, 1.0, 1.0};
    double reflection = 0.0;
    std::u16string name = u"default";
    std::u16string label;
    std::u16string description;
    std::u16string keywords;
};
bool operator==(const Appearance& a, const Appearance& b);

// What a model file says.
struct ModelDocument {
    ModelDocument() = default;
    ModelDocument(int type, std::string note) : type(type), note(std::move(note)) {}

    int type = 0;          // a ProMdlType
    std::string note;      // free text about this version; optional
    std::vector<ModelFeature> features;     // in model-tree order
    std::optional<Appearance> appearance;   // a part's own; none: the default one
    // A drawing's sheets, numbered from 1, and the current one. A drawing
    // whose file lists none has one empty sheet.
    std::vector<Sheet> sheets;
    int current_sheet = 1;
};

// The sheets a drawing has: never fewer than one.
int sheet_count(const ModelDocument& document);

// Parses the text of a model file; HostError saying what is wrong.
ModelDocument parse_model_document(const std::string& text);
std::string format_model_document(const ModelDocument& document);

// Reads a stored version. HostError, naming the file, for one that cannot
// be read, is larger than the host accepts, is malformed, or whose type is
// not the one its extension names.
ModelDocument read_model_file(const fs::path& file);

// Writes a stored version, making its folder if needed. HostError for a
// file that already exists (nothing is overwritten) or cannot be written.
void write_model_file(const fs::path& file, const ModelDocument& document);

}  // namespace vxhost
