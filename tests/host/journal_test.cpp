#include <gtest/gtest.h>

#include <algorithm>

#include "host/host.h"
#include "host_calls.h"

using namespace vxhost;

namespace {

int noop(uiCmdCmdId, uiCmdValue*, void*) { return 0; }

}  // namespace

class Journaling : public ::testing::Test {
protected:
    Host host;
    vxtest::HostCalls calls{host};
};

TEST_F(Journaling, RecordsEveryCallWithReadableArguments)
{
    uiCmdCmdId id = nullptr;
    calls.action_add("First", noop, uiProe2ndImmediate, nullptr, 1, 0, &id);
    calls.action_add("Second", noop, 2, nullptr, 0, 0, &id);
    calls.button_add("/nowhere", "Tools", "B", "L", nullptr, nullptr, 1, id, u"F\u00e9.txt");
    calls.directory_change(nullptr);
    ProArray array = nullptr;
    calls.array_alloc(2, 4, 1, &array);
    calls.array_free(&array);

    const auto& journal = host.journal();
    ASSERT_EQ(journal.size(), 6u);
    EXPECT_EQ(journal[0].args(), "\"First\", fn, 2, (null), true, false");
    EXPECT_EQ(journal[2].args(), "\"Tools\", \"B\", \"L\", (null), (null), true, cmd#2, \"F\u00e9.txt\"");
    EXPECT_EQ(journal[3].args(), "(null)");
    EXPECT_EQ(journal[3].status, PRO_TK_BAD_INPUTS);
    EXPECT_EQ(journal[4].args(), "2, 4, 1");
    EXPECT_EQ(journal[5].args(), "&block#1");
    EXPECT_EQ(Journal::render(journal[3]), "ProDirectoryChange((null)) -> -2");

    EXPECT_EQ(host.count("ProCmdActionAdd"), 2u);
    EXPECT_EQ(host.call_names(),
              (std::vector<std::string>{"ProCmdActionAdd", "ProCmdActionAdd", "ProMenubarmenuPushbuttonAdd",
                                        "ProDirectoryChange", "ProArrayAlloc", "ProArrayFree"}));
    host.clear_journal();
    EXPECT_TRUE(host.journal().empty());
    EXPECT_EQ(host.count("ProCmdActionAdd"), 0u);
}

TEST_F(Journaling, AFaultedCallDoesNothingButReturnItsStatus)
{
    host.inject_fault("ProArrayAlloc", PRO_TK_OUT_OF_MEMORY);
    ProArray array = &array;
    EXPECT_EQ(calls.array_alloc(1, 4, 1, &array), PRO_TK_OUT_OF_MEMORY);
    EXPECT_EQ(calls.array_alloc(1, 4, 1, &array), PRO_TK_OUT_OF_MEMORY);
    EXPECT_EQ(array, static_cast<ProArray>(&array));
    EXPECT_TRUE(host.outstanding().empty());
    ASSERT_EQ(host.journal().size(), 2u);
    EXPECT_TRUE(host.journal()[0].faulted);

    host.clear_faults();
    EXPECT_EQ(calls.array_alloc(1, 4, 1, &array), PRO_TK_NO_ERROR);
    EXPECT_FALSE(host.journal().back().faulted);
    calls.array_free(&array);
}

TEST_F(Journaling, NthFaultCountsFromWhenItWasSet)
{
    char* copy = nullptr;
    calls.string_copy("before", &copy);       // not counted: the fault comes later
    calls.string_free(copy);
    host.inject_fault("ProStringCopy", PRO_TK_GENERAL_ERROR, 2);
    std::vector<ProError> statuses;
    for (int i = 0; i < 4; ++i) {
        copy = nullptr;
        statuses.push_back(calls.string_copy("x", &copy));
        if (copy)
            calls.string_free(copy);
    }
    EXPECT_EQ(statuses, (std::vector<ProError>{PRO_TK_NO_ERROR, PRO_TK_GENERAL_ERROR, PRO_TK_NO_ERROR,
                                               PRO_TK_NO_ERROR}));
    EXPECT_TRUE(host.outstanding().empty());
}

TEST_F(Journaling, ArgumentMatchFaultsOnlyThoseCalls)
{
    host.map_drive('D', fs::temp_directory_path());
    // The second matching call fails; calls that do not match do not count.
    host.inject_fault("ProDirectoryChange", PRO_TK_INVALID_DIR, 2, "D:\\");
    const ProWchar* paths[] = {u"D:\\", u"d:\\", u"D:\\", u"D:\\"};
    std::vector<ProError> statuses;
    for (const ProWchar* path : paths)
        statuses.push_back(calls.directory_change(path));
    EXPECT_EQ(statuses, (std::vector<ProError>{PRO_TK_NO_ERROR, PRO_TK_NO_ERROR, PRO_TK_INVALID_DIR,
                                               PRO_TK_NO_ERROR}));
}

// A call emptied by the fault reports success and touches nothing: its
// outputs keep what the caller had in them, and nothing is allocated.
TEST_F(Journaling, AnUnwrittenCallSucceedsWithoutWritingItsOutputs)
{
    host.inject_unwritten("ProArrayAlloc", 2);
    ProArray first = nullptr, second = &second;
    EXPECT_EQ(calls.array_alloc(1, 4, 1, &first), PRO_TK_NO_ERROR);
    EXPECT_EQ(calls.array_alloc(1, 4, 1, &second), PRO_TK_NO_ERROR);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(second, static_cast<ProArray>(&second));
    EXPECT_EQ(host.outstanding().size(), 1u);
    ASSERT_EQ(host.journal().size(), 2u);
    EXPECT_FALSE(host.journal()[0].faulted);
    EXPECT_TRUE(host.journal()[1].faulted);
    EXPECT_EQ(host.journal()[1].status, PRO_TK_NO_ERROR);
    calls.array_free(&first);
}

// The fault sweep fails each call with every status it can return, read
// from the host: each function of the host table needs its statuses, and
// none of them is success.
TEST(FailingStatuses, EveryHostFunctionHasItsOwn)
{
#define VX_CALL_NAME(result, name, ...) #name,
    const char* const names[] = {TK_FORWARDED_CALLS(VX_CALL_NAME) TK_TEXT_CALLS(VX_CALL_NAME)};
#undef VX_CALL_NAME
    for (const char* name : names) {
        const std::vector<int> statuses = failing_statuses(name);
        EXPECT_FALSE(statuses.empty()) << name << " has no row in host/src/toolkit/statuses.cpp";
        EXPECT_EQ(std::count(statuses.begin(), statuses.end(), PRO_TK_NO_ERROR), 0) << name;
    }
    EXPECT_TRUE(failing_statuses("ProNoSuchCall").empty());
}
