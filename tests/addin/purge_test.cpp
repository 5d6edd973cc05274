// The purge of the working directory: of every drawing, part and assembly
// the highest version stays, every other goes to the recycle bin, and a
// notice closes every run.
#include "addin_fixture.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>   // FO_DELETE; elsewhere winshell.h declares it
#endif

using vxhost::ListingOrder;
using vxtest::AddinTest;

namespace {

const char* const kButton = "QVX_PurgeWorkDirmenu";

struct Order {
    const char* label;
    ListingOrder order;
    unsigned seed;
};

const Order kOrders[] = {
    {"directory", ListingOrder::Directory, 0}, {"by_name", ListingOrder::ByName, 0},
    {"reversed", ListingOrder::Reversed, 0},   {"shuffled_1", ListingOrder::Shuffled, 1},
    {"shuffled_2", ListingOrder::Shuffled, 2}, {"shuffled_3", ListingOrder::Shuffled, 3},
    {"shuffled_4", ListingOrder::Shuffled, 4}, {"shuffled_5", ListingOrder::Shuffled, 5},
};

}  // namespace

class Purge : public AddinTest {
protected:
    // Stored versions, each holding its own name so that a move can be
    // told from a copy.
    void store(std::initializer_list<std::string> names)
    {
        for (const auto& name : names)
            disk.write(models / name, name);
    }

    // Loads the add-in (once) and runs the command.
    void purge()
    {
        if (!host.loaded())
            load();
        ASSERT_TRUE(host.pick(kButton));
        EXPECT_EQ(host.last_action_status(), 0);
    }

    // The Windows paths handed to the shell, in order.
    std::vector<std::string> shelled() const
    {
        std::vector<std::string> names;
        for (const auto& r : host.shell_requests())
            for (const auto& n : r.names)
                names.push_back(vxhost::to_utf8(n));
        return names;
    }

