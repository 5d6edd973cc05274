#include <gtest/gtest.h>

#include "fixtures.h"
#include "host/host.h"
#include "host_calls.h"

using namespace vxhost;

namespace {

MenuItem named(const std::string& name)
{
    MenuItem item;
    item.name = name;
    item.label = name;
    return item;
}

std::vector<std::string> names(const std::vector<MenuItem>& items)
{
    std::vector<std::string> list;
    for (const auto& item : items)
        list.push_back(item.name);
    return list;
}

}  // namespace

TEST(Menubar, StartsWithTheHostsOwnMenus)
{
    Menubar bar;
    EXPECT_EQ(names(bar.menus()),
              (std::vector<std::string>{"File", "Edit", "View", "Tools", "Window", "About", "Help"}));
    ASSERT_NE(bar.find("About"), nullptr);
    EXPECT_TRUE(bar.find("About")->host_own);
}

TEST(Menubar, PlacesTopMenusAroundTheirNeighbour)
{
    Menubar bar;
    EXPECT_EQ(bar.add_menu(named("After"), {"Tools", true}), PRO_TK_NO_ERROR);
    EXPECT_EQ(bar.add_menu(named("Before"), {"About", false}), PRO_TK_NO_ERROR);
    EXPECT_EQ(bar.add_menu(named("AfterAbout"), {"About", true}), PRO_TK_NO_ERROR);
    EXPECT_EQ(bar.add_menu(named("Last"), {nullptr, true}), PRO_TK_NO_ERROR);
    EXPECT_EQ(bar.add_menu(named("First"), {nullptr, false}), PRO_TK_NO_ERROR);
    EXPECT_EQ(names(bar.menus()), (std::vector<std::string>{"First", "File", "Edit", "View", "Tools",
                                                             "After", "Window", "Before", "About",
                                                             "AfterAbout", "Help", "Last"}));
    EXPECT_EQ(bar.add_menu(named("X"), {"Nowhere", true}), PRO_TK_E_NOT_FOUND);
    EXPECT_EQ(bar.add_menu(named("Edit"), {nullptr, true}), PRO_TK_E_FOUND);
    EXPECT_EQ(bar.menus().size(), 12u);
}

// The add-in's top menu holds an empty sub-menu of its own name; items
// later added to that name must go into the top menu, found first.
TEST(Menubar, ParentLookupPrefersTopMenusThenBreadthFirst)
{
    Menubar bar;
    ASSERT_EQ(bar.add_menu(named("QVX_Mainmenu"), {"About", false}), PRO_TK_NO_ERROR);
    ASSERT_EQ(bar.add_item("QVX_Mainmenu", named("QVX_Mainmenu"), {nullptr, true}), PRO_TK_NO_ERROR);
    ASSERT_EQ(bar.add_item("QVX_Mainmenu", named("Deep"), {nullptr, true}), PRO_TK_NO_ERROR);
    ASSERT_EQ(bar.add_item("Deep", named("Inner"), {nullptr, true}), PRO_TK_NO_ERROR);
    ASSERT_EQ(bar.add_item("Tools", named("Inner2"), {nullptr, true}), PRO_TK_NO_ERROR);
    // A shallower "Twin" (under Tools) wins over a deeper one (under Deep).
    ASSERT_EQ(bar.add_item("Inner", named("Twin"), {nullptr, true}), PRO_TK_NO_ERROR);
    ASSERT_EQ(bar.add_item("Tools", named("Twin"), {nullptr, true}), PRO_TK_NO_ERROR);
    ASSERT_EQ(bar.add_item("Twin", named("Leaf"), {nullptr, true}), PRO_TK_NO_ERROR);

    const MenuItem* top = bar.find("QVX_Mainmenu");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(names(top->items), (std::vector<std::string>{"QVX_Mainmenu", "Deep"}));
    EXPECT_TRUE(top->items[0].items.empty());
    const MenuItem* tools = bar.find("Tools");
    EXPECT_EQ(names(tools->items[1].items), std::vector<std::string>{"Leaf"});
}

