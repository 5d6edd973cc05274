// Start-up, the command table, availability and shut-down, seen from the
// host: the menu it shows, the commands it offers, the calls it received.
#include "addin_fixture.h"

#include <map>
#include <set>

#include "host/messages.h"

using vxtest::AddinTest;

namespace {

struct Row {
    const char* action;
    const char* menu;
    const char* button;
};

// The command table as the host must end up with it, in registration order.
const Row rows[] = {
    {"QVX_ShowDirectory_Act", "QVX_DirToolsubmenu", "QVX_ShowDirmenu"},
    {"QVX_ShowWorkDirectory_Act", "QVX_DirToolsubmenu", "QVX_ShowWorkDirmenu"},
    {"QVX_ChangeWorkDirectory_Act", "QVX_DirToolsubmenu", "QVX_ChangeWorkDirectorymenu"},
    {"QVX_OpenSamenameDrw_Act", "QVX_DirDRWsubmenu", "QVX_OpenSamenameDrwmenu"},
    {"QVX_VerticalAlign_Act", "QVX_DirDRWsubmenu", "QVX_VerticalAlignmenu"},
    {"QVX_HorizonAlign_Act", "QVX_DirDRWsubmenu", "QVX_HorizonAlignmenu"},
    {"QVX_PurgeWorkDir_Act", "QVX_Filesubmenu", "QVX_PurgeWorkDirmenu"},
    {"QVX_MdlRenamemenu_Act", "QVX_Filesubmenu", "QVX_MdlRenamemenu"},
    {"QVX_TimeSave_Act", "QVX_Filesubmenu", "QVX_TimeSavemenu"},
    {"QVX_PaintColor_Act", "QVX_PaintColorsubmenu", "QVX_PaintColormenu"},
    {"QVX_ClearColor_Act", "QVX_PaintColorsubmenu", "QVX_ClearColormenu"},
    {"QVX_About_Act", "QVX_Mainmenu", "QVX_Aboutmenu"},
};

const char* const submenus[] = {"QVX_Mainmenu", "QVX_DirToolsubmenu", "QVX_DirDRWsubmenu",
                                "QVX_Filesubmenu", "QVX_PaintColorsubmenu"};

const char* const message_keys[] = {"QVX_MESSAGE_AutoSaved",
                                    "QVX_MESSAGE_LeftMouseSelectPosition", "QVX_Enter_New_Name"};

// All 32 keys of the message file.
std::set<std::string> all_keys()
{
    std::set<std::string> keys(std::begin(submenus), std::end(submenus));
    for (const Row& r : rows) {
        keys.insert(r.button);
        keys.insert(std::string(r.button) + "Tips");
    }
    keys.insert(std::begin(message_keys), std::end(message_keys));
    return keys;
}

std::vector<std::string> names_of(const std::vector<vxhost::MenuItem>& items)
{
    std::vector<std::string> names;
    for (const auto& item : items)
        names.push_back(item.name);
    return names;
}

const vxhost::MenuItem* top_menu(const vxhost::Host& host, std::size_t* position = nullptr)
{
    const auto& menus = host.menubar().menus();
    for (std::size_t i = 0; i < menus.size(); ++i)
        if (menus[i].name == "QVX_Mainmenu") {
            if (position)
                *position = i;
            return &menus[i];
        }
    return nullptr;
}

}  // namespace

