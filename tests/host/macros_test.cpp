// The macro queue: what the add-in hands over with ProMacroLoad runs when
// control is back with the host, step by step, and a step the host cannot
// carry out stops its macro with a recorded error.
#include <gtest/gtest.h>

#include "host/host.h"
#include "host_calls.h"

using namespace vxhost;

namespace {

std::vector<std::string> ran;   // the actions the macros ran, in order
decltype(&::ProMacroLoad) macro_load = nullptr;

int first(uiCmdCmdId, uiCmdValue*, void*)
{
    ran.push_back("First");
    return 0;
}

// Queues a macro of its own while a macro runs it.
int chained(uiCmdCmdId, uiCmdValue*, void*)
{
    ran.push_back("Chained");
    macro_load(u"~ Command `First`;");
    return 0;
}

uiCmdAccessState unavailable(uiCmdAccessMode) { return ACCESS_UNAVAILABLE; }

}  // namespace

class Macros : public ::testing::Test {
protected:
    Macros()
    {
        ran.clear();
        macro_load = host.entry<decltype(&::ProMacroLoad)>("ProMacroLoad");
        uiCmdCmdId id = nullptr;
        calls.action_add("First", first, uiProe2ndImmediate, nullptr, 1, 1, &id);
        calls.action_add("Chained", chained, uiProe2ndImmediate, nullptr, 1, 1, &id);
        calls.action_add("Hidden", first, uiProe2ndImmediate, unavailable, 1, 1, &id);
        host.hold_macros(true);
    }

    Host host;
    vxtest::HostCalls calls{host};
};

TEST_F(Macros, QueuedMacrosRunInOrderOnceControlIsBack)
{
    ASSERT_EQ(macro_load(u"aa ~ Command `First`;~ Command `Chained` ;"), PRO_TK_NO_ERROR);
    ASSERT_EQ(macro_load(u"~ Command `First`"), PRO_TK_NO_ERROR);
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(host.macros_queued(), 2u);

    // The macro Chained queues runs after the ones queued before it.
    EXPECT_EQ(host.run_macros(), 3);
    EXPECT_EQ(ran, (std::vector<std::string>{"First", "Chained", "First", "First"}));
    EXPECT_EQ(host.macros().size(), 3u);
    EXPECT_EQ(host.macros()[0], u"aa ~ Command `First`;~ Command `Chained` ;");
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(Macros, AStepTheHostCannotCarryOutStopsOnlyItsOwnMacro)
{
    macro_load(u"~ Command `Nowhere`;~ Command `First`;");
    macro_load(u"~ Command `Hidden`;~ Command `First`;");
    macro_load(u"~ Activate `no_dialog` `OK`;~ Command `First`;");
    macro_load(u"~ Command `First`;");
    host.run_macros();
    EXPECT_EQ(ran, std::vector<std::string>{"First"});
    ASSERT_EQ(host.errors().size(), 3u);
    EXPECT_NE(host.errors()[0].find("step 1 \"~ Command `Nowhere`\": no command Nowhere"),
              std::string::npos);
    EXPECT_NE(host.errors()[1].find("not available"), std::string::npos);
    EXPECT_NE(host.errors()[2].find("no dialog no_dialog"), std::string::npos);
}

TEST_F(Macros, AMalformedMacroRunsNoStepAtAll)
{
    const char16_t* const malformed[] = {
        u"",
        u"aa",
        u"~",
        u"~ Command `First",
        u"two words ~ Command `First`",
        u"~ Command `First`;;~ Command `First`",
        u"~ Command `First`; Command `First`",
        u"~ Activate `main` 1 `late`",
    };
    for (const char16_t* text : malformed) {
        SCOPED_TRACE(to_utf8(text));
        const auto errors = host.errors().size();
        macro_load(text);
        host.run_macros();
        EXPECT_TRUE(ran.empty());
        EXPECT_EQ(host.errors().size(), errors + 1);
    }
    EXPECT_EQ(macro_load(nullptr), PRO_TK_BAD_INPUTS);
}
