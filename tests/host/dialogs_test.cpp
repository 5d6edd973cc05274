// The dialog cycle as the add-in reaches it: built from a layout in the
// resource folder of its text folder, bound, run modally while the user
// acts, ended by a bound function, destroyed.
#include <gtest/gtest.h>

#include <functional>

#include "fixtures.h"
#include "host/host.h"

using namespace vxhost;

namespace {

using CreateFn = ProError (*)(const char* folder, const char* dialog, const char* layout);

const char* const kLayout = R"((Dialog Probe
    (InputPanel Text (Label "Text"))
    (CheckButton Box)
    (List Items)
    (PushButton OK)
    (PushButton Other)))";

// What a push button runs: the test's own function, reached through the
// data the binding carried.
void run_bound(char* dialog, char* component, ProAppData data)
{
    (*static_cast<std::function<void(const std::string&, const std::string&)>*>(data))(dialog, component);
}

}  // namespace

class DialogCycle : public ::testing::Test {
protected:
    DialogCycle()
    {
        dir.write("resource/probe.res", kLayout);
        folder = dir.path().string();
    }

    template <class Fn>
    Fn call(const char* name) const
    {
        return host.entry<Fn>(name);
    }

    ProError create(const char* dialog = "Probe", const char* layout = "Probe")
    {
        return call<CreateFn>("ProUIDialogCreate")(folder.c_str(), dialog, layout);
    }

    ProError bind(const char* button, std::function<void(const std::string&, const std::string&)>& fn)
    {
        return call<decltype(&::ProUIPushbuttonActivateActionSet)>("ProUIPushbuttonActivateActionSet")(
            "Probe", button, run_bound, &fn);
    }

    ProError activate(int* status)
    {
        return call<decltype(&::ProUIDialogActivate)>("ProUIDialogActivate")("Probe", status);
    }

    ProError exit(int status) { return call<decltype(&::ProUIDialogExit)>("ProUIDialogExit")("Probe", status); }
    ProError destroy() { return call<decltype(&::ProUIDialogDestroy)>("ProUIDialogDestroy")("Probe"); }

    bool error_holds(const std::string& text) const
    {
        for (const auto& e : host.errors())
            if (e.find(text) != std::string::npos)
                return true;
        return false;
    }

    vxtest::TempDir dir;
    std::string folder;
    Host host;
};

TEST_F(DialogCycle, TheUserActsWhileTheDialogRunsUntilABoundFunctionEndsIt)
{
    ASSERT_EQ(create(), PRO_TK_NO_ERROR);
    const auto value_set = call<decltype(&::ProUIInputpanelValueSet)>("ProUIInputpanelValueSet");
    const auto value_get = call<decltype(&::ProUIInputpanelValueGet)>("ProUIInputpanelValueGet");
    const auto check_set = call<decltype(&::ProUICheckbuttonSet)>("ProUICheckbuttonSet");
    const auto check_get = call<decltype(&::ProUICheckbuttonGetState)>("ProUICheckbuttonGetState");
    const auto wstring_free = call<decltype(&::ProWstringFree)>("ProWstringFree");
    ASSERT_EQ(value_set("Probe", "Text", u"10"), PRO_TK_NO_ERROR);
    ASSERT_EQ(check_set("Probe", "Box"), PRO_TK_NO_ERROR);

    std::u16string read;
    ProBoolean box = 99;
    std::function<void(const std::string&, const std::string&)> ok = [&](const std::string& dialog,
                                                                         const std::string& button) {
        EXPECT_EQ(dialog + "/" + button, "Probe/OK");
        ProWchar* text = nullptr;
        ASSERT_EQ(value_get("Probe", "Text", &text), PRO_TK_NO_ERROR);
        ASSERT_NE(text, nullptr);
        read = text;
        EXPECT_EQ(host.outstanding().at(0).kind, AllocKind::WideString);
        EXPECT_EQ(wstring_free(text), PRO_TK_NO_ERROR);
        EXPECT_EQ(check_get("Probe", "Box", &box), PRO_TK_NO_ERROR);
        EXPECT_EQ(exit(7), PRO_TK_NO_ERROR);
    };
    ASSERT_EQ(bind("OK", ok), PRO_TK_NO_ERROR);

    host.type_text("Text", u"7 min \u5206");
    host.set_check("Box", false);
    host.press("Other");     // bound to nothing: nothing happens
    host.press("OK");
    host.press("OK");        // left for the next run
    int status = 0;
    ASSERT_EQ(activate(&status), PRO_TK_NO_ERROR);
    EXPECT_EQ(status, 7);
    EXPECT_EQ(read, u"7 min \u5206");
    EXPECT_EQ(box, PRO_B_FALSE);
    EXPECT_EQ(host.dialog_input_left(), 1u);

    ASSERT_EQ(host.dialog_runs().size(), 1u);
    const DialogRun& run = host.dialog_runs()[0];
    EXPECT_EQ(run.opened_with, (std::map<std::string, std::string>{
                                   {"Text", "\"10\""}, {"Box", "set"}, {"Items", "no items"},
                                   {"OK", "bound"}, {"Other", "unbound"}}));
    EXPECT_EQ(run.inputs, (std::vector<std::string>{"types \"7 min 分\" into Text", "clears Box",
                                                    "presses Other", "presses OK"}));
    EXPECT_FALSE(run.closed);
    EXPECT_EQ(destroy(), PRO_TK_NO_ERROR);
    EXPECT_EQ(destroy(), PRO_TK_E_NOT_FOUND);
    EXPECT_TRUE(host.outstanding().empty());
    EXPECT_TRUE(host.ledger_errors().empty());
}