TEST_F(AddinTest, MenuStandsAfterAboutWithItsItemsInOrder)
{
    load();
    std::size_t at = 0;
    const vxhost::MenuItem* top = top_menu(host, &at);
    ASSERT_NE(top, nullptr);
    ASSERT_GT(at, 0u);
    EXPECT_EQ(host.menubar().menus()[at - 1].name, "About");
    ASSERT_LT(at + 1, host.menubar().menus().size()) << "placed last, not after About";
    EXPECT_EQ(host.menubar().menus()[at + 1].name, "Help");
    EXPECT_EQ(top->label, "Vexholm");

    EXPECT_EQ(names_of(top->items),
              (std::vector<std::string>{"QVX_Mainmenu", "QVX_DirToolsubmenu", "QVX_DirDRWsubmenu",
                                        "QVX_Filesubmenu", "QVX_PaintColorsubmenu",
                                        "QVX_Aboutmenu"}));
    EXPECT_EQ(top->items[0].kind, vxhost::MenuItem::Kind::Menu);
    EXPECT_TRUE(top->items[0].items.empty()) << "the sub-menu of the top menu's name stays empty";

    std::map<std::string, std::vector<std::string>> expected;
    for (const Row& r : rows)
        if (std::string(r.menu) != "QVX_Mainmenu")
            expected[r.menu].push_back(r.button);
    for (const auto& sub : top->items) {
        if (sub.kind == vxhost::MenuItem::Kind::Menu && sub.name != "QVX_Mainmenu") {
            EXPECT_EQ(names_of(sub.items), expected[sub.name]) << sub.name;
        }
    }
    expect_clean();
}

TEST_F(AddinTest, EveryButtonRunsItsOwnRowsCommandWithLabelAndHelpFromTheMessageFile)
{
    load();
    for (const Row& r : rows) {
        const vxhost::MenuItem* item = host.find_item(r.button);
        ASSERT_NE(item, nullptr) << r.button;
        EXPECT_EQ(item->kind, vxhost::MenuItem::Kind::Button);
        EXPECT_EQ(item->action, r.action);
        EXPECT_EQ(item->label_key, r.button);
        EXPECT_EQ(item->help_key, std::string(r.button) + "Tips");
        EXPECT_NE(item->label, item->label_key) << "label found in the message file";
        EXPECT_NE(item->help, item->help_key) << "help found in the message file";
    }
    EXPECT_EQ(host.find_item("QVX_PurgeWorkDirmenu")->label, "Purge Working Directory");
}

// Every call of start-up, in order, with its arguments: menus, one action
// and its button per row, the notifications, then the history.
std::vector<std::string> startup_calls()
{
    const std::string file = "\"Vexholm.txt\"";
    auto q = [](const std::string& text) { return "\"" + text + "\""; };
    std::vector<std::string> expected = {
        "ProMenubarMenuAdd(\"QVX_Mainmenu\", \"QVX_Mainmenu\", \"About\", true, " + file + ")"};
    int command = 0;
    auto add_rows_of = [&](const std::string& menu) {
        for (const Row& r : rows) {
            if (r.menu != menu)
                continue;
            expected.push_back("ProCmdActionAdd(" + q(r.action) + ", fn, 2, fn, true, true)");
            expected.push_back("ProMenubarmenuPushbuttonAdd(" + q(r.menu) + ", " + q(r.button) + ", " +
                               q(r.button) + ", " + q(std::string(r.button) + "Tips") +
                               ", (null), true, cmd#" + std::to_string(++command) + ", " + file + ")");
        }
    };
    for (const char* menu : submenus) {
        expected.push_back("ProMenubarmenuMenuAdd(\"QVX_Mainmenu\", " + q(menu) + ", " + q(menu) +
                           ", (null), true, " + file + ")");
        if (std::string(menu) != "QVX_Mainmenu")
            add_rows_of(menu);
    }
    add_rows_of("QVX_Mainmenu");
    expected.push_back("ProNotificationSet(94, fn)");
    expected.push_back("ProNotificationSet(23, fn)");
    expected.push_back("ProDirectoryCurrentGet()");
    expected.push_back("ProArrayAlloc(1, 520, 1)");
    return expected;
}

TEST_F(AddinTest, StartUpMakesItsCallsInOrderWithTheirArguments)
{
    load();
    std::vector<std::string> made;
    for (const auto& entry : host.journal())
        made.push_back(entry.name + "(" + entry.args() + ")");
    EXPECT_EQ(made, startup_calls());
}

