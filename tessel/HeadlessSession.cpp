#include "tessel/HeadlessSession.h"

#include "tessel/FontRegistry.h"
#include "tessel/Manager.h"

#include <cairo.h>

#include <cstring>
#include <filesystem>

namespace Tessel {

HeadlessSession::HeadlessSession(const std::string& programFolder) {
    if (!programFolder.empty()) {
        Manager::SetProgramFolder(programFolder);
    }
    FontRegistry::UsePrivateFontsOnly();
    const std::string fonts = Manager::GetProgramFolder() + "font/";
    for (const char* f : {"Arial.ttf", "Arial-Bold.ttf"}) {
        if (std::filesystem::exists(fonts + f)) {
            FontRegistry::Instance().SetAlias("Arial",
                                              FontRegistry::Instance().AddFontFile(fonts + f));
        }
    }
    system_ = &Manager::InitHeadless();
}

HeadlessSession::~HeadlessSession() {
    Manager::ShutdownUi();
}

kovrin::platform::EventLoop& HeadlessSession::Loop() {
    return *Manager::Loop();
}

void HeadlessSession::Pump() {
    Loop().RunUntilIdle();
}

void HeadlessSession::Advance(unsigned ms) {
    Loop().AdvanceTime(ms);
}

const kovrin::platform::HeadlessWindow* HeadlessSession::Window(const MWindow& w) const {
    return dynamic_cast<const kovrin::platform::HeadlessWindow*>(w.Native());
}

kovrin::platform::Point HeadlessSession::Screen(const MWindow& w, int x, int y) const {
    const CRect r = w.GetWindowRect();
    return {r.left + x, r.top + y};
}

void HeadlessSession::MoveTo(const MWindow& w, int x, int y) {
    const auto p = Screen(w, x, y);
    system_->MoveMouse(p.x, p.y);
    Pump();
}

void HeadlessSession::Press(const MWindow& w, int x, int y, kovrin::platform::MouseButton b) {
    const auto p = Screen(w, x, y);
    system_->Press(b, p.x, p.y);
    Pump();
}

void HeadlessSession::Release(const MWindow& w, int x, int y, kovrin::platform::MouseButton b) {
    const auto p = Screen(w, x, y);
    system_->Release(b, p.x, p.y);
    Pump();
}

void HeadlessSession::Click(const MWindow& w, int x, int y, kovrin::platform::MouseButton b) {
    const auto p = Screen(w, x, y);
    system_->Press(b, p.x, p.y);
    system_->Release(b, p.x, p.y);
    Pump();
    Advance(600);
}

void HeadlessSession::DoubleClick(const MWindow& w, int x, int y) {
    const auto p = Screen(w, x, y);
    using kovrin::platform::MouseButton;
    system_->Press(MouseButton::Left, p.x, p.y);
    system_->Release(MouseButton::Left, p.x, p.y);
    system_->Press(MouseButton::Left, p.x, p.y);
    system_->Release(MouseButton::Left, p.x, p.y);
    Pump();
    Advance(600);
}

void HeadlessSession::Wheel(const MWindow& w, int delta, int x, int y) {
    const auto p = Screen(w, x, y);
    system_->Wheel(delta, p.x, p.y);
    Pump();
}

void HeadlessSession::Key(unsigned vk, bool down) {
    system_->Key(vk, down);
    Pump();
}

void HeadlessSession::Tap(unsigned vk) {
    system_->Key(vk, true);
    system_->Key(vk, false);
    Pump();
}

void HeadlessSession::Type(const std::string& text) {
    system_->Type(text);
    Pump();
}

std::uint32_t HeadlessSession::Pixel(const MWindow& w, int x, int y) const {
    const auto* hw = Window(w);
    return hw != nullptr ? hw->Pixel(x, y) : 0;
}

bool HeadlessSession::SavePng(const MWindow& w, const std::string& path) const {
    const auto* hw = Window(w);
    if (hw == nullptr) {
        return false;
    }
    const auto b = hw->Bounds();
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, b.Width(), b.Height());
    cairo_surface_flush(s);
    auto* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < b.Height(); ++y) {
        std::memcpy(data + static_cast<std::ptrdiff_t>(y) * stride,
                    hw->Pixels().data() + static_cast<std::size_t>(y) * b.Width(),
                    static_cast<std::size_t>(b.Width()) * 4);
    }
    cairo_surface_mark_dirty(s);
    const bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

} // namespace Tessel
