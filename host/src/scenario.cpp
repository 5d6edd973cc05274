#include "host/scenario.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <ostream>
#include <sstream>

#include "host/errors.h"

namespace vxhost {

namespace {

struct Context {
    Host& host;
    fs::path protk_dat;
    fs::path folder;     // the scenario file's folder
};

using Args = std::vector<std::string>;

struct Step {
    const char* name;
    std::size_t arguments;
    void (*run)(Context& c, const Args& a);
    std::size_t optional = 0;    // arguments that may follow the required ones
};

int model_type(const std::string& word)
{
    if (word == "part")
        return PRO_MDL_PART;
    if (word == "assembly")
        return PRO_MDL_ASSEMBLY;
    if (word == "drawing")
        return PRO_MDL_DRAWING;
    std::size_t used = 0;
    try {
        const int type = std::stoi(word, &used);
        if (used == word.size())
            return type;
    } catch (const std::exception&) {
    }
    throw HostError("model type must be part, assembly, drawing or a number, not " + word);
}

char drive_letter(const std::string& word)
{
    if ((word.size() == 1 || (word.size() == 2 && word[1] == ':')) && std::isalpha(static_cast<unsigned char>(word[0])))
        return word[0];
    throw HostError("not a drive letter: " + word);
}

void print_availability(Context& c, const Args&)
{
    for (const auto& [button, state] : c.host.availabilities())
        c.host.note("  " + button + ": " + (state == ACCESS_AVAILABLE ? "available" : "not available"));
}

void print_ledger(Context& c, const Args&)
{
    const auto outstanding = c.host.outstanding();
    c.host.note("outstanding allocations: " + std::to_string(outstanding.size()));
    for (const auto& a : outstanding)
        c.host.note("  " + std::string(kind_name(a.kind)) + " block#" + std::to_string(a.serial) +
                    " made by " + a.made_by);
    c.host.note("ledger errors: " + std::to_string(c.host.ledger_errors().size()));
    for (const auto& e : c.host.ledger_errors())
        c.host.note("  " + e);
}

void print_journal(Context& c, const Args&)
{
    for (const auto& entry : c.host.journal())
        c.host.note("  " + Journal::render(entry));
}

void print_errors(Context& c, const Args&)
{
    c.host.note("host errors: " + std::to_string(c.host.errors().size()));
    for (const auto& e : c.host.errors())
        c.host.note("  " + e);
}

// The real folder or file of a Windows path on a mapped drive.
fs::path real_path(Context& c, const std::string& windows_path)
{
    const auto real = c.host.real_path(to_utf16(windows_path));
    if (!real)
        throw HostError("not a path of a mapped drive: " + windows_path);
    return *real;
}

// An empty file at a Windows path, folders made as needed: a stored
// version whose content nothing reads.
void touch_file(Context& c, const Args& a)
{
    const fs::path file = real_path(c, a[0]);
    fs::create_directories(file.parent_path());
    if (!std::ofstream(file, std::ios::app | std::ios::binary))
        throw HostError("cannot write " + file.string());
}

// A folder's entries as on disk, by name; subfolders end in "\".
void print_files(Context& c, const Args& a)
{
    const fs::path folder = real_path(c, a[0]);
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw HostError("no such folder: " + a[0]);
    std::vector<std::string> names;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        names.push_back(it->path().filename().string() + (it->is_directory(kind) ? "\\" : ""));
    }
    std::sort(names.begin(), names.end());
    c.host.note("files in " + a[0] + ": " + std::to_string(names.size()));
    for (const auto& name : names)
        c.host.note("  " + name);
}

void print_bin(Context& c, const Args&)
{
    const auto& bin = c.host.recycle_bin();
    c.host.note("recycle bin: " + std::to_string(bin.size()) + " file(s)");
    for (const auto& f : bin)
        c.host.note("  " + to_utf8(f.original) + " -> " + f.file.parent_path().filename().string() +
                    "/" + f.file.filename().string());
}

void print_menu(Context& c, const Args&)
{
    for (const auto& line : c.host.render_menu())
        c.host.note(line);
}

// open TYPE NAME [FOLDER]: the newest stored version in the folder (the
// working directory when none is given) if there is one.
void open_model(Context& c, const Args& a)
{
    c.host.open_model(a[1], model_type(a[0]), a.size() > 2 ? to_utf16(a[2]) : std::u16string());
}

int version_number(const std::string& word)
{
    std::size_t used = 0;
    try {
        const int version = std::stoi(word, &used);
        if (used == word.size() && version >= 1)
            return version;
    } catch (const std::exception&) {
    }
    throw HostError("a version is a number from 1, not " + word);
}

// store TYPE NAME FOLDER VERSIONS: writes stored versions, e.g. 1,2,10.
void store_models(Context& c, const Args& a)
{
    const int type = model_type(a[0]);
    std::istringstream versions(a[3]);
    std::string word;
    while (std::getline(versions, word, ','))
        c.host.store_model(to_utf16(a[2]), a[1], type, version_number(word));
}

// answer OK|Cancel|CODE: the button the user presses in the next message dialog.
void answer_dialog(Context& c, const Args& a)
{
    if (a[0] == "OK")
        return c.host.answer_dialog(PRO_UI_MESSAGE_OK);
    if (a[0] == "Cancel")
        return c.host.answer_dialog(PRO_UI_MESSAGE_CANCEL);
    std::size_t used = 0;
    try {
        const int code = std::stoi(a[0], &used);
        if (used == a[0].size())
            return c.host.answer_dialog(code);
    } catch (const std::exception&) {
    }
    throw HostError("answer takes OK, Cancel or a button code, not " + a[0]);
}

std::string version_text(const Model& m)
{
    return m.version ? " version " + std::to_string(m.version) : " (in session only)";
}

void print_windows(Context& c, const Args&)
{
    const Session& session = c.host.session();
    c.host.note("windows: " + std::to_string(session.windows().size()));
    for (const Window& w : session.windows())
        c.host.note("  window " + std::to_string(w.id) + ": " + model_label(*w.model) +
                    version_text(*w.model) + (w.shown ? "" : ", not drawn yet") +
                    (w.id == session.active() ? ", active" : ""));
}

void print_models(Context& c, const Args&)
{
    const auto& models = c.host.session().models();
    c.host.note("models in session: " + std::to_string(models.size()));
    for (const auto& m : models)
        c.host.note("  " + model_label(*m) + version_text(*m) + " from " + to_utf8(m->folder) +
                    (m->document.note.empty() ? "" : ": " + m->document.note));
}

const Step steps[] = {
    {"language", 1, [](Context& c, const Args& a) { c.host.set_language(a[0]); }},
    {"drive", 2, [](Context& c, const Args& a) { c.host.map_drive(drive_letter(a[0]), c.folder / a[1]); }},
    {"workdir", 1, [](Context& c, const Args& a) { c.host.set_working_directory(to_utf16(a[0])); }},
    {"load", 0, [](Context& c, const Args&) { c.host.load(c.protk_dat); }},
    {"unload", 0, [](Context& c, const Args&) { c.host.unload(); }},
    {"menu", 0, print_menu},
    {"open", 2, open_model, 1},
    {"store", 4, store_models},
    {"close", 0, [](Context& c, const Args&) { c.host.close_all_windows(); }},
    {"availability", 0, print_availability},
    {"tab", 1, [](Context& c, const Args& a) { c.host.switch_tab(a[0]); }},
    {"cd", 1, [](Context& c, const Args& a) { c.host.change_directory(to_utf16(a[0])); }},
    {"pick", 1, [](Context& c, const Args& a) { c.host.pick(a[0]); }},
    {"run", 1, [](Context& c, const Args& a) { c.host.run_action(a[0]); }},
    {"answer", 1, answer_dialog},
    // What the user types at the next prompt for text ("" for Enter
    // alone), or Esc there.
    {"type", 1, [](Context& c, const Args& a) { c.host.type_entry(to_utf16(a[0])); }},
    {"escape", 0, [](Context& c, const Args&) { c.host.abort_entry(); }},
    {"windows", 0, print_windows},
    {"models", 0, print_models},
    {"ledger", 0, print_ledger},
    {"journal", 0, print_journal},
    {"errors", 0, print_errors},
    {"touch", 1, touch_file},
    {"files", 1, print_files},
    {"bin", 0, print_bin},
};

const Step& find_step(const std::string& name, std::size_t arguments)
{
    for (const Step& step : steps) {
        if (name != step.name)
            continue;
        if (arguments < step.arguments || arguments > step.arguments + step.optional)
            throw HostError(name + " takes " + std::to_string(step.arguments) +
                            (step.optional ? " to " + std::to_string(step.arguments + step.optional) : "") +
                            " argument(s), not " + std::to_string(arguments));
        return step;
    }
    throw HostError("unknown step " + name);
}

// Prints what the transcript gained since the last call.
class TranscriptPrinter {
public:
    TranscriptPrinter(const Host& host, std::ostream& out)
        : host_(host), out_(out), printed_(host.transcript().size()) {}

