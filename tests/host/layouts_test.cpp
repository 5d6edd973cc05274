// The layout reader: the dialog and its components from a resource file,
// and a clear "file:line: problem" for text that is no layout.
#include <gtest/gtest.h>

#include "host/errors.h"
#include "host/layouts.h"

using namespace vxhost;

TEST(Layouts, ReadsTheDialogItsComponentsAndTheirLabels)
{
    const Layout layout = parse_layout(R"(! a comment (with a paren
(Dialog TimeSave   ! and one after a word
    (Title "Timed \"Save\" \\ 定时保存")
    (InputPanel InputTime (Label "Interval"))
    (CheckButton CBAutoSave)
    (PushButton Commit_OK (Label "")))
)",
                                       "t.res");
    EXPECT_EQ(layout.name, "TimeSave");
    EXPECT_EQ(layout.title, "Timed \"Save\" \\ 定时保存");
    ASSERT_EQ(layout.components.size(), 3u);
    EXPECT_EQ(layout.components[0].kind, ComponentKind::InputPanel);
    EXPECT_EQ(layout.components[0].name, "InputTime");
    EXPECT_EQ(layout.components[0].label, "Interval");
    EXPECT_EQ(layout.components[0].line, 4);
    EXPECT_EQ(layout.components[1].kind, ComponentKind::CheckButton);
    EXPECT_EQ(layout.components[1].label, "");
    EXPECT_EQ(layout.components[2].kind, ComponentKind::PushButton);
    EXPECT_EQ(layout.components[2].name, "Commit_OK");
}

TEST(Layouts, TextThatIsNoLayoutIsRefusedAtItsLine)
{
    struct Case {
        const char* text;
        const char* error;    // "t.res:LINE: ..." begins with this
    };
    const Case cases[] = {
        {"", "t.res:1: no dialog in the layout"},
        {"! only a comment\n", "t.res:2: no dialog in the layout"},
        {"Dialog TimeSave", "t.res:1: a layout begins with (Dialog"},
        {"(Dialog TimeSave\n (PushButton OK)", "t.res:1: the list Dialog is not closed"},
        {"(Dialog TimeSave))", "t.res:1: more after the dialog's closing )"},
        {"(Dialog A)\n(Dialog B)", "t.res:2: more after the dialog's closing )"},
        {"(Window TimeSave)", "t.res:1: a layout is one list that begins with Dialog, not Window"},
        {"(Dialog)", "t.res:1: Dialog takes one word, the dialog's name"},
        {"(Dialog \"TimeSave\")", "t.res:1: Dialog takes one word, the dialog's name"},
        {"(Dialog A B)", "t.res:1: Dialog takes one word, the dialog's name"},
        {"(\"Dialog\" A)", "t.res:1: a list begins with a word"},
        {"(Dialog A\n (Slider S))", "t.res:2: unknown kind Slider (known: Title, InputPanel, CheckButton, PushButton)"},
        {"(Dialog A\n (PushButton OK)\n (CheckButton OK))", "t.res:3: component OK given twice (first at line 2)"},
        {"(Dialog A (PushButton))", "t.res:1: PushButton takes one word, the component's name"},
        {"(Dialog A (PushButton OK (Colour \"red\")))", "t.res:1: PushButton OK has no attribute Colour (it takes Label)"},
        {"(Dialog A (PushButton OK (Label \"a\") (Label \"b\")))", "t.res:1: Label given twice"},
        {"(Dialog A (PushButton OK (Label ok)))", "t.res:1: Label takes one text in double quotes"},
        {"(Dialog A (PushButton OK (Label \"a\" \"b\")))", "t.res:1: Label takes one text in double quotes"},
        {"(Dialog A (Title \"a\") (Title \"b\"))", "t.res:1: Title given twice"},
        {"(Dialog A (PushButton OK) extra)", "t.res:1: a value of Dialog after its nested lists"},
        {"(Dialog A (PushButton OK (Label \"a\" (Label \"b\"))))", "t.res:1: lists nested deeper than a layout goes"},
        {"(Dialog A\n (Title \"cut\n short\"))", "t.res:2: a text without its closing quote on its line"},
        {"(Dialog A (Title \"a\\n\"))", "t.res:1: a text allows only"},
        {"(Dialog A (Title \"a\\", "t.res:1: a text allows only"},
        {"(Dialog A {PushButton OK})", "t.res:1: unexpected character '{'"},
        {"(Dialog A\n\n (PushButton O-K))", "t.res:3: unexpected character '-'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            parse_layout(c.text, "t.res");
            ADD_FAILURE() << "read as a layout";
        } catch (const HostError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.error, 0), 0u) << e.what();
        }
    }
}

// Deep nesting is refused without going deeper: a reader of untrusted files.
TEST(Layouts, DeepNestingIsRefusedEarly)
{
    const std::string deep = "(Dialog A " + std::string(100000, '(');
    EXPECT_THROW(parse_layout(deep, "t.res"), HostError);
}

TEST(Layouts, ALayoutNameGivesItsFileOrNoneWhenItIsNoWord)
{
    EXPECT_EQ(layout_file_name("TimeSave"), "timesave.res");
    EXPECT_EQ(layout_file_name("Change_Work2"), "change_work2.res");
    for (const char* bad : {"", "../TimeSave", "a/b", "a\\b", "time save", "x.res"})
        EXPECT_EQ(layout_file_name(bad), "") << bad;
}
