// Edit boxes, combo boxes and scroll bars.

#include "tessel/MScroll.h"
#include "tessel/controls/input/MComboBox.h"
#include "tessel/controls/input/MEdit.h"
#include "tools/gallery/GalleryPages.h"

namespace gallery {

void BuildInputPage(GalleryPage& page) {
    page.Heading("Edit boxes", page.At(0, 0, 400, 24));
    struct EditSample {
        UINT id;
        const char* tip;
        const char* label;
    };
    const EditSample edits[] = {{301, "Profile name", "Any text"},
                                {302, "0-255", "Digits only, three at most"},
                                {303, "Password", "Password"},
                                {304, "", "Disabled"}};
    for (int i = 0; i < 4; ++i) {
        const EditSample& e = edits[i];
        auto* edit = page.Add<MEdit>("MEdit", e.id, page.At(0, 32 + 44 * i, 220, 32), e.tip);
        if (edit == nullptr) {
            continue;
        }
        edit->SetImage("img_edit.png", 4);
        edit->SetEditBKColor(RGB(17, 19, 24));
        page.Label(e.label, page.At(236, 32 + 44 * i, 220, 32));
        if (e.id == 302) {
            edit->SetNumberOnly(1);
            edit->SetLimitText(3);
            edit->SetAlignment(1);
            edit->SetEditText("128");
        } else if (e.id == 303) {
            edit->EnablePassWord(1);
            edit->SetPassWordChar(0x2022);
        } else if (e.id == 304) {
            edit->SetEditText("Read me");
            edit->SetEnabled(0);
        }
    }

    page.Heading("Combo boxes", page.At(480, 0, 400, 24));
    if (auto* c = page.Add<MComboBox>("MComboBox", 311, page.At(480, 32, 200, 38))) {
        c->SetBackImage("img_combobox.png", 4);
        for (const char* e : {"Static", "Breathing", "Wave"}) {
            c->AddItem(e);
        }
        c->SetCurSel(0);
    }
    if (auto* c = page.Add<MComboBox>("MComboBox", 312, page.At(480, 84, 200, 38))) {
        c->SetBackImage("img_combobox.png", 4);
        const char* languages[] = {"English",  "Deutsch", "Español", "Français",
                                   "Italiano", "Polski",  "Русский", "中文"};
        for (int i = 0; i < 8; ++i) {
            c->AddItem(languages[i], 1033 + i);
        }
        c->SetCurSel(0);
    }
    if (auto* c = page.Add<MComboBox>("MComboBox", 313, page.At(480, 136, 200, 38))) {
        c->SetBackImage("img_combobox.png", 4);
        c->AddItem("Disabled");
        c->SetCurSel(0);
        c->SetEnabled(0);
    }

    page.Heading("Scroll bars", page.At(0, 230, 400, 24));
    auto* v = new CScrollVertical(page.Panel(), 321, page.At(0, 262, 7, 200), 1);
    page.Panel()->AttachChild(1, v);
    v->SetImage(102, "PNG", 4);
    v->SetScrollInfo(1000, 250, 0, 10);
    auto* h = new CScrollHorizontal(page.Panel(), 322, page.At(30, 262, 300, 7), 1);
    page.Panel()->AttachChild(1, h);
    v->UpdateControl(1);
    h->SetScrollInfo(3000, 1000, 0, 10);
    page.Label("Drag a thumb or turn the wheel over it.", page.At(30, 290, 360, 24));
}

} // namespace gallery
