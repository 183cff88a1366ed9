// Parsing, the element index, navigation and reading attributes.

#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace kovrin {
namespace {

// "name" for each element in document order, indented by its walk depth; the
// walk depth must agree with the level the index keeps.
std::string Outline(XmlDocument& doc) {
    doc.Rewind();
    std::string out;
    int depth = 0;
    for (;;) {
        if (doc.FindElement("")) {
            EXPECT_EQ(doc.CurrentLevel(), depth) << doc.CurrentName();
            out += std::string(static_cast<std::size_t>(depth), '.') + doc.CurrentName() + " ";
            doc.EnterElement();
            ++depth;
        } else if (doc.LeaveElement()) {
            --depth;
        } else {
            break;
        }
    }
    if (!out.empty()) {
        out.pop_back();
    }
    doc.Rewind();
    return out;
}

TEST(XmlDocumentTest, ReaderPatternWalksListsAndNestedLists) {
    XmlDocument doc;
    ASSERT_TRUE(
        doc.SetText("<?xml version=\"1.0\"?>\r\n<root>\r\n<items n=\"2\"/>\r\n"
                    "<item id=\"1\"/>\r\n<item id=\"2\"><sub v=\"a\"/><sub v=\"b\"/></item>\r\n"
                    "<item id=\"3\"/>\r\n</root>\r\n"));
    ASSERT_TRUE(doc.FindElement("root"));
    ASSERT_TRUE(doc.EnterElement());
    std::string ids;
    std::string subs;
    while (doc.FindElement("item")) {
        ids += doc.GetAttribute("id");
        ASSERT_TRUE(doc.EnterElement());
        while (doc.FindElement("sub")) {
            subs += doc.GetAttribute("v");
        }
        ASSERT_TRUE(doc.LeaveElement());
    }
    EXPECT_EQ(ids, "123"); // "items" is not "item"
    EXPECT_EQ(subs, "ab");
    // The failed search left the cursor on the last item.
    EXPECT_EQ(doc.CurrentName(), "item");
    EXPECT_EQ(doc.GetAttribute("id"), "3");
    EXPECT_FALSE(doc.FindElement("/item"));
    EXPECT_EQ(doc.GetAttribute("id"), "3");
}

TEST(XmlDocumentTest, EnterWithoutCurrentElementChangesNothing) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText("<a><b/></a>"));
    EXPECT_FALSE(doc.EnterElement()); // at the document, nothing current
    ASSERT_TRUE(doc.FindElement("a"));
    ASSERT_TRUE(doc.EnterElement()); // no remembered child: nothing current
    EXPECT_FALSE(doc.HasCurrent());
    EXPECT_FALSE(doc.EnterElement());
    EXPECT_EQ(doc.ParentLevel(), 0);
    ASSERT_TRUE(doc.FindElement("b"));
    EXPECT_EQ(doc.CurrentLevel(), 1);
}

TEST(XmlDocumentTest, LeaveRemembersTheChildForTheNextEnter) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText("<a><b/><c/><d/></a>"));
    ASSERT_TRUE(doc.FindElement("a"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("c"));
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.CurrentName(), "a");
    EXPECT_FALSE(doc.LeaveElement()); // already at the document
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_EQ(doc.CurrentName(), "c");
    ASSERT_TRUE(doc.FindElement(""));
    EXPECT_EQ(doc.CurrentName(), "d");
}

TEST(XmlDocumentTest, ElementNamesCompareWholeAndCaseSensitiveUnlessAsked) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText("<Root><Key Name=\"x\"/></Root>"));
    EXPECT_FALSE(doc.FindElement("root"));
    EXPECT_FALSE(doc.FindElement("Roo"));
    doc.SetIgnoreCase(true);
    ASSERT_TRUE(doc.FindElement("root"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("KEY"));
    EXPECT_EQ(doc.GetAttribute("name"), "x");
    EXPECT_EQ(doc.Flags(), kXmlIgnoreCase);
    // End tags match open elements the same way.
    EXPECT_TRUE(doc.SetText("<a><B></b></A>"));
}

TEST(XmlDocumentTest, UnendedChildStaysChildWithStartTagLength) {
    XmlDocument doc;
    EXPECT_FALSE(doc.SetText("<a><b x=\"1\"><c/></a>"));
    EXPECT_EQ(doc.ResultLog(), "<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"16\"/>");
    EXPECT_EQ(Outline(doc), "a .b .c");
    ASSERT_TRUE(doc.FindElement("a"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("b"));
    const auto b = doc.CurrentElement();
    ASSERT_TRUE(b);
    EXPECT_TRUE(b->not_ended);
    EXPECT_EQ(b->length, 9u);
    EXPECT_EQ(b->length, b->start_tag_length);
    EXPECT_EQ(b->end_tag_length, 0u);
    EXPECT_TRUE(doc.FindElement("c")); // b's child became its next sibling
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.CurrentElement()->length, 20u);
}

