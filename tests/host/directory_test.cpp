#include <gtest/gtest.h>

#include <cstring>

#include "fixtures.h"
#include "host/host.h"
#include "host_calls.h"

using namespace vxhost;

namespace {

// What the last directory notification handed over, all 260 units of it.
struct Received {
    int calls = 0;
    ProPath buffer;
} received;

ProError on_directory_change(ProWchar* path)
{
    ++received.calls;
    std::memcpy(received.buffer, path, sizeof received.buffer);
    return PRO_TK_NO_ERROR;
}

std::string last_tabs;

ProError on_tab_switch(char* left, char* entered)
{
    last_tabs = std::string(left) + ">" + entered;
    return PRO_TK_NO_ERROR;
}

}  // namespace

class Directories : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.folder("drive-d/Models/Parts");
        dir.write("drive-d/Models/readme.txt", "not a folder");
        host.map_drive('D', dir.path() / "drive-d");
        host.map_drive('E', dir.folder("drive-e"));
        received = Received{};
        ASSERT_EQ(calls.notification_set(PRO_DIRECTORY_CHANGE_POST,
                                         reinterpret_cast<ProFunction>(on_directory_change)),
                  PRO_TK_NO_ERROR);
    }

    std::u16string current()
    {
        ProPath path;
        EXPECT_EQ(calls.directory_get(path), PRO_TK_NO_ERROR);
        return path;
    }

    vxtest::TempDir dir;
    Host host;
    vxtest::HostCalls calls{host};
};

TEST_F(Directories, StartsAtTheFirstDrivesRootOrWhereItWasSet)
{
    EXPECT_EQ(current(), u"D:\\");
    host.set_working_directory(u"E:\\work");
    EXPECT_EQ(current(), u"E:\\work\\");
    EXPECT_EQ(received.calls, 0);     // setting it up is not a change the add-in hears of
}

TEST_F(Directories, CurrentGetNeverOverrunsTheBuffer)
{
    host.set_working_directory(u"D:\\" + std::u16string(300, u'a'));
    ProPath path;
    std::fill(std::begin(path), std::end(path), u'#');
    EXPECT_EQ(calls.directory_get(path), PRO_TK_LINE_TOO_LONG);
    EXPECT_EQ(path[0], u'#');
    EXPECT_EQ(host.errors().size(), 1u);
    EXPECT_EQ(calls.directory_get(nullptr), PRO_TK_BAD_INPUTS);
}

TEST_F(Directories, ChangeRefusesWhatIsNotAnExistingMappedFolder)
{
    // n units naming D:\Models by way of "x\..\" pairs and empty components.
    const auto long_path_of = [](std::size_t n) {
        std::u16string path = u"D:\\";
        while (path.size() + 5 <= n - 6)
            path += u"x\\..\\";
        path.resize(n - 6, u'\\');
        return path + u"Models";
    };
    // 259 units: with the trailing separator added it no longer fits.
    const std::u16string long_path = long_path_of(259);
    ASSERT_EQ(long_path.size(), 259u);
    std::vector<ProWchar> unterminated(PRO_PATH_SIZE, u'a');
    unterminated[0] = u'D';
    unterminated[1] = u':';
    unterminated[2] = u'\\';

    struct Case {
        const ProWchar* path;
        ProError status;
    };
    const Case cases[] = {
        {nullptr, PRO_TK_BAD_INPUTS},
        {unterminated.data(), PRO_TK_INVALID_DIR},
        {long_path.c_str(), PRO_TK_INVALID_DIR},
        {u"F:\\", PRO_TK_INVALID_DIR},                  // not mapped
        {u"D:\\Models\\Missing", PRO_TK_INVALID_DIR},
        {u"D:\\Models\\readme.txt", PRO_TK_INVALID_DIR},  // a file
        {u"", PRO_TK_INVALID_DIR},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(calls.directory_change(c.path), c.status);
        EXPECT_EQ(current(), u"D:\\");
    }
    EXPECT_EQ(received.calls, 0);
    // One unit shorter, the same folder is accepted.
    const std::u16string fits = long_path_of(258);
    EXPECT_EQ(calls.directory_change(fits.c_str()), PRO_TK_NO_ERROR);
    EXPECT_EQ(current(), fits + u"\\");
}