// A run ends without its functions when the user closes the window, or
// when the user has nothing left to do (the host closes it and says so).
TEST_F(DialogCycle, AClosedWindowEndsTheRunWithoutAnExit)
{
    ASSERT_EQ(create(), PRO_TK_NO_ERROR);
    int exits = 0;
    std::function<void(const std::string&, const std::string&)> ok = [&](const std::string&,
                                                                         const std::string&) { ++exits; };
    bind("OK", ok);
    host.press("OK");          // runs, but does not end the dialog
    host.type_text("Nowhere", u"x");
    host.set_check("OK", true);
    host.close_dialog();
    int status = 0;
    ASSERT_EQ(activate(&status), PRO_TK_NO_ERROR);
    EXPECT_EQ(status, kClosedStatus);
    EXPECT_TRUE(host.dialog_runs().back().closed);
    EXPECT_EQ(exits, 1);
    EXPECT_TRUE(error_holds("the user acts on Nowhere, which its layout does not have"));
    EXPECT_TRUE(error_holds("OK is a PushButton, not a CheckButton"));

    ASSERT_EQ(activate(nullptr), PRO_TK_NO_ERROR);
    EXPECT_TRUE(host.dialog_runs().back().closed);
    EXPECT_TRUE(error_holds("who has nothing more to do in it"));
}

TEST_F(DialogCycle, AMissingOrMalformedLayoutFailsTheCreationAndNamesFileAndLine)
{
    dir.write("resource/broken.res", "(Dialog Broken\n  (PushButton OK)\n  (Gauge G))\n");
    dir.write("resource/other.res", "(Dialog SomethingElse)");
    struct Case {
        const char* layout;
        ProError status;
        std::string error;    // empty: none
    };
    const Case cases[] = {
        {"Missing", PRO_TK_E_NOT_FOUND, (dir.path() / "resource" / "missing.res").string() + ":0: no such layout"},
        {"Broken", PRO_TK_INVALID_FILE, "broken.res:3: unknown kind Gauge"},
        {"Other", PRO_TK_INVALID_FILE, "other.res:1: the layout is SomethingElse, not Other"},
        {"../probe", PRO_TK_BAD_INPUTS, ""},
        {"", PRO_TK_BAD_INPUTS, ""},
        {"PROBE", PRO_TK_NO_ERROR, ""},    // found as Windows finds files: ignoring case
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout);
        const std::size_t errors = host.errors().size();
        EXPECT_EQ(create(c.layout, c.layout), c.status);
        if (c.error.empty()) {
            EXPECT_EQ(host.errors().size(), errors);
        } else {
            ASSERT_EQ(host.errors().size(), errors + 1);
            EXPECT_NE(host.errors().back().find(c.error), std::string::npos) << host.errors().back();
        }
    }
    EXPECT_EQ(create("PROBE", "Probe"), PRO_TK_E_FOUND) << "a second dialog of one name";
    EXPECT_TRUE(error_holds("a dialog PROBE exists already"));
}

