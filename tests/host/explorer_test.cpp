// The shell's ShellExecuteW as the host plays it off Windows: it starts
// the explorer on the folder its parameter string names, checks every
// argument as the shell does and records each call.
#include <gtest/gtest.h>

#include "fixtures.h"
#include "host/host.h"

using namespace vxhost;

#ifndef _WIN32

namespace {

using ExecuteFn = decltype(&::ShellExecuteW);

long long result_of(HINSTANCE h) { return static_cast<long long>(reinterpret_cast<intptr_t>(h)); }

}  // namespace

class Explorer : public ::testing::Test {
protected:
    Explorer()
    {
        disk.folder("models");
        disk.folder("my parts");
        host.map_drive('D', disk.path());
        host.set_working_directory(u"D:\\models\\");
    }

    vxtest::TempDir disk;
    Host host;
    ExecuteFn execute = host.entry<ExecuteFn>("ShellExecuteW");
};

TEST_F(Explorer, TheExplorerOpensTheFolderItsParametersNameAndTheTranscriptSaysWhich)
{
    struct Case {
        const char16_t* verb;
        const char16_t* file;
        const char16_t* parameters;
        int show;
        std::optional<std::u16string> opened;
        std::string line;   // the transcript's
    };
    const Case cases[] = {
        {u"open", u"explorer.exe", u"D:\\models\\", 1, u"D:\\models\\",
         "shell: the explorer opens D:\\models\\"},
        {nullptr, u"EXPLORER.EXE", u"D:\\my parts\\", 1, u"D:\\my parts\\",
         "shell: the explorer opens D:\\my parts\\"},
        {u"", u"explorer", u"\"D:\\my parts\"", 1, u"D:\\my parts",
         "shell: the explorer opens D:\\my parts"},
        {u"Open", u"explorer.exe", u"d:\\MODELS", 0, u"d:\\MODELS",
         "shell: the explorer opens d:\\MODELS (show mode 0)"},
        {u"open", u"explorer.exe", u"D:\\nowhere\\", 1, std::nullopt,
         "shell: the explorer finds no folder D:\\nowhere\\ and opens its start page"},
        {u"open", u"explorer.exe", u"models", 1, std::nullopt,
         "shell: the explorer finds no folder models and opens its start page"},
        {u"open", u"explorer.exe", u"Q:\\", 1, std::nullopt,
         "shell: the explorer finds no folder Q:\\ and opens its start page"},
        {u"open", u"explorer.exe", nullptr, 1, std::nullopt, "shell: the explorer opens its start page"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(host.shell_executions().size());
        EXPECT_EQ(result_of(execute(nullptr, c.verb, c.file, c.parameters,
                                    nullptr, c.show)),
                  33);
        const ShellExecution& e = host.shell_executions().back();
        EXPECT_EQ(e.opened, c.opened);
        EXPECT_EQ(e.result, 33);
        EXPECT_EQ(host.transcript().back(), c.line);
    }
    const ShellExecution& first = host.shell_executions()[0];
    EXPECT_FALSE(first.owner);
    EXPECT_EQ(first.verb, u"open");
    EXPECT_EQ(first.file, u"explorer.exe");
    EXPECT_EQ(first.parameters, u"D:\\models\\");
    EXPECT_EQ(first.directory, std::nullopt);
    EXPECT_EQ(first.show, 1);
    EXPECT_EQ(host.shell_executions()[1].verb, std::nullopt);
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(Explorer, WhatTheShellRefusesGivesItsCodeAndOpensNothing)
{
    const std::u16string endless(40000, u'x');   // no end within a command line's reach
    struct Case {
        const char* why;
        const char16_t* verb;
        const char16_t* file;
        const char16_t* parameters;
        const char16_t* directory;
        long long result;
        bool error;   // the host records one: it cannot play this
    };
    const Case cases[] = {
        {"a verb the explorer lacks", u"explore", u"explorer.exe", u"D:\\models\\", nullptr, 31, false},
        {"no file", u"open", nullptr, u"D:\\models\\", nullptr, 2, false},
        {"an empty file", u"open", u"", u"D:\\models\\", nullptr, 2, false},
        {"another program", u"open", u"notepad.exe", u"D:\\models\\", nullptr, 2, true},
        {"a folder to start in that is not there", u"open", u"explorer.exe", u"D:\\models\\",
         u"D:\\nowhere\\", 3, false},
        {"a text without its end", u"open", u"explorer.exe", endless.c_str(), nullptr, 0, true},
    };
    std::size_t errors = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(result_of(execute(nullptr, c.verb, c.file, c.parameters, c.directory, 1)), c.result);
        EXPECT_EQ(host.shell_executions().back().result, c.result);
        EXPECT_EQ(host.shell_executions().back().opened, std::nullopt);
        errors += c.error;
        EXPECT_EQ(host.errors().size(), errors);
    }
    // A folder to start in that is there, and an owner window, are taken.
    EXPECT_EQ(result_of(execute(reinterpret_cast<HWND>(&errors), u"open", u"explorer.exe",
                                u"D:\\models\\", u"D:\\my parts\\", 1)),
              33);
    EXPECT_TRUE(host.shell_executions().back().owner);
    EXPECT_EQ(host.shell_executions().back().directory, u"D:\\my parts\\");
}

TEST_F(Explorer, ACallFailedOnPurposeIsOnTheRecordToo)
{
    host.inject_fault("ShellExecuteW", 5);
    EXPECT_EQ(result_of(execute(nullptr, u"open", u"explorer.exe", u"D:\\models\\", nullptr, 1)), 5);
    ASSERT_EQ(host.shell_executions().size(), 1u);
    EXPECT_EQ(host.shell_executions()[0].result, 5);
    EXPECT_EQ(host.shell_executions()[0].parameters, u"D:\\models\\");
    EXPECT_EQ(host.journal().back().args(), "(null), \"open\", \"explorer.exe\", \"D:\\models\\\", (null), 1");
}

#endif