// A refused notification changes nothing else: the other one is still
// set, the history still started.
TEST_F(AddinTest, ARefusedNotificationStillLeavesTheOtherAndTheHistory)
{
    for (const char* type : {"94", "23"}) {
        SCOPED_TRACE(type);
        host.clear_faults();
        host.clear_journal();
        host.inject_fault("ProNotificationSet", PRO_TK_GENERAL_ERROR, 0, type);
        load();
        EXPECT_EQ(host.count("ProNotificationSet"), 2u);
        EXPECT_EQ(history(), std::vector<std::u16string>{u"D:\\models"});
        host.unload();
    }
}

// Labels in both languages: the files hold exactly the 32 keys, the add-in
// asks only for keys among them, and every label is found.
TEST_F(AddinTest, MessageFilesHoldExactlyTheKeysAskedForInBothLanguages)
{
    const std::set<std::string> keys = all_keys();
    ASSERT_EQ(keys.size(), 32u);
    for (const char* language : {"usascii", "chinese_cn"}) {
        SCOPED_TRACE(language);
        auto file = vxhost::MessageFile::parse(std::string(vxtest::text_dir()) + "/text/" +
                                               language + "/Vexholm.txt");
        EXPECT_EQ(file.size(), 32u);
        for (const auto& key : keys)
            EXPECT_NE(file.find(key), nullptr) << key;

        host.set_language(language);
        load();
        for (const auto& asked : host.keys_requested()) {
            EXPECT_EQ(asked.file, "Vexholm.txt");
            EXPECT_TRUE(keys.count(asked.key)) << asked.key;
        }
        EXPECT_EQ(host.keys_requested().size(), 29u) << "5 menus, 12 labels, 12 help texts";
        expect_clean();
        host.unload();
    }
    EXPECT_EQ(host.find_item("QVX_Aboutmenu"), nullptr);
}

TEST_F(AddinTest, ChineseLabelsAreShownInTheChineseHost)
{
    host.set_language("chinese_cn");
    load();
    EXPECT_EQ(host.find_item("QVX_PurgeWorkDirmenu")->label, "清理工作目录");
    EXPECT_EQ(top_menu(host)->label, "Vexholm 工具");
}

// ---- availability ----

enum Offer { ALWAYS, PART_OR_ASM, ASM, DRW };

Offer offer_of(const std::string& action)
{
    static const std::map<std::string, Offer> offers = {
        {"QVX_OpenSamenameDrw_Act", PART_OR_ASM}, {"QVX_MdlRenamemenu_Act", PART_OR_ASM},
        {"QVX_VerticalAlign_Act", DRW},           {"QVX_HorizonAlign_Act", DRW},
        {"QVX_PaintColor_Act", ASM},              {"QVX_ClearColor_Act", ASM}};
    auto it = offers.find(action);
    return it == offers.end() ? ALWAYS : it->second;
}

struct Situation {
    const char* what;
    int type;             // 0: no model open
    const char* fault;    // a call that fails, or succeeds unwritten; nullptr: none
    bool unwritten;
    std::set<int> rows;   // 1-based rows of the command table on offer
};

