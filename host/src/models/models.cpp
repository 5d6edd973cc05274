// Models read from and stored to their files, for the add-in's calls and
// for the user's own steps.
#include "models.h"

#include <system_error>

#include "host/errors.h"
#include "host/model_files.h"
#include "host/text.h"

namespace vxhost {

namespace {

// The folder's real path and its Windows text ending in a separator;
// empty when no mapped drive holds it.
struct Folder {
    fs::path real;
    std::u16string text;
};

std::optional<Folder> resolve_folder(const HostState& s, const std::u16string& folder)
{
    const auto parsed = parse_windows_path(folder, s.working_directory());
    if (!parsed)
        return std::nullopt;
    const auto real = s.drives.to_real(*parsed);
    if (!real)
        return std::nullopt;
    return Folder{*real, parsed->folder_text()};
}

Model stored_model(const StoredVersion& stored, const std::u16string& folder)
{
    const ModelDocument document = read_model_file(stored.file);
    Model model;
    model.name = stored.id.name;
    model.type = stored.id.type;
    model.folder = folder;
    model.version = stored.id.version;
    model.document = document;
    return model;
}

// Writes a stored version and keeps what the command knows of folders
// true: a listed folder gains the file; a folder the write had to make, or
// a write that failed half-way, is a change beyond what the listings
// follow, so they are all forgotten.
void write_version(HostState& s, const fs::path& file, const ModelDocument& document)
{
    std::error_code ec;
    const bool folder_there = fs::is_directory(file.parent_path(), ec);
    try {
        write_model_file(file, document);
    } catch (const HostError&) {
        s.folders.clear();
        throw;
    }
    if (!folder_there)
        s.folders.clear();
    else if (FolderListing* listing = s.folders.listing_of(fs::canonical(file.parent_path(), ec)))
        listing->add(file.filename().u16string(), FolderEntry::Kind::File);
}

std::string version_suffix(const Model& model)
{
    return model.version ? " (version " + std::to_string(model.version) + ")" : "";
}

}  // namespace

ProError retrieve_model(HostState& s, const std::string& name, int type,
                        const std::u16string& folder, Model** model)
{
    if (Model* in_session = s.session.find(name, type)) {
        *model = in_session;
        return PRO_TK_NO_ERROR;
    }
    const std::string wanted = name + "." + model_extension(type);
    const auto where = resolve_folder(s, folder);
    const auto stored = where ? newest_version(where->real, name, type) : std::nullopt;
    if (!stored) {
        s.note("no " + wanted + " in " + to_utf8(where ? where->text : folder));
        return PRO_TK_E_NOT_FOUND;
    }
    try {
        Model& added = s.session.add(stored_model(*stored, where->text));
        s.note("retrieved " + to_utf8(stored->file.filename().u16string()) + " from " +
               to_utf8(where->text));
        *model = &added;
        return PRO_TK_NO_ERROR;
    } catch (const HostError& e) {
        s.error(e.what());
        s.note("cannot retrieve " + wanted + ": " + to_utf8(stored->file.filename().u16string()) +
               " is unreadable");
        return PRO_TK_INVALID_FILE;
    }
}

ProError save_model(HostState& s, Model& model)
{
    if (model_extension(model.type).empty())
        return PRO_TK_BAD_INPUTS;
    if (model.read_only) {
        s.error("cannot save " + model_label(model) + ": it is read-only");
        return PRO_TK_GENERAL_ERROR;
    }
    const auto where = resolve_folder(s, model.folder);
    if (!where) {
        s.error("cannot save " + model_label(model) + ": its folder " + to_utf8(model.folder) +
                " is on no mapped drive");
        return PRO_TK_INVALID_DIR;
    }
    const auto newest = newest_version(where->real, model.name, model.type);
    const int version = newest ? newest->id.version + 1 : 1;
    const fs::path file = where->real / model_file_name(model.name, model.type, version);
    ModelDocument document = model.document;
    document.type = model.type;
    try {
        write_version(s, file, document);
    } catch (const HostError& e) {
        s.error(e.what());
        return PRO_TK_GENERAL_ERROR;
    }
    model.version = version;
    model.folder = where->text;
    s.note("saved " + to_utf8(file.filename().u16string()) + " in " + to_utf8(where->text));
    return PRO_TK_NO_ERROR;
}

ProError rename_model(HostState& s, Model& model, const std::u16string& name)
{
    const std::string former = model_label(model);
    const std::string wanted = to_utf8(name);
    const auto refuse = [&](ProError status, const std::string& why) {
        s.note("rename " + former + " to \"" + wanted + "\": refused, " + why);
        return status;
    };
    if (model_extension(model.type).empty())
        return refuse(PRO_TK_BAD_INPUTS, "a model of its type has no files");
    if (!valid_model_name(name))
        return refuse(PRO_TK_INVALID_NAME, "not a model name");
    if (s.session.find(wanted, model.type))
        return refuse(PRO_TK_E_FOUND, "a model of that name is in session");
    const auto where = resolve_folder(s, model.folder);
    if (const auto stored = where ? newest_version(where->real, wanted, model.type) : std::nullopt)
        return refuse(PRO_TK_E_FOUND, to_utf8(stored->file.filename().u16string()) + " lies in " +
                                          to_utf8(where->text));
    s.session.rename(model, wanted);
    model.version = 0;   // no stored version bears the new name yet
    s.note("renamed " + former + " to " + model_label(model) + " in session");
    return PRO_TK_NO_ERROR;
}

ProMdl Host::open_model(const std::string& name, int type, const std::u16string& folder)
{
    HostState& s = *state_;
    const std::u16string given = folder.empty() ? s.working_directory() : folder;
    const auto where = resolve_folder(s, given);
    const auto stored = where ? newest_version(where->real, name, type) : std::nullopt;
    ProMdl handle = nullptr;
    if (stored) {
        handle = s.session.open(stored_model(*stored, where->text));
    } else {
        handle = s.session.open(name, type, given);
    }
    const Model& model = *s.session.find(handle);
    const std::string type_text = model_type_text(type);
    note("open " + model.name + " " + (type_text.empty() ? std::to_string(type) : type_text) +
         " in " + to_utf8(model.folder) + version_suffix(model));
    return handle;
}

void Host::empty_window(int window)
{
    if (!state_->session.empty_window(window))
        throw HostError("no window " + std::to_string(window));
    note("window " + std::to_string(window) + " emptied");
}

void Host::set_read_only(const std::string& name, int type, bool read_only)
{
    Model* model = state_->session.find(name, type);
    if (!model)
        throw HostError("no model " + name + " of type " + std::to_string(type) + " in session");
    model->read_only = read_only;
    note(model_label(*model) + (read_only ? " is read-only" : " may be saved"));
}

fs::path Host::store_model(const std::u16string& folder, const std::string& name, int type,
                           int version, const std::string& note_text)
{
    HostState& s = *state_;
    if (!valid_model_name(to_utf16(name)))
        throw HostError("not a model name: " + name);
    if (model_extension(type).empty())
        throw HostError("no model files of type " + std::to_string(type));
    if (version < 1)
        throw HostError("a version is a number from 1: " + std::to_string(version));
    const auto where = resolve_folder(s, folder.empty() ? s.working_directory() : folder);
    if (!where)
        throw HostError("not a folder of a mapped drive: " + to_utf8(folder));
    const fs::path file = where->real / model_file_name(name, type, version);
    write_version(s, file, ModelDocument{type, note_text});
    note("stored " + to_utf8(file.filename().u16string()) + " in " + to_utf8(where->text));
    return file;
}

}  // namespace vxhost
