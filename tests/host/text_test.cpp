#include <gtest/gtest.h>

#include "host/text.h"

using namespace vxhost;

TEST(TextConversion, RoundTripsEveryPlane)
{
    const std::u16string samples[] = {u"", u"plain", u"D:\\Models\\", u"\u00e9t\u00e9", u"\u4e2d\u6587",
                                      u"\U0001F600 emoji"};
    for (const auto& sample : samples)
        EXPECT_EQ(to_utf16(to_utf8(sample)), sample);
    EXPECT_EQ(to_utf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(TextConversion, BrokenInputBecomesReplacementCharacters)
{
    struct Case {
        std::string utf8;
        std::u16string expected;
    };
    const Case cases[] = {
        {"a\xC3", u"a\uFFFD"},              // cut-off sequence
        {"\x80z", u"\uFFFDz"},              // stray continuation byte
        {"\xC0\xAF", u"\uFFFD"},            // over-long encoding of '/'
        {"\xED\xA0\x80", u"\uFFFD"},        // an encoded surrogate
    };
    for (const auto& c : cases)
        EXPECT_EQ(to_utf16(c.utf8), c.expected) << c.utf8;
    // A lone surrogate from the add-in is journaled, not thrown.
    EXPECT_EQ(to_utf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
}

TEST(TextConversion, WideTextStopsAtTheLimitWithoutTerminator)
{
    const char16_t unterminated[3] = {u'a', u'b', u'c'};
    EXPECT_EQ(wide_text(unterminated, 3), u"abc");
    EXPECT_EQ(wide_text(u"ab\0cd", 5), u"ab");
}

TEST(TextConversion, CaseFoldingMatchesWindowsFileNames)
{
    EXPECT_TRUE(equal_nocase(std::string("Vexholm.TXT"), std::string("vexholm.txt")));
    EXPECT_TRUE(equal_nocase(u"\u00c9T\u00c9", u"\u00e9t\u00e9"));
    EXPECT_TRUE(equal_nocase(u"\u041c\u041e\u0414", u"\u043c\u043e\u0434"));
    EXPECT_FALSE(equal_nocase(std::string("abc"), std::string("abd")));
    EXPECT_FALSE(equal_nocase(std::string("abc"), std::string("abcd")));
    // \u00f7 (division sign) and \u00d7 (multiplication sign) are not a case pair.
    EXPECT_FALSE(equal_nocase(u"\u00f7", u"\u00d7"));
}
