// The key function picker with the multimedia functions described.

#include "tessel/controls/keyboard/KeyFuncControl.h"
#include "tessel/controls/standard/MText.h"
#include "tools/gallery/GalleryPages.h"

namespace gallery {
namespace {

constexpr UINT kPicker = 650;
constexpr UINT kPicked = 651;

} // namespace

void BuildFunctionsPage(GalleryPage& page) {
    page.Heading("Key function picker", page.At(0, 0, 600, 24));
    auto* picker = page.Add<KeyFuncControl>("KeyFuncControl", kPicker, page.At(0, 40, 920, 250));
    if (picker == nullptr) {
        return;
    }
    picker->SetTextColor(0xFFFFFFFF);
    picker->SetImage("img_customkey.png", 4);
    picker->SetFontWidth(10);
    picker->InitItemInfo();
    struct Desc {
        int code;
        const char* text;
    };
    for (const Desc& d : {Desc{249, "My Computer"}, Desc{242, "Calculator"}, Desc{240, "E-mail"},
                          Desc{238, "Play/Pause"}, Desc{237, "Previous track"},
                          Desc{239, "Next track"}, Desc{233, "Volume down"}, Desc{234, "Volume up"},
                          Desc{235, "Mute"}, Desc{241, "Web home"}, Desc{247, "Web search"}}) {
        picker->SetItemDesc(d.code, d.text);
    }
    picker->SetItemCheckByItemData(57, 0, 0); // Caps Lock marked, as an assigned key shows
    auto* picked = page.Add<MText>("MText", kPicked, page.At(0, 310, 700, 28),
                                   "Click a function; multimedia icons have tooltips.");
    if (picked != nullptr) {
        picked->SetTextColor(0xFFB8BCC8);
    }
    page.OnNotify(kPicker, [picker, picked](UINT code, WPARAM, LPARAM) {
        int unused = 0;
        int data = 0;
        int v2 = 0;
        int v3 = 0;
        std::string label;
        if (code == CN_CLICKED && picked != nullptr &&
            picker->GetCurItemData(unused, data, v2, v3, label)) {
            picked->SetTitle("Function " + std::to_string(data) + ": " + label);
        }
    });
}

} // namespace gallery
