// Placing the main window's controls for a client size W x H. The frame
// follows the edges; the pages keep fixed positions from the page's left and
// from the client's bottom.

#include "mainwindow/KeyboardDlg.h"
#include "mainwindow/MainWindowControls.h"

namespace kovrin {

using namespace Tessel;

namespace {

template <class T> void Place(T* control, int left, int top, int right, int bottom) {
    if (control != nullptr) {
        control->SetRect(CRect(left, top, right, bottom));
    }
}

} // namespace

void KeyboardDlg::UISize(CRect client) {
    if (close_button == nullptr) {
        return;
    }
    const int w = client.Width();
    const int h = client.Height();
    LayoutFrame(w, h);
    LayoutHomePage(w, h);
    LayoutKeyPage(w, h);
    LayoutSettingsPage(w, h);
    LayoutLightPage(w, h);
    LayoutMacroPage(w, h);
    GetPaintManager().Invalidate();
}

void KeyboardDlg::LayoutFrame(int w, int h) {
    Place(background, 0, 0, w, h);
    Place(borders[0], 0, 0, 1, h);
    Place(borders[2], w - 1, 0, w, h);
    Place(borders[1], 0, 0, w, 1);
    Place(borders[3], 0, h - 1, w, h);
    Place(page_back, 80, 50, w - 1, h - 1);
    Place(caption, 1, 1, w - 1, 50);
    Place(logo, 22, 7, 58, 43);
    Place(product_label, w / 2 - 150, 10, w / 2 + 150, 40);
    Place(page_icon, 92, 13, 116, 37);
    Place(page_title, 124, 10, w / 2 - 160, 40);
    Place(close_button, w - 50, 20, w - 20, 50);
    Place(minimize_button, w - 100, 20, w - 70, 50);
    Place(website_button, w - 150, 20, w - 120, 50);
    Place(shop_button, w - 200, 20, w - 170, 50);
    Place(mode_icon, w - 244, 23, w - 220, 47);
    Place(battery, w - 300, 25, w - 256, 45);
    Place(tab_back, 1, 50, 76, h - 1);
    Place(tabs, 1, 60, 79, h - 10);
    for (MTabLayout* page : pages) {
        Place(page, 80, 50, w - 1, h - 1);
    }
}

void KeyboardDlg::LayoutHomePage(int w, int h) {
    const int x = (w - 360) / 2;
    Place(status, x, 280, x + 372, 318);
    Place(device_selector, x, 318, x + 372, 580);
    Place(version_label, 10, h - 40, 170, h - 5);
    Place(legal_label, w / 2 - 350, h - 40, w / 2 + 350, h - 5);
}

void KeyboardDlg::LayoutKeyPage(int w, int h) {
    Place(profile_bar, 80, 50, 320, 100);
    for (std::size_t i = 0; i < profile_buttons.size(); ++i) {
        const int x = 110 + 35 * static_cast<int>(i);
        Place(profile_buttons[i], x, 60, x + 30, 90);
    }
    Place(profile_list_back, 80, 100, 320, h - 1);
    Place(profile_list, 80, 100, 320, h - 1);
    Place(key_picker, 340, h - 270, w - 1, h - 1);
}

void KeyboardDlg::LayoutSettingsPage(int, int h) {
    Place(settings_panel, 80, 50, 320, h - 1);
    Place(language_label, 105, 120, 260, 150);
    Place(language, 100, 150, 300, 188);
    Place(autorun, 100, 200, 300, 238);
    Place(restore_keys, 100, 305, 300, 343);
    Place(restore_all, 100, 360, 300, 398);
    Place(software_update, 100, 415, 300, 453);
    Place(firmware_update, 100, 470, 300, 508);
}

void KeyboardDlg::LayoutLightPage(int w, int h) {
    Place(light_panel, 80, 50, 320, h - 1);
    Place(light_mode_list, 80, 50, 320, h - 1);
    Place(light_settings, 330, h - 280, w - 10, h - 1);
    const int top = h - 270;
    const auto row = [top](int r) { return top + 44 * r; };

    // Effect parameters.
    for (int r = 0; r < 3; ++r) {
        Place(light_labels[static_cast<std::size_t>(r)], 345, row(r), 425, row(r) + 36);
    }
    Place(brightness, 430, row(0), 625, row(0) + 36);
    Place(speed, 430, row(1), 625, row(1) + 36);
    for (std::size_t i = 0; i < directions.size(); ++i) {
        const int x = 430 + 44 * static_cast<int>(i) + (i >= 2 ? 8 : 0);
        Place(directions[i], x, row(2), x + 36, row(2) + 36);
    }
    Place(multicolour, 345, row(3) + 4, 625, row(3) + 30);
    Place(effect_combo, 345, row(4), 515, row(4) + 38);
    Place(effect_apply, 525, row(4) + 1, 625, row(4) + 37);

    // Effect colours.
    Place(preset_label, 645, top, 925, top + 24);
    Place(preset_off_label, 645, top + 66, 925, top + 90);
    for (std::size_t i = 0; i < presets.size(); ++i) {
        const int x = 645 + 34 * static_cast<int>(i);
        Place(presets[i], x, top + 28, x + 28, top + 56);
        Place(presets_off[i], x, top + 94, x + 28, top + 122);
    }
    Place(current_colour, 645, top + 138, 705, top + 166);

    // Music controls over the parameter rows: family A 126..133, family B
    // 134..147.
    for (int r = 0; r < 4; ++r) {
        Place(music_labels[static_cast<std::size_t>(r)], 345, row(r), 425, row(r) + 36);
    }
    for (int r = 0; r < 3; ++r) {
        Place(music_labels[static_cast<std::size_t>(4 + r)], 345, row(r), 425, row(r) + 36);
    }
    Place(music_combos[0], 430, row(0), 625, row(0) + 38);  // 127
    Place(music_sliders[0], 430, row(1), 625, row(1) + 36); // 129
    Place(music_combos[1], 430, row(2), 625, row(2) + 38);  // 131
    Place(music_sliders[1], 430, row(3), 625, row(3) + 36); // 133
    Place(music_combos[2], 430, row(0), 625, row(0) + 38);  // 135
    Place(music_sliders[2], 430, row(1), 625, row(1) + 36); // 137
    Place(music_combos[3], 430, row(2), 625, row(2) + 38);  // 139
    Place(music_colour_label, 345, row(3), 425, row(3) + 36);
    for (std::size_t i = 0; i < music_colours.size(); ++i) {
        const int x = 430 + 28 * static_cast<int>(i);
        Place(music_colours[i], x, row(3) + 6, x + 24, row(3) + 30);
    }

    // Custom areas: three rows in each of the first two columns.
    for (std::size_t a = 0; a < area_labels.size(); ++a) {
        const int x = a < 3 ? 345 : 645;
        const int y = top + 8 + 44 * static_cast<int>(a % 3);
        Place(area_labels[a], x, y, x + 60, y + 28);
        for (std::size_t k = 0; k < 7; ++k) {
            const int sx = x + 62 + 32 * static_cast<int>(k);
            Place(area_colours[a][k], sx, y, sx + 28, y + 28);
        }
    }

    // Colour editor.
    Place(editor_back, 940, top - 5, w - 15, h - 6);
    Place(editor_label, 950, top, w - 20, top + 22);
    Place(colour_wheel, 950, top + 28, 1090, top + 168);
    for (int i = 0; i < 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const int y = top + 32 + 44 * i;
        Place(rgb_labels[k], 1100, y, 1116, y + 36);
        Place(rgb_sliders[k], 1118, y, 1210, y + 36);
        Place(rgb_edits[k], 1214, y + 3, 1264, y + 33);
    }
    for (std::size_t i = 0; i < default_colours.size(); ++i) {
        const int x = 950 + 34 * static_cast<int>(i);
        Place(default_colours[i], x, top + 178, x + 28, top + 206);
    }
}

void KeyboardDlg::LayoutMacroPage(int w, int h) {
    // Macro list.
    Place(macro_panel, 80, 50, 320, h - 1);
    Place(macro_list_label, 100, 60, 300, 90);
    Place(macro_list, 80, 95, 320, h - 145);
    for (std::size_t i = 0; i < macro_buttons.size(); ++i) {
        const int x = 92 + 116 * static_cast<int>(i % 2);
        const int y = h - 140 + 44 * static_cast<int>(i / 2);
        Place(macro_buttons[i], x, y, x + 108, y + 36);
    }

    // Play settings and recording.
    Place(macro_editor_label, 345, 60, 700, 90);
    Place(play_times_label, 345, 100, 445, 130);
    Place(play_times, 450, 100, 510, 130);
    Place(delay_kinds[0], 345, 140, 530, 170);
    Place(delay_kinds[1], 540, 140, 700, 170);
    Place(delay_kinds[2], 710, 140, 900, 170);
    Place(delay_time, 905, 140, 975, 170);
    Place(delay_label, 985, 140, 1100, 170);
    Place(record_start, 345, 185, 505, 221);
    Place(record_stop, 515, 185, 675, 221);

    // Steps of the macro.
    Place(record_back, 345, 235, 875, h - 60);
    Place(record_heading, 360, 240, 860, 268);
    Place(record_columns[0], 360, 270, 520, 296);
    Place(record_columns[1], 540, 270, 640, 296);
    Place(record_columns[2], 660, 270, 780, 296);
    Place(record_list, 360, 300, 860, h - 70);
    for (std::size_t i = 0; i < record_moves.size(); ++i) {
        const int x = 345 + 55 * static_cast<int>(i);
        Place(record_moves[i], x, h - 52, x + 50, h - 16);
    }
    Place(record_save, 755, h - 52, 875, h - 16);

    // Insert panel.
    Place(insert_back, 890, 235, w - 15, h - 60);
    Place(macro_device, 905, 245, w - 30, 283);
    for (std::size_t i = 0; i < insert_kinds.size(); ++i) {
        const int y = 295 + 32 * static_cast<int>(i);
        Place(insert_kinds[i], 905, y, w - 30, y + 26);
    }
    Place(insert_key, 905, 397, w - 30, 427);
    Place(insert_delay, 905, 397, w - 30, 427);
    Place(insert_mouse_button, 905, 395, w - 30, 433);
    Place(insert_button, 905, 445, 1005, 481);
    Place(button_225, 1015, 445, 1115, 481);
}

} // namespace kovrin