TEST(XmlDocumentTest, RecoveryKeepsDocumentOrderAcrossSeveralUnendedElements) {
    XmlDocument doc;
    EXPECT_FALSE(doc.SetText("<r><a><x/><b><y></y><z/></r><s/>"));
    EXPECT_EQ(doc.ResultLog(), "<unended_start_tag tagname=\"b\" offset=\"10\" offset2=\"24\"/>"
                               "<unended_start_tag tagname=\"a\" offset=\"3\" offset2=\"24\"/>"
                               "<root_has_sibling/>");
    EXPECT_EQ(Outline(doc), "r .a .x .b .y .z s");
}

TEST(XmlDocumentTest, ElementsOpenAtTheEndBecomeSiblings) {
    XmlDocument doc;
    EXPECT_FALSE(doc.SetText("<a><b><c>"));
    EXPECT_EQ(doc.ResultLog(), "<unended_start_tag tagname=\"c\" offset=\"6\" offset2=\"9\"/>"
                               "<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"9\"/>"
                               "<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"9\"/>"
                               "<root_has_sibling/>");
    EXPECT_EQ(Outline(doc), "a b c");
}

TEST(XmlDocumentTest, LoneEndTagIsLoggedAndTheRestIndexed) {
    XmlDocument doc;
    EXPECT_FALSE(doc.SetText("<a></x><b/></a>"));
    EXPECT_EQ(doc.ResultLog(), "<lone_end_tag tagname=\"x\" offset=\"3\"/>");
    EXPECT_EQ(Outline(doc), "a .b");
    ASSERT_TRUE(doc.FindElement("a"));
    EXPECT_FALSE(doc.CurrentElement()->not_ended);
}

TEST(XmlDocumentTest, TwoTopLevelElementsAreBothIndexed) {
    XmlDocument doc;
    EXPECT_FALSE(doc.SetText("<a/><b/>"));
    EXPECT_EQ(doc.ResultLog(), "<root_has_sibling/>");
    EXPECT_EQ(Outline(doc), "a b");
}

TEST(XmlDocumentTest, TextWithoutElements) {
    XmlDocument doc;
    EXPECT_FALSE(doc.SetText(""));
    EXPECT_EQ(doc.ResultLog(), "");
    EXPECT_FALSE(doc.SetText("<?xml version=\"1.0\"?>\r\n<!-- nothing -->"));
    EXPECT_EQ(doc.ResultLog(), "<no_root_element/>");
    EXPECT_EQ(doc.ElementCount(), 0u);
}

TEST(XmlDocumentTest, SyntaxErrorsAreLoggedAndParsingGoesOn) {
    struct Case {
        const char* text;
        const char* log;
        const char* outline;
    };
    const Case cases[] = {
        {"<a>< b/></a>", "<first_tag_syntax offset=\"3\"/>", "a"},
        {"<a><!x><b/></a>", "<exclamation_tag_syntax offset=\"3\"/>", "a .b"},
        {"<a><!-x><b/></a>", "<comment_tag_syntax offset=\"3\"/>", "a .b"},
        {"<a><![X[y]]><b/></a>", "<cdata_section_syntax offset=\"3\"/>", "a .b"},
        {"<!DOCTYPE a [<!ELEMENT a ANY><!FOO>]><a/>", "<doctype_tag_syntax offset=\"29\"/>", "a"},
        {"<a>x<",
         "<unterminated_tag_syntax type=\"tag\" offset=\"4\"/>"
         "<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"5\"/>",
         "a"},
        {"<a/><b x='1>", "<unterminated_tag_syntax type=\"start_tag\" offset=\"4\"/>", "a"},
        {"<a></a",
         "<unterminated_tag_syntax type=\"end_tag\" offset=\"3\"/>"
         "<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"6\"/>",
         "a"},
        {"<a/><!-- x", "<unterminated_tag_syntax type=\"comment\" offset=\"4\"/>", "a"},
        {"<a/><?pi x", "<unterminated_tag_syntax type=\"processing_instruction\" offset=\"4\"/>",
         "a"},
        {"<a/><![CDATA[x", "<unterminated_tag_syntax type=\"cdata_section\" offset=\"4\"/>", "a"},
        {"<!DOCTYPE a [ <!ENTITY x 'y'>",
         "<unterminated_tag_syntax type=\"document_type\" "
         "offset=\"0\"/><no_root_element/>",
         ""},
    };
    for (const Case& c : cases) {
        XmlDocument doc;
        EXPECT_FALSE(doc.SetText(c.text)) << c.text;
        EXPECT_EQ(doc.ResultLog(), c.log) << c.text;
        EXPECT_EQ(Outline(doc), c.outline) << c.text;
    }
}

