#pragma once
// Runs Tessel without an X server, for tests and benchmarks: windows are
// in-memory pictures, input is injected, time is a virtual clock, and text is
// set only in the program's own fonts so it renders alike everywhere.
//
//   Tessel::HeadlessSession ui;            // before the first window
//   MyDialog dlg; dlg.Create(nullptr, "t", 0, 0, CRect(0, 0, 400, 300));
//   dlg.ShowWindow(SW_SHOW); ui.Pump();
//   ui.Click(dlg, 50, 40);                 // client coordinates
//   EXPECT_EQ(ui.Pixel(dlg, 10, 10), ...); // what the window shows

#include "platform/headless/HeadlessWindowSystem.h"
#include "tessel/MWindow.h"

#include <cstdint>
#include <string>

namespace Tessel {

class HeadlessSession {
public:
    // programFolder: where skins, fonts and resources are (default: the
    // folder Manager::GetProgramFolder finds).
    explicit HeadlessSession(const std::string& programFolder = {});
    ~HeadlessSession();
    HeadlessSession(const HeadlessSession&) = delete;
    HeadlessSession& operator=(const HeadlessSession&) = delete;

    kovrin::platform::HeadlessWindowSystem& System() { return *system_; }
    kovrin::platform::EventLoop& Loop();

    // Runs everything that is ready now (input, posts, due timers, paints).
    void Pump();
    // Moves the virtual clock on, running what falls due on the way.
    void Advance(unsigned ms);

    // Input at client coordinates of the window; each call pumps.
    void MoveTo(const MWindow& w, int x, int y);
    void Press(const MWindow& w, int x, int y,
               kovrin::platform::MouseButton b = kovrin::platform::MouseButton::Left);
    void Release(const MWindow& w, int x, int y,
                 kovrin::platform::MouseButton b = kovrin::platform::MouseButton::Left);
    // Press and release; then 600 ms pass so the next click is not a double click.
    void Click(const MWindow& w, int x, int y,
               kovrin::platform::MouseButton b = kovrin::platform::MouseButton::Left);
    void DoubleClick(const MWindow& w, int x, int y);
    void Wheel(const MWindow& w, int delta, int x, int y);
    void Key(unsigned vk, bool down);
    void Tap(unsigned vk);
    void Type(const std::string& text);

    // The pixel the window shows (premultiplied ARGB); 0 outside it.
    std::uint32_t Pixel(const MWindow& w, int x, int y) const;
    // Its colour as 0xRRGGBB, alpha dropped.
    std::uint32_t Rgb(const MWindow& w, int x, int y) const { return Pixel(w, x, y) & 0xFFFFFF; }
    bool SavePng(const MWindow& w, const std::string& path) const;
    const kovrin::platform::HeadlessWindow* Window(const MWindow& w) const;

private:
    kovrin::platform::Point Screen(const MWindow& w, int x, int y) const;
    kovrin::platform::HeadlessWindowSystem* system_;
};

} // namespace Tessel
