// Input built to break the index or the stack: must be read without a crash,
// with a correct index.

#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace kovrin {
namespace {

TEST(XmlHostileTest, EndTagLongerThanATenBitField) {
    XmlDocument doc;
    const std::string end_tag = "</a" + std::string(2000, ' ') + ">";
    ASSERT_TRUE(doc.SetText("<r><a>x" + end_tag + "<b/></r>")) << doc.ResultLog();
    ASSERT_TRUE(doc.FindElement("r"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("a"));
    EXPECT_EQ(doc.CurrentElement()->end_tag_length, end_tag.size());
    EXPECT_EQ(doc.CurrentElement()->length, 4 + end_tag.size());
    ASSERT_TRUE(doc.AppendElement("c"));
    ASSERT_TRUE(doc.FindElement("b"));
    EXPECT_EQ(doc.CurrentElement()->start, 3 + 4 + end_tag.size() + 6);
}

TEST(XmlHostileTest, TenMegabyteAttribute) {
    XmlDocument doc;
    const std::string big(10 * 1024 * 1024, 'v');
    ASSERT_TRUE(doc.SetText("<r><a big=\"" + big + "\" small=\"1\"/><b n=\"2\"/></r>"));
    ASSERT_TRUE(doc.FindElement("r"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("a"));
    EXPECT_GT(doc.CurrentElement()->start_tag_length, 4194303u); // wider than 22 bits
    EXPECT_EQ(doc.GetAttribute("big"), big);
    EXPECT_EQ(doc.GetAttribute("small"), "1");
    ASSERT_TRUE(doc.SetAttribute("small", "22"));
    ASSERT_TRUE(doc.SetAttribute("big", "short"));
    ASSERT_TRUE(doc.FindElement("b"));
    EXPECT_EQ(doc.GetAttribute("n"), "2");
    EXPECT_EQ(doc.Text(), "<r><a big=\"short\" small=\"22\"/><b n=\"2\"/></r>");
}

TEST(XmlHostileTest, HundredThousandNestedElements) {
    constexpr int kDepth = 100000;
    std::string text;
    for (int i = 0; i < kDepth; ++i) {
        text += "<e>";
    }
    for (int i = 0; i < kDepth; ++i) {
        text += "</e>";
    }
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText(text));
    int depth = 0;
    while (doc.FindElement("e")) {
        EXPECT_EQ(doc.CurrentLevel(), depth);
        doc.EnterElement();
        ++depth;
    }
    EXPECT_EQ(depth, kDepth);
    EXPECT_EQ(doc.ParentLevel(), kDepth - 1); // beyond 16 bits
    ASSERT_TRUE(doc.AppendElement("leaf"));
    EXPECT_EQ(doc.CurrentLevel(), kDepth);
    while (doc.LeaveElement()) {
    }
    EXPECT_EQ(doc.CurrentElement()->length, text.size() + 11); // \r\n<leaf/>\r\n
}

TEST(XmlHostileTest, HundredThousandUnclosedElements) {
    constexpr int kDepth = 100000;
    std::string text;
    for (int i = 0; i < kDepth; ++i) {
        text += "<e><f/>";
    }
    XmlDocument doc;
    EXPECT_FALSE(doc.SetText(text));
    // Every element ends up at the top level, in document order.
    int count = 0;
    while (doc.FindElement("")) {
        EXPECT_EQ(doc.CurrentLevel(), 0);
        ++count;
    }
    EXPECT_EQ(count, 2 * kDepth);
}

TEST(XmlHostileTest, ManyLoneEndTagsUnderDeepNesting) {
    constexpr int kCount = 50000;
    std::string text;
    for (int i = 0; i < kCount; ++i) {
        text += "<e>";
    }
    for (int i = 0; i < kCount; ++i) {
        text += "</x>";
    }
    for (int i = 0; i < kCount; ++i) {
        text += "</e>";
    }
    XmlDocument doc;
    EXPECT_FALSE(doc.SetText(text));
    EXPECT_TRUE(doc.ResultLog().starts_with("<lone_end_tag tagname=\"x\" offset=\"150000\"/>"));
    ASSERT_TRUE(doc.FindElement("e"));
    EXPECT_EQ(doc.CurrentElement()->length, text.size());
}

TEST(XmlHostileTest, AlternatingMismatchesUnderDeepNesting) {
    // Each </a> ends the b opened inside it: many recoveries, each of one element.
    constexpr int kCount = 30000;
    std::string text;
    for (int i = 0; i < kCount; ++i) {
        text += "<a><b>";
    }
    text += "<leaf/>";
    for (int i = 0; i < kCount; ++i) {
        text += "</a>";
    }
    XmlDocument doc;
    EXPECT_FALSE(doc.SetText(text));
    int depth = 0;
    while (doc.FindElement("a")) {
        doc.EnterElement();
        ++depth;
    }
    EXPECT_EQ(depth, kCount);
}

TEST(XmlHostileTest, CharacterReferencesOutOfRangeStayAsWritten) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText("<a v=\"&#x110000;&#xD800;&#xDFFF;&#4294967361;&#0;&#65;\"/>"));
    ASSERT_TRUE(doc.FindElement("a"));
    EXPECT_EQ(doc.GetAttribute("v"), "&#x110000;&#xD800;&#xDFFF;&#4294967361;&#0;A");
}

TEST(XmlHostileTest, MalformedUtf8AndLoneSurrogates) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText("<a v=\"\xFF\xC0\x80\xED\xA0\x80\xF4\x90\x80\x80\"/>"));
    ASSERT_TRUE(doc.FindElement("a"));
    std::string replaced;
    for (int i = 0; i < 10; ++i) {
        replaced += "\xEF\xBF\xBD"; // each byte of a malformed sequence
    }
    EXPECT_EQ(doc.GetAttribute("v"), replaced);
    ASSERT_TRUE(doc.SetAttribute("w", "&#xD800;"));
    EXPECT_EQ(doc.GetAttribute("w"), "&#xD800;");
}

} // namespace
} // namespace kovrin
