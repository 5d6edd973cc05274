#include <gtest/gtest.h>

#include "fake_probe.h"
#include "fixtures.h"
#include "host/host.h"
#include "host/library.h"

using namespace vxhost;

class Loader : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.write("text/usascii/Fake.txt",
                  vxtest::message_file({"FakeMenuLabel=Fake", "FakeButtonLabel=Press", "FakeButtonHelp=Does it"}));
    }

    int load() { return host.load_library(vxtest::fake_addin_path(), dir.path()); }

    vxtest::TempDir dir;
    Host host;
};

TEST_F(Loader, StartsTheLibraryWithEveryHostFunction)
{
    ASSERT_EQ(load(), PRO_TK_NO_ERROR);
    EXPECT_TRUE(host.loaded());
    EXPECT_EQ(host.startup_status(), 0);
    const MenuItem* button = host.find_item("FakeButton");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->label, "Press");
    EXPECT_EQ(button->help, "Does it");
    // Placed before the host's About menu.
    const auto& menus = host.menubar().menus();
    EXPECT_EQ(menus[menus.size() - 3].name, "FakeMenu");
    EXPECT_EQ(menus[menus.size() - 2].name, "About");

    EXPECT_TRUE(host.pick("FakeButton"));
    vxtest::FakeProbe* probe = vxtest::fake_probe();
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->actions, 1);
    probe->available = ACCESS_UNAVAILABLE;
    EXPECT_FALSE(host.pick("FakeButton"));
    EXPECT_EQ(probe->actions, 1);

    host.fire_directory_changed(u"d:\\Models");
    EXPECT_EQ(std::u16string(probe->last_path), u"d:\\Models");
    host.switch_tab("Tools");
    EXPECT_EQ(probe->last_tab, "Home>Tools");
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(Loader, UnloadStopsFreesAndReallyUnloads)
{
    ASSERT_EQ(load(), PRO_TK_NO_ERROR);
    EXPECT_EQ(host.outstanding().size(), 2u);   // the array and string the fake keeps
    host.unload();
    EXPECT_FALSE(host.loaded());
    EXPECT_TRUE(host.outstanding().empty());
    EXPECT_TRUE(host.ledger_errors().empty());
    EXPECT_TRUE(host.errors().empty());
    EXPECT_FALSE(Library::still_loaded(vxtest::fake_addin_path()));
    EXPECT_EQ(vxtest::fake_probe(), nullptr);
    // The add-in's menus and commands went with it.
    EXPECT_EQ(host.find_item("FakeMenu"), nullptr);
    EXPECT_FALSE(host.run_action("FakeAct"));
    host.unload();                               // again: nothing to do
}

TEST_F(Loader, LoadingAgainStartsFromFreshModuleState)
{
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(load(), PRO_TK_NO_ERROR) << "round " << round;
        EXPECT_EQ(vxtest::fake_probe()->starts, 1);
        host.unload();
    }
    EXPECT_TRUE(host.errors().empty());
}

// Where the message file lies is found once per load: a load that found
// none fails, and the next finds the file that is there by then.
TEST_F(Loader, TheMessageFileIsLookedForAgainAtEachLoad)
{
    fs::remove(dir.path() / "text/usascii/Fake.txt");
    EXPECT_EQ(load(), PRO_TK_MSG_NOT_FOUND);
    EXPECT_FALSE(host.loaded());
    dir.write("text/usascii/FAKE.txt", vxtest::message_file({"FakeMenuLabel=Fake", "FakeButtonLabel=Press",
                                                             "FakeButtonHelp=Does it"}));
    ASSERT_EQ(load(), PRO_TK_NO_ERROR);
    EXPECT_EQ(host.find_item("FakeButton")->help, "Does it");
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_NE(host.errors()[0].find("Fake.txt:0: no such message file"), std::string::npos);
}

TEST_F(Loader, TableHooksMakeTheLibraryRefuseToStart)
{
    host.omit_entry("ProArrayAlloc");
    EXPECT_EQ(load(), PRO_TK_E_NOT_FOUND);
    EXPECT_FALSE(host.loaded());          // a library that did not start is not kept
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_NE(host.errors()[0].find("ProArrayAlloc"), std::string::npos);
    EXPECT_EQ(host.table_entry("ProArrayAlloc"), nullptr);

    host.table_version(PRO_HOST_TABLE_VERSION + 1);
    EXPECT_EQ(load(), PRO_TK_BAD_CONTEXT);
    EXPECT_FALSE(host.loaded());
}

TEST_F(Loader, LoadsThroughARegistrationFile)
{
    const auto protk = dir.write("protk.dat", std::string("NAME Fake\nSTARTUP dll\nEXEC_FILE ") +
                                                  vxtest::fake_addin_path() + "\nTEXT_DIR .\nEND\n");
    ASSERT_EQ(host.load(protk), PRO_TK_NO_ERROR);
    ASSERT_TRUE(host.registration());
    EXPECT_EQ(host.registration()->name, "Fake");
    EXPECT_EQ(host.find_item("FakeMenu")->label, "Fake");    // TEXT_DIR . is the file's folder
    EXPECT_THROW(host.load(protk), HostError);               // already loaded
}

TEST_F(Loader, LibraryProblemsAreClearErrors)
{
    struct Case {
        fs::path library;
        const char* message;
    };
    const Case cases[] = {
        {dir.path() / "missing.so", "missing.so"},
        {dir.write("not-a-library.so", "text"), "not-a-library.so"},
        {VX_NO_ENTRY_LIBRARY, "no entry point user_initialize_plus"},
    };
    for (const auto& c : cases) {
        try {
            host.load_library(c.library, dir.path());
            ADD_FAILURE() << "loaded " << c.library;
        } catch (const HostError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_FALSE(host.loaded());
    }
}

TEST(HostInstance, OnlyOneAtATime)
{
    Host first;
    EXPECT_THROW(Host second, HostError);
}
