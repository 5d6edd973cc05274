#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "fixtures.h"
#include "host/errors.h"
#include "host/scenario.h"

using namespace vxhost;

TEST(SplitStep, QuotesKeepSpaces)
{
    EXPECT_EQ(split_step("  cd   \"D:\\My Models\\\"  "), (std::vector<std::string>{"cd", "D:\\My Models\\"}));
    EXPECT_EQ(split_step("open part bracket D:\\work"),
              (std::vector<std::string>{"open", "part", "bracket", "D:\\work"}));
    EXPECT_EQ(split_step("tab \"\""), (std::vector<std::string>{"tab", ""}));
    EXPECT_TRUE(split_step(" \t\r").empty());
    EXPECT_THROW(split_step("cd \"D:\\x"), HostError);
}

class Scenarios : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.write("text/usascii/Fake.txt",
                  vxtest::message_file({"FakeMenuLabel=Fake", "FakeButtonLabel=Press", "FakeButtonHelp=Does it"}));
        dir.folder("drives/d/Models");
        protk = dir.write("protk.dat", std::string("NAME Fake\nEXEC_FILE ") + vxtest::fake_addin_path() +
                                           "\nTEXT_DIR .\nEND\n");
    }

    int run(const std::string& text)
    {
        out.str("");
        err.str("");
        return run_scenario_text(host, protk, text, dir.path() / "test.scn", out, err);
    }

    vxtest::TempDir dir;
    fs::path protk;
    Host host;
    std::ostringstream out, err;
};

TEST_F(Scenarios, RunsStepsAndPrintsTheTranscript)
{
    const int status = run("# a comment\n"
                           "\n"
                           "drive D drives/d\n"
                           "workdir D:\\\n"
                           "load\n"
                           "menu\n"
                           "availability\n"
                           "pick FakeButton\n"
                           "tab Tools\n"
                           "cd d:\\models\n"
                           "open 3 odd D:\\Models\n"
                           "ledger\n"
                           "unload\n"
                           "ledger\n");
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_EQ(err.str(), "");
    const std::string text = out.str();
    for (const char* expected : {"load Fake\n", "start-up status 0\n", "menu FakeMenu \"Fake\"\n",
                                 "  button FakeButton \"Press\" -> FakeAct (help: \"Does it\")\n",
                                 "  FakeButton: available\n", "pick FakeButton: runs FakeAct\n",
                                 "tab Home -> Tools\n", "working directory to d:\\models\\\n",
                                 "outstanding allocations: 2\n", "unload\n", "outstanding allocations: 0\n"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n--- in ---\n" << text;
}

TEST_F(Scenarios, AStepThatCannotRunStopsWithFileAndLine)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"fly away\n", "test.scn:1: unknown step fly"},
        {"\n\nload extra\n", "test.scn:3: load takes 0 argument(s), not 1"},
        {"tab\n", "test.scn:1: tab takes 1 argument(s), not 0"},
        {"open cube bracket D:\\\n", "test.scn:1: model type must be"},
        {"drive DD drives/d\n", "test.scn:1: not a drive letter: DD"},
        {"drive D no/such\n", "test.scn:1: drive D: no such folder"},
        {"cd \"D:\\\n", "test.scn:1: unterminated quote"},
        {"choose WorkDirList 2 0\n", "test.scn:1: an item of a list is a number from 1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.text), 2) << c.text;
        EXPECT_EQ(err.str().rfind((dir.path() / c.error).string(), 0), 0u) << err.str();
    }
}

TEST_F(Scenarios, WhatRanBeforeAnErrorIsStillPrinted)
{
    EXPECT_EQ(run("tab Tools\ntab Home\nbogus\ntab Never\n"), 2);
    EXPECT_EQ(out.str(), "tab Home -> Tools\ntab Tools -> Home\n");
    EXPECT_EQ(err.str().rfind((dir.path() / "test.scn").string() + ":3: unknown step bogus", 0), 0u) << err.str();
    EXPECT_EQ(host.current_tab(), "Home");
}

TEST_F(Scenarios, ALoadErrorIsReportedLikeAStepError)
{
    std::ofstream(protk) << "NAME x\nEND\n";
    EXPECT_EQ(run("load\n"), 2);
    EXPECT_NE(err.str().find("test.scn:1: "), std::string::npos);
    EXPECT_NE(err.str().find("EXEC_FILE missing"), std::string::npos) << err.str();
}