TEST_F(Directories, ChangeKeepsTheCallersDriveTextAndNotifiesWithIt)
{
    ASSERT_EQ(calls.directory_change(u"d:\\models\\PARTS"), PRO_TK_NO_ERROR);
    EXPECT_EQ(current(), u"d:\\models\\PARTS\\");
    ASSERT_EQ(received.calls, 1);
    EXPECT_EQ(std::u16string(received.buffer), u"d:\\models\\PARTS");
    // The rest of the buffer is zero: the add-in copies all of it.
    EXPECT_TRUE(std::all_of(received.buffer + 15, std::end(received.buffer), [](ProWchar c) { return c == 0; }));

    ASSERT_EQ(calls.directory_change(u".."), PRO_TK_NO_ERROR);   // relative to the working directory
    EXPECT_EQ(current(), u"D:\\models\\");
    EXPECT_EQ(std::u16string(received.buffer), u"D:\\models\\") << "a relative change is reported resolved";

    // The user changing it is heard of the same way.
    EXPECT_EQ(host.change_directory(u"E:/"), PRO_TK_NO_ERROR);
    EXPECT_EQ(host.working_directory(), u"E:/");
    EXPECT_EQ(received.calls, 3);
    EXPECT_EQ(host.change_directory(u"E:\\nowhere"), PRO_TK_INVALID_DIR);
    EXPECT_EQ(host.transcript().back(), "cd E:\\nowhere: refused (-15)");
}

// Names outside ASCII go to the file system as UTF-16 and come back the
// same, however the system spells its narrow file names.
TEST_F(Directories, ChangeFindsAFolderNamedInChinese)
{
    const auto real = fs::canonical(dir.folder(std::u16string(u"drive-d/模型/零件")));
    ASSERT_EQ(calls.directory_change(u"D:\\模型\\零件"), PRO_TK_NO_ERROR);
    EXPECT_EQ(current(), u"D:\\模型\\零件\\");
    EXPECT_EQ(std::u16string(received.buffer), u"D:\\模型\\零件");
    EXPECT_EQ(host.real_path(current()), real);
    EXPECT_EQ(host.windows_path(real), u"D:\\模型\\零件");
    EXPECT_EQ(calls.directory_change(u"D:\\模型\\部件"), PRO_TK_INVALID_DIR);   // no such folder
    EXPECT_EQ(current(), u"D:\\模型\\零件\\");
}

TEST_F(Directories, NotificationsCanBeFiredDirectlyAndUnset)
{
    host.fire_directory_changed(u"d:\\Models");
    EXPECT_EQ(std::u16string(received.buffer), u"d:\\Models");
    EXPECT_EQ(current(), u"D:\\");

    ASSERT_EQ(calls.notification_set(PRO_RIBBON_TAB_SWITCH, reinterpret_cast<ProFunction>(on_tab_switch)),
              PRO_TK_NO_ERROR);
    EXPECT_EQ(host.current_tab(), "Home");
    host.switch_tab("Tools");
    EXPECT_EQ(last_tabs, "Home>Tools");
    EXPECT_EQ(host.current_tab(), "Tools");
    host.fire_tab_switch("Any", "Text");
    EXPECT_EQ(last_tabs, "Any>Text");

    EXPECT_EQ(calls.notification_unset(PRO_RIBBON_TAB_SWITCH), PRO_TK_NO_ERROR);
    EXPECT_EQ(calls.notification_unset(PRO_RIBBON_TAB_SWITCH), PRO_TK_E_NOT_FOUND);
    host.switch_tab("Home");
    EXPECT_EQ(last_tabs, "Any>Text");
    EXPECT_EQ(calls.notification_set(PRO_RIBBON_TAB_SWITCH, nullptr), PRO_TK_BAD_INPUTS);
}

TEST_F(Directories, ConvertsBetweenWindowsAndRealPaths)
{
    host.set_working_directory(u"D:\\Models\\");
    const auto parts = fs::canonical(dir.path() / "drive-d/Models/Parts");
    EXPECT_EQ(host.real_path(u"parts"), parts);
    EXPECT_EQ(host.real_path(u"D:\\MODELS\\parts"), parts);
    EXPECT_EQ(host.windows_path(parts), u"D:\\Models\\Parts");
    EXPECT_EQ(host.real_path(u"Q:\\"), std::nullopt);
}
