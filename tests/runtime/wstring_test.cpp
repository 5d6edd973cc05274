// The toolkit runtime's own string utilities.
#include <gtest/gtest.h>

#include <string>

#include "toolkit.h"

namespace {

struct LengthCase {
    const char16_t* source;
    int length;
    ProError status;
    const char16_t* copied;   // what the target holds after a copy
};

const LengthCase length_cases[] = {
    {u"abc", -1, PRO_TK_NO_ERROR, u"abc"},
    {u"abc", 0, PRO_TK_NO_ERROR, u""},
    {u"abc", 2, PRO_TK_NO_ERROR, u"ab"},
    {u"abc", 3, PRO_TK_NO_ERROR, u"abc"},
    {u"abc", 4, PRO_TK_BAD_INPUTS, u"zz"},   // beyond the source
    {u"abc", -2, PRO_TK_BAD_INPUTS, u"zz"},
    {nullptr, -1, PRO_TK_BAD_INPUTS, u"zz"},
};

}  // namespace

TEST(WideStrings, CopyAndAppendTakeTheLengthAskedForOrRefuse)
{
    for (const LengthCase& c : length_cases) {
        SCOPED_TRACE(c.length);
        char16_t target[8] = u"zz";
        EXPECT_EQ(ProWstringCopy(c.source, target, c.length), c.status);
        EXPECT_EQ(std::u16string(target), c.copied);

        char16_t appended[16] = u"zz";
        EXPECT_EQ(ProWstringConcatenate(c.source, appended, c.length), c.status);
        const std::u16string expected =
            c.status == PRO_TK_NO_ERROR ? u"zz" + std::u16string(c.copied) : u"zz";
        EXPECT_EQ(std::u16string(appended), expected);
    }
    EXPECT_EQ(ProWstringCopy(u"a", nullptr, -1), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(ProWstringConcatenate(u"a", nullptr, -1), PRO_TK_BAD_INPUTS);
}

TEST(WideStrings, CompareIsExactUnitByUnit)
{
    struct Case {
        const char16_t* a;
        const char16_t* b;
        int length;
        bool equal;
    } cases[] = {
        {u"D:\\models", u"D:\\models", -1, true},
        {u"D:\\models", u"D:\\models\\", -1, false},
        {u"D:\\models", u"d:\\Models", -1, false},
        {u"", u"", -1, true},
        {u"abcX", u"abcY", 3, true},
        {u"abcX", u"abcY", 4, false},
        {u"ab", u"abc", 5, false},
    };
    for (const Case& c : cases) {
        int result = 99;
        ASSERT_EQ(ProWstringCompare(c.a, c.b, c.length, &result), PRO_TK_NO_ERROR);
        EXPECT_EQ(result == 0, c.equal) << std::string(c.a, c.a + 1);
    }
    int result;
    EXPECT_EQ(ProWstringCompare(nullptr, u"a", -1, &result), PRO_TK_BAD_INPUTS);
    EXPECT_EQ(ProWstringCompare(u"a", u"a", -2, &result), PRO_TK_BAD_INPUTS);
}

TEST(WideStrings, LengthOfAbsentTextIsRefused)
{
    int n = 7;
    EXPECT_EQ(ProWstringLengthGet(u"模型", &n), PRO_TK_NO_ERROR);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(ProWstringLengthGet(nullptr, &n), PRO_TK_BAD_INPUTS);
}

// UTF-8 is the narrow encoding: every UTF-16 text survives a round trip,
// and a unit takes at most three bytes.
TEST(Conversions, RoundTripBetweenUtf16AndUtf8)
{
    const char16_t* texts[] = {u"", u"D:\\models", u"D:\\模型\\零件", u"\U0001F600 pair",
                               u"é ß \u00A0"};
    for (const char16_t* text : texts) {
        char narrow[64];
        char16_t wide[32];
        ASSERT_EQ(ProWstringToString(narrow, text), narrow);
        ASSERT_LE(std::string(narrow).size(), 3 * std::u16string(text).size());
        ASSERT_EQ(ProStringToWstring(wide, narrow), wide);
        EXPECT_EQ(std::u16string(wide), text);
    }
    char narrow[8];
    ProWstringToString(narrow, u"模");
    EXPECT_EQ(std::string(narrow), "\xE6\xA8\xA1");
}

TEST(Conversions, MalformedInputBecomesReplacementsAndAbsentTextGivesNothing)
{
    char16_t wide[16] = u"untouched";
    EXPECT_EQ(ProStringToWstring(wide, "a\xFF" "b\xE6\xA8"), wide);
    EXPECT_EQ(std::u16string(wide), u"a\uFFFDb\uFFFD\uFFFD");

    char narrow[16];
    const char16_t lone[] = {u'x', 0xD800, u'y', 0};
    ProWstringToString(narrow, lone);
    EXPECT_EQ(std::string(narrow), "x\xEF\xBF\xBDy");

    char16_t kept[4] = u"ab";
    EXPECT_EQ(ProStringToWstring(kept, nullptr), nullptr);
    EXPECT_EQ(std::u16string(kept), u"ab");
    EXPECT_EQ(ProStringToWstring(nullptr, "a"), nullptr);
    EXPECT_EQ(ProWstringToString(nullptr, u"a"), nullptr);
}
