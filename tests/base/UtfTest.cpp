#include "base/Utf.h"

#include <gtest/gtest.h>

using namespace kovrin;

TEST(Utf, RoundTripsEveryPlane) {
    const std::string text = "A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"; // A é 中 😀
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide, u"A\u00E9\u4E2D\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(wide), text);
    EXPECT_EQ(Utf16Length(text), 5u);
}

TEST(Utf, MalformedInputBecomesReplacementWithoutOverread) {
    struct Case {
        std::string bytes;
        std::u16string expected;
    };
    const Case cases[] = {
        {"\xE4\xB8", u"\uFFFD\uFFFD"},           // cut at the end of the buffer
        {"\xC0\x80", u"\uFFFD\uFFFD"},           // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}, // encoded surrogate
        {"\xFF"
         "a",
         u"\uFFFDa"},
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // above U+10FFFF
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.bytes), c.expected);
        EXPECT_FALSE(IsValidUtf8(c.bytes));
    }
    EXPECT_TRUE(IsValidUtf8("\xEF\xBF\xBD plain"));
    EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx"); // lone surrogate
}

TEST(Utf, CutsNeverSplitACharacter) {
    const std::string text = "ab\xF0\x9F\x98\x80"
                             "c"; // a b 😀 c: 5 units
    EXPECT_EQ(CutToUtf16Units(text, 3), "ab");
    EXPECT_EQ(CutToUtf16Units(text, 4), "ab\xF0\x9F\x98\x80");
    EXPECT_EQ(CutToUtf16Units(text, 99), text);
    EXPECT_EQ(CutToUtf16Units(std::u16string(u"ab\U0001F600c"), 3), u"ab");
    EXPECT_EQ(CutToUtf8Bytes(text, 4), "ab");
    EXPECT_EQ(CutToUtf8Bytes(text, 6), "ab\xF0\x9F\x98\x80");
}
