// The directory history and the ribbon tab, fed by the host's
// notifications and read back from the host's array.
#include "addin_fixture.h"

#include <cstring>

using vxtest::AddinTest;

TEST_F(AddinTest, StartUpEntryIsTheWorkingDirectoryWithoutItsSeparator)
{
    load();
    EXPECT_EQ(history(), std::vector<std::u16string>{u"D:\\models"});
    EXPECT_EQ(outstanding(), std::vector<std::string>{"array ProArrayAlloc"});
}

TEST_F(AddinTest, AnUnreportedWorkingDirectoryGivesAnEmptyStartUpEntry)
{
    host.inject_fault("ProDirectoryCurrentGet", PRO_TK_GENERAL_ERROR);
    load();
    EXPECT_EQ(history(), std::vector<std::u16string>{u""});
}

// Refused, or "given" without the array being written out: either way
// there is no history, and nothing is written through a pointer the host
// never handed out.
TEST_F(AddinTest, WithoutAHistoryArrayNotificationsAddNothing)
{
    for (bool unwritten : {false, true}) {
        SCOPED_TRACE(unwritten ? "unwritten" : "refused");
        host.clear_faults();
        inject("ProArrayAlloc", unwritten, 0, {}, PRO_TK_OUT_OF_MEMORY);
        host.clear_journal();
        load();
        host.fire_directory_changed(u"D:\\other");
        EXPECT_EQ(host.count("ProArrayObjectAdd"), 0u);
        EXPECT_EQ(host.outstanding().size(), 0u);
        host.unload();
    }
    expect_clean();
}

// A count the host does not write is no count of 0: the history could
// then take a second copy of an entry. It takes nothing.
TEST_F(AddinTest, AnUnwrittenCountAddsNothing)
{
    load();
    host.inject_unwritten("ProArraySizeGet");
    host.fire_directory_changed(u"D:\\models");
    host.fire_directory_changed(u"D:\\work");
    host.clear_faults();
    EXPECT_EQ(history(), std::vector<std::u16string>{u"D:\\models"});
    EXPECT_EQ(host.count("ProArrayObjectAdd"), 0u);
    expect_clean();
}

// Entries are compared whole and exactly: a separator or a letter's case
// makes a different entry, the same text never a second one.
TEST_F(AddinTest, HistoryKeepsFirstReportsInOrderWithoutExactDuplicates)
{
    load();
    const char16_t* reports[] = {
        u"D:\\models",      // exactly entry 0: nothing added
        u"D:\\work",
        u"D:\\models\\",    // entry 0 with its separator: a new entry
        u"d:\\Models",      // other letter case: a new entry
        u"D:\\work",        // again: nothing added
        u"D:\\模型\\零件",   // outside ASCII, kept as it came
        u"D:\\work\\",
    };
    for (const char16_t* path : reports)
        host.fire_directory_changed(path);
    EXPECT_EQ(history(), (std::vector<std::u16string>{u"D:\\models", u"D:\\work", u"D:\\models\\",
                                                      u"d:\\Models", u"D:\\模型\\零件",
                                                      u"D:\\work\\"}));
    // Every add moved the array; the add-in followed it each time.
    EXPECT_EQ(host.count("ProArrayObjectAdd"), 5u);
    expect_clean();
}

TEST_F(AddinTest, ALongestPathIsKeptWhole)
{
    load();
    std::u16string longest = u"D:\\" + std::u16string(PRO_PATH_SIZE - 1 - 3, u'x');
    host.fire_directory_changed(longest);
    ASSERT_EQ(history().size(), 2u);
    EXPECT_EQ(history()[1], longest);
}

TEST_F(AddinTest, DirectoryChangesByTheUserReachTheHistory)
{
    disk.folder("models/sub");
    load();
    ASSERT_EQ(host.change_directory(u"D:\\models\\sub"), PRO_TK_NO_ERROR);
    EXPECT_EQ(history(), (std::vector<std::u16string>{u"D:\\models", u"D:\\models\\sub"}));
}

// A real folder named in Chinese: the same UTF-16 text in the host's
// working directory, in the notification and in the history, on every
// system.
TEST_F(AddinTest, AFolderNamedInChineseReachesTheHistoryUnchanged)
{
    const auto real = disk.folder(std::u16string(u"models/模型/零件"));
    load();
    ASSERT_EQ(host.change_directory(u"D:\\models\\模型\\零件"), PRO_TK_NO_ERROR);
    EXPECT_EQ(host.working_directory(), u"D:\\models\\模型\\零件\\");
    EXPECT_EQ(host.real_path(host.working_directory()), std::filesystem::canonical(real));
    EXPECT_EQ(history(), (std::vector<std::u16string>{u"D:\\models", u"D:\\models\\模型\\零件"}));
    expect_clean();
}

TEST_F(AddinTest, ATabSwitchReplacesAndReleasesTheTabCopy)
{
    load();
    host.switch_tab("Model");
    host.switch_tab("View");
    std::vector<std::string> strings;
    for (const auto& a : host.outstanding())
        if (a.kind == vxhost::AllocKind::String)
            strings.push_back(static_cast<const char*>(a.block));
    EXPECT_EQ(strings, std::vector<std::string>{"View"});
    EXPECT_EQ(host.count("ProStringFree"), 1u);
    expect_clean();
}

TEST_F(AddinTest, ARefusedTabCopyLeavesNoStaleName)
{
    load();
    host.switch_tab("Model");
    host.inject_fault("ProStringCopy", PRO_TK_OUT_OF_MEMORY);
    host.switch_tab("View");
    EXPECT_EQ(outstanding(), std::vector<std::string>{"array ProArrayAlloc"});
    std::size_t from = host.journal().size();
    host.unload();
    EXPECT_TRUE(calls({"ProStringFree"}, from).empty()) << "the released copy is not freed again";
    expect_clean();
}