// Every call that names what is not there fails, and the host says why.
TEST_F(DialogCycle, ACallNamingWhatTheDialogLacksFails)
{
    const auto inputtype = call<decltype(&::ProUIInputpanelInputtypeSet)>("ProUIInputpanelInputtypeSet");
    const auto value_set = call<decltype(&::ProUIInputpanelValueSet)>("ProUIInputpanelValueSet");
    const auto value_get = call<decltype(&::ProUIInputpanelValueGet)>("ProUIInputpanelValueGet");
    const auto check_set = call<decltype(&::ProUICheckbuttonSet)>("ProUICheckbuttonSet");
    const auto check_get = call<decltype(&::ProUICheckbuttonGetState)>("ProUICheckbuttonGetState");
    ASSERT_EQ(create(), PRO_TK_NO_ERROR);
    ProWchar* text = nullptr;
    ProBoolean state = 0;
    std::vector<ProWchar> unterminated(5000, u'x');
    struct Case {
        const char* label;
        std::function<ProError()> call;
        ProError status;
        const char* error;     // nullptr: none recorded
    };
    const Case cases[] = {
        {"no such dialog", [&] { return check_set("Nope", "Box"); }, PRO_TK_E_NOT_FOUND,
         "ProUICheckbuttonSet: no dialog Nope"},
        {"no such component", [&] { return value_set("Probe", "Missing", u"1"); }, PRO_TK_E_NOT_FOUND,
         "ProUIInputpanelValueSet: dialog Probe has no component Missing"},
        {"a box is no panel", [&] { return value_get("Probe", "Box", &text); }, PRO_TK_BAD_INPUTS,
         "Box of dialog Probe is a CheckButton, not a InputPanel"},
        {"a panel is no box", [&] { return check_get("Probe", "Text", &state); }, PRO_TK_BAD_INPUTS,
         "Text of dialog Probe is a InputPanel, not a CheckButton"},
        {"no such input type", [&] { return inputtype("Probe", "Text", 9); }, PRO_TK_BAD_INPUTS, nullptr},
        {"no place for the text", [&] { return value_get("Probe", "Text", nullptr); }, PRO_TK_BAD_INPUTS, nullptr},
        {"no text", [&] { return value_set("Probe", "Text", nullptr); }, PRO_TK_BAD_INPUTS, nullptr},
        {"a text without its end", [&] { return value_set("Probe", "Text", unterminated.data()); },
         PRO_TK_LINE_TOO_LONG, "no terminator within 4096 units"},
        {"an exit outside the run", [&] { return exit(1); }, PRO_TK_BAD_CONTEXT,
         "ProUIDialogExit: dialog Probe is not running"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::size_t errors = host.errors().size();
        EXPECT_EQ(c.call(), c.status);
        if (c.error) {
            ASSERT_EQ(host.errors().size(), errors + 1);
            EXPECT_NE(host.errors().back().find(c.error), std::string::npos) << host.errors().back();
        } else {
            EXPECT_EQ(host.errors().size(), errors);
        }
    }
    EXPECT_EQ(text, nullptr);
    EXPECT_TRUE(host.outstanding().empty());
}

// While it runs, a dialog can be neither run again nor destroyed.
TEST_F(DialogCycle, ARunningDialogCanBeNeitherActivatedNorDestroyed)
{
    ASSERT_EQ(create(), PRO_TK_NO_ERROR);
    ProError again = PRO_TK_NO_ERROR, destroyed = PRO_TK_NO_ERROR;
    std::function<void(const std::string&, const std::string&)> ok = [&](const std::string&,
                                                                         const std::string&) {
        again = activate(nullptr);
        destroyed = destroy();
        exit(1);
    };
    bind("OK", ok);
    host.press("OK");
    ASSERT_EQ(activate(nullptr), PRO_TK_NO_ERROR);
    EXPECT_EQ(again, PRO_TK_BAD_CONTEXT);
    EXPECT_EQ(destroyed, PRO_TK_BAD_CONTEXT);
    EXPECT_TRUE(error_holds("dialog Probe runs already"));
    EXPECT_TRUE(error_holds("dialog Probe is still running"));
    EXPECT_EQ(destroy(), PRO_TK_NO_ERROR);
}

TEST_F(DialogCycle, OnlyTheWideTextTheHostGaveCanBeFreedAndOnlyOnce)
{
    const auto value_get = call<decltype(&::ProUIInputpanelValueGet)>("ProUIInputpanelValueGet");
    const auto wstring_free = call<decltype(&::ProWstringFree)>("ProWstringFree");
    const auto string_copy = call<decltype(&::ProStringCopy)>("ProStringCopy");
    ASSERT_EQ(create(), PRO_TK_NO_ERROR);
    ProWchar* text = nullptr;
    ASSERT_EQ(value_get("Probe", "Text", &text), PRO_TK_NO_ERROR);
    EXPECT_EQ(text[0], 0) << "an empty panel gives an empty text";
    ProWchar mine[4] = u"abc";
    char* narrow = nullptr;
    ASSERT_EQ(string_copy("abc", &narrow), PRO_TK_NO_ERROR);
    EXPECT_EQ(wstring_free(mine), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(wstring_free(reinterpret_cast<ProWchar*>(narrow)), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(wstring_free(nullptr), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(wstring_free(text), PRO_TK_NO_ERROR);
    EXPECT_EQ(wstring_free(text), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(host.ledger_errors().size(), 3u);
    call<decltype(&::ProStringFree)>("ProStringFree")(narrow);
}

// A list shows the items the add-in names and labels; the user selects
// some; the host hands their names back, in list order, as a string array.
class DialogList : public DialogCycle {
protected:
    DialogList() { create(); }

    ProError names_set(int count, char** names)
    {
        return call<decltype(&::ProUIListNamesSet)>("ProUIListNamesSet")("Probe", "Items", count, names);
    }

    ProError labels_set(int count, ProWchar** labels)
    {
        return call<decltype(&::ProUIListLabelsSet)>("ProUIListLabelsSet")("Probe", "Items", count, labels);
    }

    ProError selected_get(int* count, char*** names)
    {
        return call<decltype(&::ProUIListSelectednamesGet)>("ProUIListSelectednamesGet")("Probe", "Items",
                                                                                          count, names);
    }

    ProError array_free(char** array, int count)
    {
        return call<decltype(&::ProStringarrayFree)>("ProStringarrayFree")(array, count);
    }

    // Three items; two bear one name, as two paths of one narrow form do.
    void fill()
    {
        char a[] = "a", same1[] = "same", same2[] = "same";
        char* names[] = {a, same1, same2};
        ProWchar la[] = u"D:\\A", lb[] = u"D:\\模型", lc[] = u"D:\\\U0001F4C1";
        ProWchar* labels[] = {la, lb, lc};
        ASSERT_EQ(names_set(3, names), PRO_TK_NO_ERROR);
        ASSERT_EQ(labels_set(3, labels), PRO_TK_NO_ERROR);
    }

    // The names the user's selection gives at OK, and the array freed.
    std::vector<std::string> selected_after(const std::vector<int>& items)
    {
        std::vector<std::string> got{"(nothing read)"};
        std::function<void(const std::string&, const std::string&)> ok = [&](const std::string&,
                                                                             const std::string&) {
            int count = -1;
            char** names = nullptr;
            ASSERT_EQ(selected_get(&count, &names), PRO_TK_NO_ERROR);
            ASSERT_NE(names, nullptr) << "an array even for no selection";
            got.assign(names, names + count);
            EXPECT_EQ(host.outstanding().back().kind, AllocKind::StringArray);
            EXPECT_EQ(array_free(names, count), PRO_TK_NO_ERROR);
            exit(1);
        };
        bind("OK", ok);
        host.choose_items("Items", items);
        host.press("OK");
        activate(nullptr);
        return got;
    }
};

TEST_F(DialogList, TheSelectedNamesComeBackInListOrder)
{
    fill();
    struct Case {
        std::vector<int> items;
        std::vector<std::string> names;
        const char* shown;    // the user's input as the run records it
    };
    const Case cases[] = {
        {{}, {}, "selects nothing in Items"},
        {{1}, {"same"}, "selects 2 \"D:\\模型\" in Items"},
        {{2, 0}, {"a", "same"}, "selects 3 \"D:\\\U0001F4C1\", 1 \"D:\\A\" in Items"},
        {{1, 2, 1}, {"same", "same"}, "selects 2 \"D:\\模型\", 3 \"D:\\\U0001F4C1\", 2 \"D:\\模型\" in Items"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        EXPECT_EQ(selected_after(c.items), c.names);
        EXPECT_EQ(host.dialog_runs().back().inputs.front(), c.shown);
    }
    // The last run opened with what the one before left selected.
    EXPECT_EQ(host.dialog_runs().back().opened_with.at("Items"),
              "1 \"D:\\A\" (selected), 2 \"D:\\模型\", 3 \"D:\\\U0001F4C1\" (selected)");
    EXPECT_TRUE(host.outstanding().empty());
    EXPECT_TRUE(host.ledger_errors().empty());
    EXPECT_TRUE(host.errors().empty());
}

// Until labels are given the user sees the names; new names drop the old
// labels and the selection.
TEST_F(DialogList, NamesStandInForLabelsAndNewNamesStartAfresh)
{
    fill();
    selected_after({0});
    const Dialog* dialog = host.dialog("Probe");
    ASSERT_NE(dialog, nullptr);
    const Component* list = dialog->find("Items");
    EXPECT_EQ(list->labels, (std::vector<std::u16string>{u"D:\\A", u"D:\\模型", u"D:\\\U0001F4C1"}));
    char x[] = "x", y[] = "y";
    char* names[] = {x, y};
    ASSERT_EQ(names_set(2, names), PRO_TK_NO_ERROR);
    x[0] = 'z';    // the host copied them
    EXPECT_EQ(list->state_text(), "1 \"x\", 2 \"y\"");
    ProWchar lx[] = u"X", ly[] = u"Y";
    ProWchar* labels[] = {lx, ly};
    ASSERT_EQ(labels_set(2, labels), PRO_TK_NO_ERROR);
    EXPECT_EQ(list->state_text(), "1 \"X\", 2 \"Y\"");
    EXPECT_EQ(names_set(0, nullptr), PRO_TK_NO_ERROR);
    EXPECT_EQ(list->state_text(), "no items");
    EXPECT_EQ(host.dialog("Nope"), nullptr);
}

// Names and labels the real host would not take are refused, the list
// left as it was.
TEST_F(DialogList, BadNamesAndLabelsAreRefusedAndSaySo)
{
    fill();
    char a[] = "a";
    char* one[] = {a};
    char* absent[] = {a, nullptr};
    std::vector<char> unterminated(5000, 'x');
    char* long_name[] = {unterminated.data()};
    ProWchar la[] = u"A";
    ProWchar* labels[] = {la, la};
    ProWchar* absent_label[] = {la, nullptr, la};
    ProArray host_array = nullptr;
    call<decltype(&::ProArrayAlloc)>("ProArrayAlloc")(1, sizeof(char*), 1, &host_array);
    static_cast<char**>(host_array)[0] = a;
    const auto names_into = [&](const char* component) {
        return call<decltype(&::ProUIListNamesSet)>("ProUIListNamesSet")("Probe", component, 1, one);
    };
    struct Case {
        const char* label;
        std::function<ProError()> call;
        ProError status;
        const char* error;
    };
    const Case cases[] = {
        {"a count below 0", [&] { return names_set(-1, one); }, PRO_TK_BAD_INPUTS, "a count of -1"},
        {"no array", [&] { return names_set(2, nullptr); }, PRO_TK_BAD_INPUTS, "2 item(s) and no array"},
        {"an absent name", [&] { return names_set(2, absent); }, PRO_TK_BAD_INPUTS, "item 1 has no text"},
        {"a name without its end", [&] { return names_set(1, long_name); }, PRO_TK_BAD_INPUTS,
         "item 0 has no terminator within 4096 units"},
        {"more names than the host array holds",
         [&] { return names_set(2, static_cast<char**>(host_array)); }, PRO_TK_BAD_INPUTS,
         "2 item(s) from an array of 1"},
        {"labels for fewer items", [&] { return labels_set(2, labels); }, PRO_TK_BAD_INPUTS,
         "2 label(s) for the 3 item(s) of Items"},
        {"an absent label", [&] { return labels_set(3, absent_label); }, PRO_TK_BAD_INPUTS,
         "item 1 has no text"},
        {"a button is no list", [&] { return names_into("OK"); }, PRO_TK_BAD_INPUTS,
         "OK of dialog Probe is a PushButton, not a List"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::size_t errors = host.errors().size();
        EXPECT_EQ(c.call(), c.status);
        ASSERT_EQ(host.errors().size(), errors + 1);
        EXPECT_NE(host.errors().back().find(c.error), std::string::npos) << host.errors().back();
    }
    EXPECT_EQ(selected_after({0, 1, 2}), (std::vector<std::string>{"a", "same", "same"}));
    EXPECT_EQ(names_set(1, static_cast<char**>(host_array)), PRO_TK_NO_ERROR);
    call<decltype(&::ProArrayFree)>("ProArrayFree")(&host_array);
}

TEST_F(DialogList, TheUserCannotSelectWhatTheListLacks)
{
    fill();
    host.choose_items("Items", {1});
    host.choose_items("Items", {0, 3});
    host.choose_items("Box", {0});
    host.look_in_dialog([&] {
        int count = 0;
        char** names = nullptr;
        ASSERT_EQ(selected_get(&count, &names), PRO_TK_NO_ERROR);
        EXPECT_EQ(std::vector<std::string>(names, names + count), std::vector<std::string>{"same"});
        array_free(names, count);
    });
    host.close_dialog();
    activate(nullptr);
    EXPECT_TRUE(error_holds("Items has no item 4 (it has 3)"));
    EXPECT_TRUE(error_holds("Box is a CheckButton, not a List"));
}

// Only a string array the host gave, with its own count, and only once.
TEST_F(DialogList, AStringArrayIsFreedWholeWithItsCountOnly)
{
    fill();
    host.choose_items("Items", {0, 1});
    char** names = nullptr;
    int count = 0;
    host.look_in_dialog([&] { selected_get(&count, &names); });
    host.close_dialog();
    activate(nullptr);
    ASSERT_EQ(count, 2);
    const auto string_free = call<decltype(&::ProStringFree)>("ProStringFree");
    const auto plain_free = call<decltype(&::ProArrayFree)>("ProArrayFree");
    struct Case {
        const char* label;
        std::function<ProError()> call;
        const char* error;
    };
    const Case cases[] = {
        {"a wrong count", [&] { return array_free(names, 1); }, "of 2 string(s) with the count 1"},
        {"one of its strings", [&] { return string_free(names[0]); }, "never allocated"},
        {"as a plain array", [&] { ProArray p = names; return plain_free(&p); }, "wanted a block of kind array"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::size_t before = host.ledger_errors().size();
        EXPECT_EQ(c.call(), PRO_TK_BAD_INPUTS);
        ASSERT_EQ(host.ledger_errors().size(), before + 1);
        EXPECT_NE(host.ledger_errors().back().find(c.error), std::string::npos) << host.ledger_errors().back();
    }
    EXPECT_STREQ(names[1], "same") << "still whole";
    EXPECT_EQ(array_free(names, 2), PRO_TK_NO_ERROR);
    EXPECT_EQ(array_free(names, 2), PRO_TK_BAD_INPUTS);
    EXPECT_NE(host.ledger_errors().back().find("already released by ProStringarrayFree"), std::string::npos);
    char local[] = "x";
    char* mine[] = {local};
    EXPECT_EQ(array_free(mine, 1), PRO_TK_BAD_INPUTS);
    EXPECT_TRUE(host.outstanding().empty());
}

// When the host's memory runs out, a call that would hand out a text or
// the selected names fails and writes nothing; with memory again it gives
// them.
TEST_F(DialogList, WithoutMemoryNoTextOrNamesAreHandedOut)
{
    fill();
    const auto value_get = call<decltype(&::ProUIInputpanelValueGet)>("ProUIInputpanelValueGet");
    ProWchar typed[] = u"25", mine[] = u"mine";
    ASSERT_EQ(call<decltype(&::ProUIInputpanelValueSet)>("ProUIInputpanelValueSet")("Probe", "Text", typed),
              PRO_TK_NO_ERROR);
    ProWchar* text = mine;
    int count = -1;
    char** names = nullptr;
    host.set_out_of_memory(true);
    EXPECT_EQ(value_get("Probe", "Text", &text), PRO_TK_OUT_OF_MEMORY);
    EXPECT_EQ(selected_get(&count, &names), PRO_TK_OUT_OF_MEMORY);
    EXPECT_EQ(text, mine);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(names, nullptr);
    EXPECT_TRUE(host.outstanding().empty());

    host.set_out_of_memory(false);
    ASSERT_EQ(value_get("Probe", "Text", &text), PRO_TK_NO_ERROR);
    EXPECT_EQ(std::u16string(text), u"25");
    ASSERT_EQ(selected_get(&count, &names), PRO_TK_NO_ERROR);
    EXPECT_EQ(count, 0);
    call<decltype(&::ProWstringFree)>("ProWstringFree")(text);
    array_free(names, count);
    EXPECT_TRUE(host.outstanding().empty());
    EXPECT_TRUE(host.ledger_errors().empty());
    EXPECT_TRUE(host.errors().empty());
}
