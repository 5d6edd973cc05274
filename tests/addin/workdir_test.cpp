// Change Working Directory: the dialog lists the directory history, the
// start-up directory first, and OK changes to the entry selected.
#include "addin_fixture.h"

#include <algorithm>
#include <functional>

using vxtest::AddinTest;

namespace {

const char* const kButton = "QVX_ChangeWorkDirectorymenu";
const char* const kDialog = "ChangeWorkDirectory";
const char* const kList = "WorkDirList";
const char* const kOk = "CommitChangeDir";
const char* const kCancel = "CommitCancelChangeDir";

// The list as the dialog holds it.
struct Items {
    std::vector<std::string> names;
    std::vector<std::u16string> labels;
};

}  // namespace

class WorkDirDialog : public AddinTest {
protected:
    void SetUp() override
    {
        disk.folder("models/a");
        disk.folder("models/b");
        load();
    }

    // Entries as the host's notification reports directories.
    void visit(std::initializer_list<std::u16string> paths)
    {
        for (const auto& path : paths)
            host.fire_directory_changed(path);
    }

    // Opens the dialog, which takes what the user was given to do.
    void open_dialog()
    {
        ASSERT_TRUE(host.pick(kButton));
        EXPECT_EQ(host.dialog_input_left(), 0u);
    }

    // The list when the dialog opens; left through Cancel.
    Items shown()
    {
        Items items;
        host.look_in_dialog([&] {
            const vxhost::Component* list = host.dialog(kDialog)->find(kList);
            items = Items{list->names, list->labels};
        });
        host.press(kCancel);
        open_dialog();
        return items;
    }

    // OK with these items (0 first) selected: the directory changes the
    // add-in asked for.
    std::vector<std::string> ok_with(const std::vector<int>& items)
    {
        const std::size_t from = host.journal().size();
        host.choose_items(kList, items);
        host.press(kOk);
        open_dialog();
        EXPECT_EQ(host.dialog_runs().back().status, 1);
        return calls({"ProDirectoryChange"}, from);
    }

    // The history is all the host still holds for the add-in.
    void expect_only_the_history() const
    {
        EXPECT_EQ(host.outstanding().size(), 1u);
        EXPECT_FALSE(history().empty());
        EXPECT_EQ(host.ledger_errors(), std::vector<std::string>{});
    }
};

// The whole cycle on a history of one entry: the start-up directory
// without its separator, which OK asks for exactly as it is stored.
TEST_F(WorkDirDialog, AHistoryOfOneEntryListsItAndOkChangesToIt)
{
    const std::size_t from = host.journal().size();
    host.choose_items(kList, {0});
    host.press(kOk);
    open_dialog();

    EXPECT_EQ(host.dialog_runs().back().opened_with.at(kList), "1 \"D:\\models\"");
    const std::vector<std::string> cycle = calls(
        {"ProUIDialogCreate", "ProArraySizeGet", "ProArrayAlloc", "ProUIListNamesSet", "ProUIListLabelsSet",
         "ProUIPushbuttonActivateActionSet", "ProUIDialogActivate", "ProUIListSelectednamesGet",
         "ProDirectoryChange", "ProStringarrayFree", "ProUIDialogExit", "ProUIDialogDestroy", "ProArrayFree"},
        from);
    const std::vector<std::string> expected = {
        "ProUIDialogCreate(\"ChangeWorkDirectory\", \"ChangeWorkDirectory\")",
        "ProArraySizeGet(block#1)",
        "ProArrayAlloc(1, 8, 1)",      // one pointer a name, growth step n
        "ProUIListNamesSet(\"ChangeWorkDirectory\", \"WorkDirList\", 1)",
        "ProUIListLabelsSet(\"ChangeWorkDirectory\", \"WorkDirList\", 1)",
        "ProUIPushbuttonActivateActionSet(\"ChangeWorkDirectory\", \"CommitChangeDir\", fn)",
        "ProUIPushbuttonActivateActionSet(\"ChangeWorkDirectory\", \"CommitCancelChangeDir\", fn)",
        "ProUIDialogActivate(\"ChangeWorkDirectory\")",
        "ProUIListSelectednamesGet(\"ChangeWorkDirectory\", \"WorkDirList\")",
        "ProArraySizeGet(block#1)",    // the history read afresh
        "ProDirectoryChange(\"D:\\models\")",
        "ProArraySizeGet(block#1)",    // the notification's own look-up, within the change
        "ProStringarrayFree(block#3, 1)",
        "ProUIDialogExit(\"ChangeWorkDirectory\", 1)",
        "ProUIDialogDestroy(\"ChangeWorkDirectory\")",
        "ProArrayFree(&block#2)",      // the name list, once the dialog is gone
    };
    EXPECT_EQ(cycle, expected);
    EXPECT_NE(std::find(host.transcript().begin(), host.transcript().end(),
                        "the add-in changed the working directory to D:\\models\\"),
              host.transcript().end());
    EXPECT_EQ(history(), std::vector<std::u16string>{u"D:\\models"}) << "reported back as stored";
    expect_only_the_history();
    expect_clean();
}

