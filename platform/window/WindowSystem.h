#pragma once
// The windowing backend: creates windows and feeds their input to the loop.
// Two backends: X11 (real windows) and headless (in-memory windows with
// injected input, for tests).

#include "platform/window/EventLoop.h"
#include "platform/window/NativeWindow.h"
#include "platform/window/WindowTypes.h"

#include <array>
#include <memory>
#include <string>

namespace kovrin::platform {

class WindowSystem : public EventSource {
public:
    explicit WindowSystem(EventLoop& loop) : loop_(loop) {}
    ~WindowSystem() override = default;

    EventLoop& Loop() const { return loop_; }

    virtual std::unique_ptr<NativeWindow> CreateWindow(const WindowOptions& options,
                                                       WindowDelegate* delegate) = 0;
    virtual bool IsHeadless() const = 0;
    // Work area (screen less panels) of the monitor nearest the point.
    virtual Rect WorkArea(Point near) const = 0;
    virtual Point CursorPosition() const = 0;

    // Text on the clipboard (the CLIPBOARD selection under X); empty when
    // there is none, it is not text, or its owner does not answer in time.
    virtual std::string GetClipboardText() = 0;
    // Puts UTF-8 text on the clipboard; this connection serves it from then on.
    virtual void SetClipboardText(const std::string& text) = 0;

    // Key state as seen through the key events of this connection.
    bool IsKeyDown(unsigned vk) const { return vk < key_down_.size() && key_down_[vk]; }
    unsigned DoubleClickMs() const { return 500; }
    unsigned CaretBlinkMs() const { return 530; }

protected:
    void NoteKey(unsigned vk, bool down);

private:
    EventLoop& loop_;
    std::array<bool, 256> key_down_{};
};

// Null with the reason in error when no display can be opened.
std::unique_ptr<WindowSystem> CreateX11WindowSystem(EventLoop& loop, std::string* error);

} // namespace kovrin::platform
