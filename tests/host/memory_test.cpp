#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "host/host.h"
#include "host_calls.h"

using namespace vxhost;

class Memory : public ::testing::Test {
protected:
    std::vector<int> contents(ProArray array)
    {
        int count = -1;
        EXPECT_EQ(calls.array_size(array, &count), PRO_TK_NO_ERROR);
        const int* data = static_cast<const int*>(array);
        return std::vector<int>(data, data + std::max(count, 0));
    }

    ProArray ints(std::initializer_list<int> values)
    {
        ProArray array = nullptr;
        EXPECT_EQ(calls.array_alloc(0, sizeof(int), 4, &array), PRO_TK_NO_ERROR);
        for (int v : values)
            EXPECT_EQ(calls.array_add(&array, -1, 1, &v), PRO_TK_NO_ERROR);
        return array;
    }

    Host host;
    vxtest::HostCalls calls{host};
};

// The toolkit promises no zeros: every byte of a new array carries the
// host's pattern, so an add-in that reads an element before writing it
// reads nonsense in tests rather than a lucky zero.
TEST_F(Memory, AllocGivesPatternFilledElements)
{
    ProArray array = nullptr;
    ASSERT_EQ(calls.array_alloc(5, sizeof(double), 2, &array), PRO_TK_NO_ERROR);
    const auto* bytes = static_cast<const unsigned char*>(array);
    for (std::size_t i = 0; i < 5 * sizeof(double); ++i)
        ASSERT_EQ(bytes[i], vxhost::Ledger::kPattern) << "byte " << i;
    ProArray empty = nullptr;
    ASSERT_EQ(calls.array_alloc(0, 8, 1, &empty), PRO_TK_NO_ERROR);
    EXPECT_NE(empty, nullptr);
    EXPECT_NE(empty, array);
    EXPECT_TRUE(contents(empty).empty());
    calls.array_free(&array);
    calls.array_free(&empty);
}

TEST_F(Memory, AllocRefusesBadSizes)
{
    struct Case {
        int n, size, growth;
    };
    for (const Case c : {Case{-1, 4, 1}, Case{1, 0, 1}, Case{1, -4, 1}, Case{1, 4, 0}, Case{1, 4, -1}}) {
        ProArray array = &array;   // must stay untouched
        EXPECT_EQ(calls.array_alloc(c.n, c.size, c.growth, &array), PRO_TK_BAD_INPUTS);
        EXPECT_EQ(array, static_cast<ProArray>(&array));
    }
    EXPECT_TRUE(host.outstanding().empty());
}

TEST_F(Memory, AddInsertsAtAnyPositionAndAlwaysMoves)
{
    ProArray array = ints({1, 2});
    struct Case {
        int position;
        int value;
        std::vector<int> after;
    };
    const Case cases[] = {
        {0, 10, {10, 1, 2}},
        {1, 20, {10, 20, 1, 2}},
        {4, 30, {10, 20, 1, 2, 30}},      // position == count: the end
        {-1, 40, {10, 20, 1, 2, 30, 40}},
    };
    for (const auto& c : cases) {
        const ProArray before = array;
        ASSERT_EQ(calls.array_add(&array, c.position, 1, const_cast<int*>(&c.value)), PRO_TK_NO_ERROR);
        EXPECT_NE(array, before) << "an add must move the array";
        EXPECT_EQ(contents(array), c.after);
    }
    const int pair[2] = {7, 8};
    ASSERT_EQ(calls.array_add(&array, 2, 2, const_cast<int*>(pair)), PRO_TK_NO_ERROR);
    EXPECT_EQ(contents(array), (std::vector<int>{10, 20, 7, 8, 1, 2, 30, 40}));
    EXPECT_EQ(host.outstanding().size(), 1u);
    calls.array_free(&array);
    EXPECT_TRUE(host.ledger_errors().empty());
}