// Without a selected name, or without OK, the working directory stays.
TEST_F(WorkDirDialog, NothingChangesWithoutOkOnASelection)
{
    ASSERT_EQ(host.change_directory(u"D:\\models\\a"), PRO_TK_NO_ERROR);
    struct Case {
        const char* label;
        std::function<void()> user;
        int status;
    };
    const Case cases[] = {
        {"OK with nothing selected", [&] { host.press(kOk); }, 1},
        {"OK after the selection was cleared",
         [&] { host.choose_items(kList, {0}); host.choose_items(kList, {}); host.press(kOk); }, 1},
        {"Cancel", [&] { host.press(kCancel); }, 0},
        {"Cancel with an item selected", [&] { host.choose_items(kList, {0}); host.press(kCancel); }, 0},
        {"the window closed", [&] { host.choose_items(kList, {0}); host.close_dialog(); }, vxhost::kClosedStatus},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::size_t from = host.journal().size();
        c.user();
        open_dialog();
        EXPECT_EQ(host.dialog_runs().back().status, c.status);
        EXPECT_EQ(calls({"ProDirectoryChange"}, from), std::vector<std::string>{});
        EXPECT_EQ(host.working_directory(), u"D:\\models\\a\\");
        EXPECT_EQ(host.dialog(kDialog), nullptr) << "destroyed";
        expect_only_the_history();
    }
    expect_clean();
}

// The host gives the selected names in list order; the first of them
// counts, whatever else is selected.
TEST_F(WorkDirDialog, OfSeveralSelectedOnlyTheFirstCounts)
{
    visit({u"D:\\models\\a", u"D:\\models\\b"});
    EXPECT_EQ(ok_with({2, 1}), std::vector<std::string>{"ProDirectoryChange(\"D:\\models\\a\")"});
    EXPECT_EQ(ok_with({2, 0, 1}), std::vector<std::string>{"ProDirectoryChange(\"D:\\models\")"});
    EXPECT_EQ(host.dialog_runs().back().inputs.front(),
              "selects 3 \"D:\\models\\b\", 1 \"D:\\models\", 2 \"D:\\models\\a\" in WorkDirList");
    expect_only_the_history();
    expect_clean();
}

// A separator or a letter's case makes another entry: its own item,
// leading to its own path, character for character.
TEST_F(WorkDirDialog, EntriesDifferingInASeparatorOrCaseLeadEachToItsOwnPath)
{
    visit({u"D:\\models\\", u"d:\\Models"});
    const std::vector<std::u16string> entries = {u"D:\\models", u"D:\\models\\", u"d:\\Models"};
    ASSERT_EQ(history(), entries);
    EXPECT_EQ(shown().names, (std::vector<std::string>{"D:\\models", "D:\\models\\", "d:\\Models"}));
    for (int i : {2, 1, 0}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ok_with({i}),
                  std::vector<std::string>{"ProDirectoryChange(\"" + vxhost::to_utf8(entries[i]) + "\")"});
        std::u16string folder = entries[i];
        if (folder.back() != u'\\')
            folder += u'\\';
        EXPECT_EQ(host.working_directory(), folder);
    }
    EXPECT_EQ(history(), entries) << "each reported back as it was asked for";
    expect_only_the_history();
    expect_clean();
}