TEST_F(AddinTest, OffersEachCommandOnlyForTheModelTypesItServes)
{
    const Situation situations[] = {
        {"no model", 0, nullptr, false, {1, 2, 3, 7, 9, 12}},
        {"part", PRO_MDL_PART, nullptr, false, {1, 2, 3, 4, 7, 8, 9, 12}},
        {"assembly", PRO_MDL_ASSEMBLY, nullptr, false, {1, 2, 3, 4, 7, 8, 9, 10, 11, 12}},
        {"drawing", PRO_MDL_DRAWING, nullptr, false, {1, 2, 3, 5, 6, 7, 9, 12}},
        {"another type", 3, nullptr, false, {1, 2, 3, 7, 9, 12}},
        {"type unreadable", PRO_MDL_ASSEMBLY, "ProMdlTypeGet", false, {1, 2, 3, 7, 9, 12}},
        // Success without the output written: no model, no type.
        {"model unwritten", PRO_MDL_ASSEMBLY, "ProMdlCurrentGet", true, {1, 2, 3, 7, 9, 12}},
        {"type unwritten", PRO_MDL_ASSEMBLY, "ProMdlTypeGet", true, {1, 2, 3, 7, 9, 12}},
    };
    load();
    for (const Situation& s : situations) {
        SCOPED_TRACE(s.what);
        host.close_all_windows();
        host.clear_faults();
        if (s.type != 0)
            host.open_model("bracket", s.type, u"D:\\models\\");
        if (s.fault)
            inject(s.fault, s.unwritten);
        for (std::size_t i = 0; i < std::size(rows); ++i) {
            int row = static_cast<int>(i) + 1;
            EXPECT_EQ(host.availability(rows[i].button), s.rows.count(row) ? 3 : 0)
                << "row " << row << " " << rows[i].button;
        }
    }
    // Never a handle the host did not give.
    for (const auto& e : host.journal()) {
        if (e.name == "ProMdlTypeGet") {
            EXPECT_NE(e.args(), "model?");
        }
    }
}

// AccessPartOrAsm asks once when an assembly is current, twice otherwise.
TEST_F(AddinTest, PartOrAssemblyRuleAsksTwiceUnlessAnAssemblyIsCurrent)
{
    const std::pair<int, std::size_t> cases[] = {
        {PRO_MDL_ASSEMBLY, 1}, {PRO_MDL_PART, 2}, {PRO_MDL_DRAWING, 2}, {0, 2}};
    load();
    for (auto [type, asks] : cases) {
        SCOPED_TRACE(type);
        host.close_all_windows();
        if (type != 0)
            host.open_model("bracket", type, u"D:\\models\\");
        host.clear_journal();
        host.availability("QVX_MdlRenamemenu");
        EXPECT_EQ(host.count("ProMdlCurrentGet"), asks);
    }
}

// ---- refusals ----

struct Refusal {
    const char* call;
    const char* args;           // which call of it the host refuses
    std::set<std::string> gone; // buttons missing afterwards
};

TEST_F(AddinTest, ARefusedRegistrationLeavesEveryOtherItemInPlace)
{
    const Refusal refusals[] = {
        {"ProCmdActionAdd", "\"QVX_VerticalAlign_Act\"", {"QVX_VerticalAlignmenu"}},
        {"ProMenubarmenuPushbuttonAdd", "\"QVX_PurgeWorkDirmenu\"", {"QVX_PurgeWorkDirmenu"}},
        {"ProMenubarmenuMenuAdd", "\"QVX_DirDRWsubmenu\"",
         {"QVX_OpenSamenameDrwmenu", "QVX_VerticalAlignmenu", "QVX_HorizonAlignmenu"}},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.call);
        host.clear_faults();
        host.inject_fault(r.call, PRO_TK_GENERAL_ERROR, 0, r.args);
        load();
        for (const Row& row : rows) {
            const vxhost::MenuItem* item = host.find_item(row.button);
            if (r.gone.count(row.button)) {
                EXPECT_EQ(item, nullptr) << row.button;
                continue;
            }
            ASSERT_NE(item, nullptr) << row.button;
            EXPECT_EQ(item->action, row.action) << "never bound to another row's command";
        }
        EXPECT_EQ(host.count("ProCmdActionAdd"), std::size(rows));
        host.unload();
        host.clear_journal();
    }
}

TEST_F(AddinTest, WithoutTheTopMenuNothingLandsButStartUpStillSucceeds)
{
    host.inject_fault("ProMenubarMenuAdd", PRO_TK_GENERAL_ERROR);
    load();
    EXPECT_EQ(top_menu(host), nullptr);
    EXPECT_EQ(host.count("ProMenubarmenuPushbuttonAdd"), std::size(rows));
    EXPECT_EQ(host.count("ProNotificationSet"), 2u);
}

