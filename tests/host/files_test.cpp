// Listing the versions of a directory, splitting a path, and (off Windows)
// the shell's delete into the recycle bin, called as the add-in would.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <functional>
#include <sstream>

#include "fixtures.h"
#include "host/host.h"
#include "host/scenario.h"
#include "host/text.h"

using namespace vxhost;

namespace {

using ListFn = decltype(&::ProFilesList);
using ParseFn = decltype(&::ProFilenameParse);

[[maybe_unused]] std::string read_file(const fs::path& file)   // the shell tests, off Windows
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Folders are listed in the directory's order, whatever the order of files.
std::vector<std::u16string> sorted(std::vector<std::u16string> paths)
{
    std::sort(paths.begin(), paths.end());
    return paths;
}

}  // namespace

class Files : public ::testing::Test {
protected:
    Files()
    {
        for (const char* name : {"bracket.prt.1", "bracket.prt.2", "bracket.prt.10", "BRACKET.DRW.1",
                                 "bracket.drw.2", "shaft.prt", "notes.txt", "README",
                                 "sub/inner.prt.1"})
            disk.write(fs::path("models") / name, name);
        host.map_drive('D', disk.path());
        host.set_working_directory(u"D:\\models\\");
        host.set_listing_order(ListingOrder::ByName);
    }

    ~Files() override
    {
        ProArray a = files, b = dirs;
        if (a)
            host.entry<decltype(&::ProArrayFree)>("ProArrayFree")(&a);
        if (b)
            host.entry<decltype(&::ProArrayFree)>("ProArrayFree")(&b);
    }

    // Lists into two fresh path arrays; the listed files in `listed`.
    ProError list(const char16_t* directory, const char16_t* filter, ProFileListOpt option)
    {
        auto alloc = host.entry<decltype(&::ProArrayAlloc)>("ProArrayAlloc");
        ProArray a = nullptr, b = nullptr;
        alloc(0, sizeof(ProPath), 1, &a);
        alloc(0, sizeof(ProPath), 1, &b);
        files = static_cast<ProPath*>(a);
        dirs = static_cast<ProPath*>(b);
        const ProError status = list_fn(directory, filter, option, &files, &dirs);
        listed = host.path_array(files);
        listed_dirs = host.path_array(dirs);
        return status;
    }

    // Runs `body` as the action of one command of the user's, so that the
    // calls it makes share what the host learns while a command runs.
    void command(std::function<void()> body)
    {
        if (!probe_added) {
            uiCmdCmdId id = nullptr;
            ASSERT_EQ(host.entry<decltype(&::ProCmdActionAdd)>("ProCmdActionAdd")(
                          "Probe", run_body, uiProe2ndImmediate, nullptr, PRO_B_TRUE, PRO_B_TRUE, &id),
                      PRO_TK_NO_ERROR);
            probe_added = true;
        }
        body_ = std::move(body);
        EXPECT_TRUE(host.run_action("Probe"));
        body_ = nullptr;
    }

    vxtest::TempDir disk;
    Host host;
    ListFn list_fn = host.entry<ListFn>("ProFilesList");
    ParseFn parse = host.entry<ParseFn>("ProFilenameParse");
    ProPath* files = nullptr;
    ProPath* dirs = nullptr;
    std::vector<std::u16string> listed, listed_dirs;

private:
    static int run_body(uiCmdCmdId, uiCmdValue*, void*)
    {
        body_();
        return 0;
    }

    bool probe_added = false;
    static inline std::function<void()> body_;
};

