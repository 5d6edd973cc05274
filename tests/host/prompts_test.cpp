// The message area's input line, read as the add-in reads it, and the
// scenario steps that type into it.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <sstream>

#include "fixtures.h"
#include "host/host.h"
#include "host/scenario.h"

using namespace vxhost;

namespace {

using ReadFn = decltype(&::ProMessageStringRead);

// A buffer of `units` units behind which a fence of '#' shows any write
// past the limit.
struct Field {
    explicit Field(int units) : units(units) { buffer.fill(u'#'); }
    std::u16string text() const { return wide_text(buffer.data(), buffer.size()); }
    bool fence_intact() const
    {
        for (std::size_t i = static_cast<std::size_t>(units); i < buffer.size(); ++i)
            if (buffer[i] != u'#')
                return false;
        return true;
    }
    int units;
    std::array<ProWchar, 64> buffer;
};

}  // namespace

class Prompts : public ::testing::Test {
protected:
    Host host;
    ReadFn read = host.entry<ReadFn>("ProMessageStringRead");
};

TEST_F(Prompts, EntriesAreTakenInOrderAndNeverWrittenPastTheLimit)
{
    struct Case {
        const char* why;
        std::optional<std::u16string> typed;   // none: Esc
        int limit;
        ProError status;
        std::u16string read;   // the buffer afterwards; "#..." when untouched
    };
    const std::u16string untouched = u"####";
    const Case cases[] = {
        {"a name", u"flange", 32, PRO_TK_NO_ERROR, u"flange"},
        {"blanks kept", u" my part ", 32, PRO_TK_NO_ERROR, u" my part "},
        {"just fits", u"abc", 4, PRO_TK_NO_ERROR, u"abc"},
        {"the field takes no more", u"abcdef", 4, PRO_TK_NO_ERROR, u"abc"},
        {"half a pair is not taken", u"ab\U0001F600", 4, PRO_TK_NO_ERROR, u"ab"},
        {"Enter alone", u"", 32, PRO_TK_GENERAL_ERROR, untouched},
        {"a field of one unit takes nothing", u"abc", 1, PRO_TK_GENERAL_ERROR, untouched},
        {"Esc", std::nullopt, 32, PRO_TK_USER_ABORT, untouched},
    };
    for (const Case& c : cases)
        c.typed ? host.type_entry(*c.typed) : host.abort_entry();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Field field(c.limit);
        EXPECT_EQ(read(c.limit, field.buffer.data()), c.status);
        EXPECT_EQ(field.text().substr(0, c.read.size()), c.read);
        if (c.status == PRO_TK_NO_ERROR) {
            EXPECT_EQ(field.text(), c.read);
        }
        EXPECT_TRUE(field.fence_intact());
    }
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(Prompts, BadInputsTakeNoEntryAndAnUnansweredPromptIsAnError)
{
    host.type_entry(u"kept");
    ProName name{};
    EXPECT_EQ(read(0, name), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(read(-1, name), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(read(32, nullptr), PRO_TK_BAD_INPUTS);
    ASSERT_EQ(read(32, name), PRO_TK_NO_ERROR);
    EXPECT_EQ(std::u16string(name), u"kept");

    EXPECT_EQ(read(32, name), PRO_TK_USER_ABORT);
    EXPECT_EQ(std::u16string(name), u"kept");
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_NE(host.errors()[0].find("none was typed"), std::string::npos) << host.errors()[0];
}

TEST(PromptSteps, EnterAndEscapeAnswerThePromptsInOrder)
{
    vxtest::TempDir dir;
    Host host;
    std::ostringstream out, err;
    ASSERT_EQ(run_scenario_text(host, dir.path() / "protk.dat",
                                "enter \"my part\"\nenter \"\"\nescape\n", dir.path() / "p.scn", out, err),
              0)
        << err.str();
    const auto read = host.entry<ReadFn>("ProMessageStringRead");
    ProName name{};
    EXPECT_EQ(read(PRO_NAME_SIZE, name), PRO_TK_NO_ERROR);
    EXPECT_EQ(read(PRO_NAME_SIZE, name), PRO_TK_GENERAL_ERROR);
    EXPECT_EQ(read(PRO_NAME_SIZE, name), PRO_TK_USER_ABORT);
    EXPECT_EQ(std::u16string(name), u"my part");
    EXPECT_EQ(host.transcript(), (std::vector<std::string>{"entry: typed \"my part\"",
                                                           "entry: nothing typed", "entry: aborted"}));
    EXPECT_EQ(run_scenario_text(host, dir.path() / "protk.dat", "escape now\n", dir.path() / "p.scn",
                                out, err),
              2);
}