// ---- the runtime's own start-up ----

TEST_F(AddinTest, RuntimeRefusesATableThatLacksAFunctionAndNeverStartsTheAddin)
{
    host.omit_entry("ProCmdActionAdd");
    EXPECT_NE(host.load(vxtest::protk_dat()), 0);
    EXPECT_FALSE(host.loaded());
    EXPECT_TRUE(host.journal().empty()) << "AddinInitialize made calls";
    EXPECT_EQ(top_menu(host), nullptr);
    bool named = false;
    for (const auto& e : host.errors())
        named = named || e.find("ProCmdActionAdd") != std::string::npos;
    EXPECT_TRUE(named) << "the runtime names the missing function";
}

TEST_F(AddinTest, RuntimeRefusesATableOfAnotherVersion)
{
    host.table_version(PRO_HOST_TABLE_VERSION + 1);
    EXPECT_NE(host.load(vxtest::protk_dat()), 0);
    EXPECT_TRUE(host.journal().empty());
}

// ---- shut-down ----

TEST_F(AddinTest, ShutDownReleasesTabThenUnsetsBothThenReleasesHistory)
{
    load();
    host.switch_tab("View");
    std::size_t from = host.journal().size();
    host.unload();
    EXPECT_EQ(calls({"ProStringFree", "ProNotificationUnset", "ProArrayFree", "ProMenubarMenuAdd",
                     "ProCmdActionAdd"},
                    from),
              (std::vector<std::string>{"ProStringFree(block#" +
                                            std::to_string(2) + ")",
                                        "ProNotificationUnset(94)", "ProNotificationUnset(23)",
                                        "ProArrayFree(&block#1)"}));
    EXPECT_EQ(outstanding(), std::vector<std::string>{});
    expect_clean();
}

TEST_F(AddinTest, ShutDownBeforeAnyTabSwitchReleasesNoTab)
{
    load();
    std::size_t from = host.journal().size();
    host.unload();
    EXPECT_EQ(calls({"ProStringFree", "ProNotificationUnset", "ProArrayFree"}, from),
              (std::vector<std::string>{"ProNotificationUnset(94)", "ProNotificationUnset(23)",
                                        "ProArrayFree(&block#1)"}));
    EXPECT_EQ(outstanding(), std::vector<std::string>{});
    expect_clean();
}

TEST_F(AddinTest, LoadingAgainStartsFromFreshState)
{
    load();
    host.switch_tab("View");
    host.fire_directory_changed(u"D:\\other");
    host.unload();
    load();
    EXPECT_EQ(history(), std::vector<std::u16string>{u"D:\\models"});
    EXPECT_EQ(outstanding(), std::vector<std::string>{"array ProArrayAlloc"});
    host.unload();
    EXPECT_EQ(outstanding(), std::vector<std::string>{});
    expect_clean();
}

// Start-up again in the library kept loaded (how the start-up benchmark
// measures it apart from loading): the add-in shuts down cleanly and
// starts as it first did.
TEST_F(AddinTest, ARestartInTheLoadedLibraryGivesTheSameMenuAndLeavesNothingBehind)
{
    load();
    const auto menu = host.render_menu();
    host.fire_directory_changed(u"D:\\other");
    ASSERT_EQ(host.restart(), 0);
    EXPECT_TRUE(host.loaded());
    EXPECT_EQ(host.render_menu(), menu);
    EXPECT_EQ(history(), std::vector<std::u16string>{u"D:\\models"});
    EXPECT_EQ(outstanding(), std::vector<std::string>{"array ProArrayAlloc"});
    host.unload();
    EXPECT_THROW(host.restart(), vxhost::HostError);
    EXPECT_EQ(outstanding(), std::vector<std::string>{});
    expect_clean();
}
