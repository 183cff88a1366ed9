// The windowless text editor: editing UTF-8 by characters, caret and
// selection, the clipboard, filters and limits, and horizontal scrolling.

#include "tessel/controls/input/TextEditor.h"
#include "tessel/HeadlessSession.h"
#include "tessel/Messages.h"

#include <gtest/gtest.h>

using namespace Tessel;

namespace {

class TextEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ed.SetFont({"Arial", 14, 0});
        ed.SetRect(CRect(100, 10, 300, 40));
    }
    // Keys as a focused owner passes them.
    TextEditor::Result Key(unsigned vk, bool shift = false, bool ctrl = false) {
        return ed.OnKeyDown(vk, shift, ctrl);
    }
    void Type(const std::string& utf8) {
        // One character at a time, as typed.
        for (std::size_t i = 0; i < utf8.size();) {
            const auto c = static_cast<unsigned char>(utf8[i]);
            const int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            std::uint32_t cp = n == 1 ? c : c & (0x7F >> n);
            for (int k = 1; k < n; ++k) {
                cp = cp << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            }
            ed.OnChar(cp);
            i += static_cast<std::size_t>(n);
        }
    }

    HeadlessSession ui{KOVRIN_BUILD_PROGRAM_DIR}; // the clipboard and the fonts
    TextEditor ed;
};

