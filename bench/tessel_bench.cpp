// Tessel: the cost of a full repaint of a large dialog, and the cost of an
// open window that shows nothing new (the 10 ms animation tick running).

#include "platform/window/EventLoop.h"
#include "platform/window/ProcessTimes.h"
#include "tessel/HeadlessSession.h"
#include "tessel/MControlFont.h"
#include "tessel/MDialog.h"
#include "tessel/Manager.h"
#include "tessel/controls/CArea.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

using namespace Tessel;

// A skinned button like the library's: nine-grid image and title, all four
// looks cached in a state strip.
class BenchButton : public MControlFont {
public:
    BenchButton(MObject* parent, UINT id, CRect rect, const std::string& title)
        : MControlFont(parent, id, rect, title.c_str(), 1, 1, 1) {
        align_ = 1;
        valign_ = 4;
    }
    void DrawControl(HDC& dc, CRect) override {
        if (!update_) {
            const int w = rect_.Width();
            const int h = rect_.Height();
            UpdateMemDC(dc, w * 4, h);
            for (int cell = 0; cell < 4; ++cell) {
                CopyBackgroundToCell(dc, cell);
                if (const Image* img = GetImage()) {
                    MRender::DrawImageFrame(
                        Strip().Context(), img, CRect(cell * w, 0, cell * w + w, h),
                        cell * frame_width_, 0, frame_width_, frame_height_, 10);
                }
                MRender::DrawText(Strip().Context(), title_, GetFontChoice(),
                                  CRect(cell * w, 0, cell * w + w, h), text_color_,
                                  GetTextFormat());
            }
        }
        DrawStripCell(dc, 0);
    }
};

// 1280 × 720 with 200 controls: 100 buttons and 100 translucent areas.
class BigDialog : public MDialog {
public:
    void InitUI(CRect) override {
        pm_.SetBackMode(BACK_MODE_FRAME, 8);
        LoadBKImage("main_bkg.png");
        for (int i = 0; i < 200; ++i) {
            const int col = i % 20;
            const int row = i / 20;
            const CRect r(10 + col * 63, 60 + row * 64, 10 + col * 63 + 58, 60 + row * 64 + 40);
            if (i % 2 == 0) {
                auto* b = new BenchButton(this, 100 + i, r, "Key " + std::to_string(i));
                AddControl(b);
                b->SetImage("btn_apply.png", 4);
            } else {
                auto* a = new CArea(this, 100 + i, r, 1, 1);
                AddControl(a);
                a->SetTransparent(20, 80, RGB(224, 32, 47));
            }
        }
    }
};

void InvalidateStrips(BigDialog& dlg) {
    for (MControl* c : dlg.GetControls()) {
        c->SetUpdate(0);
    }
}

// Full repaints with the controls' state strips valid (the usual case) or
// stale (every control redraws its looks first).
void BM_FullRepaint_1280x720_200Controls(benchmark::State& state) {
    const bool cold = state.range(0) != 0;
    HeadlessSession ui(KOVRIN_BUILD_PROGRAM_DIR);
    BigDialog dlg;
    if (dlg.Create(nullptr, "bench", 0, 0, CRect(0, 0, 1280, 720)) == nullptr) {
        state.SkipWithError("cannot create the dialog");
        return;
    }
    dlg.ShowWindow(SW_SHOW);
    ui.Pump();
    PaintManager& pm = dlg.GetPaintManager();
    for (auto _ : state) {
        if (cold) {
            InvalidateStrips(dlg);
        }
        pm.Invalidate();
        ui.Pump();
    }
    state.counters["paints"] = pm.PaintCount();
    state.SetLabel(cold ? "strips rebuilt" : "strips cached");
    dlg.DestroyWindow();
}
BENCHMARK(BM_FullRepaint_1280x720_200Controls)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// CPU share of the process with the 1280 × 720 dialog open on the X server,
// the 10 ms animation tick running and nothing changing.
void BM_IdleCpu_X11(benchmark::State& state) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        state.SkipWithError("DISPLAY is not set");
        return;
    }
    Manager::SetProgramFolder(KOVRIN_BUILD_PROGRAM_DIR);
    std::string error;
    if (!Manager::InitUiThread(&error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    double percent = 0;
    int paints = 0;
    {
        BigDialog dlg;
        dlg.Create(nullptr, "bench", 0, 0, CRect(0, 0, 1280, 720));
        dlg.ShowWindow(SW_SHOW);
        dlg.SetMTimer(10);
        auto* loop = Manager::Loop();
        // Let the first paint and mapping settle.
        bool settled = false;
        loop->AddTimer(500, false, [&] { settled = true; });
        loop->RunUntil([&] { return settled; });
        const int paints_before = dlg.GetPaintManager().PaintCount();
        for (auto _ : state) {
            const double cpu0 = kovrin::platform::ProcessCpuSeconds();
            const auto wall0 = std::chrono::steady_clock::now();
            bool done = false;
            loop->AddTimer(3000, false, [&] { done = true; });
            loop->RunUntil([&] { return done; });
            const double cpu = kovrin::platform::ProcessCpuSeconds() - cpu0;
            const double wall =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
            percent = 100.0 * cpu / wall;
        }
        paints = dlg.GetPaintManager().PaintCount() - paints_before;
        dlg.DestroyWindow();
    }
    Manager::ShutdownUi();
    state.counters["cpu_percent"] = percent;
    state.counters["idle_paints"] = paints;
}
BENCHMARK(BM_IdleCpu_X11)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