TEST_F(Memory, AddRefusesBadPositionsAndCounts)
{
    ProArray array = ints({1, 2});
    const ProArray kept = array;
    int value = 9;
    for (int position : {-2, 3})
        EXPECT_EQ(calls.array_add(&array, position, 1, &value), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(calls.array_add(&array, 0, 0, &value), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(calls.array_add(&array, 0, 1, nullptr), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(array, kept);
    EXPECT_EQ(contents(array), (std::vector<int>{1, 2}));
    calls.array_free(&array);
}

TEST_F(Memory, StalePointersAreCaughtByTheLedger)
{
    ProArray array = ints({1});
    const ProArray stale = array;
    int value = 2;
    ASSERT_EQ(calls.array_add(&array, -1, 1, &value), PRO_TK_NO_ERROR);
    int count = -1;
    EXPECT_EQ(calls.array_size(stale, &count), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(count, -1);
    ASSERT_EQ(host.ledger_errors().size(), 1u);
    EXPECT_NE(host.ledger_errors()[0].find("already released by ProArrayObjectAdd"), std::string::npos)
        << host.ledger_errors()[0];
    calls.array_free(&array);
}

TEST_F(Memory, FreeClearsThePointerAndADoubleFreeIsRecorded)
{
    ProArray array = ints({1});
    ProArray copy = array;
    ASSERT_EQ(calls.array_free(&array), PRO_TK_NO_ERROR);
    EXPECT_EQ(array, nullptr);
    EXPECT_EQ(calls.array_free(&copy), PRO_TK_BAD_INPUTS);
    EXPECT_NE(copy, nullptr);
    ASSERT_EQ(host.ledger_errors().size(), 1u);
    EXPECT_NE(host.ledger_errors()[0].find("already released by ProArrayFree"), std::string::npos);
    EXPECT_TRUE(host.outstanding().empty());
}

TEST_F(Memory, UnknownAndMismatchedFreesAreRecordedNotPerformed)
{
    ProArray array = ints({5});
    char* text = nullptr;
    ASSERT_EQ(calls.string_copy("kept", &text), PRO_TK_NO_ERROR);
    char local[8] = "local";
    ProArray stranger = local;

    struct Case {
        std::function<ProError()> call;
        const char* error;
    };
    const Case cases[] = {
        {[&] { return calls.string_free(static_cast<char*>(array)); }, "wanted a block of kind string"},
        {[&] { ProArray p = text; return calls.array_free(&p); }, "wanted a block of kind array"},
        {[&] { return calls.string_free(local); }, "never allocated"},
        {[&] { return calls.array_free(&stranger); }, "never allocated"},
        {[&] { int n; return calls.array_size(local, &n); }, "never allocated"},
    };
    for (const auto& c : cases) {
        const std::size_t before = host.ledger_errors().size();
        EXPECT_EQ(c.call(), PRO_TK_BAD_INPUTS);
        ASSERT_EQ(host.ledger_errors().size(), before + 1);
        EXPECT_NE(host.ledger_errors().back().find(c.error), std::string::npos) << host.ledger_errors().back();
    }
    // Both blocks survived and are still usable.
    EXPECT_EQ(contents(array), std::vector<int>{5});
    EXPECT_STREQ(text, "kept");
    const auto left = host.outstanding();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].kind, AllocKind::Array);
    EXPECT_EQ(left[1].kind, AllocKind::String);
    EXPECT_EQ(left[1].made_by, "ProStringCopy");
    EXPECT_EQ(calls.string_free(text), PRO_TK_NO_ERROR);
    EXPECT_EQ(calls.array_free(&array), PRO_TK_NO_ERROR);
    EXPECT_TRUE(host.outstanding().empty());
}

TEST_F(Memory, StringCopyIsAHostBlock)
{
    const char source[] = "D:\\models";
    char* copy = nullptr;
    ASSERT_EQ(calls.string_copy(source, &copy), PRO_TK_NO_ERROR);
    EXPECT_NE(copy, source);
    EXPECT_STREQ(copy, source);
    EXPECT_EQ(calls.string_copy(nullptr, &copy), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(calls.string_free(nullptr), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(calls.string_free(copy), PRO_TK_NO_ERROR);
    EXPECT_EQ(calls.string_free(copy), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(host.ledger_errors().size(), 1u);
}