// Names are the UTF-8 forms, each in a buffer sized for the longest path
// of three-byte units; labels are the wide paths as stored, whatever they
// hold. A lone surrogate converts as U+FFFD does.
TEST_F(WorkDirDialog, LabelsAreThePathsUnchangedAndNamesTheirNarrowForms)
{
    const std::u16string longest(PRO_PATH_SIZE - 1, u'模');
    visit({u"D:\\模型\\零件", u"D:\\\U0001F4C1", u"D:\\x\uFFFD", u"D:\\x\xD800", u"D:\\x\xDC00" u"y", longest});
    const Items items = shown();
    EXPECT_EQ(items.labels, history());
    std::string longest_name;
    for (int i = 0; i < PRO_PATH_SIZE - 1; ++i)
        longest_name += "\xE6\xA8\xA1";
    const std::vector<std::string> names = {
        "D:\\models",
        "D:\\\xE6\xA8\xA1\xE5\x9E\x8B\\\xE9\x9B\xB6\xE4\xBB\xB6",
        "D:\\\xF0\x9F\x93\x81",
        "D:\\x\xEF\xBF\xBD",
        "D:\\x\xEF\xBF\xBD",
        "D:\\x\xEF\xBF\xBDy",
        longest_name,
    };
    EXPECT_EQ(items.names, names);
    EXPECT_EQ(items.names.back().size(), 777u) << "the whole of the largest narrow form";
    EXPECT_EQ(host.dialog_runs().back().opened_with.at(kList).rfind("1 \"D:\\models\", 2 \"D:\\模型\\零件\", "
                                                                    "3 \"D:\\\U0001F4C1\", ",
                                                                    0),
              0u);
    expect_only_the_history();
    expect_clean();
}

// Items of one name: OK goes to the earliest entry of that name, which
// here is the only one that is a folder.
TEST_F(WorkDirDialog, OfEntriesWithOneNarrowFormOkGoesToTheEarlier)
{
    disk.folder(std::u16string(u"models/x\uFFFD"));
    visit({u"D:\\models\\x\uFFFD", u"D:\\models\\x\xD800", u"D:\\models\\x\xDC00"});
    const Items items = shown();
    EXPECT_EQ(items.names[1], items.names[2]);
    EXPECT_EQ(items.names[2], items.names[3]);
    for (int i : {3, 2}) {
        SCOPED_TRACE(i);
        ASSERT_EQ(host.change_directory(u"D:\\models\\a"), PRO_TK_NO_ERROR);
        ok_with({i});
        EXPECT_EQ(host.working_directory(), u"D:\\models\\x\uFFFD\\");
    }
    expect_only_the_history();
    expect_clean();
}

// The history may move twice while the dialog is open: a directory
// reported meanwhile, then the change at OK, whose notification adds the
// folder as the host resolved it. OK reads the history afresh before the
// change and nothing of it after (under ASan, reading the moved block
// would be a use after free).
TEST_F(WorkDirDialog, TheChangeAtOkMayGrowAndMoveTheHistory)
{
    visit({u"sub"});    // a relative entry: the host resolves it at the change
    disk.folder("models/sub");
    const std::size_t from = host.journal().size();
    host.look_in_dialog([&] { host.fire_directory_changed(u"D:\\models\\a"); });
    host.choose_items(kList, {1});
    host.press(kOk);
    open_dialog();
    EXPECT_EQ(history(), (std::vector<std::u16string>{u"D:\\models", u"sub", u"D:\\models\\a",
                                                      u"D:\\models\\sub\\"}));
    EXPECT_EQ(host.working_directory(), u"D:\\models\\sub\\");
    std::vector<std::string> after_change;
    bool changed = false;
    for (std::size_t i = from; i < host.journal().size(); ++i) {
        const auto& e = host.journal()[i];
        if (changed)
            after_change.push_back(e.name);
        changed = changed || e.name == "ProDirectoryChange";
    }
    EXPECT_EQ(after_change, (std::vector<std::string>{"ProArraySizeGet", "ProArrayObjectAdd",
                                                      "ProStringarrayFree", "ProUIDialogExit",
                                                      "ProUIDialogDestroy", "ProArrayFree"}))
        << "the notification's own look-up and add, then nothing of the history";
    expect_only_the_history();
    expect_clean();
}

