// Buttons, check and radio buttons, the slider, labels and pictures.

#include "tessel/controls/CArea.h"
#include "tessel/controls/standard/CCheckButton.h"
#include "tessel/controls/standard/CGifPicture.h"
#include "tessel/controls/standard/CImageButton.h"
#include "tessel/controls/standard/CRadioButton.h"
#include "tessel/controls/standard/MButton.h"
#include "tessel/controls/standard/MPicture.h"
#include "tessel/controls/standard/MSlider.h"
#include "tessel/controls/standard/MText.h"
#include "tools/gallery/GalleryPages.h"

namespace gallery {

void BuildButtonsPage(GalleryPage& page) {
    page.Heading("Push and image buttons", page.At(0, 0, 400, 24));
    if (auto* b = page.Add<MButton>("MButton", 101, page.At(0, 32, 120, 36), "Apply")) {
        b->SetImage("btn_apply.png", 4);
    }
    if (auto* b = page.Add<MButton>("MButton", 102, page.At(136, 32, 120, 36), "Disabled")) {
        b->SetImage("btn_apply.png", 4);
        b->SetEnabled(0);
    }
    const char* icons[] = {"imgbtn_add.png",     "imgbtn_del.png",    "imgbtn_edit.png",
                           "imgbtn_import.png",  "imgbtn_export.png", "main_sysbtn_website.png",
                           "main_sysbtn_min.png"};
    const char* tips[] = {"Add", "Delete", "Rename", "Import", "Export", "Website", "Minimise"};
    for (int i = 0; i < 7; ++i) {
        if (auto* b = page.Add<CImageButton>("CImageButton", 103 + static_cast<UINT>(i),
                                             page.At(290 + 36 * i, 35, 30, 30), tips[i])) {
            b->SetImage(icons[i], 4);
            b->SetTooltip(tips[i]);
        }
    }

    page.Heading("Check boxes", page.At(0, 90, 300, 24));
    const char* checks[] = {"Start with the system", "Show key tips", "Unavailable"};
    for (int i = 0; i < 3; ++i) {
        if (auto* c = page.Add<CCheckButton>("CCheckButton", 111 + static_cast<UINT>(i),
                                             page.At(0, 120 + 30 * i, 260, 24), checks[i])) {
            c->SetImage("btn_checkbox.png", 8);
            c->SetCheck(i == 0 ? 1 : 0);
            c->SetEnabled(i == 2 ? 0 : 1);
        }
    }

    page.Heading("Radio buttons", page.At(300, 90, 300, 24));
    const char* events[] = {"Record key presses", "Record with delays", "Record nothing"};
    for (int i = 0; i < 3; ++i) {
        if (auto* r = page.Add<CRadioButton>("CRadioButton", 121 + static_cast<UINT>(i),
                                             page.At(300, 120 + 30 * i, 240, 24), events[i])) {
            r->SetImage("btn_radiobox.png", 8);
            r->SetGroupName("MACRO_EVENT");
            r->SetCheck(i == 0 ? 1 : 0);
        }
    }
    const char* arrows[] = {"btn_direction_left.png", "btn_direction_right.png",
                            "btn_direction_top.png", "btn_direction_bottom.png"};
    for (int i = 0; i < 4; ++i) {
        if (auto* r =
                page.Add<CRadioButton>("CRadioButton", 124 + static_cast<UINT>(i),
                                       page.At(580 + 44 * i + (i >= 2 ? 20 : 0), 120, 36, 36))) {
            r->SetImage(arrows[i], 8);
            r->SetGroupName(i < 2 ? "IDC_LIGHT_STC_DIRECTION1" : "IDC_LIGHT_STC_DIRECTION2");
            r->SetCheck(i % 2 == 0 ? 1 : 0);
        }
    }
    page.Label("Two groups: each keeps its own choice.", page.At(580, 164, 280, 20));

    page.Heading("Slider", page.At(0, 230, 300, 24));
    if (auto* s = page.Add<MSlider>("MSlider", 131, page.At(0, 260, 320, 56))) {
        s->SetImage("img_slider_back.png", 1);
        s->SetThumbImage("img_thumb.png");
        s->SetTitle("Brightness ");
        s->SetTextColor(0xFFB8BCC8);
        s->SetProgress(6);
    }
    if (auto* s = page.Add<MSlider>("MSlider", 132, page.At(360, 260, 320, 56))) {
        s->SetImage("img_slider_back.png", 1);
        s->SetThumbImage("img_thumb.png");
        s->SetTitle("Disabled ");
        s->SetTextColor(0xFF6B7080);
        s->SetProgress(3);
        s->SetEnabled(0);
    }

    page.Heading("Labels, pictures, areas", page.At(0, 340, 400, 24));
    if (auto* t = page.Add<MText>("MText", 141, page.At(0, 372, 420, 24),
                                  "Press Fn + F1 to open the key menu")) {
        t->SetMarkText("Fn + F1");
    }
    if (auto* t =
            page.Add<MText>("MText", 142, page.At(0, 402, 420, 24), "A label with a shadow")) {
        t->EnableShadow(1, 0xFF000000);
        t->SetFont("Arial", 16, FontStyleBold);
    }
    if (auto* t =
            page.Add<MText>("MText", 143, page.At(0, 432, 420, 24), "A label on a back colour")) {
        t->EnableTextBack(1, 0xFF2A2E38);
    }
    if (auto* t = page.Add<MText>("MText", 144, page.At(0, 462, 300, 60),
                                  "A label of several lines wraps its text at the edge of "
                                  "its rectangle and is centred vertically.")) {
        t->EnableMultiLine(1);
        t->EnableVCenter(1);
    }
    if (auto* p = page.Add<MPicture>("MPicture", 151, page.At(460, 372, 64, 64))) {
        p->SetImage("logo\\logo.png", 1);
        p->SetAlignment(1, 4);
    }
    if (auto* g = page.Add<CGifPicture>("CGifPicture", 152, page.At(540, 352, 100, 100))) {
        g->SetImage("loading.gif", 1);
        g->SetRunState(1, 0);
    }
    if (auto* a = page.Add<CArea>("CArea", 153, page.At(660, 360, 180, 40))) {
        a->SetTransparent(10, 90, 0x2F20E0);
        a->SetDirection(0);
    }
    if (auto* a = page.Add<CArea>("CArea", 154, page.At(660, 410, 180, 40))) {
        a->SetTransparent(0, 0, 0x27201D);
        a->SetFrame(1, 0xFFE0202F);
    }
}

} // namespace gallery
