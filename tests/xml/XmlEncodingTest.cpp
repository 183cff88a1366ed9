// Reading and writing files in their encodings.

#include "xml/XmlEncoding.h"
#include "XmlTestFiles.h"
#include "xml/XmlCodePages.h"
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace kovrin {
namespace {

std::string Utf16Bytes(std::u16string_view text, bool big_endian) {
    std::string out;
    for (const char16_t u : text) {
        const char hi = static_cast<char>(u >> 8);
        const char lo = static_cast<char>(u & 0xFF);
        out += big_endian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

TEST(XmlEncodingTest, FilesAreDecodedFromTheirEncoding) {
    struct Case {
        const char* what;
        std::string bytes;
        const char* value; // attribute v of the root, as UTF-8
        std::uint32_t flags;
        const char* log; // expected result log
    };
    const std::u16string wide = u"<a v=\"é中😀\"/>";
    const Case cases[] = {
        {"UTF-8 declared", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a v=\"é中😀\"/>", "é中😀", 0,
         "<read encoding=\"UTF-8\" length=\"56\"/><converted_to encoding=\"UTF-16\" "
         "length=\"51\"/>"},
        {"UTF-8 with mark", "\xEF\xBB\xBF<a v=\"é中😀\"/>", "é中😀", kXmlUtf8Mark,
         "<bom/><read encoding=\"UTF-8\" length=\"18\"/>"
         "<converted_to encoding=\"UTF-16\" length=\"13\"/>"},
        {"UTF-16LE with mark", "\xFF\xFE" + Utf16Bytes(wide, false), "é中😀", kXmlUtf16LeMark,
         "<bom/><read encoding=\"UTF-16LE\" length=\"13\"/>"},
        {"UTF-16BE with mark", "\xFE\xFF" + Utf16Bytes(wide, true), "é中😀", kXmlUtf16BeMark,
         "<bom/><read encoding=\"UTF-16BE\" length=\"13\"/><endian_swap/>"},
        {"GBK declared", "<?xml version=\"1.0\" encoding=\"GBK\"?><a v=\"\xD6\xD0\xCE\xC4\"/>",
         "中文", 0,
         "<read encoding=\"GBK\" length=\"49\"/><converted_to encoding=\"UTF-16\" length=\"47\"/>"},
        {"windows-1252 declared",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\x80 caf\xE9\"/>", "€ café", 0,
         "<read encoding=\"windows-1252\" length=\"60\"/>"
         "<converted_to encoding=\"UTF-16\" length=\"60\"/>"},
        {"ISO-8859-1 declared", "<?xml version='1.0' encoding='ISO-8859-1'?><a v='\xE9'/>", "é", 0,
         "<read encoding=\"ISO-8859-1\" length=\"53\"/>"
         "<converted_to encoding=\"UTF-16\" length=\"53\"/>"},
        {"Latin-1 bytes after '<' are read as UTF-8", "<a v=\"caf\xE9\"/>", "caf\xEF\xBF\xBD", 0,
         "<read encoding=\"UTF-8\" length=\"13\"/><converted_to encoding=\"UTF-16\" "
         "length=\"13\"/>"},
        {"UTF-8 found by content", "\r\n<a v=\"é\"/>", "é", 0,
         "<read encoding=\"UTF-8\" length=\"13\"/><utf8_detection/>"
         "<converted_to encoding=\"UTF-16\" length=\"12\"/>"},
        {"windows-1252 when nothing else fits", "\r\n<a v=\"\xE9t\xE9\"/>", "été", 0,
         "<read encoding=\"\" length=\"14\"/><utf8_detection/>"
         "<converted_to encoding=\"UTF-16\" length=\"14\"/>"},
        {"zero bytes dropped", std::string("<a v=\"x\0y\"/>\0", 13), "xy", 0,
         "<read encoding=\"UTF-8\" length=\"13\"/><nulls_removed count=\"2\"/>"
         "<converted_to encoding=\"UTF-16\" length=\"11\"/>"},
    };
    test::TempFolder folder;
    for (const Case& c : cases) {
        const std::string path = folder.File("in.xml");
        test::WriteBytes(path, c.bytes);
        XmlDocument doc;
        EXPECT_TRUE(doc.LoadFile(path)) << c.what << ": " << doc.ResultLog();
        EXPECT_EQ(doc.ResultLog(), c.log) << c.what;
        EXPECT_EQ(doc.Flags(), c.flags) << c.what;
        ASSERT_TRUE(doc.FindElement("a")) << c.what;
        EXPECT_EQ(doc.GetAttribute("v"), c.value) << c.what;
    }
}

TEST(XmlEncodingTest, SavingWritesTheEncodingTheFileWasReadIn) {
    const std::u16string wide = u"<a v=\"é中😀\">\r\n</a>\r\n";
    const std::string cases[] = {
        "\xFF\xFE" + Utf16Bytes(wide, false),
        "\xFE\xFF" + Utf16Bytes(wide, true),
        "\xEF\xBB\xBF<a v=\"é\"/>\r\n",
        "<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n<a v=\"\xD6\xD0\xCE\xC4\"/>\r\n",
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<a v=\"\x80\xE9\"/>\r\n",
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<a v=\"\x93\xFA\x96\x7B\"/>\r\n",
    };
    test::TempFolder folder;
    for (const std::string& bytes : cases) {
        test::WriteBytes(folder.File("in.xml"), bytes);
        XmlDocument doc;
        ASSERT_TRUE(doc.LoadFile(folder.File("in.xml"))) << doc.ResultLog();
        ASSERT_TRUE(doc.SaveFile(folder.File("out.xml"))) << doc.ResultLog();
        EXPECT_EQ(test::ReadBytes(folder.File("out.xml")), bytes) << doc.ResultLog();
    }
}

TEST(XmlEncodingTest, Utf16MarkSurvivesEditsAndItsLogIsExact) {
    test::TempFolder folder;
    test::WriteBytes(folder.File("in.xml"), "\xFF\xFE" + Utf16Bytes(u"<r>\r\n</r>\r\n", false));
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(folder.File("in.xml")));
    EXPECT_EQ(doc.Flags(), kXmlUtf16LeMark);
    ASSERT_TRUE(doc.FindElement("r"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AppendElement("k"));
    ASSERT_TRUE(doc.SetAttribute("n", "中"));
    ASSERT_TRUE(doc.SaveFile(folder.File("out.xml")));
    EXPECT_EQ(doc.ResultLog(), "<bom/><write encoding=\"UTF-16LE\" length=\"23\"/>");
    EXPECT_EQ(test::ReadBytes(folder.File("out.xml")),
              "\xFF\xFE" + Utf16Bytes(u"<r>\r\n<k n=\"中\"/>\r\n</r>\r\n", false));
}

TEST(XmlEncodingTest, CharactersTheCodePageLacksAreReported) {
    test::TempFolder folder;
    XmlDocument doc;
    doc.SetText("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<a/>");
    ASSERT_TRUE(doc.FindElement("a"));
    ASSERT_TRUE(doc.SetAttribute("v", "é中"));
    ASSERT_TRUE(doc.SaveFile(folder.File("out.xml")));
    EXPECT_EQ(doc.ResultLog(),
              "<converted_from encoding=\"UTF-16\" length=\"58\"/>"
              "<conversion_loss/><write encoding=\"windows-1252\" length=\"58\"/>");
    EXPECT_EQ(test::ReadBytes(folder.File("out.xml")),
              "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<a v=\"\xE9?\"/>");
}

TEST(XmlEncodingTest, DeclaredUtf16IsWrittenWithAMarkSoItReadsBack) {
    test::TempFolder folder;
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a v=\"中\"/>"));
    ASSERT_TRUE(doc.SaveFile(folder.File("out.xml")));
    const std::string bytes = test::ReadBytes(folder.File("out.xml"));
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE<\0", 4));
    XmlDocument back;
    ASSERT_TRUE(back.LoadFile(folder.File("out.xml")));
    ASSERT_TRUE(back.FindElement("a"));
    EXPECT_EQ(back.GetAttribute("v"), "中");
}

TEST(XmlEncodingTest, EmptyFileIsReadButNotWellFormed) {
    test::TempFolder folder;
    test::WriteBytes(folder.File("empty.xml"), "");
    XmlDocument doc;
    EXPECT_FALSE(doc.LoadFile(folder.File("empty.xml")));
    EXPECT_EQ(doc.ResultLog(), "<read encoding=\"UTF-8\" length=\"0\"/><utf8_detection/>"
                               "<converted_to encoding=\"UTF-16\" length=\"0\"/>");
    // An empty text writes an empty file.
    ASSERT_TRUE(doc.SaveFile(folder.File("out.xml")));
    EXPECT_EQ(doc.ResultLog(), "<write encoding=\"\" length=\"0\"/>");
    EXPECT_EQ(test::ReadBytes(folder.File("out.xml")), "");
}

TEST(XmlEncodingTest, UnreadableAndUnwritableFiles) {
    test::TempFolder folder;
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText("<kept/>"));
    EXPECT_FALSE(doc.LoadFile(folder.File("missing.xml")));
    EXPECT_EQ(doc.ResultLog(), "<file_error msg=\"No such file or directory\" n=\"2\"/>");
    EXPECT_EQ(doc.Text(), "<kept/>"); // the document is left as it was
    EXPECT_FALSE(doc.LoadFile(folder.Path().string()));
    EXPECT_EQ(doc.ResultLog(), "<file_error msg=\"Is a directory\" n=\"21\"/>");

    EXPECT_FALSE(doc.SaveFile(folder.File("no/such/folder.xml")));
    EXPECT_EQ(doc.ResultLog(), "<file_error msg=\"No such file or directory\" n=\"2\"/>");
}

TEST(XmlEncodingTest, SavingReplacesAnExistingFileWhole) {
    test::TempFolder folder;
    const std::string path = folder.File("x.xml");
    test::WriteBytes(path, std::string(5000, 'z'));
    XmlDocument doc;
    doc.SetText("<a/>");
    ASSERT_TRUE(doc.SaveFile(path));
    EXPECT_EQ(test::ReadBytes(path), "<a/>");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1); // no temporary file left beside it
}

