// The keyboard view on the lighting page: what one tick of live colours
// costs (104 key colours set, then the view repainted), and one tick of the
// light effect preview.

#include "device/KeyboardLayout.h"
#include "device/LayoutLoader.h"
#include "platform/window/EventLoop.h"
#include "tessel/HeadlessSession.h"
#include "tessel/MDialog.h"
#include "tessel/controls/keyboard/KeyboardCtrl.h"
#include "xml/XmlDocument.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace Tessel;

class LightingPage : public MDialog {
public:
    KeyboardCtrl* view = nullptr;
    void InitUI(CRect) override {
        pm_.SetBackMode(BACK_MODE_FRAME, 8);
        LoadBKImage("main_bkg.png");
        view = dynamic_cast<KeyboardCtrl*>(
            CreateControl("KeyboardCtrl", 72, CRect(330, 100, 1280, 400), "", 1, 1));
    }
};

bool LoadLayout(kovrin::KeyboardLayout& layout) {
    kovrin::XmlDocument doc;
    if (!doc.LoadFile(std::string(KOVRIN_SOURCE_DIR) + "/data/layouts/kovrin_bolt104.xml") ||
        !doc.FindElement("device.info")) {
        return false;
    }
    std::vector<std::string> warnings;
    kovrin::ReadLayout(doc, layout, warnings);
    return !layout.keys.empty();
}

struct Fixture {
    HeadlessSession ui{KOVRIN_BUILD_PROGRAM_DIR};
    LightingPage page;
    kovrin::KeyboardLayout layout;
    bool ok = false;

    explicit Fixture(int mode) {
        if (!LoadLayout(layout) ||
            page.Create(nullptr, "bench", 0, 0, CRect(0, 0, 1280, 720)) == nullptr ||
            page.view == nullptr) {
            return;
        }
        page.ShowWindow(SW_SHOW);
        KeyboardCtrl& v = *page.view;
        v.SetKeyboardImage(layout.KeyboardPicturePath());
        v.SetWidthAndHeight(layout.keyboard_width, layout.keyboard_height);
        for (const auto& k : layout.keys) {
            v.AddKeyItem(k.name, k.desc, static_cast<std::uint32_t>(k.code),
                         CRect(k.rect.left, k.rect.top, k.rect.right, k.rect.bottom), k.icon);
        }
        v.SetKeyboardCtrlMode(mode);
        ui.Pump();
        ok = true;
    }
    ~Fixture() { page.DestroyWindow(); }
};

// One live-colour step: every key gets a new colour, the view is redrawn
// and the window paints.
void BM_LiveColoursTick(benchmark::State& state) {
    Fixture f(KBMODE_LIVE);
    if (!f.ok) {
        state.SkipWithError("no layout or window");
        return;
    }
    KeyboardCtrl& v = *f.page.view;
    const int paints = f.page.GetPaintManager().PaintCount();
    unsigned frame = 0;
    for (auto _ : state) {
        ++frame;
        for (std::size_t i = 0; i < f.layout.keys.size(); ++i) {
            v.SetKeyColor(static_cast<std::uint32_t>(f.layout.keys[i].code),
                          RGB((frame * 5 + i * 3) & 0xFF, (frame + i * 7) & 0xFF, 128));
        }
        v.Redraw();
        f.ui.Pump();
    }
    state.counters["keys"] = static_cast<double>(f.layout.keys.size());
    state.counters["paints"] = static_cast<double>(f.page.GetPaintManager().PaintCount() - paints);
}
BENCHMARK(BM_LiveColoursTick)->Unit(benchmark::kMicrosecond);

// One 10 ms animation tick of the effect preview at its fastest speed: the
// next frame and the repaint.
void BM_PreviewTick(benchmark::State& state) {
    Fixture f(KBMODE_PREVIEW);
    if (!f.ok) {
        state.SkipWithError("no layout or window");
        return;
    }
    KeyboardCtrl& v = *f.page.view;
    const int n = v.GetKeyCount();
    std::vector<std::uint8_t> frames(static_cast<std::size_t>(n * 32));
    for (int fi = 0; fi < 32; ++fi) {
        for (int k = 0; k < n; ++k) {
            frames[static_cast<std::size_t>(fi * n + k)] =
                static_cast<std::uint8_t>((k * 8 + fi * 16) & 0xFF);
        }
    }
    v.SetLightModeData(frames.data(), static_cast<int>(frames.size()));
    v.SetLightSpeed(4);
    f.page.SetMTimer(10);
    for (auto _ : state) {
        f.ui.Advance(10);
    }
}
BENCHMARK(BM_PreviewTick)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
