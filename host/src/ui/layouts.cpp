#include "host/layouts.h"

#include <cctype>
#include <fstream>
#include <optional>
#include <sstream>

#include "host/errors.h"

namespace vxhost {

namespace {

// The component kinds a layout may name.
struct KindRow {
    const char* word;
    ComponentKind kind;
};

const KindRow kinds[] = {
    {"InputPanel", ComponentKind::InputPanel},
    {"CheckButton", ComponentKind::CheckButton},
    {"PushButton", ComponentKind::PushButton},
};

// Deeper than any layout goes: a dialog, a component, an attribute.
constexpr int kMaxDepth = 3;

bool word_char(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

struct Token {
    enum class Type { Open, Close, Word, Text, End } type = Type::End;
    std::string text;
    int line = 1;
};

class Lexer {
public:
    Lexer(const std::string& text, const fs::path& file) : text_(text), file_(file) {}

    [[noreturn]] void fail(int line, const std::string& problem) const
    {
        throw HostError(file_.string() + ":" + std::to_string(line) + ": " + problem);
    }

    Token next()
    {
        skip_blanks_and_comments();
        Token token;
        token.line = line_;
        if (at_ == text_.size())
            return token;
        const char c = text_[at_];
        if (c == '(' || c == ')') {
            ++at_;
            token.type = c == '(' ? Token::Type::Open : Token::Type::Close;
        } else if (c == '"') {
            token.type = Token::Type::Text;
            token.text = quoted();
        } else if (word_char(c)) {
            token.type = Token::Type::Word;
            while (at_ < text_.size() && word_char(text_[at_]))
                token.text += text_[at_++];
        } else {
            fail(line_, std::string("unexpected character '") + c + "'");
        }
        return token;
    }

private:
    void skip_blanks_and_comments()
    {
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '\n') {
                ++line_;
                ++at_;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++at_;
            } else if (c == '!') {
                while (at_ < text_.size() && text_[at_] != '\n')
                    ++at_;
            } else {
                return;
            }
        }
    }

    std::string quoted()
    {
        const int start = line_;
        std::string text;
        for (++at_; at_ < text_.size(); ++at_) {
            const char c = text_[at_];
            if (c == '"') {
                ++at_;
                return text;
            }
            if (c == '\n')
                break;
            if (c == '\\') {
                const char escaped = at_ + 1 < text_.size() ? text_[at_ + 1] : '\0';
                if (escaped != '"' && escaped != '\\')
                    fail(line_, "a text allows only \\\" and \\\\ after a backslash");
                text += escaped;
                ++at_;
                continue;
            }
            text += c;
        }
        fail(start, "a text without its closing quote on its line");
    }