TEST_F(TextEditorTest, EditsByWholeCharacters) {
    Type("añ€😀b");
    EXPECT_EQ(ed.GetText(), "añ€😀b");
    EXPECT_EQ(ed.Length(), 5u);
    EXPECT_EQ(ed.Caret(), 5u);
    Key(VK_LEFT);
    Key(VK_BACK); // removes the four-byte emoji whole
    EXPECT_EQ(ed.GetText(), "añ€b");
    Key(VK_HOME);
    Key(VK_RIGHT);
    Key(VK_DELETE); // the two-byte ñ
    EXPECT_EQ(ed.GetText(), "a€b");
    Key(VK_END);
    Key(VK_LEFT, true);
    Key(VK_LEFT, true);
    EXPECT_EQ(ed.SelectedText(), "€b");
    Type("z");
    EXPECT_EQ(ed.GetText(), "az");
    // Malformed input is kept as U+FFFD, one character per bad byte.
    ed.SetText(std::string("x\xC3y\xFF", 4));
    EXPECT_EQ(ed.GetText(), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
    EXPECT_EQ(ed.Length(), 4u);
}

TEST_F(TextEditorTest, SelectionKeysAndWords) {
    ed.SetText("hello big world");
    Key(VK_HOME);
    Key(VK_RIGHT, false, true); // Ctrl+Right: after "hello "
    EXPECT_EQ(ed.Caret(), 6u);
    Key(VK_RIGHT, true, true);
    EXPECT_EQ(ed.SelectedText(), "big ");
    Key(VK_RIGHT); // collapses to the end of the selection
    EXPECT_EQ(ed.Caret(), 10u);
    EXPECT_FALSE(ed.HasSelection());
    Key(VK_BACK, false, true); // Ctrl+Backspace: the word before
    EXPECT_EQ(ed.GetText(), "hello world");
    Key(VK_END, true);
    EXPECT_EQ(ed.SelectedText(), "world");
    Key('A', false, true);
    EXPECT_EQ(ed.SelectedText(), "hello world");
    EXPECT_FALSE(Key('A').handled); // a plain letter comes as a character
    EXPECT_TRUE(Key(VK_RETURN).enter);
    EXPECT_TRUE(Key(VK_ESCAPE).escape);
}

TEST_F(TextEditorTest, ClipboardCutCopyPaste) {
    auto& clip = ui.System();
    ed.SetText("copy me");
    Key('A', false, true);
    Key('C', false, true);
    EXPECT_EQ(clip.GetClipboardText(), "copy me");
    Key(VK_END);
    Key(VK_LEFT, true);
    Key(VK_LEFT, true);
    const auto cut = Key('X', false, true);
    EXPECT_TRUE(cut.changed);
    EXPECT_EQ(ed.GetText(), "copy ");
    EXPECT_EQ(clip.GetClipboardText(), "me");
    Key(VK_HOME);
    EXPECT_TRUE(Key('V', false, true).changed);
    EXPECT_EQ(ed.GetText(), "mecopy ");
    // Only the first line of pasted text, without control characters.
    clip.SetClipboardText("one\ttwo\nthree");
    Key(VK_INSERT, true);
    EXPECT_EQ(ed.GetText(), "meonetwocopy ");
    // A password is never copied or cut.
    ed.SetPasswordChar('*');
    clip.SetClipboardText("kept");
    Key('A', false, true);
    Key('C', false, true);
    EXPECT_FALSE(Key('X', false, true).changed);
    EXPECT_EQ(clip.GetClipboardText(), "kept");
    EXPECT_EQ(ed.DisplayText(), std::string(13, '*'));
}

TEST_F(TextEditorTest, DigitsOnlyAndLimit) {
    ed.SetDigitsOnly(true);
    ed.SetLimit(3);
    Type("1a2");
    EXPECT_EQ(ed.GetText(), "12");
    ui.System().SetClipboardText("x9876");
    Key('V', false, true);
    EXPECT_EQ(ed.GetText(), "129"); // filtered, then cut to the limit
    EXPECT_FALSE(ed.OnChar('5').changed);
    // Replacing a selection counts what remains.
    Key(VK_HOME);
    Key(VK_RIGHT, true);
    Type("7");
    EXPECT_EQ(ed.GetText(), "729");
    // Control characters are never text.
    ed.SetDigitsOnly(false);
    ed.SetLimit(0);
    EXPECT_FALSE(ed.OnChar(0x08).handled);
    EXPECT_FALSE(ed.OnChar(0x7F).handled);
}

TEST_F(TextEditorTest, ScrollsToKeepTheCaretInside) {
    const CRect r = ed.GetRect();
    ed.SetText(std::string(80, 'W'));
    // The caret at the end is inside the rectangle, the text scrolled left.
    EXPECT_GT(ed.ScrollOffset(), 0);
    EXPECT_LE(ed.CaretRect().left, r.right - 1);
    EXPECT_GE(ed.CaretRect().left, r.left);
    Key(VK_HOME);
    EXPECT_EQ(ed.ScrollOffset(), 0);
    EXPECT_EQ(ed.CaretRect().left, r.left);
    // Clicks map to the nearest boundary, also past either end.
    EXPECT_EQ(ed.IndexAt(r.left - 50), 0u);
    const int w = ed.XOf(1) - ed.XOf(0);
    EXPECT_GT(w, 5);
    EXPECT_EQ(ed.IndexAt(r.left + w / 2 + 1), 1u);
    ed.OnMouseDown({r.left + 3 * w + 1, 20}, false);
    EXPECT_EQ(ed.Caret(), 3u);
    ed.OnMouseDrag({r.left + 5 * w + 1, 20});
    EXPECT_EQ(ed.SelectedText(), "WW");
}

TEST_F(TextEditorTest, AlignmentWhileTheTextFits) {
    ed.SetText("abc");
    const int left = ed.XOf(0);
    ed.SetAlignment(1);
    const int centred = ed.XOf(0);
    ed.SetAlignment(2);
    const int right = ed.XOf(3);
    EXPECT_EQ(left, 100);
    EXPECT_GT(centred, 150);
    EXPECT_LT(centred, 200);
    EXPECT_GE(right, 295);
    EXPECT_LE(right, 299);
}

TEST_F(TextEditorTest, DrawsTheSelectionInItsColours) {
    ed.SetText("MMMM");
    ed.SetSelection(1, 3);
    Bitmap bmp(400, 50);
    ed.Draw(bmp.Context(), 0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00);
    bmp.Flush();
    // Red behind the selected characters, nothing before the text.
    const int mid = (ed.XOf(1) + ed.XOf(2)) / 2;
    int red = 0;
    int green = 0;
    for (int y = 10; y < 40; ++y) {
        const std::uint32_t p = bmp.Pixel(mid, y) & 0xFFFFFF;
        red += p == 0xFF0000;
        green += (p >> 8 & 0xFF) > 0xC0 && (p >> 16) < 0x80;
    }
    EXPECT_GT(red, 3);
    EXPECT_GT(green, 1);
    EXPECT_EQ(bmp.Pixel(50, 25), 0u);
}

} // namespace
