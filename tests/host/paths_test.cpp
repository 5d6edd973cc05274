#include <gtest/gtest.h>

#include <iterator>

#include "fixtures.h"
#include "host/errors.h"
#include "host/paths.h"
#include "host/text.h"

using namespace vxhost;

TEST(ResolveNocase, FindsNamesIgnoringCaseButPrefersAnExactMatch)
{
    vxtest::TempDir dir;
    dir.write("Text/USASCII/Vexholm.txt", "mixed");
    dir.write("Text/USASCII/VEXHOLM.TXT", "upper");

    // Where the file system folds case (Windows) the second write went to
    // the first file, and its name as on disk is the one found.
    const auto files = std::distance(fs::directory_iterator(dir.path() / "Text/USASCII"), {});
    const auto exact = resolve_nocase(dir.path(), "text/usascii/VEXHOLM.TXT");
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->filename(), files == 2 ? "VEXHOLM.TXT" : "Vexholm.txt");
    const auto folded = resolve_nocase(dir.path(), "TEXT/usAscii/Vexholm.txt");
    ASSERT_TRUE(folded);
    EXPECT_EQ(*folded, dir.path() / "Text/USASCII/Vexholm.txt");
    EXPECT_EQ(resolve_nocase(dir.path(), "text/chinese_cn/Vexholm.txt"), std::nullopt);
    EXPECT_EQ(resolve_nocase(dir.path() / "TEXT" / "usascii"), dir.path() / "Text/USASCII");
}

TEST(WindowsPathParse, ReadsDrivesSeparatorsAndRelativeForms)
{
    struct Case {
        std::u16string text;
        std::u16string base;
        std::optional<std::u16string> folder;   // folder_text() of the result
    };
    const Case cases[] = {
        {u"D:\\models\\parts", u"", u"D:\\models\\parts\\"},
        {u"d:/models/parts/", u"", u"D:\\models\\parts\\"},
        {u"D:", u"", u"D:\\"},
        {u"D:\\a\\.\\b\\..\\c", u"", u"D:\\a\\c\\"},
        {u"D:\\..\\..", u"", u"D:\\"},                  // never above the root
        {u"sub", u"E:\\work\\", u"E:\\work\\sub\\"},
        {u"..", u"E:\\work\\deep\\", u"E:\\work\\"},
        {u"\\top", u"E:\\work\\", u"E:\\top\\"},
        {u"sub", u"", std::nullopt},                    // relative with no base
        {u"1:\\x", u"", std::nullopt},
        {u"", u"", std::nullopt},
        {std::u16string(u"D:\\..\0x", 7), u"", std::nullopt},       // NUL inside a component
        {std::u16string(u"D:\\a\0", 5), u"", std::nullopt},          // NUL at the end
        {u"sub", std::u16string(u"E:\\w\0\\", 6), std::nullopt},   // NUL in the base
    };
    for (const auto& c : cases) {
        const auto parsed = parse_windows_path(c.text, c.base);
        ASSERT_EQ(parsed.has_value(), c.folder.has_value()) << to_utf8(c.text);
        if (parsed) {
            EXPECT_EQ(parsed->folder_text(), *c.folder);
        }
    }
}

TEST(DriveMap, MapsWindowsPathsOntoRealFoldersIgnoringCase)
{
    vxtest::TempDir dir;
    const auto models = fs::canonical(dir.folder("drive-d/Models/Parts"));
    DriveMap drives;
    drives.map('d', dir.path() / "drive-d");
    drives.map('E', dir.folder("drive-e"));

    EXPECT_EQ(drives.first(), 'D');
    EXPECT_EQ(drives.to_real(u"D:\\models\\PARTS"), models);
    EXPECT_EQ(drives.to_real(u"d:/Models/parts/"), models);
    // Missing parts are kept as written, so the caller can test existence.
    EXPECT_EQ(drives.to_real(u"D:\\models\\new\\x"), models.parent_path() / "new/x");
    EXPECT_EQ(drives.to_real(u"F:\\"), std::nullopt);
    // Cut at the NUL, this would be the folder above the drive's.
    EXPECT_EQ(drives.to_real(std::u16string(u"D:\\..\0x", 7)), std::nullopt);
    // A lone surrogate is a Windows name that no file here can have.
    const std::u16string lone = u"D:\\models\\x" + std::u16string(1, char16_t(0xD800));
    EXPECT_EQ(drives.to_real(lone), std::nullopt);
    ASSERT_TRUE(parse_windows_path(lone));
    EXPECT_EQ(drives.reach(*parse_windows_path(lone)), std::nullopt);

    EXPECT_EQ(drives.to_windows(models), u"D:\\Models\\Parts");
    EXPECT_EQ(drives.to_windows(dir.path() / "drive-e"), u"E:\\");
    EXPECT_EQ(drives.to_windows(dir.path() / "drive-d/Models/../Models"), u"D:\\Models");
    EXPECT_EQ(drives.to_windows(dir.path()), std::nullopt);
}

#ifndef _WIN32
// A name on disk that is no text in the file system's encoding (a byte
// that begins no UTF-8 sequence) has no Windows spelling: the path has no
// Windows text, and the folder around it still has its own.
TEST(DriveMap, APathThroughANameThatIsNoTextHasNoWindowsText)
{
    vxtest::TempDir dir;
    const fs::path odd = dir.folder("drive-d/models/bad\xFFname");
    DriveMap drives;
    drives.map('D', dir.path() / "drive-d");
    EXPECT_EQ(drives.to_windows(odd), std::nullopt);
    EXPECT_EQ(drives.to_windows(odd / "bracket.prt.1"), std::nullopt);
    EXPECT_EQ(drives.to_windows(dir.path() / "drive-d/models"), u"D:\\models");
}
#endif

TEST(DriveMap, RefusesBadLettersAndMissingFolders)
{
    vxtest::TempDir dir;
    DriveMap drives;
    EXPECT_THROW(drives.map('1', dir.path()), HostError);
    EXPECT_THROW(drives.map('D', dir.path() / "none"), HostError);
    EXPECT_TRUE(drives.empty());
    drives.map('D', dir.folder("one"));
    drives.map('D', dir.folder("two"));       // a remap replaces
    EXPECT_EQ(drives.drives().size(), 1u);
    EXPECT_EQ(drives.to_real(u"D:\\"), fs::canonical(dir.path() / "two"));
}