    // The file names left in D:\models\, sorted.
    std::vector<std::string> left() const
    {
        std::vector<std::string> names;
        for (const auto& entry : vxtest::fs::directory_iterator(disk.path() / models))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // The closing notice was the one dialog of the run.
    void expect_only_the_notice() const
    {
        ASSERT_EQ(host.message_dialogs().size(), 1u);
        const auto& d = host.message_dialogs()[0];
        EXPECT_EQ(d.title, "提示");
        EXPECT_EQ(d.text, "当前工作目录已清理。");
        EXPECT_EQ(d.buttons, std::vector<int>{PRO_UI_MESSAGE_OK});
    }

    // Every listing array freed: what is left is what start-up left.
    void expect_listings_freed() const
    {
        EXPECT_EQ(outstanding(), std::vector<std::string>{"array ProArrayAlloc"});   // the history
        expect_clean();
    }

    const vxtest::fs::path models = "models";
};

TEST_F(Purge, ALoneVersionStaysAndTheShellIsNotCalled)
{
    store({"housing.prt.4", "housing.drw.1", "gear.asm"});
    purge();
    EXPECT_EQ(host.count("SHFileOperationW"), 0u);
    EXPECT_EQ(left(), (std::vector<std::string>{"gear.asm", "housing.drw.1", "housing.prt.4"}));
    expect_only_the_notice();
    expect_listings_freed();
}

#ifndef _WIN32
// The tests below read what the host's shell was asked and what went to
// its bin: off Windows only, where the host plays the shell.

namespace {

std::string read_file(const vxtest::fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

class PurgeInAnyOrder : public Purge, public ::testing::WithParamInterface<Order> {};

// Versions 1, 2 and 10: numeric, not textual, order (10 after 2), and a
// file without a number ranks as version 0.
TEST_P(PurgeInAnyOrder, TheHighestStaysAndTheOthersGoLowestFirst)
{
    host.set_listing_order(GetParam().order, GetParam().seed);
    store({"bracket.prt.1", "bracket.prt.10", "bracket.prt.2", "shaft.prt", "shaft.prt.3"});
    purge();
    std::vector<std::string> bracket, shaft;
    for (const auto& name : shelled())
        (name.find("bracket") != std::string::npos ? bracket : shaft).push_back(name);
    EXPECT_EQ(bracket, (std::vector<std::string>{"D:\\models\\bracket.prt.1", "D:\\models\\bracket.prt.2"}));
    EXPECT_EQ(shaft, std::vector<std::string>{"D:\\models\\shaft.prt"});
    EXPECT_EQ(left(), (std::vector<std::string>{"bracket.prt.10", "shaft.prt.3"}));
    expect_only_the_notice();
    expect_listings_freed();
}

// Far-apart numbers, up to the largest an int holds, compared whole.
TEST_P(PurgeInAnyOrder, FarApartVersionsKeepTheHighest)
{
    host.set_listing_order(GetParam().order, GetParam().seed);
    store({"far.prt", "far.prt.1", "far.prt.2147483647", "far.prt.2147483646", "far.prt.1000000000"});
    purge();
    EXPECT_EQ(left(), std::vector<std::string>{"far.prt.2147483647"});
    EXPECT_EQ(shelled(), (std::vector<std::string>{"D:\\models\\far.prt", "D:\\models\\far.prt.1",
                                                   "D:\\models\\far.prt.1000000000",
                                                   "D:\\models\\far.prt.2147483646"}));
    expect_clean();
}

INSTANTIATE_TEST_SUITE_P(Orders, PurgeInAnyOrder, ::testing::ValuesIn(kOrders),
                         [](const ::testing::TestParamInfo<Order>& info) { return info.param.label; });

// Drawings, then parts, then assemblies; within a pattern in the order of
// the listing; other extensions and the subfolder untouched.
TEST_F(Purge, OneWorkspaceGoesPatternByPatternInListingOrder)
{
    struct Case {
        ListingOrder order;
        std::vector<std::string> shelled;
    };
    const Case cases[] = {
        {ListingOrder::ByName,
         {"housing.drw.1", "bracket.prt.1", "housing.prt.1", "housing.prt.2", "gear.asm.1"}},
        {ListingOrder::Reversed,
         {"housing.drw.1", "housing.prt.1", "housing.prt.2", "bracket.prt.1", "gear.asm.1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shelled[1]);
        std::filesystem::remove_all(disk.path() / models);
        store({"housing.drw.1", "housing.drw.2", "bracket.prt.1", "bracket.prt.2", "housing.prt.1",
               "housing.prt.2", "housing.prt.3", "gear.asm.1", "gear.asm.2", "notes.txt",
               "notes.txt.1", "notes.txt.2", "layout.frm.1", "layout.frm.2", "archive/housing.prt.1",
               "archive/housing.prt.9"});
        host.set_listing_order(c.order);
        const std::size_t from = host.shell_requests().size();
        purge();
        std::vector<std::string> names;
        for (std::size_t i = from; i < host.shell_requests().size(); ++i)
            names.push_back(vxhost::to_utf8(host.shell_requests()[i].names.at(0)).substr(10));
        EXPECT_EQ(names, c.shelled);
        EXPECT_EQ(left(), (std::vector<std::string>{"archive", "bracket.prt.2", "gear.asm.2",
                                                    "housing.drw.2", "housing.prt.3", "layout.frm.1",
                                                    "layout.frm.2", "notes.txt", "notes.txt.1",
                                                    "notes.txt.2"}));
        EXPECT_TRUE(std::filesystem::exists(disk.path() / "models/archive/housing.prt.1"));
        EXPECT_TRUE(std::filesystem::exists(disk.path() / "models/archive/housing.prt.9"));
    }
    // The first level lists the newest of each file per pattern, in order.
    std::vector<std::string> patterns;
    for (const auto& e : host.journal())
        if (e.name == "ProFilesList" && e.args().find('*') != std::string::npos)
            patterns.push_back(e.args());
    EXPECT_EQ(patterns, (std::vector<std::string>{"(null), \"*.drw\", 1", "(null), \"*.prt\", 1",
                                                  "(null), \"*.asm\", 1", "(null), \"*.drw\", 1",
                                                  "(null), \"*.prt\", 1", "(null), \"*.asm\", 1"}));
    EXPECT_EQ(host.message_dialogs().size(), 2u);
    expect_listings_freed();
}

// Nothing is lost: each version that left is in the bin with its path,
// whole; the newest of each is where it was.
TEST_F(Purge, EveryRecycledVersionCanBeFoundInTheBin)
{
    store({"housing.drw.1", "housing.drw.2", "housing.prt.1", "housing.prt.2", "housing.prt.3",
           "gear.asm.1", "gear.asm.2"});
    disk.write("models/archive/housing.prt.1", "the archived one");
    purge();
    const auto& bin = host.recycle_bin();
    ASSERT_EQ(bin.size(), 4u);
    for (const auto& f : bin) {
        const std::string original = vxhost::to_utf8(f.original);
        const std::string name = original.substr(original.rfind('\\') + 1);
        EXPECT_EQ(read_file(f.file), name) << original;
        EXPECT_FALSE(std::filesystem::exists(disk.path() / models / name));
    }
    for (const char* newest : {"housing.drw.2", "housing.prt.3", "gear.asm.2"})
        EXPECT_EQ(read_file(disk.path() / models / newest), newest);
    EXPECT_EQ(read_file(disk.path() / "models/archive/housing.prt.1"), "the archived one");
    expect_listings_freed();
}

// The notice closes every run: with nothing to purge, and with a pattern
// or a file whose listing fails (the rest is still purged).
TEST_F(Purge, TheNoticeFollowsEveryRunAndAFailedListingPassesOnlyItsOwnFiles)
{
    struct Case {
        const char* fault_on;   // args text of the failing ProFilesList; empty: none
        bool empty;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {"", true, {}},
        {"\"*.prt\"", false, {"gear.asm.2", "housing.drw.2", "housing.prt.1", "housing.prt.2"}},
        {"\"*.drw\"", false, {"gear.asm.2", "housing.drw.1", "housing.drw.2", "housing.prt.2"}},
        {"\"housing.prt\"", false, {"gear.asm.2", "housing.drw.2", "housing.prt.1", "housing.prt.2"}},
        {"\"*.asm\"", false, {"gear.asm.1", "gear.asm.2", "housing.drw.2", "housing.prt.2"}},
    };
    load();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault_on);
        std::filesystem::remove_all(disk.path() / models);
        disk.folder(models);
        if (!c.empty)
            store({"housing.drw.1", "housing.drw.2", "housing.prt.1", "housing.prt.2", "gear.asm.1",
                   "gear.asm.2"});
        host.clear_faults();
        if (*c.fault_on)
            host.inject_fault("ProFilesList", PRO_TK_GENERAL_ERROR, 0, c.fault_on);
        const std::size_t dialogs = host.message_dialogs().size();
        purge();
        EXPECT_EQ(left(), c.left);
        ASSERT_EQ(host.message_dialogs().size(), dialogs + 1);
        EXPECT_EQ(host.message_dialogs().back().text, "当前工作目录已清理。");
    }
    EXPECT_EQ(host.count("ProArrayAlloc"), host.count("ProArrayFree") + 1);   // + the history
    expect_listings_freed();
}

// Which version is the newest is known only when every version's number
// can be read. One that cannot (the host fails, or reports success and
// writes no number) keeps every version of its file; the next file is
// purged as ever.
TEST_F(Purge, AVersionNumberThatCannotBeReadKeepsEveryVersionOfItsFile)
{
    struct Case {
        const char* why;
        bool unwritten;
        int nth;            // of the splits of that path
        const char* path;   // as the journal quotes it
    };
    // bracket.prt.10 is split twice: for the filter of its file, then for
    // its number; the older ones only for their numbers.
    const Case cases[] = {
        {"the newest's number fails", false, 2, "bracket.prt.10\""},
        {"the newest's number is unwritten", true, 2, "bracket.prt.10\""},
        {"an older one's number fails", false, 1, "bracket.prt.1\""},
        {"an older one's number is unwritten", true, 1, "bracket.prt.2\""},
        {"the file's name is unwritten", true, 1, "bracket.prt.10\""},
    };
    load();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        std::filesystem::remove_all(disk.path() / models);
        store({"bracket.prt.1", "bracket.prt.2", "bracket.prt.10", "shaft.prt.1", "shaft.prt.2"});
        host.clear_faults();
        inject("ProFilenameParse", c.unwritten, c.nth, c.path, PRO_TK_BAD_INPUTS);
        const std::size_t from = host.journal().size();
        purge();
        EXPECT_EQ(left(), (std::vector<std::string>{"bracket.prt.1", "bracket.prt.10",
                                                    "bracket.prt.2", "shaft.prt.2"}));
        std::size_t faulted = 0;
        for (std::size_t i = from; i < host.journal().size(); ++i)
            faulted += host.journal()[i].faulted;
        EXPECT_EQ(faulted, 1u) << "the split meant was the one faulted";
    }
    EXPECT_EQ(host.message_dialogs().size(), std::size(cases));
    expect_listings_freed();
}

TEST_F(Purge, AVersionTheShellCannotMoveStaysSilentlyAndTheOthersStillGo)
{
    store({"housing.prt.1", "housing.prt.2", "housing.prt.3", "gear.asm.1", "gear.asm.2"});
    host.inject_fault("SHFileOperationW", 5, 0, "housing.prt.1");
    purge();
    EXPECT_EQ(shelled(), (std::vector<std::string>{"D:\\models\\housing.prt.1", "D:\\models\\housing.prt.2",
                                                   "D:\\models\\gear.asm.1"}));
    EXPECT_EQ(left(), (std::vector<std::string>{"gear.asm.2", "housing.prt.1", "housing.prt.3"}));
    expect_only_the_notice();
    for (const auto& line : host.transcript())
        EXPECT_EQ(line.find("shell error"), std::string::npos) << line;
    expect_listings_freed();
}

// Every request: one silent delete with undo, of exactly one name, also
// for a path that fills all 259 units of its buffer.
TEST_F(Purge, APathOf259UnitsReachesTheShellAsExactlyOneName)
{
    // D:\models\ (10) + 241 + \ = 252 units; with p.prt.1 (7), 259.
    const std::string folder(241, 'd');
    disk.write(models / folder / "p.prt.1", "p.prt.1");
    disk.write(models / folder / "p.prt.2", "p.prt.2");
    host.set_working_directory(u"D:\\models\\" + vxhost::to_utf16(folder) + u"\\");
    purge();
    ASSERT_EQ(host.shell_requests().size(), 1u);
    const auto& r = host.shell_requests()[0];
    EXPECT_EQ(r.function, static_cast<unsigned>(FO_DELETE));
    EXPECT_EQ(r.flags, 0x454u);
    ASSERT_EQ(r.names.size(), 1u);
    EXPECT_EQ(r.names[0].size(), 259u);
    EXPECT_EQ(r.names[0], u"D:\\models\\" + vxhost::to_utf16(folder) + u"\\p.prt.1");
    EXPECT_EQ(r.result, 0);
    EXPECT_FALSE(std::filesystem::exists(disk.path() / models / folder / "p.prt.1"));
    expect_clean();
}

// A name that does not fit the 32-unit name buffer is left alone, never
// cut into a filter that could list another file's versions.
TEST_F(Purge, AFileWhoseNameDoesNotFitIsSkipped)
{
    const std::string n31(31, 'n'), n32(32, 'n');
    store({n31 + ".prt.1", n31 + ".prt.2", n32 + ".prt.1", n32 + ".prt.2", n32 + "x.prt.1",
           n32 + "x.prt.2"});
    purge();
    EXPECT_EQ(shelled(), std::vector<std::string>{"D:\\models\\" + n31 + ".prt.1"});
    EXPECT_EQ(left(), (std::vector<std::string>{n31 + ".prt.2", n32 + ".prt.1", n32 + ".prt.2",
                                                n32 + "x.prt.1", n32 + "x.prt.2"}));
    // Only the fitting name got a listing of its own.
    EXPECT_EQ(calls({"ProFilesList"}).size(), 4u);
    expect_only_the_notice();
    expect_listings_freed();
}

#else
// The real shell: the working directory is a real folder, named by its
// own drive, so the paths the host lists are the paths Windows knows.
TEST_F(Purge, OnWindowsTheRealShellMovesOldVersionsOutOfTheFolder)
{
    const auto real = std::filesystem::canonical(disk.path());
    const std::string drive = real.root_name().string();   // "C:"
    ASSERT_EQ(drive.size(), 2u);
    host.map_drive(drive[0], real.root_path());
    const auto work = real / "models";
    host.set_working_directory(work.u16string() + u"\\");
    // A name of this run's own: the trash outlives test runs.
    const std::string unique =
        "vxpurge" + std::to_string(std::chrono::system_clock::now().time_since_epoch().count());
    store({unique + ".prt.1", unique + ".prt.2", unique + ".prt.3"});
    purge();
    EXPECT_EQ(left(), std::vector<std::string>{unique + ".prt.3"});
    expect_only_the_notice();
    // Under Wine the bin is the Unix user's trash. Wine hides HOME from
    // Windows programs, so the build passes it on as VX_UNIX_HOME; without
    // either, leaving the folder is all that can be checked.
    std::string data_home;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"))
        data_home = xdg;
    else if (const char* home = std::getenv("VX_UNIX_HOME"))
        data_home = std::string(home) + "/.local/share";
    else if (const char* home = std::getenv("HOME"))
        data_home = std::string(home) + "/.local/share";
    if (!data_home.empty()) {
        const std::filesystem::path trash = std::filesystem::path("Z:" + data_home) / "Trash";
        std::vector<std::filesystem::path> found;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(trash / "files", ec))
            if (e.path().filename().string().rfind(unique, 0) == 0)
                found.push_back(e.path());
        EXPECT_EQ(found.size(), 2u) << "in " << (trash / "files").string();
        // Out of the user's trash again, with their restore records.
        for (const auto& f : found) {
            std::filesystem::remove(f, ec);
            std::filesystem::remove(trash / "info" / (f.filename().string() + ".trashinfo"), ec);
        }
    }
    expect_listings_freed();
}
#endif
