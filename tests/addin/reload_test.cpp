// The add-in loaded, used and unloaded a hundred times in one process:
// the library is unmapped every time, and neither the memory in use nor
// the open files grow from one cycle to the next.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "addin_fixture.h"
#include "host/library.h"

#ifdef __linux__
#include <malloc.h>
#endif

namespace {

namespace fs = std::filesystem;

constexpr int kCycles = 100;
constexpr int kSettled = 10;   // cycles before the first measure: caches filled

// Sanitizers keep freed memory in quarantine: there the leak checker
// speaks for the memory, and only files and mappings are counted here.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// glibc counts the freed blocks it keeps in its per-thread cache as in
// use, which makes the heap seem to wander by a few kilobytes; ctest runs
// this program with that cache off (GLIBC_TUNABLES), and only then is the
// heap measured.
bool heap_measurable()
{
#ifdef __linux__
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    return !kSanitized && tunables && std::string(tunables).find("tcache_count=0") != std::string::npos;
#else
    return false;
#endif
}

struct Usage {
    std::size_t heap_bytes = 0;   // in use, not merely mapped
    std::size_t open_files = 0;
};

Usage usage()
{
    Usage u;
#ifdef __linux__
    u.heap_bytes = mallinfo2().uordblks;
    for ([[maybe_unused]] const auto& fd : fs::directory_iterator("/proc/self/fd"))
        ++u.open_files;
#endif
    return u;
}

// Whether the process maps a file of that name (Linux); false elsewhere,
// where the loader's own check stands alone.
bool mapped(const std::string& file_name)
{
#ifdef __linux__
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find(file_name) != std::string::npos)
            return true;
#endif
    (void)file_name;
    return false;
}

// One cycle with a host of its own, so that whatever is left afterwards
// is left by the add-in, its runtime or the loader: start-up, both
// notifications, a purge with something to purge, the drawing command.
void cycle(const vxtest::TempDir& disk, int n, fs::path& library)
{
    vxhost::Host host;
    host.map_drive('D', disk.path());
    host.set_working_directory(u"D:\\models\\");
    ASSERT_EQ(host.load(vxtest::protk_dat()), 0);
    library = host.registration()->exec_file;
    host.switch_tab("Model");
    host.change_directory(u"D:\\models\\sub");
    host.change_directory(u"D:\\models");
#ifndef _WIN32
    // On Windows the purge would fill the user's own recycle bin.
    for (int version : {2 * n + 1, 2 * n + 2})
        disk.write("models/cycle.prt." + std::to_string(version), "cycle");
    ASSERT_TRUE(host.pick("QVX_PurgeWorkDirmenu"));
#else
    (void)n;
#endif
    host.open_model("bracket", PRO_MDL_PART);
    ASSERT_TRUE(host.pick("QVX_OpenSamenameDrwmenu"));
    host.unload();
    EXPECT_EQ(host.errors(), std::vector<std::string>{});
    EXPECT_EQ(host.ledger_errors(), std::vector<std::string>{});
    EXPECT_TRUE(host.outstanding().empty());
}

}  // namespace

TEST(Reload, AHundredCyclesUnmapTheLibraryEachTimeAndGrowNothing)
{
    vxtest::TempDir disk;
    disk.folder("models/sub");
    disk.write("models/bracket.prt.1", R"({"type": "part"})");
    disk.write("models/bracket.drw.1", R"({"type": "drawing"})");
    fs::path library;
    Usage settled;
    for (int n = 0; n < kCycles; ++n) {
        SCOPED_TRACE("cycle " + std::to_string(n + 1));
        cycle(disk, n, library);
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_FALSE(vxhost::Library::still_loaded(library));
        ASSERT_FALSE(mapped(library.filename().string()));
        if (n + 1 == kSettled)
            settled = usage();
    }
    const Usage last = usage();
    EXPECT_EQ(last.open_files, settled.open_files);
    if (heap_measurable()) {
        // A block of a few bytes a cycle would show as a few hundred here.
        EXPECT_LE(last.heap_bytes, settled.heap_bytes + 256)
            << "heap in use after cycle " << kSettled << ": " << settled.heap_bytes
            << " bytes, after cycle " << kCycles << ": " << last.heap_bytes;
    } else {
        std::cout << "the heap is not measured (sanitized, or glibc's cache is on)\n";
    }
#ifndef _WIN32
    // The purge ran every time: of all the cycles' versions one is left.
    std::size_t versions = 0;
    for (const auto& entry : fs::directory_iterator(disk.path() / "models"))
        versions += entry.path().filename().string().rfind("cycle.prt.", 0) == 0;
    EXPECT_EQ(versions, 1u);
    EXPECT_TRUE(fs::exists(disk.path() / "models" / ("cycle.prt." + std::to_string(2 * kCycles))));
#endif
}
