// The keyboard view with the shipped 104-key layout in all its modes, with
// key tips, frame selection and a brush for the per-key colours.

#include "device/KeyboardLayout.h"
#include "device/LayoutLoader.h"
#include "tessel/Manager.h"
#include "tessel/controls/colour/CColorButton.h"
#include "tessel/controls/keyboard/KeyboardCtrl.h"
#include "tessel/controls/standard/CCheckButton.h"
#include "tessel/controls/standard/MButton.h"
#include "tessel/controls/standard/MText.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryPages.h"
#include "tools/gallery/KeyboardColours.h"
#include "xml/XmlDocument.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace gallery {
namespace {

constexpr UINT kView = 601;
constexpr UINT kFirstMode = 611;
constexpr UINT kFrameSelect = 616;
constexpr UINT kTips = 617;
constexpr UINT kFirstBrush = 621;
constexpr UINT kEvent = 630;
constexpr int kPreviewFrames = 24;

// The page's state, kept for the notification handlers.
struct KeyboardPage {
    KeyboardCtrl* view = nullptr;
    MText* event = nullptr;
    std::shared_ptr<kovrin::KeyboardLayout> layout;
    bool live = false;
    double phase = 0;
};

std::shared_ptr<kovrin::KeyboardLayout> LoadShippedLayout(const std::string& name) {
    kovrin::XmlDocument doc;
    const std::string path = Manager::GetProgramFolder() + "layouts/" + name + ".xml";
    if (!doc.LoadFile(path) || !doc.FindElement("device.info")) {
        std::fprintf(stderr, "tessel_gallery: cannot read %s\n", path.c_str());
        return nullptr;
    }
    auto layout = std::make_shared<kovrin::KeyboardLayout>();
    std::vector<std::string> warnings;
    kovrin::ReadLayout(doc, *layout, warnings);
    return layout;
}

void Rainbow(KeyboardPage& p) {
    const int n = static_cast<int>(p.layout->keys.size());
    for (int i = 0; i < n; ++i) {
        p.view->SetKeyColor(
            static_cast<std::uint32_t>(p.layout->keys[static_cast<std::size_t>(i)].code),
            RainbowColour(i, n, p.phase));
    }
    p.view->Redraw();
}

// A wave of light running from left to right across the keys.
std::vector<std::uint8_t> WaveFrames(const kovrin::KeyboardLayout& layout) {
    const int n = static_cast<int>(layout.keys.size());
    std::vector<std::uint8_t> frames(static_cast<std::size_t>(n * kPreviewFrames));
    for (int f = 0; f < kPreviewFrames; ++f) {
        for (int k = 0; k < n; ++k) {
            const auto& r = layout.keys[static_cast<std::size_t>(k)].rect;
            const double x = (r.left + r.right) / 2.0 / std::max(1, layout.keyboard_width);
            const double a =
                0.5 + 0.5 * std::cos(2 * M_PI * (x - static_cast<double>(f) / kPreviewFrames));
            frames[static_cast<std::size_t>(f * n + k)] = static_cast<std::uint8_t>(40 + 215 * a);
        }
    }
    return frames;
}

void Animate(GalleryDialog& dialog, std::shared_ptr<KeyboardPage> p) {
    if (!p->live) {
        return;
    }
    p->phase = std::fmod(p->phase + 6, 360);
    Rainbow(*p);
    dialog.Later(50, [&dialog, p] { Animate(dialog, p); });
}

} // namespace