TEST(XmlEncodingTest, DecodingStopsAtTheEdgesOfTheData) {
    struct Case {
        const char* what;
        std::string bytes;
        std::u16string text;
    };
    // A declaration of an encoding whose name the 1,024-byte prefix cuts in a
    // UTF-8 sequence.
    std::string cut_prefix = "<html><head><!--" + std::string(1006, 'x') + "\xE4\xB8\xAD-->";
    cut_prefix += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\">";
    const Case cases[] = {
        {"odd UTF-16 byte count", "\xFF\xFE" + Utf16Bytes(u"<a/>", false) + "X", u"<a/>"},
        {"UTF-16 mark only", "\xFF\xFE", u""},
        {"cut UTF-8 at the end", "<a/>\xE4\xB8", u"<a/>\uFFFD\uFFFD"},
        {"cut sequence fails the UTF-8 test", " <a/>\xE4", u" <a/>\u00E4"},
        {"prefix cut inside a character", cut_prefix,
         u"<html><head><!--" + std::u16string(1006, u'x') + u"\u4E2D-->" +
             u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\">"},
    };
    test::TempFolder folder;
    for (const Case& c : cases) {
        test::WriteBytes(folder.File("in.xml"), c.bytes);
        std::u16string text;
        XmlLog log;
        std::uint32_t flags = 0;
        ASSERT_TRUE(DecodeFile(folder.File("in.xml"), text, log, flags)) << c.what;
        EXPECT_EQ(text, c.text) << c.what;
    }
}

