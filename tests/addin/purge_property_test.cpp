// The purge over a few hundred random workspaces: exactly the highest
// version of each drawing, part and assembly (name and extension ignoring
// case) stays, every other version is in the bin, and nothing else of the
// folder changes. Off Windows only, where the host plays the shell.
#include "addin_fixture.h"

#ifndef _WIN32

#include <climits>
#include <fstream>
#include <iterator>
#include <map>
#include <random>

#include "workspace.h"

using vxtest::AddinTest;

namespace {

constexpr int kWorkspaces = 300;

const char* const kNames[] = {"bracket", "housing", "gear", "shaft", "plate",
                              "a",       "x1",      "泵体",  "pump_cover_left_side_2024_rev_b"};
const char* const kExtensions[] = {"drw", "prt", "asm"};

// Files the purge must leave alone: other extensions, numbers that are no
// versions (beyond an int, or after no extension), names cut short.
const char* const kOthers[] = {"notes.txt", "notes.txt.3", "readme", "shaft.prt.99999999999",
                               "gear.asm.2147483648", "plate.drw.", ".prt.3", "bracket.prt.4.bak",
                               "layout.frm.2"};

class Workspace {
public:
    Workspace(const vxtest::fs::path& folder, unsigned seed) : folder_(folder), random_(seed) {}

    void fill()
    {
        const int names = pick(1, 6);
        for (int i = 0; i < names; ++i)
            store_versions(kNames[pick(0, std::size(kNames) - 1)],
                           kExtensions[pick(0, std::size(kExtensions) - 1)]);
        for (const char* other : kOthers)
            if (pick(0, 3) == 0)
                write(other);
        if (pick(0, 2) == 0) {
            write("archive/bracket.prt.1");
            write("archive/bracket.prt.2");
        }
        if (pick(0, 3) == 0)   // a folder named like a version: no file of the listing
            vxtest::fs::create_directories(folder_ / "housing.drw.99");
    }

private:
    int pick(std::size_t low, std::size_t high)
    {
        return static_cast<int>(std::uniform_int_distribution<std::size_t>(low, high)(random_));
    }

    // The text in one of several letter cases.
    std::string cased(const std::string& text)
    {
        std::string out = text;
        const int how = pick(0, 3);
        for (std::size_t i = 0; i < out.size(); ++i) {
            const bool upper = how == 1 || (how == 2 && i == 0) || (how == 3 && pick(0, 1));
            if (upper && out[i] >= 'a' && out[i] <= 'z')
                out[i] = static_cast<char>(out[i] - 'a' + 'A');
        }
        return out;
    }

    // 1 to 20 distinct versions, gaps from 1 up to the rest of an int's
    // range, each file named in a case of its own; now and then one file
    // without a number (version 0). A name already stored with this
    // extension gets more versions, above the ones it has.
    void store_versions(const std::string& name, const std::string& extension)
    {
        long long version = top_[name + "." + extension];
        const int count = pick(1, 20);
        for (int i = 0; i < count && version < INT_MAX; ++i) {
            const int kind = pick(0, 9);
            const long long room = INT_MAX - version;
            const long long gap = kind < 5   ? pick(1, 3)
                                  : kind < 8 ? pick(1, 1000)
                                             : std::uniform_int_distribution<long long>(1, room)(random_);
            version = std::min<long long>(INT_MAX, version + gap);
            write(cased(name) + "." + cased(extension) + "." + std::to_string(version));
        }
        top_[name + "." + extension] = version;
        if (pick(0, 9) == 0 && !unnumbered_[name + "." + extension]++)
            write(cased(name) + "." + cased(extension));
    }

    void write(const std::string& relative)
    {
        const vxtest::fs::path file = folder_ / vxtest::fs::u8path(relative);
        vxtest::fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << relative;
    }

    vxtest::fs::path folder_;
    std::mt19937 random_;
    std::map<std::string, long long> top_;
    std::map<std::string, int> unnumbered_;
};

}  // namespace

TEST_F(AddinTest, PurgeKeepsExactlyTheHighestVersionOfEachFileInRandomWorkspaces)
{
    load();
    std::size_t removed = 0;
    for (int i = 0; i < kWorkspaces; ++i) {
        const unsigned seed = 1000u + static_cast<unsigned>(i);
        SCOPED_TRACE("workspace seed " + std::to_string(seed));
        const std::string name = "ws" + std::to_string(i);
        const vxtest::fs::path folder = disk.folder(name);
        Workspace(folder, seed).fill();
        const std::u16string windows = u"D:\\" + vxhost::to_utf16(name) + u"\\";
        host.set_working_directory(windows);
        host.set_listing_order(vxhost::ListingOrder::Shuffled, seed);
        const auto before = vxtest::snapshot(folder);
        const std::size_t bin_from = host.recycle_bin().size();
        const std::size_t requests = host.shell_requests().size();

        ASSERT_TRUE(host.pick("QVX_PurgeWorkDirmenu"));
        EXPECT_EQ(vxtest::purge_problems(host, folder, windows, before, bin_from, true),
                  std::vector<std::string>{});
        EXPECT_EQ(host.shell_requests().size() - requests, host.recycle_bin().size() - bin_from)
            << "one request, one name, one file in the bin";
        removed += host.recycle_bin().size() - bin_from;
        host.clear_journal();
        if (HasFailure())
            break;
    }
    EXPECT_GT(removed, static_cast<std::size_t>(kWorkspaces));
    EXPECT_EQ(outstanding(), std::vector<std::string>{"array ProArrayAlloc"});
    expect_clean();
}

#endif