TEST_F(Files, ListsEveryVersionOrTheNewestOfEachNameMatchingIgnoringCase)
{
    struct Case {
        const char16_t* filter;
        ProFileListOpt option;
        std::vector<std::u16string> expected;
    };
    const Case cases[] = {
        {u"*.prt", PRO_FILE_LIST_ALL,
         {u"D:\\models\\bracket.prt.1", u"D:\\models\\bracket.prt.10", u"D:\\models\\bracket.prt.2",
          u"D:\\models\\shaft.prt"}},
        {u"*.prt", PRO_FILE_LIST_LATEST, {u"D:\\models\\bracket.prt.10", u"D:\\models\\shaft.prt"}},
        {u"*.drw", PRO_FILE_LIST_ALL, {u"D:\\models\\BRACKET.DRW.1", u"D:\\models\\bracket.drw.2"}},
        {u"*.DRW", PRO_FILE_LIST_LATEST, {u"D:\\models\\bracket.drw.2"}},
        {u"Bracket.Drw", PRO_FILE_LIST_ALL, {u"D:\\models\\BRACKET.DRW.1", u"D:\\models\\bracket.drw.2"}},
        {u"?racket.prt", PRO_FILE_LIST_LATEST, {u"D:\\models\\bracket.prt.10"}},
        {u"bracket.prt.1", PRO_FILE_LIST_ALL, {}},   // the filter never sees the version
        {u"*.asm", PRO_FILE_LIST_ALL, {}},
        {u"README", PRO_FILE_LIST_ALL, {u"D:\\models\\README"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(to_utf8(c.filter) + " option " + std::to_string(c.option));
        ASSERT_EQ(list(nullptr, c.filter, c.option), PRO_TK_NO_ERROR);
        EXPECT_EQ(listed, c.expected);
        EXPECT_EQ(listed_dirs, std::vector<std::u16string>{u"D:\\models\\sub"});
    }
    EXPECT_EQ(host.errors(), std::vector<std::string>{});
}

TEST_F(Files, ListsAnotherFolderAndRefusesBadInputs)
{
    ASSERT_EQ(list(u"D:\\MODELS\\Sub", u"*.prt", PRO_FILE_LIST_ALL), PRO_TK_NO_ERROR);
    EXPECT_EQ(listed, std::vector<std::u16string>{u"D:\\MODELS\\Sub\\inner.prt.1"});
    EXPECT_EQ(list(u"sub", u"*", PRO_FILE_LIST_LATEST), PRO_TK_NO_ERROR);
    EXPECT_EQ(listed, std::vector<std::u16string>{u"D:\\models\\sub\\inner.prt.1"});

    EXPECT_EQ(list(u"D:\\nowhere", u"*.prt", PRO_FILE_LIST_ALL), PRO_TK_INVALID_DIR);
    EXPECT_EQ(list(u"Q:\\models", u"*.prt", PRO_FILE_LIST_ALL), PRO_TK_INVALID_DIR);
    EXPECT_EQ(list(u"D:\\models\\notes.txt", u"*", PRO_FILE_LIST_ALL), PRO_TK_INVALID_DIR);
    EXPECT_EQ(list(nullptr, nullptr, PRO_FILE_LIST_ALL), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(list(nullptr, u"*.prt", 2), PRO_TK_BAD_INPUTS);
    EXPECT_TRUE(listed.empty());

    // Arrays that are not live host arrays of 520-byte elements.
    ProPath stranger[1];
    ProPath* not_host = stranger;
    ProArray ints = nullptr;
    host.entry<decltype(&::ProArrayAlloc)>("ProArrayAlloc")(0, sizeof(int), 1, &ints);
    ProPath* small = static_cast<ProPath*>(ints);
    ASSERT_EQ(list(nullptr, u"*", PRO_FILE_LIST_ALL), PRO_TK_NO_ERROR);
    EXPECT_EQ(list_fn(nullptr, u"*", PRO_FILE_LIST_ALL, &not_host, &dirs), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(list_fn(nullptr, u"*", PRO_FILE_LIST_ALL, &files, &small), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(list_fn(nullptr, u"*", PRO_FILE_LIST_ALL, nullptr, &dirs), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(not_host, stranger);
    host.entry<decltype(&::ProArrayFree)>("ProArrayFree")(&ints);
}

TEST_F(Files, AppendsToWhatTheArraysHoldAndTheyMove)
{
    ASSERT_EQ(list(nullptr, u"*.drw", PRO_FILE_LIST_LATEST), PRO_TK_NO_ERROR);
    ProPath* before = files;
    ASSERT_EQ(list_fn(nullptr, u"*.prt", PRO_FILE_LIST_LATEST, &files, &dirs), PRO_TK_NO_ERROR);
    EXPECT_NE(files, before);
    EXPECT_EQ(host.path_array(files),
              (std::vector<std::u16string>{u"D:\\models\\bracket.drw.2", u"D:\\models\\bracket.prt.10",
                                           u"D:\\models\\shaft.prt"}));
    // The old block of the file array went with the move.
    EXPECT_EQ(host.outstanding().size(), 2u);
    EXPECT_EQ(host.ledger_errors(), std::vector<std::string>{});
}

TEST_F(Files, APathThatWouldNotFitIsLeftOutWithAnError)
{
    // D:\models\ is 10 units: names of 249 and 250 units give paths of 259 and 260.
    const std::string fits = std::string(243, 'f') + ".prt.1";
    const std::string too_long = std::string(244, 'g') + ".prt.1";
    disk.write(fs::path("models") / fits, "");
    disk.write(fs::path("models") / too_long, "");
    ASSERT_EQ(list(nullptr, u"*.prt", PRO_FILE_LIST_LATEST), PRO_TK_NO_ERROR);
    const std::u16string listed_long = u"D:\\models\\" + to_utf16(fits);
    EXPECT_EQ(listed_long.size(), 259u);
    EXPECT_NE(std::find(listed.begin(), listed.end(), listed_long), listed.end());
    EXPECT_EQ(listed.size(), 3u);   // with bracket.prt.10 and shaft.prt
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_NE(host.errors()[0].find(too_long), std::string::npos);
}

TEST_F(Files, TheListingOrderIsTheTestsChoice)
{
    for (int v = 3; v <= 9; ++v)
        disk.write("models/bracket.prt." + std::to_string(v), "");
    ASSERT_EQ(list(nullptr, u"bracket.prt", PRO_FILE_LIST_ALL), PRO_TK_NO_ERROR);
    const auto by_name = listed;
    ASSERT_EQ(by_name.size(), 10u);
    EXPECT_TRUE(std::is_sorted(by_name.begin(), by_name.end()));

    host.set_listing_order(ListingOrder::Reversed);
    list(nullptr, u"bracket.prt", PRO_FILE_LIST_ALL);
    EXPECT_EQ(listed, std::vector<std::u16string>(by_name.rbegin(), by_name.rend()));

    std::vector<std::vector<std::u16string>> shuffles;
    for (unsigned seed : {1u, 2u, 1u}) {
        host.set_listing_order(ListingOrder::Shuffled, seed);
        list(nullptr, u"bracket.prt", PRO_FILE_LIST_ALL);
        shuffles.push_back(listed);
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(listed, by_name) << "a shuffle lists the same files";
    }
    EXPECT_EQ(shuffles[0], shuffles[2]) << "the same seed, the same order";
    EXPECT_NE(shuffles[0], shuffles[1]);
    EXPECT_NE(shuffles[0], by_name);
}

TEST_F(Files, ParseSplitsDirectoryNameExtensionAndVersion)
{
    struct Case {
        const char16_t* path;
        ProError status;
        const char16_t* directory;
        const char16_t* name;
        const char16_t* extension;
        int version;
    };
    const Case cases[] = {
        {u"D:\\models\\bracket.prt.3", PRO_TK_NO_ERROR, u"D:\\models\\", u"bracket", u"prt", 3},
        {u"bracket.prt", PRO_TK_NO_ERROR, u"", u"bracket", u"prt", 0},
        {u"D:/a/b.c.d.12", PRO_TK_NO_ERROR, u"D:/a/", u"b.c", u"d", 12},
        {u"D:\\a\\notes.3", PRO_TK_NO_ERROR, u"D:\\a\\", u"notes", u"3", 0},   // 3 is its extension
        {u"x.prt.2147483647", PRO_TK_NO_ERROR, u"", u"x", u"prt", INT_MAX},
        {u"x.prt.2147483648", PRO_TK_NO_ERROR, u"", u"x.prt", u"2147483648", 0},   // no int: no version
        {u"x.prt.0010", PRO_TK_NO_ERROR, u"", u"x", u"prt", 10},
        {u"D:\\models\\archive", PRO_TK_BAD_INPUTS, nullptr, nullptr, nullptr, 0},
        {u"D:\\models\\archive.", PRO_TK_BAD_INPUTS, nullptr, nullptr, nullptr, 0},
        {u"D:\\models\\.prt", PRO_TK_BAD_INPUTS, nullptr, nullptr, nullptr, 0},
        {u"D:\\models\\", PRO_TK_BAD_INPUTS, nullptr, nullptr, nullptr, 0},
        {nullptr, PRO_TK_BAD_INPUTS, nullptr, nullptr, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path ? to_utf8(c.path) : "(null)");
        ProPath directory = u"untouched";
        ProName name = u"untouched", extension = u"untouched";
        int version = -7;
        ASSERT_EQ(parse(c.path, directory, name, extension, &version), c.status);
        if (c.status != PRO_TK_NO_ERROR) {
            EXPECT_EQ(std::u16string(directory), u"untouched");
            EXPECT_EQ(std::u16string(name), u"untouched");
            EXPECT_EQ(version, -7);
            continue;
        }
        EXPECT_EQ(std::u16string(directory), c.directory);
        EXPECT_EQ(std::u16string(name), c.name);
        EXPECT_EQ(std::u16string(extension), c.extension);
        EXPECT_EQ(version, c.version);
    }
}

// A 32-unit buffer holds 31 units and the terminator. What does not fit
// fails the call when that output is asked for, and only then.
TEST_F(Files, ParseFailsRatherThanOverrunAnOutput)
{
    const std::u16string name31 = std::u16string(31, u'n') + u".prt.2";
    const std::u16string name32 = std::u16string(32, u'n') + u".prt.2";
    const std::u16string ext32 = u"a." + std::u16string(32, u'e') + u".2";
    ProName name{}, extension{};
    int version = 0;
    EXPECT_EQ(parse(name31.c_str(), nullptr, name, extension, &version), PRO_TK_NO_ERROR);
    EXPECT_EQ(std::u16string(name), std::u16string(31, u'n'));
    EXPECT_EQ(parse(name32.c_str(), nullptr, name, nullptr, nullptr), PRO_TK_LINE_TOO_LONG);
    EXPECT_EQ(parse(ext32.c_str(), nullptr, nullptr, extension, nullptr), PRO_TK_LINE_TOO_LONG);
    EXPECT_EQ(parse(name32.c_str(), nullptr, nullptr, nullptr, &version), PRO_TK_NO_ERROR);
    EXPECT_EQ(version, 2);
    EXPECT_EQ(parse(ext32.c_str(), nullptr, name, nullptr, &version), PRO_TK_NO_ERROR);
    EXPECT_EQ(std::u16string(name), u"a");

    // A buffer with no terminator within 260 units is read no further.
    std::vector<ProWchar> unterminated(PRO_PATH_SIZE, u'x');
    EXPECT_EQ(parse(unterminated.data(), nullptr, nullptr, nullptr, &version), PRO_TK_LINE_TOO_LONG);
}

// While a command runs the host reads a folder once: the real shell moves
// files behind its back on Windows, so there every listing reads again.
TEST_F(Files, WithinACommandAChangeBesideTheHostIsSeenOnlyOnWindows)
{
    command([&] {
        ASSERT_EQ(list(nullptr, u"bracket.prt", PRO_FILE_LIST_ALL), PRO_TK_NO_ERROR);
        EXPECT_EQ(listed.size(), 3u);
        disk.write("models/bracket.prt.7", "");
        disk.folder("models/later");
        ASSERT_EQ(list(nullptr, u"bracket.prt", PRO_FILE_LIST_ALL), PRO_TK_NO_ERROR);
#ifdef _WIN32
        EXPECT_EQ(listed.size(), 4u);
        EXPECT_EQ(listed_dirs.size(), 2u);
#else
        EXPECT_EQ(listed.size(), 3u);
        EXPECT_EQ(listed_dirs.size(), 1u);
#endif
    });
    // The next command reads the folder again.
    command([&] {
        ASSERT_EQ(list(nullptr, u"bracket.prt", PRO_FILE_LIST_ALL), PRO_TK_NO_ERROR);
        EXPECT_EQ(listed, (std::vector<std::u16string>{u"D:\\models\\bracket.prt.1", u"D:\\models\\bracket.prt.10",
                                                       u"D:\\models\\bracket.prt.2", u"D:\\models\\bracket.prt.7"}));
        EXPECT_EQ(sorted(listed_dirs), (std::vector<std::u16string>{u"D:\\models\\later", u"D:\\models\\sub"}));
    });
    EXPECT_EQ(host.errors(), std::vector<std::string>{});
}

TEST_F(Files, AListingFaultIsAppliedPerFilter)
{
    host.inject_fault("ProFilesList", PRO_TK_GENERAL_ERROR, 0, "\"*.prt\"");
    EXPECT_EQ(list(nullptr, u"*.prt", PRO_FILE_LIST_LATEST), PRO_TK_GENERAL_ERROR);
    EXPECT_TRUE(listed.empty());
    EXPECT_EQ(list(nullptr, u"*.drw", PRO_FILE_LIST_LATEST), PRO_TK_NO_ERROR);
    EXPECT_EQ(listed.size(), 1u);
}

#ifndef _WIN32

struct Order {
    ListingOrder order;
    unsigned seed;
};

class Shell : public Files {
protected:
    // A one-name list as the add-in builds it.
    int shell(const std::u16string& name, unsigned flags = 0x454, unsigned function = FO_DELETE)
    {
        std::u16string list = name;
        list += u'\0';
        list += u'\0';
        return shell_list(list.c_str(), flags, function);
    }

    int shell_list(const char16_t* list, unsigned flags = 0x454, unsigned function = FO_DELETE)
    {
        SHFILEOPSTRUCTW request{};
        request.wFunc = function;
        request.pFrom = list;
        request.fFlags = static_cast<FILEOP_FLAGS>(flags);
        return shell_fn(&request);
    }

    fs::path models() const { return disk.path() / "models"; }

    decltype(&::SHFileOperationW) shell_fn = host.entry<decltype(&::SHFileOperationW)>("SHFileOperationW");
};

TEST_F(Shell, ADeleteWithUndoMovesToTheDrivesBinAndKeepsWhereItCameFrom)
{
    disk.write("models/sub/bracket.prt.1", "the other one");
    ASSERT_EQ(shell(u"D:\\models\\bracket.prt.1"), 0);
    ASSERT_EQ(shell(u"d:\\Models\\SUB\\bracket.prt.1"), 0);
    EXPECT_FALSE(fs::exists(models() / "bracket.prt.1"));
    EXPECT_FALSE(fs::exists(models() / "sub/bracket.prt.1"));

    const auto& bin = host.recycle_bin();
    ASSERT_EQ(bin.size(), 2u);
    EXPECT_EQ(bin[0].original, u"D:\\models\\bracket.prt.1");
    EXPECT_EQ(bin[1].original, u"d:\\Models\\SUB\\bracket.prt.1");
    EXPECT_NE(bin[0].file, bin[1].file) << "same names must not collide";
    for (const auto& f : bin) {
        EXPECT_EQ(f.file.parent_path(), fs::canonical(disk.path()) / "$Recycle.Bin");
        EXPECT_EQ(f.info.parent_path(), f.file.parent_path());
    }
    EXPECT_EQ(read_file(bin[0].file), "bracket.prt.1");
    EXPECT_EQ(read_file(bin[1].file), "the other one");
    EXPECT_NE(read_file(bin[0].info).find(R"("path": "D:\\models\\bracket.prt.1")"), std::string::npos);
    EXPECT_NE(read_file(bin[0].info).find("\"deleted\": \"20"), std::string::npos);

    ASSERT_EQ(host.shell_requests().size(), 2u);
    const ShellRequest& r = host.shell_requests()[0];
    EXPECT_EQ(r.function, static_cast<unsigned>(FO_DELETE));
    EXPECT_EQ(r.flags, 0x454u);
    EXPECT_EQ(r.names, std::vector<std::u16string>{u"D:\\models\\bracket.prt.1"});
    EXPECT_EQ(r.result, 0);
    const auto& t = host.transcript();
    EXPECT_NE(std::find(t.begin(), t.end(), "shell: recycled D:\\models\\bracket.prt.1"), t.end());
    EXPECT_EQ(host.errors(), std::vector<std::string>{});
}

TEST_F(Shell, ADeleteWithoutUndoRemovesForGood)
{
    ASSERT_EQ(shell(u"D:\\models\\notes.txt", FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI), 0);
    EXPECT_FALSE(fs::exists(models() / "notes.txt"));
    EXPECT_TRUE(host.recycle_bin().empty());
    EXPECT_FALSE(fs::exists(disk.path() / "$Recycle.Bin"));
}

// Every failure is a result, never a box when the flags ask for none, and
// a request with one bad name touches none of its names.
TEST_F(Shell, FailuresAreResultsAndTouchNothing)
{
    struct Case {
        const char16_t* list;   // double-NUL list
        unsigned flags;
        int result;
        bool box;
    };
    const Case cases[] = {
        {u"D:\\models\\gone.prt.1\0", 0x454, 2, false},
        {u"Q:\\models\\bracket.prt.1\0", 0x454, 0x7C, false},
        {u"D:\\\0", 0x454, 0x7C, false},
        {u"D:\\models\\bracket.prt.1\0D:\\models\\gone.prt.1\0", 0x454, 2, false},
        {u"D:\\models\\gone.prt.1\0", 0x054, 2, true},   // no FOF_NOERRORUI: the shell's box
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(to_utf8(c.list));
        const std::size_t lines = host.transcript().size();
        EXPECT_EQ(shell_list(c.list, c.flags), c.result);
        EXPECT_EQ(host.transcript().size() - lines, c.box ? 1u : 0u);
        EXPECT_TRUE(fs::exists(models() / "bracket.prt.1"));
    }
    EXPECT_EQ(host.shell_requests().back().result, 2);
    EXPECT_EQ(host.shell_requests()[3].names.size(), 2u);
    EXPECT_TRUE(host.recycle_bin().empty());
    EXPECT_EQ(host.errors(), std::vector<std::string>{});
}

TEST_F(Shell, BadRequestsAreRefusedAndAnUnendingListIsReadNoFurtherThanItsLimit)
{
    EXPECT_NE(shell_fn(nullptr), 0);
    EXPECT_NE(shell_list(nullptr), 0);
    EXPECT_NE(shell_list(u"\0"), 0);                                  // no name at all
    EXPECT_NE(shell(u"D:\\models\\bracket.prt.1", 0x454, 1), 0);       // FO_MOVE: not played
    std::vector<char16_t> endless(32768, u'x');
    EXPECT_NE(shell_list(endless.data()), 0);
    EXPECT_TRUE(fs::exists(models() / "bracket.prt.1"));
    EXPECT_EQ(host.errors().size(), 5u);
    EXPECT_EQ(host.shell_requests().size(), 5u);
}

// The whole request is looked at: each field the add-in leaves empty, and
// each flag that keeps the real shell from showing or asking anything, is
// one ledger error when it is not as it should be. The delete still runs,
// as the real shell's would once the user had seen or answered it.
TEST_F(Shell, EveryFieldAndFlagOfTheRequestIsChecked)
{
    static const char16_t list[] = u"D:\\models\\bracket.prt.1\0";
    struct Case {
        const char* why;
        void (*spoil)(SHFILEOPSTRUCTW& r);
        const char* error;
    };
    const Case cases[] = {
        {"as the add-in asks", [](SHFILEOPSTRUCTW&) {}, nullptr},
        {"owner window", [](SHFILEOPSTRUCTW& r) { r.hwnd = reinterpret_cast<HWND>(8); },
         "an owner window was given"},
        {"target list", [](SHFILEOPSTRUCTW& r) { r.pTo = list; }, "a target list was given"},
        {"progress title", [](SHFILEOPSTRUCTW& r) { r.lpszProgressTitle = u"t"; },
         "a progress title was given"},
        {"name mappings", [](SHFILEOPSTRUCTW& r) { r.hNameMappings = &r; },
         "name mappings were given"},
        {"not silent", [](SHFILEOPSTRUCTW& r) { r.fFlags &= ~FOF_SILENT; },
         "the shell would show a progress window"},
        {"confirming", [](SHFILEOPSTRUCTW& r) { r.fFlags &= ~FOF_NOCONFIRMATION; },
         "the shell would ask the user"},
        {"error box", [](SHFILEOPSTRUCTW& r) { r.fFlags &= ~FOF_NOERRORUI; },
         "the shell would show an error box"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        disk.write("models/bracket.prt.1", "bracket.prt.1");
        const std::size_t errors = host.ledger_errors().size();
        SHFILEOPSTRUCTW request{};
        request.wFunc = FO_DELETE;
        request.pFrom = list;
        request.fFlags = 0x454;
        c.spoil(request);
        EXPECT_EQ(shell_fn(&request), 0);
        EXPECT_FALSE(fs::exists(models() / "bracket.prt.1"));
        if (!c.error) {
            EXPECT_EQ(host.ledger_errors().size(), errors);
            continue;
        }
        ASSERT_EQ(host.ledger_errors().size(), errors + 1);
        EXPECT_NE(host.ledger_errors().back().find(c.error), std::string::npos)
            << host.ledger_errors().back();
    }
}

TEST_F(Shell, AFaultIsAppliedPerPath)
{
    host.inject_fault("SHFileOperationW", 5, 0, "bracket.prt.2");
    EXPECT_EQ(shell(u"D:\\models\\bracket.prt.2"), 5);
    EXPECT_EQ(shell(u"D:\\models\\bracket.prt.1"), 0);
    EXPECT_TRUE(fs::exists(models() / "bracket.prt.2"));
    ASSERT_EQ(host.shell_requests().size(), 2u);
    EXPECT_EQ(host.shell_requests()[0].result, 5);
    EXPECT_EQ(host.recycle_bin().size(), 1u);
}

TEST_F(Shell, ScenarioStepsMakeFilesAndPrintFoldersAndTheBin)
{
    std::ostringstream out, err;
    const std::string setup = "touch D:\\models\\new\\gear.asm.1\n"
                              "files D:\\models\\new\n";
    ASSERT_EQ(run_scenario_text(host, disk.path() / "protk.dat", setup, disk.path() / "s.scn", out, err), 0)
        << err.str();
    EXPECT_EQ(out.str(), "files in D:\\models\\new: 1\n  gear.asm.1\n");
    ASSERT_EQ(shell(u"D:\\models\\new\\gear.asm.1"), 0);
    out.str("");
    ASSERT_EQ(run_scenario_text(host, disk.path() / "protk.dat", "bin\n", disk.path() / "s.scn", out, err), 0);
    EXPECT_EQ(out.str(), "recycle bin: 1 file(s)\n  D:\\models\\new\\gear.asm.1 -> $Recycle.Bin/R1_gear.asm.1\n");
    for (const char* bad : {"touch Q:\\x.prt.1\n", "files D:\\nowhere\n", "bin extra\n"})
        EXPECT_EQ(run_scenario_text(host, disk.path() / "protk.dat", bad, disk.path() / "s.scn", out, err), 2)
            << bad;
}

// What a command learnt of a folder stays true as the host's own shell
// and saves change it: every listing in the command, read once, gives
// what a fresh read of the folder gives after it.
TEST_F(Shell, WithinACommandListingsFollowTheShellsMovesAndTheSaves)
{
    disk.write("models/bracket.prt.10", R"({"type": "part"})");
    const ProMdl bracket = host.open_model("bracket", PRO_MDL_PART);
    const auto save = host.entry<decltype(&::ProMdlSave)>("ProMdlSave");
    const auto views = [&] {
        std::vector<std::vector<std::u16string>> seen;
        for (const char16_t* filter : {u"*.prt", u"bracket.prt", u"*"}) {
            EXPECT_EQ(list(nullptr, filter, PRO_FILE_LIST_ALL), PRO_TK_NO_ERROR);
            seen.push_back(listed);
            list(nullptr, filter, PRO_FILE_LIST_LATEST);
            seen.push_back(listed);
        }
        list(u"D:\\", u"*", PRO_FILE_LIST_ALL);
        seen.push_back(sorted(listed_dirs));
        list(u"D:\\$Recycle.Bin", u"R*", PRO_FILE_LIST_ALL);
        seen.push_back(listed);
        return seen;
    };
    std::vector<std::vector<std::u16string>> in_command;
    command([&] {
        views();   // every folder read before anything changes
        ASSERT_EQ(shell(u"D:\\models\\bracket.prt.2"), 0);   // makes the bin in D:\ too
        list(u"D:\\", u"*", PRO_FILE_LIST_ALL);
        EXPECT_EQ(sorted(listed_dirs), (std::vector<std::u16string>{u"D:\\$Recycle.Bin", u"D:\\models"}));
        list(u"D:\\$Recycle.Bin", u"*", PRO_FILE_LIST_ALL);
        EXPECT_EQ(listed, std::vector<std::u16string>{u"D:\\$Recycle.Bin\\R1_bracket.prt.2"});
        ASSERT_EQ(save(bracket), PRO_TK_NO_ERROR);   // bracket.prt.11
        ASSERT_EQ(shell(u"D:\\models\\Bracket.prt.1"), 0);
        ASSERT_EQ(shell(u"D:\\models\\notes.txt", FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI), 0);
        list(nullptr, u"bracket.prt", PRO_FILE_LIST_ALL);
        EXPECT_EQ(listed, (std::vector<std::u16string>{u"D:\\models\\bracket.prt.10", u"D:\\models\\bracket.prt.11"}));
        in_command = views();
    });
    EXPECT_EQ(in_command, views());
    EXPECT_EQ(host.errors(), std::vector<std::string>{});
}

// A folder the shell moves takes along what was learnt of it; a save that
// has to make its folder changes the listing above it. Either way the
// command forgets what it learnt and reads again.
TEST_F(Shell, AChangeTheListingsCannotFollowMakesTheCommandReadAgain)
{
    const ProMdl gear = host.open_model("gear", PRO_MDL_ASSEMBLY, u"D:\\models\\new\\");
    command([&] {
        ASSERT_EQ(list(u"D:\\models\\sub", u"*", PRO_FILE_LIST_ALL), PRO_TK_NO_ERROR);
        EXPECT_EQ(listed, std::vector<std::u16string>{u"D:\\models\\sub\\inner.prt.1"});
        list(nullptr, u"*", PRO_FILE_LIST_ALL);
        EXPECT_EQ(listed_dirs, std::vector<std::u16string>{u"D:\\models\\sub"});
        ASSERT_EQ(shell(u"D:\\Models\\SUB"), 0);
        EXPECT_EQ(list(u"D:\\models\\sub", u"*", PRO_FILE_LIST_ALL), PRO_TK_INVALID_DIR);
        list(nullptr, u"*", PRO_FILE_LIST_ALL);
        EXPECT_EQ(listed_dirs, std::vector<std::u16string>{});

        ASSERT_EQ(host.entry<decltype(&::ProMdlSave)>("ProMdlSave")(gear), PRO_TK_NO_ERROR);
        list(nullptr, u"*", PRO_FILE_LIST_ALL);
        EXPECT_EQ(listed_dirs, std::vector<std::u16string>{u"D:\\models\\new"});
        list(u"D:\\models\\new", u"*", PRO_FILE_LIST_ALL);
        EXPECT_EQ(listed, std::vector<std::u16string>{u"D:\\models\\new\\gear.asm.1"});
    });
    EXPECT_EQ(host.errors(), std::vector<std::string>{});
}

// The listings a command keeps come in the order a fresh read gives under
// every order setting (in the directory's own order, the same files).
TEST_F(Shell, AListingKeptByTheCommandKeepsTheOrderSettings)
{
    const Order orders[] = {{ListingOrder::Directory, 0}, {ListingOrder::ByName, 0},
                            {ListingOrder::Reversed, 0},  {ListingOrder::Shuffled, 1},
                            {ListingOrder::Shuffled, 7}};
    const char16_t* const moved[] = {u"D:\\models\\bracket.prt.3", u"D:\\models\\bracket.prt.8"};
    for (std::size_t i = 0; i < std::size(orders); ++i) {
        SCOPED_TRACE(i);
        for (int v = 3; v <= 9; ++v)
            disk.write("models/bracket.prt." + std::to_string(v), "");
        host.set_listing_order(orders[i].order, orders[i].seed);
        const auto views = [&] {
            std::vector<std::vector<std::u16string>> seen;
            for (const char16_t* filter : {u"*.prt", u"bracket.prt"}) {
                list(nullptr, filter, PRO_FILE_LIST_ALL);
                seen.push_back(orders[i].order == ListingOrder::Directory ? sorted(listed) : listed);
            }
            return seen;
        };
        std::vector<std::vector<std::u16string>> in_command;
        command([&] {
            views();
            ASSERT_EQ(shell(moved[i % 2]), 0);
            in_command = views();
        });
        EXPECT_EQ(in_command, views());
        EXPECT_EQ(in_command[1].size(), 9u);
    }
}

// A move never replaces what the bin holds: a bin name taken is passed
// over. The index gets its lines when the command ends, one for every
// file moved; an index that cannot be written is an error, the moves
// stand.
TEST_F(Shell, TheBinNeverLosesAFileAndItsIndexIsWrittenWhenTheCommandEnds)
{
    disk.write("$Recycle.Bin/R1_bracket.prt.1", "an older one");
    command([&] {
        ASSERT_EQ(shell(u"D:\\models\\bracket.prt.1"), 0);
        ASSERT_EQ(shell(u"D:\\models\\bracket.prt.2"), 0);
    });
    const auto& bin = host.recycle_bin();
    ASSERT_EQ(bin.size(), 2u);
    EXPECT_EQ(bin[0].file.filename(), "R2_bracket.prt.1");
    EXPECT_EQ(read_file(bin[0].file), "bracket.prt.1");
    EXPECT_EQ(read_file(disk.path() / "$Recycle.Bin/R1_bracket.prt.1"), "an older one");
    const std::string index = read_file(bin[0].info);
    EXPECT_EQ(std::count(index.begin(), index.end(), '\n'), 2);
    for (const auto& f : bin)
        EXPECT_NE(index.find("{\"file\": \"" + f.file.filename().string() + "\", \"path\": \"D:\\\\models\\\\" +
                             f.file.filename().string().substr(3) + "\""),
                  std::string::npos)
            << index;

    fs::remove(bin[0].info);
    disk.folder("$Recycle.Bin/index.jsonl");
    EXPECT_EQ(shell(u"D:\\models\\shaft.prt"), 0);
    EXPECT_FALSE(fs::exists(models() / "shaft.prt"));
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_NE(host.errors()[0].find("SHFileOperationW: cannot write"), std::string::npos);
}

// The name as spelt is the one moved when another differs from it only in
// case; one that is there only in another case is found ignoring case.
// Alike whether a listing of the folder is at hand or not.
TEST_F(Shell, TheNameAsSpeltIsFoundBeforeOneThatDiffersInCase)
{
    for (const bool listed_first : {false, true}) {
        SCOPED_TRACE(listed_first ? "in a command that listed the folder" : "a call of its own");
        disk.write("models/Bracket.prt.1", "capital");
        disk.write("models/bracket.prt.1", "small");
        disk.write("models/shaft.prt", "shaft");
        const auto move = [&] {
            if (listed_first)
                list(nullptr, u"*", PRO_FILE_LIST_ALL);
            EXPECT_EQ(shell(u"D:\\models\\Bracket.prt.1"), 0);
            EXPECT_EQ(shell(u"D:\\MODELS\\Shaft.PRT"), 0);
        };
        if (listed_first)
            command(move);
        else
            move();
        EXPECT_FALSE(fs::exists(models() / "Bracket.prt.1"));
        EXPECT_EQ(read_file(models() / "bracket.prt.1"), "small");
        EXPECT_FALSE(fs::exists(models() / "shaft.prt"));
    }
    EXPECT_EQ(host.errors(), std::vector<std::string>{});
}

#endif