TEST(XmlEncodingTest, HtmlMetaCharsetChoosesTheCodePage) {
    test::TempFolder folder;
    test::WriteBytes(folder.File("page.html"),
                     "<!DOCTYPE html><html><head><title>\xF0\xD2\xC9</title>"
                     "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\">"
                     "</head></html>");
    std::u16string text;
    XmlLog log;
    std::uint32_t flags = 0;
    ASSERT_TRUE(DecodeFile(folder.File("page.html"), text, log, flags));
    EXPECT_NE(text.find(u"<title>При</title>"), std::u16string::npos);
}

TEST(XmlEncodingTest, DeclaredEncoding) {
    struct Case {
        const char* text;
        const char* encoding;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\" encoding=\"GBK\"?><a/>", "GBK"},
        {"<?xml version='1.0' encoding='windows-1252' standalone='yes'?>", "windows-1252"},
        {"<?xml version=\"1.0\"?><html><meta charset=\"koi8-r\"></html>", ""},
        {" <?xml version=\"1.0\" encoding=\"GBK\"?><a/>", ""},
        {"<a encoding=\"GBK\"/>", ""},
        {"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=big5\">",
         "big5"},
        {"<!-- c --><HTML><HEAD><META HTTP-EQUIV=\"content-type\" "
         "CONTENT=\"text/html; charset = euc-kr\"></HEAD></HTML>",
         "euc-kr"},
        {"<html><head><meta charset=\"Shift_JIS\"></head></html>", "Shift_JIS"},
        {"<html><head><meta name=\"x\" content=\"charset=big5\"></head></html>", ""},
        {"<html><head></head><meta charset=\"big5\"></html>", ""},
        {"<body><html><meta charset=\"big5\"></html></body>", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DeclaredEncoding(std::string_view(c.text)), c.encoding) << c.text;
    }
}