// What the host does not give leaves the directory as it is: no list, no
// selection, no dialog. Everything the add-in holds is still freed.
TEST_F(WorkDirDialog, WhatTheHostDoesNotGiveChangesNothingAndLosesNothing)
{
    visit({u"D:\\models\\a"});
    ASSERT_EQ(host.change_directory(u"D:\\models\\b"), PRO_TK_NO_ERROR);
    struct Case {
        const char* label;
        std::function<void()> fault;
        bool selection_given;  // an array of selected names to release, empty or not
        const char* error;     // the host's record, when the user meets an empty list or no dialog
    };
    const Case cases[] = {
        {"no name list", [&] { host.inject_fault("ProArrayAlloc", PRO_TK_OUT_OF_MEMORY); }, true,
         "WorkDirList has no item 2 (it has 0)"},
        {"a name list not written", [&] { host.inject_unwritten("ProArrayAlloc"); }, true,
         "WorkDirList has no item 2 (it has 0)"},
        {"no history size", [&] { host.inject_fault("ProArraySizeGet", PRO_TK_GENERAL_ERROR); }, true,
         "WorkDirList has no item 2 (it has 0)"},
        {"the names refused, so no labels for them",
         [&] { host.inject_fault("ProUIListNamesSet", PRO_TK_BAD_INPUTS); }, true,
         "WorkDirList has no item 2 (it has 0)"},
        {"the selection refused",
         [&] { host.inject_fault("ProUIListSelectednamesGet", PRO_TK_GENERAL_ERROR); }, false, nullptr},
        {"the selection not written", [&] { host.inject_unwritten("ProUIListSelectednamesGet"); }, false,
         nullptr},
        {"no layout", [&] { host.inject_fault("ProUIDialogCreate", PRO_TK_E_NOT_FOUND); }, false,
         "no dialog ChangeWorkDirectory"},
    };
    const std::size_t changes = host.count("ProDirectoryChange");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::size_t errors = host.errors().size();
        const std::size_t from = host.journal().size();
        c.fault();
        host.choose_items(kList, {1});
        host.press(kOk);
        host.pick(kButton);
        host.clear_faults();
        host.clear_dialog_input();
        EXPECT_EQ(host.count("ProDirectoryChange"), changes);
        EXPECT_EQ(calls({"ProStringarrayFree"}, from).size(), c.selection_given ? 1u : 0u);
        EXPECT_EQ(host.working_directory(), u"D:\\models\\b\\");
        expect_only_the_history();
        if (c.error) {
            ASSERT_GT(host.errors().size(), errors);
            EXPECT_NE(host.errors()[errors].find(c.error), std::string::npos) << host.errors()[errors];
        } else {
            EXPECT_EQ(host.errors().size(), errors);
        }
    }
    // And the dialog works again.
    EXPECT_EQ(ok_with({1}), std::vector<std::string>{"ProDirectoryChange(\"D:\\models\\a\")"});
    expect_only_the_history();
}

// A history the host could not allocate at start-up: the dialog opens
// empty and OK changes nothing.
TEST_F(AddinTest, WithoutAHistoryTheDialogOpensEmpty)
{
    host.inject_fault("ProArrayAlloc", PRO_TK_OUT_OF_MEMORY, 1);
    load();
    host.press(kOk);
    ASSERT_TRUE(host.pick(kButton));
    EXPECT_EQ(host.dialog_runs().back().opened_with.at(kList), "no items");
    EXPECT_EQ(host.dialog_runs().back().status, 1);
    EXPECT_EQ(host.count("ProDirectoryChange"), 0u);
    EXPECT_TRUE(host.outstanding().empty());
    expect_clean();
}

// The layout is there in both languages, with its list and two buttons.
TEST_F(AddinTest, BothLanguagesHaveTheLayout)
{
    for (const char* language : {"usascii", "chinese_cn"}) {
        SCOPED_TRACE(language);
        host.set_language(language);
        load();
        host.press(kCancel);
        ASSERT_TRUE(host.pick(kButton));
        EXPECT_EQ(host.dialog_runs().back().status, 0);
        EXPECT_EQ(host.dialog_runs().back().opened_with.size(), 3u);
        host.unload();
    }
    expect_clean();
}
