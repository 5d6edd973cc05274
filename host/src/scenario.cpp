#include "host/scenario.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>

#include "host/errors.h"
#include "models/drawings.h"

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

// The word as an int when it is one to the letter.
std::optional<int> integer_word(const std::string& word)
{
    std::size_t used = 0;
    try {
        const int value = std::stoi(word, &used);
        if (used == word.size())
            return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

int model_type(const std::string& word)
{
    if (word == "part")
        return PRO_MDL_PART;
    if (word == "assembly")
        return PRO_MDL_ASSEMBLY;
    if (word == "drawing")
        return PRO_MDL_DRAWING;
    if (const auto type = integer_word(word))
        return *type;
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
    if (const auto version = integer_word(word); version && *version >= 1)
        return *version;
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
    if (const auto code = integer_word(a[0]))
        return c.host.answer_dialog(*code);
    throw HostError("answer takes OK, Cancel or a button code, not " + a[0]);
}

std::string version_text(const Model& m)
{
    return m.version ? " version " + std::to_string(m.version) : " (in session only)";
}

std::string window_content(const Window& w)
{
    if (!w.model)
        return "empty";
    return model_label(*w.model) + version_text(*w.model) + (w.model->read_only ? ", read-only" : "") +
           (w.shown ? "" : ", not drawn yet");
}

void print_windows(Context& c, const Args&)
{
    const Session& session = c.host.session();
    c.host.note("windows: " + std::to_string(session.windows().size()));
    for (const Window& w : session.windows())
        c.host.note("  window " + std::to_string(w.id) + ": " + window_content(w) +
                    (w.id == session.active() ? ", active" : ""));
}

// A whole number from `least` to `most`.
int number_from(const std::string& word, int least, int most, const std::string& what)
{
    if (const auto n = integer_word(word); n && *n >= least && *n <= most)
        return *n;
    throw HostError(what + " is a number from " + std::to_string(least) + " to " +
                    std::to_string(most) + ", not " + word);
}

// wait MINUTES: the host idles; the timers that come due tick.
void wait_minutes(Context& c, const Args& a)
{
    const int minutes = number_from(a[0], 0, 7 * 24 * 60, "wait takes minutes, which");
    c.host.note("wait " + a[0] + " min");
    c.host.advance_clock(minutes * 60000LL);
}

void print_timers(Context& c, const Args&)
{
#ifdef _WIN32
    c.host.note("timers: Windows keeps them (the add-in sets real thread timers)");
#else
    const auto& timers = c.host.timers();
    c.host.note("timers: " + std::to_string(timers.size()));
    for (const ThreadTimer& t : timers)
        c.host.note("  timer " + std::to_string(t.id) + ": every " + clock_text(t.period) +
                    ", next at " + clock_text(t.due) + (t.pending ? ", a tick pending" : ""));
#endif
}

void print_models(Context& c, const Args&)
{
    const auto& models = c.host.session().models();
    c.host.note("models in session: " + std::to_string(models.size()));
    for (const auto& m : models)
        c.host.note("  " + model_label(*m) + version_text(*m) + " from " + to_utf8(m->folder) +
                    (m->document.note.empty() ? "" : ": " + m->document.note));
}

double coordinate(const std::string& word)
{
    std::size_t used = 0;
    try {
        const double value = std::stod(word, &used);
        if (used == word.size() && std::isfinite(value))
            return value;
    } catch (const std::exception&) {
    }
    throw HostError("a coordinate must be a number, not " + word);
}

// select ID...: the user selects these items of the current drawing.
void select_items(Context& c, const Args& a)
{
    std::vector<int> ids;
    for (const auto& word : a) {
        const auto id = integer_word(word);
        if (!id)
            throw HostError("an item id must be a whole number, not " + word);
        ids.push_back(*id);
    }
    c.host.select_items(ids);
}

// point X Y Z [left|middle|right]: the point the user picks next.
// point none: the next pick gives no point.
void queue_point(Context& c, const Args& a)
{
    if (a.size() == 1 && a[0] == "none")
        return c.host.queue_failed_pick();
    if (a.size() < 3)
        throw HostError("point takes X Y Z and a button, or none");
    const Point point{coordinate(a[0]), coordinate(a[1]), coordinate(a[2])};
    static const std::pair<const char*, int> buttons[] = {
        {"left", PRO_LEFT_BUTTON}, {"middle", PRO_MIDDLE_BUTTON}, {"right", PRO_RIGHT_BUTTON}};
    const std::string button = a.size() > 3 ? a[3] : "left";
    for (const auto& [name, code] : buttons)
        if (button == name)
            return c.host.queue_pick(point, code);
    throw HostError("the button is left, middle or right, not " + button);
}

// choose LIST [N...]: the items the user will select in a list of the
// next dialog, numbered from 1 as the transcript shows them; none clears.
void choose_items(Context& c, const Args& a)
{
    std::vector<int> items;
    for (std::size_t i = 1; i < a.size(); ++i)
        items.push_back(number_from(a[i], 1, 1 << 30, "an item of a list") - 1);
    c.host.choose_items(a[0], items);
}

// The current drawing's sheets with every detail item and where it is.
void print_items(Context& c, const Args&)
{
    const Model* model = c.host.current_model();
    if (!model || model->type != PRO_MDL_DRAWING)
        throw HostError("items: no drawing is current");
    for (const auto& line : render_sheets(*model))
        c.host.note(line);
}

// The current model's parts and their colours, as the model tree shows them.
void print_colours(Context& c, const Args&)
{
    const auto lines = c.host.render_colours();
    if (lines.empty())
        c.host.note("colours: no model open");
    for (const auto& line : lines)
        c.host.note((&line == &lines.front() ? "colours of " : "") + line);
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
    {"ribbon", 0, [](Context& c, const Args&) { c.host.note("ribbon tab: " + c.host.current_tab()); }},
    {"colours", 0, print_colours},
    {"cd", 1, [](Context& c, const Args& a) { c.host.change_directory(to_utf16(a[0])); }},
    {"pick", 1, [](Context& c, const Args& a) { c.host.pick(a[0]); }},
    {"run", 1, [](Context& c, const Args& a) { c.host.run_action(a[0]); }},
    {"answer", 1, answer_dialog},
    // What the user types at the next prompt for text ("" for Enter
    // alone), or Esc there.
    {"enter", 1, [](Context& c, const Args& a) { c.host.type_entry(to_utf16(a[0])); }},
    {"escape", 0, [](Context& c, const Args&) { c.host.abort_entry(); }},
    {"windows", 0, print_windows},
    {"models", 0, print_models},
    {"ledger", 0, print_ledger},
    {"journal", 0, print_journal},
    {"errors", 0, print_errors},
    {"touch", 1, touch_file},
    {"files", 1, print_files},
    {"bin", 0, print_bin},
    {"select", 0, select_items, 1000},
    {"point", 1, queue_point, 3},
    {"items", 0, print_items},
    // What the user will do in the next dialog of the add-in: written
    // before the pick that opens it, as answer is before a notice.
    {"type", 2, [](Context& c, const Args& a) { c.host.type_text(a[0], to_utf16(a[1])); }},
    {"tick", 1, [](Context& c, const Args& a) { c.host.set_check(a[0], true); }},
    {"untick", 1, [](Context& c, const Args& a) { c.host.set_check(a[0], false); }},
    {"press", 1, [](Context& c, const Args& a) { c.host.press(a[0]); }},
    {"choose", 1, choose_items, 1000},
    {"close-dialog", 0, [](Context& c, const Args&) { c.host.close_dialog(); }},
    {"wait", 1, wait_minutes},
    {"timers", 0, print_timers},
    {"empty", 1, [](Context& c, const Args& a) { c.host.empty_window(number_from(a[0], 1, 1 << 30, "a window")); }},
    {"read-only", 2, [](Context& c, const Args& a) { c.host.set_read_only(a[1], model_type(a[0]), true); }},
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
