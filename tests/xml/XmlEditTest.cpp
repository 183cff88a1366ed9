// Editing: SetAttribute, AppendElement and the writer pattern of the exchange
// files, byte for byte.

#include "XmlTestFiles.h"
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kovrin {
namespace {

constexpr char kHeader[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// Every element with its place in the text, in document order.
std::vector<std::string> Snapshot(XmlDocument& doc) {
    doc.Rewind();
    std::vector<std::string> out;
    for (;;) {
        if (doc.FindElement("")) {
            const XmlElementInfo e = *doc.CurrentElement();
            out.push_back(doc.CurrentName() + " " + std::to_string(e.start) + " " +
                          std::to_string(e.length) + " " + std::to_string(e.start_tag_length) +
                          " " + std::to_string(e.end_tag_length) + " " + std::to_string(e.level) +
                          (e.empty_tag ? " empty" : ""));
            doc.EnterElement();
        } else if (!doc.LeaveElement()) {
            break;
        }
    }
    return out;
}

// The index kept up by the edits must be the one a fresh parse of the
// edited text builds.
void ExpectIndexMatchesReparse(XmlDocument& edited) {
    XmlDocument fresh;
    fresh.SetText(edited.Text());
    EXPECT_EQ(Snapshot(edited), Snapshot(fresh)) << edited.Text();
}

// Positions the cursor on the element reached by the path of names.
void Walk(XmlDocument& doc, std::initializer_list<const char*> path) {
    bool first = true;
    for (const char* name : path) {
        if (!first) {
            ASSERT_TRUE(doc.EnterElement());
        }
        first = false;
        ASSERT_TRUE(doc.FindElement(name)) << name;
    }
}

TEST(XmlEditTest, WriterPatternProducesTheFiveLineExchangeFile) {
    test::TempFolder folder;
    XmlDocument doc;
    EXPECT_FALSE(doc.SetText(kHeader)); // no root yet
    ASSERT_TRUE(doc.AppendElement("root"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AppendElement("item"));
    ASSERT_TRUE(doc.SetAttribute("name", "one"));
    ASSERT_TRUE(doc.SetAttribute("value", "1"));
    ASSERT_TRUE(doc.AppendElement("item"));
    ASSERT_TRUE(doc.SetAttribute("name", "two"));
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_TRUE(doc.WellFormed());
    const std::string expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                 "<root>\r\n"
                                 "<item name=\"one\" value=\"1\"/>\r\n"
                                 "<item name=\"two\"/>\r\n"
                                 "</root>\r\n";
    EXPECT_EQ(doc.Text(), expected);
    ExpectIndexMatchesReparse(doc);

    const std::string path = folder.File("out.xml");
    ASSERT_TRUE(doc.SaveFile(path));
    EXPECT_EQ(test::ReadBytes(path), expected);
    EXPECT_EQ(doc.ResultLog(), "<converted_from encoding=\"UTF-16\" length=\"107\"/>"
                               "<write encoding=\"UTF-8\" length=\"107\"/>");

    XmlDocument back;
    EXPECT_TRUE(back.LoadFile(path)) << back.ResultLog();
    EXPECT_EQ(back.Text(), expected);
}

TEST(XmlEditTest, NestedListsGetStartAndEndTagsOnLinesOfTheirOwn) {
    XmlDocument doc;
    doc.SetText(kHeader);
    ASSERT_TRUE(doc.AppendElement("macros"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AppendElement("macro"));
    ASSERT_TRUE(doc.SetAttribute("name", "m"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AppendElement("step"));
    ASSERT_TRUE(doc.AppendElement("step"));
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.AppendElement("macro"));
    EXPECT_EQ(doc.Text(), std::string(kHeader) +
                              "<macros>\r\n<macro name=\"m\">\r\n<step/>\r\n<step/>\r\n"
                              "</macro>\r\n<macro/>\r\n</macros>\r\n");
    EXPECT_TRUE(doc.WellFormed());
    ExpectIndexMatchesReparse(doc);
}

TEST(XmlEditTest, NewAttributesGoAfterTheLastOneKeepingTheSpaceBeforeTheClose) {
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"<a/>", "<a x=\"v\"/>"},
        {"<a />", "<a x=\"v\" />"},
        {"<a y=\"2\" />", "<a y=\"2\" x=\"v\" />"},
        {"<a y=2></a>", "<a y=2 x=\"v\"></a>"},
        {"<a\r\n  y='2'\r\n/>", "<a\r\n  y='2' x=\"v\"\r\n/>"},
        {"<a x='old'>t</a>", "<a x=\"v\">t</a>"},       // single quotes become double
        {"<a x=old y=\"2\"/>", "<a x=\"v\" y=\"2\"/>"}, // unquoted value replaced
        {"<a x y=\"2\"/>", "<a x=\"v\" y=\"2\"/>"},     // attribute without value
        // A '/' that ends an unquoted value is part of it, not an empty-element mark.
        {"<a y=foo/></a>", "<a x=\"v\" y=foo/></a>"},
        {"<a x=foo/></a>", "<a x=\"v\"></a>"},
        {"<a y=/></a>", "<a x=\"v\" y=/></a>"},
        {"<a y/></a>", "<a x=\"v\" y/></a>"},
        {"<a;y=z/></a>", "<a x=\"v\" ;y=z/></a>"},
        // An empty last value gets its quotes so the new name is not read as it.
        {"<a y= />", "<a y=\"\" x=\"v\" />"},
    };
    for (const Case& c : cases) {
        XmlDocument doc;
        doc.SetText(std::string("<r>") + c.before + "<b/></r>");
        Walk(doc, {"r", "a"});
        ASSERT_TRUE(doc.SetAttribute("x", "v")) << c.before;
        EXPECT_EQ(doc.Text(), std::string("<r>") + c.after + "<b/></r>");
        EXPECT_EQ(doc.GetAttribute("x"), "v");
        ExpectIndexMatchesReparse(doc);
    }
}

TEST(XmlEditTest, ValuesAreEscapedAndReadBackAsSet) {
    XmlDocument doc;
    doc.SetText("<r><a x=\"a much longer old value\"/><b/></r>");
    Walk(doc, {"r", "a"});
    const std::string value = "say \"<hi>\" & 'bye'";
    ASSERT_TRUE(doc.SetAttribute("x", value));
    EXPECT_EQ(doc.Text(), "<r><a x=\"say &quot;&lt;hi&gt;&quot; &amp; &apos;bye&apos;\"/><b/></r>");
    EXPECT_EQ(doc.GetAttribute("x"), value);
    ASSERT_TRUE(doc.SetAttribute("x", "")); // shrinking moves later elements back
    EXPECT_EQ(doc.Text(), "<r><a x=\"\"/><b/></r>");
    ExpectIndexMatchesReparse(doc);
}

TEST(XmlEditTest, AppendElementChoosesItsPlace) {
    struct Case {
        const char* before;
        std::initializer_list<const char*> path; // to the parent; "+" enters past its child
        const char* after;
    };
    const Case cases[] = {
        // Parent written as an empty-element tag.
        {"<r><p/></r>", {"r", "p"}, "<r><p>\r\n<c/>\r\n</p></r>"},
        {"<r><p x=\"1\" /></r>", {"r", "p"}, "<r><p x=\"1\" >\r\n<c/>\r\n</p></r>"},
        // Parent with nothing between its tags.
        {"<r><p></p></r>", {"r", "p"}, "<r><p>\r\n<c/>\r\n</p></r>"},
        // Parent with content and no current element: before its end tag.
        {"<r><p>\r\n<x/>\r\n</p></r>", {"r", "p"}, "<r><p>\r\n<x/>\r\n<c/>\r\n</p></r>"},
    };
    for (const Case& c : cases) {
        XmlDocument doc;
        doc.SetText(c.before);
        Walk(doc, c.path);
        ASSERT_TRUE(doc.EnterElement());
        ASSERT_TRUE(doc.AppendElement("c")) << c.before;
        EXPECT_EQ(doc.Text(), c.after);
        EXPECT_EQ(doc.CurrentName(), "c");
        EXPECT_EQ(doc.CurrentLevel(), 2);
        ExpectIndexMatchesReparse(doc);
    }
}

TEST(XmlEditTest, AppendAfterCurrentSkipsOnlyWhiteSpaceBeforeMarkup) {
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"<r><x/>\r\n  <y/></r>", "<r><x/>\r\n  <c/>\r\n<y/></r>"},
        {"<r><x/>text<y/></r>", "<r><x/><c/>\r\ntext<y/></r>"},
        {"<r><x></x><y/></r>", "<r><x></x><c/>\r\n<y/></r>"},
    };
    for (const Case& c : cases) {
        XmlDocument doc;
        doc.SetText(c.before);
        Walk(doc, {"r", "x"});
        ASSERT_TRUE(doc.AppendElement("c"));
        EXPECT_EQ(doc.Text(), c.after);
        ASSERT_TRUE(doc.FindElement("y")); // linked before the old next sibling
        ExpectIndexMatchesReparse(doc);
    }
}

TEST(XmlEditTest, DocumentLevelAppends) {
    XmlDocument doc;
    ASSERT_TRUE(doc.AppendElement("a")); // empty document
    EXPECT_EQ(doc.Text(), "<a/>\r\n");
    EXPECT_TRUE(doc.WellFormed());
    ASSERT_TRUE(doc.AppendElement("b")); // after the root: a second top-level element
    EXPECT_EQ(doc.Text(), "<a/>\r\n<b/>\r\n");
    EXPECT_FALSE(doc.WellFormed());
    ExpectIndexMatchesReparse(doc);
}

TEST(XmlEditTest, RefusedEdits) {
    XmlDocument doc;
    doc.SetText("<r><open><x/></r>");
    EXPECT_FALSE(doc.SetAttribute("a", "1")); // nothing current
    for (const char* name : {"", "1a", "a b", "a/", "/a", "a>", "a\"", "<a"}) {
        EXPECT_FALSE(doc.AppendElement(name)) << name;
    }
    Walk(doc, {"r", "open"});
    for (const char* name : {"", "a b", "a=b", "a>", "'a'", "a/"}) {
        EXPECT_FALSE(doc.SetAttribute(name, "1")) << name;
    }
    // The content of an element that was never ended has no place to go.
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_FALSE(doc.AppendElement("c"));
    EXPECT_EQ(doc.Text(), "<r><open><x/></r>");
}

TEST(XmlEditTest, EditsAfterRecoveryKeepTheIndexConsistent) {
    XmlDocument doc;
    doc.SetText("<r><a><x/><b><y></y></r>");
    Walk(doc, {"r", "x"});
    ASSERT_TRUE(doc.SetAttribute("k", "v"));
    ASSERT_TRUE(doc.AppendElement("n"));
    ASSERT_TRUE(doc.FindElement("b"));
    ASSERT_TRUE(doc.SetAttribute("k", "w"));
    EXPECT_EQ(doc.Text(), "<r><a><x k=\"v\"/><n/>\r\n<b k=\"w\"><y></y></r>");
    ExpectIndexMatchesReparse(doc);
}

} // namespace
} // namespace kovrin
