#include "tools/skin/StandardSkins.h"

#include "tools/skin/SkinPainter.h"

#include <cmath>

namespace kovrin::skin {
namespace {

State StateOf(int cell) {
    return static_cast<State>(cell % 4);
}

// Glyph colour of a small icon button: text, red while hovered, white on the
// pressed face, muted when disabled.
std::uint32_t GlyphColour(State s) {
    switch (s) {
    case State::Hover:
        return kRed;
    case State::Pressed:
        return 0xFFFFFF;
    case State::Disabled:
        return kMuted;
    case State::Normal:
    default:
        return kText;
    }
}

// A rounded square behind a hovered or pressed icon button.
void IconBack(cairo_t* cr, double x, double w, double h, State s) {
    if (s != State::Hover && s != State::Pressed) {
        return;
    }
    RoundedRect(cr, x + 1, 1, w - 2, h - 2, 4);
    SetRgb(cr, s == State::Hover ? kPanelHigh : kRedDark);
    cairo_fill(cr);
}

void Stroke(cairo_t* cr, std::uint32_t colour, double width) {
    SetRgb(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

// ---- check and radio boxes: eight cells, off then on ----

void CheckBox(cairo_t* cr, const SkinImage& img) {
    const int w = img.CellWidth();
    const double size = img.height - 4;
    for (int i = 0; i < 8; ++i) {
        const State s = StateOf(i);
        const bool on = i >= 4;
        const double x = i * w + (w - size) / 2;
        const double y = (img.height - size) / 2;
        RoundedRect(cr, x + 0.5, y + 0.5, size - 1, size - 1, 3);
        std::uint32_t fill = kPanel;
        std::uint32_t edge = kEdge;
        if (on) {
            fill = s == State::Hover ? 0xF0404C : s == State::Pressed ? kRedDark : kRed;
            edge = fill;
        } else if (s == State::Hover) {
            fill = kPanelHigh;
            edge = kRed;
        } else if (s == State::Pressed) {
            fill = 0x4A1A20;
            edge = kRed;
        }
        if (s == State::Disabled) {
            fill = on ? 0x4A2A2E : 0x1A1C22;
            edge = on ? fill : 0x24272F;
        }
        SetRgb(cr, fill);
        cairo_fill_preserve(cr);
        SetRgb(cr, edge);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        if (on) {
            cairo_move_to(cr, x + size * 0.25, y + size * 0.52);
            cairo_line_to(cr, x + size * 0.43, y + size * 0.7);
            cairo_line_to(cr, x + size * 0.76, y + size * 0.3);
            Stroke(cr, s == State::Disabled ? kMuted : 0xFFFFFF, 2);
        }
    }
}

void RadioBox(cairo_t* cr, const SkinImage& img) {
    const int w = img.CellWidth();
    const double r = (img.height - 4) / 2.0;
    for (int i = 0; i < 8; ++i) {
        const State s = StateOf(i);
        const bool on = i >= 4;
        const double cx = i * w + w / 2.0;
        const double cy = img.height / 2.0;
        cairo_arc(cr, cx, cy, r - 0.5, 0, 2 * M_PI);
        std::uint32_t fill = s == State::Hover     ? kPanelHigh
                             : s == State::Pressed ? 0x4A1A20
                                                   : kPanel;
        std::uint32_t edge = on || s == State::Hover || s == State::Pressed ? kRed : kEdge;
        if (s == State::Disabled) {
            fill = 0x1A1C22;
            edge = on ? 0x4A2A2E : 0x24272F;
        }
        SetRgb(cr, fill);
        cairo_fill_preserve(cr);
        SetRgb(cr, edge);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        if (on) {
            cairo_arc(cr, cx, cy, r * 0.5, 0, 2 * M_PI);
            SetRgb(cr, s == State::Disabled ? kMuted : s == State::Pressed ? 0xFFFFFF : kRed);
            cairo_fill(cr);
        }
    }
}

// ---- direction buttons: a face with an arrow, red when on ----

void DirectionButton(cairo_t* cr, const SkinImage& img, double angle) {
    const int w = img.CellWidth();
    for (int i = 0; i < 8; ++i) {
        const State s = StateOf(i);
        const bool on = i >= 4;
        const double x = i * w;
        if (on && s != State::Disabled) {
            RoundedRect(cr, x + 0.5, 0.5, w - 1, img.height - 1, 6);
            FillGradient(cr, x, 0, w, img.height, s == State::Pressed ? kRedDark : kRed,
                         s == State::Hover ? 0xB81826 : kRedDark);
            RoundedRect(cr, x + 0.5, 0.5, w - 1, img.height - 1, 6);
            SetRgb(cr, s == State::Hover ? 0xFF6A74 : kRed);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
        } else {
            ButtonFace(cr, x, w, img.height, 6, s);
        }
        cairo_save(cr);
        cairo_translate(cr, x + w / 2.0, img.height / 2.0);
        cairo_rotate(cr, angle);
        const double a = img.height * 0.22;
        cairo_move_to(cr, -a, 0);
        cairo_line_to(cr, a, 0);
        cairo_move_to(cr, -a * 0.1, -a * 0.75);
        cairo_line_to(cr, -a, 0);
        cairo_line_to(cr, -a * 0.1, a * 0.75);
        cairo_restore(cr);
        Stroke(cr, s == State::Disabled ? kMuted : on ? 0xFFFFFF : kText, 2.5);
    }
}

void DirLeft(cairo_t* cr, const SkinImage& img) {
    DirectionButton(cr, img, 0);
}
void DirRight(cairo_t* cr, const SkinImage& img) {
    DirectionButton(cr, img, M_PI);
}
void DirTop(cairo_t* cr, const SkinImage& img) {
    DirectionButton(cr, img, M_PI / 2);
}
void DirBottom(cairo_t* cr, const SkinImage& img) {
    DirectionButton(cr, img, -M_PI / 2);
}

// ---- slider ----

// Two rows of equal height: the filled part above, the empty track below.
void SliderTrack(cairo_t* cr, const SkinImage& img) {
    const double row = img.height / 2.0;
    RoundedRect(cr, 0, 1, img.width, row - 2, (row - 2) / 2);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, img.width, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.62, 0.07, 0.13);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.88, 0.13, 0.18);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    RoundedRect(cr, 0, row + 1, img.width, row - 2, (row - 2) / 2);
    SetRgb(cr, kEdge);
    cairo_fill(cr);
}

// Four cells of a round knob.
void SliderThumb(cairo_t* cr, const SkinImage& img) {
    const int w = img.CellWidth();
    for (int i = 0; i < 4; ++i) {
        const State s = StateOf(i);
        const double cx = i * w + w / 2.0;
        const double cy = img.height / 2.0;
        const double r = img.height * 0.28;
        if (s == State::Hover || s == State::Pressed) {
            cairo_arc(cr, cx, cy, r + 5, 0, 2 * M_PI);
            SetRgb(cr, kRed, 0.25);
            cairo_fill(cr);
        }
        cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
        const std::uint32_t fill = s == State::Disabled  ? kMuted
                                   : s == State::Pressed ? kRedDark
                                   : s == State::Hover   ? kRed
                                                         : kText;
        SetRgb(cr, fill);
        cairo_fill_preserve(cr);
        SetRgb(cr, s == State::Disabled ? 0x24272F : kRed);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
}

// ---- combo box and edit box ----

// Cells to be stretched with margins 10, 10, 36, 10: the chevron lives in
// the right 36 pixels.
void ComboBox(cairo_t* cr, const SkinImage& img) {
    const int w = img.CellWidth();
    for (int i = 0; i < 4; ++i) {
        const State s = StateOf(i);
        const double x = i * w;
        ButtonFace(cr, x, w, img.height, 5, s);
        SetRgb(cr, s == State::Disabled ? 0x24272F : kEdge);
        cairo_rectangle(cr, x + w - 34, 8, 1, img.height - 16);
        cairo_fill(cr);
        const double cx = x + w - 17;
        const double cy = img.height / 2.0;
        cairo_move_to(cr, cx - 5, cy - 2.5);
        cairo_line_to(cr, cx, cy + 2.5);
        cairo_line_to(cr, cx + 5, cy - 2.5);
        Stroke(cr, s == State::Disabled ? kMuted : s == State::Normal ? kText : 0xFFFFFF, 2);
    }
}

// Cells stretched with corners of 4: a sunken field whose edge lights up.
void EditBox(cairo_t* cr, const SkinImage& img) {
    const int w = img.CellWidth();
    const std::uint32_t edges[4] = {kEdge, 0x6A7080, kRed, 0x24272F};
    const std::uint32_t fills[4] = {0x0E1014, 0x111318, 0x111318, 0x16181D};
    for (int i = 0; i < 4; ++i) {
        RoundedRect(cr, i * w + 0.5, 0.5, w - 1, img.height - 1, 3.5);
        SetRgb(cr, fills[i]);
        cairo_fill_preserve(cr);
        SetRgb(cr, edges[i]);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
}

// ---- small icon buttons (four cells each) ----

template <void (*Glyph)(cairo_t*, double cx, double cy, double r)>
void IconButton(cairo_t* cr, const SkinImage& img) {
    const int w = img.CellWidth();
    for (int i = 0; i < 4; ++i) {
        const State s = StateOf(i);
        IconBack(cr, i * w, w, img.height, s);
        Glyph(cr, i * w + w / 2.0, img.height / 2.0, std::min(w, img.height) * 0.3);
        Stroke(cr, GlyphColour(s), 2);
    }
}

void GlyphAdd(cairo_t* cr, double cx, double cy, double r) {
    cairo_move_to(cr, cx - r, cy);
    cairo_line_to(cr, cx + r, cy);
    cairo_move_to(cr, cx, cy - r);
    cairo_line_to(cr, cx, cy + r);
}

void GlyphDelete(cairo_t* cr, double cx, double cy, double r) {
    // A bin: lid, body and two ribs.
    cairo_move_to(cr, cx - r, cy - r * 0.6);
    cairo_line_to(cr, cx + r, cy - r * 0.6);
    cairo_move_to(cr, cx - r * 0.3, cy - r);
    cairo_line_to(cr, cx + r * 0.3, cy - r);
    cairo_move_to(cr, cx - r * 0.7, cy - r * 0.6);
    cairo_line_to(cr, cx - r * 0.55, cy + r);
    cairo_line_to(cr, cx + r * 0.55, cy + r);
    cairo_line_to(cr, cx + r * 0.7, cy - r * 0.6);
    cairo_move_to(cr, cx - r * 0.2, cy - r * 0.25);
    cairo_line_to(cr, cx - r * 0.2, cy + r * 0.65);
    cairo_move_to(cr, cx + r * 0.2, cy - r * 0.25);
    cairo_line_to(cr, cx + r * 0.2, cy + r * 0.65);
}

void GlyphEdit(cairo_t* cr, double cx, double cy, double r) {
    // A pencil from bottom-left to top-right.
    cairo_move_to(cr, cx - r, cy + r);
    cairo_line_to(cr, cx - r * 0.75, cy + r * 0.25);
    cairo_line_to(cr, cx + r * 0.5, cy - r);
    cairo_line_to(cr, cx + r, cy - r * 0.5);
    cairo_line_to(cr, cx - r * 0.25, cy + r * 0.75);
    cairo_close_path(cr);
}

void GlyphImport(cairo_t* cr, double cx, double cy, double r) {
    // An arrow down into a tray.
    cairo_move_to(cr, cx, cy - r);
    cairo_line_to(cr, cx, cy + r * 0.3);
    cairo_move_to(cr, cx - r * 0.5, cy - r * 0.2);
    cairo_line_to(cr, cx, cy + r * 0.3);
    cairo_line_to(cr, cx + r * 0.5, cy - r * 0.2);
    cairo_move_to(cr, cx - r, cy + r * 0.3);
    cairo_line_to(cr, cx - r, cy + r);
    cairo_line_to(cr, cx + r, cy + r);
    cairo_line_to(cr, cx + r, cy + r * 0.3);
}

void GlyphExport(cairo_t* cr, double cx, double cy, double r) {
    // An arrow up out of a tray.
    cairo_move_to(cr, cx, cy + r * 0.3);
    cairo_line_to(cr, cx, cy - r);
    cairo_move_to(cr, cx - r * 0.5, cy - r * 0.5);
    cairo_line_to(cr, cx, cy - r);
    cairo_line_to(cr, cx + r * 0.5, cy - r * 0.5);
    cairo_move_to(cr, cx - r, cy + r * 0.3);
    cairo_line_to(cr, cx - r, cy + r);
    cairo_line_to(cr, cx + r, cy + r);
    cairo_line_to(cr, cx + r, cy + r * 0.3);
}

void GlyphGlobe(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 0.45, 1);
    cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_move_to(cr, cx - r, cy);
    cairo_line_to(cr, cx + r, cy);
}

// ---- tab icons: four cells, muted, red (hover), red (selected), dim ----

template <void (*Glyph)(cairo_t*, double cx, double cy, double r)>
void TabIcon(cairo_t* cr, const SkinImage& img) {
    const int w = img.CellWidth();
    const std::uint32_t colours[4] = {kText, kRed, kRed, 0x3A3E48};
    for (int i = 0; i < 4; ++i) {
        Glyph(cr, i * w + w / 2.0, img.height / 2.0, std::min(w, img.height) * 0.36);
        Stroke(cr, colours[i], 2.2);
    }
}

void GlyphHome(cairo_t* cr, double cx, double cy, double r) {
    cairo_move_to(cr, cx - r, cy - r * 0.05);
    cairo_line_to(cr, cx, cy - r);
    cairo_line_to(cr, cx + r, cy - r * 0.05);
    cairo_move_to(cr, cx - r * 0.7, cy - r * 0.3);
    cairo_line_to(cr, cx - r * 0.7, cy + r);
    cairo_line_to(cr, cx + r * 0.7, cy + r);
    cairo_line_to(cr, cx + r * 0.7, cy - r * 0.3);
    cairo_move_to(cr, cx - r * 0.2, cy + r);
    cairo_line_to(cr, cx - r * 0.2, cy + r * 0.35);
    cairo_line_to(cr, cx + r * 0.2, cy + r * 0.35);
    cairo_line_to(cr, cx + r * 0.2, cy + r);
}

void GlyphKeycap(cairo_t* cr, double cx, double cy, double r) {
    RoundedRect(cr, cx - r, cy - r * 0.8, 2 * r, 1.6 * r, r * 0.25);
    RoundedRect(cr, cx - r * 0.6, cy - r * 0.55, 1.2 * r, r * 0.9, r * 0.15);
}

void GlyphMacro(cairo_t* cr, double cx, double cy, double r) {
    // A play triangle with two lines of steps.
    cairo_move_to(cr, cx - r, cy - r * 0.8);
    cairo_line_to(cr, cx - r * 0.1, cy - r * 0.3);
    cairo_line_to(cr, cx - r, cy + r * 0.2);
    cairo_close_path(cr);
    cairo_move_to(cr, cx + r * 0.2, cy - r * 0.3);
    cairo_line_to(cr, cx + r, cy - r * 0.3);
    cairo_move_to(cr, cx - r, cy + r * 0.75);
    cairo_line_to(cr, cx + r, cy + r * 0.75);
}

void GlyphLight(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r * 0.42, 0, 2 * M_PI);
    for (int k = 0; k < 8; ++k) {
        const double a = k * M_PI / 4;
        cairo_move_to(cr, cx + std::cos(a) * r * 0.7, cy + std::sin(a) * r * 0.7);
        cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
    }
}

void GlyphGear(cairo_t* cr, double cx, double cy, double r) {
    const int teeth = 8;
    for (int k = 0; k < teeth * 2; ++k) {
        const double a0 = k * M_PI / teeth;
        const double a1 = (k + 1) * M_PI / teeth;
        const double rr = k % 2 == 0 ? r : r * 0.72;
        if (k == 0) {
            cairo_move_to(cr, cx + std::cos(a0) * rr, cy + std::sin(a0) * rr);
        }
        cairo_arc(cr, cx, cy, rr, a0, a1);
    }
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r * 0.3, 0, 2 * M_PI);
}

// ---- dialog backgrounds ----

// The message box: a raised panel with a red rule on top, to be stretched
// with corners of 30.
void PromptBack(cairo_t* cr, const SkinImage& img) {
    RoundedRect(cr, 0.5, 0.5, img.width - 1, img.height - 1, 8);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    FillGradient(cr, 0, 0, img.width, img.height, kPanelHigh, kPanel);
    SetRgb(cr, kRed);
    cairo_rectangle(cr, 0, 0, img.width, 3);
    cairo_fill(cr);
    cairo_restore(cr);
    SetRgb(cr, kEdge);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// The key tip: a dark rounded box with a red edge, corners of 6.
void TipBack(cairo_t* cr, const SkinImage& img) {
    RoundedRect(cr, 0.5, 0.5, img.width - 1, img.height - 1, 5);
    SetRgb(cr, 0x1A1D23, 0.96);
    cairo_fill_preserve(cr);
    SetRgb(cr, kRed);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// ---- animation: twelve dots around a ring, the bright one moving on ----

void LoadingFrame(cairo_t* cr, const SkinAnimation& a, int frame) {
    const int dots = 12;
    const double cx = a.width / 2.0;
    const double cy = a.height / 2.0;
    const double ring = std::min(a.width, a.height) * 0.32;
    const double r = std::min(a.width, a.height) * 0.055;
    for (int k = 0; k < dots; ++k) {
        const int age = ((frame - k) % dots + dots) % dots; // 0: the leading dot
        const double alpha = std::max(0.18, 1.0 - age * 0.11);
        const double angle = -M_PI / 2 + k * 2 * M_PI / dots;
        cairo_arc(cr, cx + std::cos(angle) * ring, cy + std::sin(angle) * ring,
                  r * (age == 0 ? 1.25 : 1.0), 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 0, 0, 0, alpha);
        cairo_fill(cr);
    }
}

} // namespace

const std::vector<SkinImage>& StandardSkinImages() {
    static const std::vector<SkinImage> table = {
        {Folder::Skin, "btn_checkbox.png", 160, 20, 8, CheckBox},
        {Folder::Skin, "btn_radiobox.png", 160, 20, 8, RadioBox},
        {Folder::Skin, "btn_direction_left.png", 288, 36, 8, DirLeft},
        {Folder::Skin, "btn_direction_right.png", 288, 36, 8, DirRight},
        {Folder::Skin, "btn_direction_top.png", 288, 36, 8, DirTop},
        {Folder::Skin, "btn_direction_bottom.png", 288, 36, 8, DirBottom},
        {Folder::Skin, "img_slider_back.png", 300, 12, 1, SliderTrack},
        {Folder::Skin, "img_thumb.png", 144, 36, 4, SliderThumb},
        {Folder::Skin, "img_combobox.png", 800, 38, 4, ComboBox},
        {Folder::Skin, "img_edit.png", 240, 30, 4, EditBox},
        {Folder::Skin, "main_sysbtn_website.png", 120, 30, 4, IconButton<GlyphGlobe>},
        {Folder::Skin, "imgbtn_add.png", 120, 30, 4, IconButton<GlyphAdd>},
        {Folder::Skin, "imgbtn_del.png", 120, 30, 4, IconButton<GlyphDelete>},
        {Folder::Skin, "imgbtn_edit.png", 120, 30, 4, IconButton<GlyphEdit>},
        {Folder::Skin, "imgbtn_import.png", 120, 30, 4, IconButton<GlyphImport>},
        {Folder::Skin, "imgbtn_export.png", 120, 30, 4, IconButton<GlyphExport>},
        {Folder::Skin, "icon/tab_home.png", 144, 36, 4, TabIcon<GlyphHome>},
        {Folder::Skin, "icon/tab_customkey.png", 144, 36, 4, TabIcon<GlyphKeycap>},
        {Folder::Skin, "icon/tab_macro.png", 144, 36, 4, TabIcon<GlyphMacro>},
        {Folder::Skin, "icon/tab_light.png", 144, 36, 4, TabIcon<GlyphLight>},
        {Folder::Skin, "icon/tab_config.png", 144, 36, 4, TabIcon<GlyphGear>},
        {Folder::Skin, "bk_prompt.png", 100, 100, 1, PromptBack},
        {Folder::Skin, "img_tip_bk.png", 40, 40, 1, TipBack},
    };
    return table;
}

const std::vector<SkinAnimation>& StandardAnimations() {
    static const std::vector<SkinAnimation> table = {
        {Folder::Skin, "loading.gif", 100, 100, 12, 6, 0x333333, kRed, LoadingFrame},
    };
    return table;
}

} // namespace kovrin::skin