void BuildKeyboardPage(GalleryPage& page) {
    auto p = std::make_shared<KeyboardPage>();
    p->layout = LoadShippedLayout("kovrin_bolt104");
    page.Heading("Keyboard view: the 104-key layout", page.At(0, 0, 600, 24));
    p->view =
        page.Add<KeyboardCtrl>("KeyboardCtrl", kView, page.At(0, 32, page.Area().Width(), 300));
    if (p->view == nullptr || !p->layout) {
        return;
    }
    KeyboardCtrl& v = *p->view;
    v.SetTitle("Key");
    v.SetKeyboardImage(p->layout->KeyboardPicturePath());
    v.SetWidthAndHeight(p->layout->keyboard_width, p->layout->keyboard_height);
    for (const auto& k : p->layout->keys) {
        v.AddKeyItem(k.name, k.desc, static_cast<std::uint32_t>(k.code),
                     CRect(k.rect.left, k.rect.top, k.rect.right, k.rect.bottom), k.icon);
    }
    v.SetTipKey(0x29, "Macro", "Greeting");
    const auto frames = WaveFrames(*p->layout);
    v.SetLightModeData(frames.data(), static_cast<int>(frames.size()));
    v.SetLightSpeed(3);
    v.SetCustomColor(RGB(255, 0, 0));
    v.SetKeyboardCtrlMode(KBMODE_LIVE);
    Rainbow(*p);

    const char* modes[] = {"Key map", "Select", "Preview", "Colours", "Live"};
    for (int i = 0; i < 5; ++i) {
        const UINT id = kFirstMode + static_cast<UINT>(i);
        if (auto* b = page.Add<MButton>("MButton", id, page.At(130 * i, 350, 120, 36), modes[i])) {
            b->SetImage("btn_apply.png", 4);
        }
        GalleryDialog& dialog = page.Dialog();
        page.OnNotify(id, [p, i, &dialog](UINT code, WPARAM, LPARAM) {
            if (code != CN_CLICKED) {
                return;
            }
            p->live = i == 4;
            p->view->SetKeyboardCtrlMode(KBMODE_KEYMAP + i);
            if (i == 3) {
                p->view->ResetAllItemsColor(0);
            } else if (i == 4) {
                Animate(dialog, p);
            }
        });
    }
    if (auto* c = page.Add<CCheckButton>("CCheckButton", kFrameSelect, page.At(680, 350, 200, 36),
                                         "Frame selection")) {
        c->SetImage("btn_checkbox.png", 8);
        page.OnNotify(kFrameSelect, [p, c](UINT code, WPARAM, LPARAM) {
            if (code == CN_CLICKED) {
                p->view->EnableFrameSelect(c->GetCheck());
            }
        });
    }
    if (auto* c =
            page.Add<CCheckButton>("CCheckButton", kTips, page.At(880, 350, 160, 36), "Key tips")) {
        c->SetImage("btn_checkbox.png", 8);
        c->SetCheck(1);
        v.EnableKBTips(true);
        page.OnNotify(kTips, [p, c](UINT code, WPARAM, LPARAM) {
            if (code == CN_CLICKED) {
                p->view->EnableKBTips(c->GetCheck() != 0);
            }
        });
    }

    page.Label("Brush of the per-key colours:", page.At(0, 410, 220, 28));
    const COLORREF brushes[] = {RGB(255, 0, 0),    RGB(0, 255, 0),   RGB(0, 0, 255),
                                RGB(255, 255, 0),  RGB(255, 0, 255), RGB(0, 255, 255),
                                RGB(255, 255, 255)};
    for (int i = 0; i < 7; ++i) {
        const UINT id = kFirstBrush + static_cast<UINT>(i);
        if (auto* b =
                page.Add<CColorButton>("CColorButton", id, page.At(230 + 34 * i, 410, 28, 28))) {
            b->SetGroupName("KB_BRUSH");
            b->SetColor(brushes[i]);
            b->SetVisibleBorder(i == 6);
            b->SetControlCheck(i == 0 ? 1 : 0);
            page.OnNotify(id, [p, colour = brushes[i]](UINT code, WPARAM, LPARAM) {
                if (code == CN_PRESSED) {
                    p->view->SetCustomColor(colour);
                }
            });
        }
    }
    p->event = page.Add<MText>("MText", kEvent, page.At(0, 460, 700, 28), "Click a key.");
    if (p->event != nullptr) {
        p->event->SetTextColor(0xFFB8BCC8);
    }
    page.OnNotify(kView, [p](UINT code, WPARAM wParam, LPARAM lParam) {
        if (p->event == nullptr) {
            return;
        }
        const int index = static_cast<int>(static_cast<std::uint32_t>(wParam));
        const auto keys = p->view->GetKeyItems();
        const std::string name = index >= 0 && index < static_cast<int>(keys.size())
                                     ? keys[static_cast<std::size_t>(index)].name
                                     : "no key";
        std::string text;
        if (code == CN_CLICKED) {
            text = "Clicked " + name + " (code " + std::to_string(lParam) + ")";
        } else if (code == CN_RCLICK) {
            text = "Right-clicked " + name;
        } else if (code == CN_FRAMESELECT) {
            text = std::to_string(p->view->GetCheckItemCount()) + " keys in the frame";
        } else {
            return;
        }
        p->event->SetTitle(text);
    });
}

} // namespace gallery
