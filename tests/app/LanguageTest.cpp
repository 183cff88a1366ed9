#include "app/Language.h"
#include "app/Paths.h"
#include "app/Settings.h"
#include "base/Utf.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace kovrin;

namespace {

std::string Utf16Bytes(std::u16string_view text, bool big_endian) {
    std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char hi = static_cast<char>(unit >> 8);
        const char lo = static_cast<char>(unit & 0xFF);
        bytes += big_endian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return bytes;
}

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramFolder(program.path());
        SetLanguageId(kDefaultLanguageId);
    }
    void TearDown() override {
        SetProgramFolder("");
        SetLanguageId(kDefaultLanguageId);
    }
    test::TempDir program;
};

TEST_F(LanguageTest, ReadsEveryEncodingTheFilesComeIn) {
    const std::u16string ini = u"[KB.DIALOG]\r\n10=Exit \u00E9\u4E2D\U0001F600\r\n";
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"utf8", Utf16ToUtf8(ini)},
        {"utf8 with mark", "\xEF\xBB\xBF" + Utf16ToUtf8(ini)},
        {"utf16le", Utf16Bytes(ini, false)},
        {"utf16be", Utf16Bytes(ini, true)},
    };
    for (const auto& f : files) {
        program.Write("language/1033.lan", f.bytes);
        EXPECT_EQ(GetText(10), "Exit \xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80") << f.name;
    }
}

TEST_F(LanguageTest, MissingFileSectionOrKeyGivesEmptyText) {
    EXPECT_EQ(GetText(10), "");
    program.Write("language/1033.lan", "[OTHER]\n10=elsewhere\n[kb.dialog]\n11=Quit\n");
    EXPECT_EQ(GetText(10), "");
    EXPECT_EQ(GetText(11), "Quit"); // section names ignore case
    EXPECT_EQ(GetText("NOPE", 11), "");
}

TEST_F(LanguageTest, LooksUpAgainEveryTime) {
    program.Write("language/1033.lan", "[KB.DIALOG]\n5=One\n");
    program.Write("language/2052.lan", "[KB.DIALOG]\n5=\xE4\xB8\x80\n");
    EXPECT_EQ(GetText(5), "One");
    program.Write("language/1033.lan", "[KB.DIALOG]\n5=Two\n");
    EXPECT_EQ(GetText(5), "Two");
    SetLanguageId(2052);
    EXPECT_EQ(GetText(5), "\xE4\xB8\x80");
}

TEST_F(LanguageTest, LongTextsAreCutTo259UnitsOnACharacterBoundary) {
    const std::string ascii(300, 'a');
    // 258 units, then a character that takes two units: it no longer fits.
    const std::string astral = std::string(258, 'b') + "\xF0\x9F\x98\x80" + "tail";
    const std::string cjk = std::string(100, 'c') + [] {
        std::string s;
        for (int i = 0; i < 200; ++i) {
            s += "\xE4\xB8\xAD";
        }
        return s;
    }();
    program.Write("language/1033.lan",
                  "[KB.DIALOG]\n1=" + ascii + "\n2=" + astral + "\n3=" + cjk + "\n");
    EXPECT_EQ(GetText(1), std::string(259, 'a'));
    EXPECT_EQ(GetText(2), std::string(258, 'b'));
    const std::string three = GetText(3);
    EXPECT_EQ(Utf16Length(three), 259u);
    EXPECT_TRUE(IsValidUtf8(three));
}

TEST_F(LanguageTest, QuotedValuesLoseTheirQuotes) {
    program.Write("language/1033.lan", "[KB.DIALOG]\n7=\"  spaced  \"\n8= plain \n");
    EXPECT_EQ(GetText(7), "  spaced  ");
    EXPECT_EQ(GetText(8), "plain");
}

} // namespace

namespace {

TEST_F(LanguageTest, StartsInTheStoredLanguageOnlyWhenItsFileIsThere) {
    test::UserFolders user;
    program.Write("language/1033.lan", "[KB.DIALOG]\r\n10=Exit\r\n");
    program.Write("language/2052.lan", "[KB.DIALOG]\r\n10=X\r\n");
    const struct {
        const char* stored;
        int start;
    } cases[] = {
        {nullptr, kDefaultLanguageId}, // never chosen
        {"2052", 2052},
        {"1031", kDefaultLanguageId}, // no such file
        {"-5", kDefaultLanguageId},
        {"abc", kDefaultLanguageId},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored != nullptr ? c.stored : "(none)");
        RegReadInt("LCID"); // makes the settings file
        if (c.stored != nullptr) {
            ASSERT_TRUE(RegWriteString("LCID", c.stored));
        }
        EXPECT_EQ(StartLanguageId(), c.start);
    }
}

} // namespace