TEST(XmlEncodingTest, CodePageForName) {
    struct Case {
        std::string name;
        int code_page;
    };
    const Case cases[] = {
        {"utf-8", 65001},
        {"UTF8", 65001},
        {"cp65001", 65001},
        {"utf-16", 1200},
        {"UTF-16LE", 1200},
        {"ucs-2", 1200},
        {"unicode", 1200},
        {"utf-16be", 1201},
        {"unicodeFFFE", 1201},
        {"gb2312", 936},
        {"GBK", 936},
        {"cp936", 936},
        {"Shift_JIS", 932},
        {"sjis", 932},
        {"cp932", 932},
        {"big5", 950},
        {"ISO-8859-1", 28591},
        {"latin1", 28591},
        {"us-ascii", 20127},
        {"ascii", 20127},
        {"Windows-1252", 1252},
        {"windows-1251", 1251},
        {"koi8-r", 20866},
        {"euc-kr", 51949},
        {"euc-jp", 51932},
        {"gb18030", 54936},
        {"iso-8859-15", 28605},
        {"UTF-32", 65005},
        {"UTF-32BE", 65005},
        {"utf-32", 12000},
        {"", 0},
        {"no-such-charset", -1},
        {std::string(99, 'a'), -1},
        {std::string(100, 'a'), -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CodePageForName(c.name), c.code_page) << c.name;
    }
}

TEST(XmlEncodingTest, ByteConversionsOfOtherCodePages) {
    struct Case {
        const char* encoding;
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"koi8-r", "\xF0\xD2\xC9", u"При"},
        {"big5", "\xA4\xA4\xA4\xE5", u"中文"},
        {"euc-kr", "\xC7\xD1", u"한"},
        {"ibm037", "\xC1\xF1", u"A1"},
        {"", "\x80\xE9", u"€é"},           // the ANSI code page
        {"no-such-charset", "\x80", u"€"}, // read as the ANSI code page
        {"UTF-16", "<a/>", u"<a/>"},       // declared 16-bit but 8-bit in fact
        {"gbk", "\xD6", u"\uFFFD"},        // cut character
        {"utf-8", "\xC0\xAF\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeBytes(c.bytes, c.encoding), c.text) << c.encoding;
    }
    bool loss = false;
    EXPECT_EQ(EncodeText(u"A\U0001F600", "UTF-32BE", &loss),
              std::string("\0\0\0A\0\x01\xF6\x00", 8));
    EXPECT_EQ(EncodeText(u"\xD800x", "utf-8", &loss), "\xEF\xBF\xBDx");
    EXPECT_FALSE(loss); // not reported for UTF-8
    EXPECT_EQ(EncodeText(u"a\U0001F600b", "ibm037", &loss), "\x81\x6F\x82");
    EXPECT_TRUE(loss);
}

TEST(XmlEncodingTest, FileErrorMessageIsCutOnACharacterBoundary) {
    XmlLog log;
    std::string message(98, 'm');
    message += "😀 and more\r\nsecond line";
    log.AddFileError(message, 5);
    EXPECT_EQ(log.Text(), u"<file_error msg=\"" + std::u16string(98, u'm') + u"\" n=\"5\"/>");
    log.Clear();
    log.AddFileError("first\nsecond", 13);
    EXPECT_EQ(log.Text(), u"<file_error msg=\"first\" n=\"13\"/>");
}

TEST(XmlEncodingTest, LogStopsGrowingAtItsLimit) {
    XmlDocument doc;
    std::string text = "<r>";
    for (int i = 0; i < 200; ++i) {
        text += "</x>";
    }
    doc.SetText(text + "</r>");
    const std::string log = doc.ResultLog();
    EXPECT_GE(log.size(), XmlLog::kLimit);
    EXPECT_LT(log.size(), XmlLog::kLimit + 64);
    EXPECT_TRUE(log.ends_with("/>"));
}

} // namespace
} // namespace kovrin