TEST(Menubar, SubItemPlacementAndRefusals)
{
    Menubar bar;
    ASSERT_EQ(bar.add_item("Tools", named("B"), {nullptr, true}), PRO_TK_NO_ERROR);
    ASSERT_EQ(bar.add_item("Tools", named("D"), {nullptr, true}), PRO_TK_NO_ERROR);
    ASSERT_EQ(bar.add_item("Tools", named("C"), {"B", true}), PRO_TK_NO_ERROR);
    ASSERT_EQ(bar.add_item("Tools", named("A"), {"B", false}), PRO_TK_NO_ERROR);
    EXPECT_EQ(names(bar.find("Tools")->items), (std::vector<std::string>{"A", "B", "C", "D"}));

    EXPECT_EQ(bar.add_item("Tools", named("C"), {nullptr, true}), PRO_TK_E_FOUND);
    EXPECT_EQ(bar.add_item("Edit", named("C"), {nullptr, true}), PRO_TK_NO_ERROR);  // other parent
    EXPECT_EQ(bar.add_item("Nowhere", named("E"), {nullptr, true}), PRO_TK_E_NOT_FOUND);
    EXPECT_EQ(bar.add_item("Tools", named("E"), {"Nowhere", true}), PRO_TK_E_NOT_FOUND);
    EXPECT_EQ(bar.find("Tools")->items.size(), 4u);
}

// The text calls as the add-in makes them, against a message file on disk.
class MenuCalls : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.write("text/usascii/Vexholm.txt",
                  vxtest::message_file({"Main=Vexholm", "Open=Open folder", "OpenHelp=Opens the folder",
                                        "Hello=Hello there"}));
        dir.write("text/usascii/Broken.txt", "Main\nVexholm\n#\n");
    }

    static int run(uiCmdCmdId, uiCmdValue*, void*)
    {
        ++runs;
        return 0;
    }
    static uiCmdAccessState access(uiCmdAccessMode) { return state; }

    uiCmdCmdId add_command(const char* action)
    {
        uiCmdCmdId id = nullptr;
        EXPECT_EQ(calls.action_add(action, run, uiProe2ndImmediate, access, 0, 0, &id), PRO_TK_NO_ERROR);
        return id;
    }

    const char* folder() const { return folder_text.c_str(); }

    vxtest::TempDir dir;
    std::string folder_text = (dir.path() / "TEXT" / "UsAscii").string();   // found ignoring case
    Host host;
    vxtest::HostCalls calls{host};
    static inline int runs = 0;
    static inline uiCmdAccessState state = ACCESS_AVAILABLE;
};

TEST_F(MenuCalls, LabelsAndHelpComeFromTheMessageFile)
{
    const uiCmdCmdId id = add_command("OpenAct");
    ASSERT_EQ(calls.menu_add(folder(), "VX", "Main", "About", 0, u"vexholm.TXT"), PRO_TK_NO_ERROR);
    ASSERT_EQ(calls.button_add(folder(), "VX", "OpenBtn", "Open", "OpenHelp", nullptr, 1, id, u"Vexholm.txt"),
              PRO_TK_NO_ERROR);
    const MenuItem* button = host.find_item("OpenBtn");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->kind, MenuItem::Kind::Button);
    EXPECT_EQ(button->label_key, "Open");
    EXPECT_EQ(button->label, "Open folder");
    EXPECT_EQ(button->help_key, "OpenHelp");
    EXPECT_EQ(button->help, "Opens the folder");
    EXPECT_EQ(button->command, id);
    EXPECT_EQ(button->action, "OpenAct");
    EXPECT_EQ(host.find_item("VX")->label, "Vexholm");
    EXPECT_TRUE(host.errors().empty());
    EXPECT_EQ(host.keys_requested().size(), 3u);
    const auto menu = host.render_menu();
    EXPECT_NE(std::find(menu.begin(), menu.end(),
                        "  button OpenBtn \"Open folder\" -> OpenAct (help: \"Opens the folder\")"),
              menu.end());
}

TEST_F(MenuCalls, AMissingKeyShowsTheKeyAndIsRecorded)
{
    ASSERT_EQ(calls.menu_add(folder(), "VX", "NoSuchKey", nullptr, 1, u"Vexholm.txt"), PRO_TK_NO_ERROR);
    EXPECT_EQ(host.find_item("VX")->label, "NoSuchKey");
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_NE(host.errors()[0].find("NoSuchKey"), std::string::npos);
    // Asking twice for one key counts once.
    calls.submenu_add(folder(), "VX", "Sub", "NoSuchKey", nullptr, 1, u"Vexholm.txt");
    EXPECT_EQ(host.keys_requested(), (std::vector<RequestedKey>{{"Vexholm.txt", "NoSuchKey"}}));
}

