#include "host/scenario.h"

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

void print_menu(Context& c, const Args&)
{
    for (const auto& line : c.host.render_menu())
        c.host.note(line);
}

const Step steps[] = {
    {"language", 1, [](Context& c, const Args& a) { c.host.set_language(a[0]); }},
    {"drive", 2, [](Context& c, const Args& a) { c.host.map_drive(drive_letter(a[0]), c.folder / a[1]); }},
    {"workdir", 1, [](Context& c, const Args& a) { c.host.set_working_directory(to_utf16(a[0])); }},
    {"load", 0, [](Context& c, const Args&) { c.host.load(c.protk_dat); }},
    {"unload", 0, [](Context& c, const Args&) { c.host.unload(); }},
    {"menu", 0, print_menu},
    {"open", 3, [](Context& c, const Args& a) { c.host.open_model(a[1], model_type(a[0]), to_utf16(a[2])); }},
    {"close", 0, [](Context& c, const Args&) { c.host.close_all_windows(); }},
    {"availability", 0, print_availability},
    {"tab", 1, [](Context& c, const Args& a) { c.host.switch_tab(a[0]); }},
    {"cd", 1, [](Context& c, const Args& a) { c.host.change_directory(to_utf16(a[0])); }},
    {"pick", 1, [](Context& c, const Args& a) { c.host.pick(a[0]); }},
    {"run", 1, [](Context& c, const Args& a) { c.host.run_action(a[0]); }},
    {"ledger", 0, print_ledger},
    {"journal", 0, print_journal},
    {"errors", 0, print_errors},
};

const Step& find_step(const std::string& name, std::size_t arguments)
{
    for (const Step& step : steps) {
        if (name != step.name)
            continue;
        if (arguments != step.arguments)
            throw HostError(name + " takes " + std::to_string(step.arguments) + " argument(s), not " +
                            std::to_string(arguments));
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
