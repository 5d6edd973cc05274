#include "host/registration.h"

#include <fstream>
#include <set>
#include <sstream>

#include "host/errors.h"
#include "host/text.h"

namespace vxhost {

namespace {

class Parser {
public:
    explicit Parser(const fs::path& file) : file_(file) { reg_.file = file; }

    void line(const std::string& raw, int number)
    {
        const std::string text = trim(raw);
        if (text.empty() || text[0] == '!' || text[0] == '#')
            return;
        if (ended_)
            fail(number, "text after END");
        const auto space = text.find_first_of(" \t");
        const std::string keyword = upper_ascii(text.substr(0, space));
        const std::string value = space == std::string::npos ? "" : unquote(trim(text.substr(space)));
        if (keyword == "END") {
            ended_ = true;
            end_line_ = number;
            return;
        }
        if (!seen_.insert(keyword).second)
            fail(number, keyword + " given twice");
        if (value.empty())
            fail(number, keyword + " has no value");
        assign(keyword, value, number);
    }

    Registration finish(int last_line)
    {
        const int where = ended_ ? end_line_ : last_line;
        if (!ended_)
            fail(where, "END missing");
        for (const char* required : {"NAME", "EXEC_FILE", "TEXT_DIR"})
            if (!seen_.count(required))
                fail(where, std::string(required) + " missing");
        return reg_;
    }

private:
    void assign(const std::string& keyword, const std::string& value, int number)
    {
        if (keyword == "NAME")
            reg_.name = value;
        else if (keyword == "STARTUP")
            startup(value, number);
        else if (keyword == "EXEC_FILE")
            reg_.exec_file = absolute(value);
        else if (keyword == "TEXT_DIR")
            reg_.text_dir = absolute(value);
        else if (keyword == "ALLOW_STOP")
            reg_.allow_stop = value;
        else if (keyword == "DELAY_START")
            reg_.delay_start = value;
        else if (keyword == "REVISION")
            reg_.revision = value;
        else
            fail(number, "unknown keyword " + keyword);
    }

    void startup(const std::string& value, int number)
    {
        if (upper_ascii(value) != "DLL")
            fail(number, "STARTUP must be dll, not " + value);
        reg_.startup = "dll";
    }

    fs::path absolute(const std::string& value) const
    {
        const fs::path path(value);
        return path.is_absolute() ? path : (file_.parent_path() / path).lexically_normal();
    }

    static std::string unquote(const std::string& value)
    {
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            return value.substr(1, value.size() - 2);
        return value;
    }

    [[noreturn]] void fail(int number, const std::string& message) const
    {
        throw HostError(file_.string() + ":" + std::to_string(number) + ": " + message);
    }

    fs::path file_;
    Registration reg_;
    std::set<std::string> seen_;
    bool ended_ = false;
    int end_line_ = 0;
};

}  // namespace

Registration parse_registration_text(const std::string& text, const fs::path& file)
{
    Parser parser(file);
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line))
        parser.line(line, ++number);
    return parser.finish(number);
}

Registration parse_registration(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw HostError(file.string() + ":0: cannot open the registration file");
    std::ostringstream text;
    text << in.rdbuf();
    return parse_registration_text(text.str(), fs::absolute(file));
}

}  // namespace vxhost