    const std::string& text_;
    const fs::path& file_;
    std::size_t at_ = 0;
    int line_ = 1;
};

// (head value ... (child) ...): values first, then the nested lists.
struct Node {
    std::string head;
    int line = 0;
    std::vector<Token> values;
    std::vector<Node> children;
};

Node parse_node(Lexer& lexer, const Token& open, int depth)
{
    if (depth > kMaxDepth)
        lexer.fail(open.line, "lists nested deeper than a layout goes");
    Node node;
    node.line = open.line;
    const Token head = lexer.next();
    if (head.type != Token::Type::Word)
        lexer.fail(head.line, "a list begins with a word");
    node.head = head.text;
    for (Token t = lexer.next();; t = lexer.next()) {
        switch (t.type) {
        case Token::Type::Close:
            return node;
        case Token::Type::Open:
            node.children.push_back(parse_node(lexer, t, depth + 1));
            break;
        case Token::Type::Word:
        case Token::Type::Text:
            if (!node.children.empty())
                lexer.fail(t.line, "a value of " + node.head + " after its nested lists");
            node.values.push_back(t);
            break;
        case Token::Type::End:
            lexer.fail(open.line, "the list " + node.head + " is not closed");
        }
    }
}

// The one value of a list that must have exactly one, of the given type.
const Token& only_value(const Lexer& lexer, const Node& node, Token::Type type, const char* what)
{
    if (node.values.size() != 1 || node.values[0].type != type)
        lexer.fail(node.line, node.head + " takes " + what);
    return node.values[0];
}

// (Label "text") and the like: one text, nothing nested, given once.
void read_attribute(const Lexer& lexer, const Node& node, const char* name, std::string& value,
                    bool& given)
{
    if (given)
        lexer.fail(node.line, std::string(name) + " given twice");
    if (!node.children.empty())
        lexer.fail(node.children[0].line, std::string(name) + " holds no lists");
    value = only_value(lexer, node, Token::Type::Text, "one text in double quotes").text;
    given = true;
}

std::optional<ComponentKind> kind_of(const std::string& word)
{
    for (const KindRow& row : kinds)
        if (word == row.word)
            return row.kind;
    return std::nullopt;
}

std::string known_kinds()
{
    std::string list = "Title";
    for (const KindRow& row : kinds)
        list += std::string(", ") + row.word;
    return list;
}

LayoutComponent read_component(const Lexer& lexer, const Node& node, ComponentKind kind)
{
    LayoutComponent component;
    component.kind = kind;
    component.line = node.line;
    component.name = only_value(lexer, node, Token::Type::Word, "one word, the component's name").text;
    bool labelled = false;
    for (const Node& child : node.children) {
        if (child.head != "Label")
            lexer.fail(child.line, node.head + " " + component.name + " has no attribute " +
                                       child.head + " (it takes Label)");
        read_attribute(lexer, child, "Label", component.label, labelled);
    }
    return component;
}

Layout read_dialog(const Lexer& lexer, const Node& dialog)
{
    if (dialog.head != "Dialog")
        lexer.fail(dialog.line, "a layout is one list that begins with Dialog, not " + dialog.head);
    Layout layout;
    layout.name = only_value(lexer, dialog, Token::Type::Word, "one word, the dialog's name").text;
    bool titled = false;
    for (const Node& child : dialog.children) {
        if (child.head == "Title") {
            read_attribute(lexer, child, "Title", layout.title, titled);
            continue;
        }
        const auto kind = kind_of(child.head);
        if (!kind)
            lexer.fail(child.line, "unknown kind " + child.head + " (known: " + known_kinds() + ")");
        LayoutComponent component = read_component(lexer, child, *kind);
        for (const LayoutComponent& earlier : layout.components)
            if (earlier.name == component.name)
                lexer.fail(child.line, "component " + component.name + " given twice (first at line " +
                                           std::to_string(earlier.line) + ")");
        layout.components.push_back(std::move(component));
    }
    return layout;
}

}  // namespace

const char* component_kind_name(ComponentKind kind)
{
    for (const KindRow& row : kinds)
        if (row.kind == kind)
            return row.word;
    return "?";
}

Layout parse_layout(const std::string& text, const fs::path& file)
{
    Lexer lexer(text, file);
    const Token open = lexer.next();
    if (open.type != Token::Type::Open)
        lexer.fail(open.line, open.type == Token::Type::End ? "no dialog in the layout"
                                                            : "a layout begins with (Dialog");
    const Node dialog = parse_node(lexer, open, 1);
    const Token after = lexer.next();
    if (after.type != Token::Type::End)
        lexer.fail(after.line, "more after the dialog's closing )");
    return read_dialog(lexer, dialog);
}

Layout read_layout(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw HostError(file.string() + ":0: cannot open the layout");
    std::ostringstream text;
    text << in.rdbuf();
    return parse_layout(text.str(), file);
}

std::string layout_file_name(const std::string& layout)
{
    if (layout.empty())
        return {};
    std::string name;
    for (char c : layout) {
        if (!word_char(c))
            return {};
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name + ".res";
}

}  // namespace vxhost