    void flush()
    {
        const auto& lines = host_.transcript();
        for (; printed_ < lines.size(); ++printed_)
            out_ << lines[printed_] << '\n';
        out_.flush();
    }

private:
    const Host& host_;
    std::ostream& out_;
    std::size_t printed_;
};

}  // namespace

std::vector<std::string> split_step(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    bool in_word = false, quoted = false;
    for (char ch : line) {
        if (ch == '"') {
            quoted = !quoted;
            in_word = true;
        } else if (!quoted && (ch == ' ' || ch == '\t' || ch == '\r')) {
            if (in_word)
                words.push_back(word);
            word.clear();
            in_word = false;
        } else {
            word += ch;
            in_word = true;
        }
    }
    if (quoted)
        throw HostError("unterminated quote");
    if (in_word)
        words.push_back(word);
    return words;
}

int run_scenario_text(Host& host, const fs::path& protk_dat, const std::string& text,
                      const fs::path& file, std::ostream& out, std::ostream& err)
{
    Context context{host, protk_dat, file.parent_path()};
    TranscriptPrinter printer(host, out);
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        try {
            const auto words = split_step(line);
            if (words.empty() || words[0][0] == '#')
                continue;
            const Step& step = find_step(words[0], words.size() - 1);
            step.run(context, Args(words.begin() + 1, words.end()));
            printer.flush();
        } catch (const std::exception& e) {
            printer.flush();
            err << file.string() << ":" << number << ": " << e.what() << std::endl;
            return 2;
        }
    }
    return 0;
}

int run_scenario(Host& host, const fs::path& protk_dat, const fs::path& scenario,
                 std::ostream& out, std::ostream& err)
{
    std::ifstream in(scenario, std::ios::binary);
    if (!in) {
        err << scenario.string() << ":0: cannot open the scenario" << std::endl;
        return 2;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return run_scenario_text(host, protk_dat, text.str(), scenario, out, err);
}

}  // namespace vxhost
