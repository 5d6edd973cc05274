// The runtime's entry points: what it hands AddinInitialize, what it
// gives back to the host, and its own start-up refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host.h"

namespace {

// What the probe told the host during start-up and shut-down.
std::vector<std::string> told_to(const vxhost::Host& host)
{
    std::vector<std::string> lines;
    for (const auto& e : host.journal())
        if (e.name == "ProStringCopy")
            lines.push_back(e.args());
    return lines;
}

int load_probe(vxhost::Host& host) { return host.load_library(VX_ENTRY_PROBE, VX_TEXT_DIR); }

class EntryTest : public ::testing::Test {
protected:
    std::vector<std::string> told() const { return told_to(host); }
    int load() { return load_probe(host); }

    vxhost::Host host;
};

TEST_F(EntryTest, AddinInitializeGetsTheHostsArgumentsAndDisplayVersion)
{
    host.set_arguments({"xtop", "-g", "0"});
    host.set_versions("Host 9.0", std::string("9.0.1.0"), "build 2026");
    ASSERT_EQ(load(), 0);
    host.unload();
    EXPECT_EQ(told(), (std::vector<std::string>{
                          "\"argc=3\"", "\"argv=xtop\"", "\"argv=-g\"", "\"argv=0\"",
                          "\"version=9.0.1.0\"", "\"build=build 2026\"",
                          "\"error text=empty\"", "\"terminate=\""}));
    EXPECT_TRUE(host.outstanding().empty());
}

TEST_F(EntryTest, WithoutADisplayVersionTheHostsVersionTextIsGiven)
{
    host.set_arguments({"xtop"});
    host.set_versions("Host 9.0", std::nullopt, "b");
    ASSERT_EQ(load(), 0);
    EXPECT_EQ(told()[2], "\"version=Host 9.0\"");
}

TEST_F(EntryTest, TheAddinsStartUpResultGoesBackToTheHost)
{
    host.set_arguments({"xtop", "7"});
    EXPECT_EQ(load(), 7);
    EXPECT_FALSE(host.loaded());
}

struct Refusal {
    const char* what;
    const char* omit;     // a host function left out of the table
    int version_offset;   // added to the table's version
    int status;
};

TEST(Entry, TheRuntimesOwnStartUpRefusesWithItsStatusAndNeverStartsTheAddin)
{
    const Refusal refusals[] = {
        {"a host function missing", "ProArrayAlloc", 0, PRO_TK_E_NOT_FOUND},
        {"a text call missing", "ProMessageDisplay", 0, PRO_TK_E_NOT_FOUND},
        {"another table version", nullptr, 1, PRO_TK_BAD_CONTEXT},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.what);
        vxhost::Host host;
        if (r.omit)
            host.omit_entry(r.omit);
        host.table_version(PRO_HOST_TABLE_VERSION + r.version_offset);
        EXPECT_EQ(load_probe(host), r.status);
        EXPECT_TRUE(told_to(host).empty()) << "AddinInitialize ran";
        EXPECT_FALSE(host.loaded());
    }
}

}  // namespace
