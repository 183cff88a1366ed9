// The profile list with renaming and the macro step list with its delays.

#include "tessel/controls/CArea.h"
#include "tessel/controls/lists/CRecordList.h"
#include "tessel/controls/lists/DListBox.h"
#include "tessel/controls/standard/CImageButton.h"
#include "tools/gallery/GalleryPages.h"

namespace gallery {
namespace {

constexpr UINT kProfiles = 660;
constexpr UINT kAdd = 661;
constexpr UINT kRename = 662;
constexpr UINT kDelete = 663;
constexpr UINT kSteps = 670;
constexpr UINT kUp = 671;
constexpr UINT kDown = 672;
constexpr UINT kDeleteStep = 673;

CImageButton* Icon(GalleryPage& page, UINT id, CRect r, const char* image, const char* tip) {
    auto* b = page.Add<CImageButton>("CImageButton", id, r, tip);
    if (b != nullptr) {
        b->SetImage(image, 4);
        b->SetTooltip(tip);
    }
    return b;
}

} // namespace

void BuildListsPage(GalleryPage& page) {
    page.Heading("Profile list", page.At(0, 0, 300, 24));
    if (auto* back = page.Add<CArea>("CArea", 0, page.At(0, 70, 240, 400))) {
        back->SetTransparent(20, 60, 0x1D1914);
    }
    auto* profiles = page.Add<DListBox>("DListBox", kProfiles, page.At(0, 70, 240, 400));
    if (profiles != nullptr) {
        profiles->SetImage("icon//icon_circle.png", 2);
        profiles->SetEditImage("img_edit.png", 4);
        profiles->EnableShowEdit(1);
        for (const char* name : {"Default", "Game", "Work", "Night", "Racing", "Office", "Movie",
                                 "Music", "Travel", "Spare", "Guest", "Test", "Demo"}) {
            profiles->AddString(name, 0, 0);
        }
        profiles->SetCurSel(0);
        Icon(page, kAdd, page.At(0, 32, 30, 30), "imgbtn_add.png", "Add");
        Icon(page, kRename, page.At(36, 32, 30, 30), "imgbtn_edit.png", "Rename");
        Icon(page, kDelete, page.At(72, 32, 30, 30), "imgbtn_del.png", "Delete");
        int added = 0;
        page.OnNotify(kAdd, [profiles, added](UINT code, WPARAM, LPARAM) mutable {
            if (code == CN_CLICKED) {
                const int row = profiles->AddString("Profile " + std::to_string(++added), 0, 0);
                profiles->SetCurSel(row);
            }
        });
        page.OnNotify(kRename, [profiles](UINT code, WPARAM, LPARAM) {
            if (code == CN_CLICKED) {
                profiles->ShowEdit();
            }
        });
        page.OnNotify(kDelete, [profiles](UINT code, WPARAM, LPARAM) {
            if (code == CN_CLICKED) {
                const int row = profiles->GetCurSel();
                profiles->DeleteItem(row);
                profiles->SetCurSel(std::min(row, profiles->GetItemCount() - 1));
            }
        });
    }

    page.Heading("Macro steps", page.At(300, 0, 300, 24));
    if (auto* back = page.Add<CArea>("CArea", 0, page.At(300, 70, 440, 400))) {
        back->SetTransparent(20, 60, 0x1D1914);
    }
    auto* steps = page.Add<CRecordList>("CRecordList", kSteps, page.At(300, 70, 440, 400));
    if (steps != nullptr) {
        struct Step {
            const char* key;
            int type;
            int vk;
            int delay;
        };
        const Step macro[] = {{"Ctrl", kRecordKeyDown, 162, 30}, {"C", kRecordKeyDown, 67, 45},
                              {"C", kRecordKeyUp, 67, 20},       {"Ctrl", kRecordKeyUp, 162, 250},
                              {"Alt", kRecordKeyDown, 164, 15},  {"Tab", kRecordKeyDown, 9, 60},
                              {"Tab", kRecordKeyUp, 9, 10},      {"Alt", kRecordKeyUp, 164, 0}};
        for (const Step& s : macro) {
            steps->AddString(s.key, s.type, s.vk, s.delay);
        }
        Icon(page, kUp, page.At(300, 32, 30, 30), "imgbtn_import.png", "Up");
        Icon(page, kDown, page.At(336, 32, 30, 30), "imgbtn_export.png", "Down");
        Icon(page, kDeleteStep, page.At(372, 32, 30, 30), "imgbtn_del.png", "Delete step");
        page.OnNotify(kUp, [steps](UINT code, WPARAM, LPARAM) {
            const int row = steps->GetCurSel();
            if (code == CN_CLICKED && row > 0 && steps->SwapItem(row, row - 1)) {
                steps->SetCurSel(row - 1);
                steps->UpdateControl(1);
            }
        });
        page.OnNotify(kDown, [steps](UINT code, WPARAM, LPARAM) {
            const int row = steps->GetCurSel();
            if (code == CN_CLICKED && row >= 0 && steps->SwapItem(row, row + 1)) {
                steps->SetCurSel(row + 1);
                steps->UpdateControl(1);
            }
        });
        page.OnNotify(kDeleteStep, [steps](UINT code, WPARAM, LPARAM) {
            const int row = steps->GetCurSel();
            if (code == CN_CLICKED && steps->DeleteItem(row) != 0) {
                steps->SetCurSel(std::min(row, steps->GetItemCount() - 1));
            }
        });
    }
    page.Label("Rename with the pencil; a press on another row keeps the new name.",
               page.At(0, 490, 760, 24));
    page.Label("A press on a step's delay edits it (digits, at most 31000 ms).",
               page.At(0, 516, 760, 24));
}

} // namespace gallery