TEST_F(MenuCalls, UnusableMessageFilesFailTheCallWithAnError)
{
    struct Case {
        const ProWchar* file;
        const char* error;
    };
    const Case cases[] = {{u"Broken.txt", "Broken.txt:1:"}, {u"Absent.txt", "Absent.txt:0:"}};
    for (const auto& c : cases) {
        const std::size_t before = host.errors().size();
        EXPECT_NE(calls.menu_add(folder(), "VX", "Main", nullptr, 1, c.file), PRO_TK_NO_ERROR);
        EXPECT_EQ(host.find_item("VX"), nullptr);
        ASSERT_EQ(host.errors().size(), before + 1);
        EXPECT_NE(host.errors().back().find(c.error), std::string::npos) << host.errors().back();
    }
}

TEST_F(MenuCalls, ButtonsNeedACommandTheHostGave)
{
    EXPECT_EQ(calls.button_add(folder(), "Tools", "B", "Open", nullptr, nullptr, 1, nullptr, u"Vexholm.txt"),
              PRO_TK_BAD_INPUTS);
    int not_a_command = 0;
    EXPECT_EQ(calls.button_add(folder(), "Tools", "B", "Open", nullptr, nullptr, 1,
                               reinterpret_cast<uiCmdCmdId>(&not_a_command), u"Vexholm.txt"),
              PRO_TK_BAD_INPUTS);
    EXPECT_EQ(host.find_item("B"), nullptr);
    EXPECT_EQ(calls.button_add(folder(), "Nowhere", "B", "Open", nullptr, nullptr, 1, add_command("A"),
                               u"Vexholm.txt"),
              PRO_TK_E_NOT_FOUND);
}

TEST_F(MenuCalls, CommandsAreRegisteredOncePerActionWithDistinctIds)
{
    const uiCmdCmdId first = add_command("One");
    const uiCmdCmdId second = add_command("Two");
    EXPECT_NE(first, nullptr);
    EXPECT_NE(first, second);
    uiCmdCmdId again = nullptr;
    EXPECT_EQ(calls.action_add("One", run, 0, access, 0, 0, &again), PRO_TK_E_FOUND);
    EXPECT_EQ(calls.action_add("Three", nullptr, 0, access, 0, 0, &again), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(again, nullptr);
}

TEST_F(MenuCalls, PickRunsTheActionOnlyWhenAvailable)
{
    const uiCmdCmdId id = add_command("OpenAct");
    ASSERT_EQ(calls.button_add(folder(), "Tools", "OpenBtn", "Open", nullptr, nullptr, 1, id, u"Vexholm.txt"),
              PRO_TK_NO_ERROR);
    runs = 0;
    struct Case {
        uiCmdAccessState state;
        bool runs;
    };
    // Only ACCESS_AVAILABLE (3) runs; other states, even non-zero ones, do not.
    for (const Case c : {Case{ACCESS_AVAILABLE, true}, Case{ACCESS_UNAVAILABLE, false}, Case{1, false}}) {
        state = c.state;
        const int before = runs;
        EXPECT_EQ(host.availability("OpenBtn"), c.state);
        EXPECT_EQ(host.pick("OpenBtn"), c.runs);
        EXPECT_EQ(runs - before, c.runs ? 1 : 0);
        EXPECT_EQ(host.run_action("OpenAct"), c.runs);
    }
    state = ACCESS_AVAILABLE;
    EXPECT_EQ(host.availability("Tools"), std::nullopt);   // a menu, not a button
    EXPECT_FALSE(host.pick("NoSuchButton"));
    EXPECT_FALSE(host.run_action("NoSuchAction"));
    EXPECT_EQ(host.availabilities(), (std::vector<std::pair<std::string, int>>{{"OpenBtn", 3}}));
    EXPECT_EQ(host.transcript().back(), "run NoSuchAction: no such command");
}

TEST_F(MenuCalls, MessageDisplayShowsTheTextInTheTranscript)
{
    EXPECT_EQ(calls.message_display(folder(), u"Vexholm.txt", "Hello"), PRO_TK_NO_ERROR);
    EXPECT_EQ(host.transcript().back(), "message: Hello there");
    EXPECT_EQ(calls.message_display(folder(), u"Vexholm.txt", "Nope"), PRO_TK_MSG_NOT_FOUND);
}