TEST(XmlDocumentTest, NonElementNodesAreSkipped) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText("<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY e \"]>\"><!-- c -->"
                            "<!ATTLIST r a CDATA #IMPLIED>]><!-- <x> --><r t='a>b'>"
                            "<![CDATA[<y>]]><?pi <z>?>text<k/></r>"))
        << doc.ResultLog();
    EXPECT_EQ(doc.ResultLog(), "");
    EXPECT_EQ(Outline(doc), "r .k");
    ASSERT_TRUE(doc.FindElement("r"));
    EXPECT_EQ(doc.GetAttribute("t"), "a>b");
}

TEST(XmlDocumentTest, SlashBeforeCloseMakesAnEmptyElementUnlessItEndsAnUnquotedValue) {
    struct Case {
        const char* text;
        bool empty;
    };
    const Case cases[] = {
        {"<a/>", true},
        {"<a />", true},
        {"<a x=\"1\"/>", true},
        {"<a x='1' />", true},
        {"<a href=foo/></a>", false},
    };
    for (const Case& c : cases) {
        XmlDocument doc;
        EXPECT_TRUE(doc.SetText(c.text)) << c.text << doc.ResultLog();
        ASSERT_TRUE(doc.FindElement("a"));
        EXPECT_EQ(doc.CurrentElement()->empty_tag, c.empty) << c.text;
    }
}

TEST(XmlDocumentTest, AttributeReading) {
    XmlDocument doc;
    EXPECT_EQ(doc.GetAttribute("x"), ""); // nothing current
    ASSERT_TRUE(doc.SetText("<k a='single' b=\"dou'ble\" c=bare d e = \"spaced\" "
                            "f=\"&lt;&amp;&#65;&#x42;&QUOT;\" ab=\"other\" g=\"\"/>"));
    ASSERT_TRUE(doc.FindElement("k"));
    EXPECT_EQ(doc.GetAttribute("a"), "single");
    EXPECT_EQ(doc.GetAttribute("b"), "dou'ble");
    EXPECT_EQ(doc.GetAttribute("c"), "bare");
    EXPECT_EQ(doc.GetAttribute("d"), "");
    EXPECT_EQ(doc.GetAttribute("e"), "spaced");
    EXPECT_EQ(doc.GetAttribute("f"), "<&AB\"");
    EXPECT_EQ(doc.GetAttribute("ab"), "other");
    EXPECT_EQ(doc.GetAttribute("A"), "");
    EXPECT_EQ(doc.GetAttribute("missing"), "");
    ASSERT_TRUE(doc.SetText("<a href=foo/>x</a>"));
    ASSERT_TRUE(doc.FindElement("a"));
    EXPECT_EQ(doc.GetAttribute("href"), "foo/");
}

TEST(XmlDocumentTest, NonAsciiNamesAndValuesCrossAsUtf8) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText("<宏 名=\"按键 😀\"/>"));
    ASSERT_TRUE(doc.FindElement("宏"));
    EXPECT_EQ(doc.CurrentName(), "宏");
    EXPECT_EQ(doc.GetAttribute("名"), "按键 😀");
    EXPECT_EQ(doc.CurrentElement()->length, 14u); // UTF-16 units
}

TEST(XmlDocumentTest, EachParseStartsFromScratch) {
    XmlDocument doc;
    EXPECT_FALSE(doc.SetText("<a><b>"));
    ASSERT_TRUE(doc.FindElement("a"));
    EXPECT_TRUE(doc.SetText("<c/>"));
    EXPECT_EQ(doc.ResultLog(), "");
    EXPECT_FALSE(doc.HasCurrent());
    EXPECT_EQ(doc.ElementCount(), 1u);
    EXPECT_EQ(Outline(doc), "c");
    // Same element number, new text: nothing read before is reused.
    ASSERT_TRUE(doc.SetText("<a x='1'/>"));
    ASSERT_TRUE(doc.FindElement("a"));
    EXPECT_EQ(doc.GetAttribute("x"), "1");
    ASSERT_TRUE(doc.SetText("<a y='0' x='22'/>"));
    ASSERT_TRUE(doc.FindElement("a"));
    EXPECT_EQ(doc.GetAttribute("x"), "22");
}

} // namespace
} // namespace kovrin
