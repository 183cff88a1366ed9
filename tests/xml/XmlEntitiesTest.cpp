#include "xml/XmlEntities.h"

#include <gtest/gtest.h>

namespace kovrin {
namespace {

TEST(XmlEntitiesTest, Decoding) {
    struct Case {
        std::u16string in;
        std::u16string out;
    };
    const Case cases[] = {
        {u"&#65;&#x41;&#X41;", u"AAA"},
        {u"&AMP;&Lt;&gt;&quot;&apos;", u"&<>\"'"},
        {u"&nbsp;&copy;&euro;&hellip;&thetasym;", u"\u00A0\u00A9\u20AC\u2026\u03D1"},
        {u"&#x1F600;&#128512;", u"\U0001F600\U0001F600"},
        // Names that differ only in case: the capitalised entry wins.
        {u"&eacute;&Eacute;&prime;&larr;&yuml;", u"\u00C9\u00C9\u2033\u21D0\u0178"},
        // Kept as written.
        {u"&#0;&#x0;", u"&#0;&#x0;"},
        {u"&nosuch;&amp", u"&nosuch;&amp"},
        {u"&#x110000;&#1114112;&#xD800;&#57343;", u"&#x110000;&#1114112;&#xD800;&#57343;"},
        {u"&#99999999999999999999;&#x;&#;&#12a;&#xG;",
         u"&#99999999999999999999;&#x;&#;&#12a;&#xG;"},
        {u"&thetasymx;", u"&thetasymx;"}, // no ';' within nine characters
        {u"&é;", u"&é;"},
        {u"a & b &", u"a & b &"},
        {u"&&amp;;", u"&&;"},
        {u"&#x10FFFF;", u"\U0010FFFF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeEntities(c.in), c.out);
    }
    EXPECT_EQ(DecodeEntities(std::string_view("caf&#xE9; &#x4E2D; &eacute;")), "café 中 É");
}

TEST(XmlEntitiesTest, TheTableHoldsTheHtml4SetAndApos) {
    const char16_t* names[] = {u"quot", u"amp",   u"apos", u"lt",    u"gt",     u"nbsp",
                               u"yuml", u"OElig", u"fnof", u"Omega", u"piv",    u"alefsym",
                               u"hArr", u"sdot",  u"loz",  u"diams", u"rsaquo", u"euro"};
    for (const char16_t* name : names) {
        EXPECT_NE(EntityCodePoint(name), 0u);
    }
    EXPECT_EQ(EntityCodePoint(u"Omega"), 0x3A9u);
    EXPECT_EQ(EntityCodePoint(u"oelig"), 0x152u); // OElig wins
    EXPECT_EQ(EntityCodePoint(u"sigmaf"), 0x3C2u);
    EXPECT_EQ(EntityCodePoint(u"ensp2"), 0u);
}

TEST(XmlEntitiesTest, Encoding) {
    EXPECT_EQ(EncodeEntities(u"<a & 'b' \"c\">", true),
              u"&lt;a &amp; &apos;b&apos; &quot;c&quot;&gt;");
    EXPECT_EQ(EncodeEntities(u"<a & 'b' \"c\">", false), u"&lt;a &amp; 'b' \"c\"&gt;");
    EXPECT_EQ(EncodeEntities(std::string_view("中 & é"), true), "中 &amp; é");
}

} // namespace
} // namespace kovrin
