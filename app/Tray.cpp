#include "app/Tray.h"

#include "base/Utf.h"
#include "platform/tray/TrayIcon.h"
#include "platform/window/WindowSystem.h"
#include "tessel/Image.h"
#include "tessel/MWindow.h"
#include "tessel/Manager.h"

#include <algorithm>

namespace kovrin {

Tray::Tray() = default;

Tray::~Tray() {
    Remove();
}

std::string Tray::ToolTipFor(const std::string& device_name) {
    return CutToUtf16Units(device_name, 256);
}

platform::IconImage Tray::LoadIcon(const std::string& path) {
    platform::IconImage icon;
    Tessel::ImagePtr image = Tessel::LoadImageFile(path);
    if (!image || image->FrameCount() == 0) {
        return icon;
    }
    cairo_surface_t* s = image->Surface();
    cairo_surface_flush(s);
    icon.width = image->Width();
    icon.height = image->Height();
    icon.argb.reserve(static_cast<std::size_t>(icon.width) * icon.height);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < icon.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < icon.width; ++x) {
            // Cairo keeps premultiplied colour; hosts want it straight.
            const std::uint32_t p = row[x];
            const std::uint32_t a = p >> 24;
            if (a == 0 || a == 255) {
                icon.argb.push_back(a == 0 ? 0 : p);
                continue;
            }
            const auto un = [a](std::uint32_t c) { return std::min(255u, (c * 255 + a / 2) / a); };
            icon.argb.push_back(a << 24 | un(p >> 16 & 0xFF) << 16 | un(p >> 8 & 0xFF) << 8 |
                                un(p & 0xFF));
        }
    }
    return icon;
}

platform::IconImage Tray::LoadSkinIcon() {
    return LoadIcon(Tessel::Manager::GetSkinFolder() + "Kovrin.ico");
}

bool Tray::Add(const std::string& device_name, Callbacks callbacks, const Tessel::MWindow* window) {
    return Add(device_name, LoadSkinIcon(), std::move(callbacks), window);
}

bool Tray::Add(const std::string& device_name, const platform::IconImage& icon, Callbacks callbacks,
               const Tessel::MWindow* window) {
    auto* loop = Tessel::Manager::Loop();
    if (Shown() || loop == nullptr || !Tessel::Manager::IsUiThread()) {
        return false;
    }
    platform::TrayOptions options;
    options.id = device_name;
    options.title = device_name;
    options.tooltip = ToolTipFor(device_name);
    options.icon = icon;
    auto* system = Tessel::Manager::System();
    if (window != nullptr && window->Native() != nullptr && system != nullptr &&
        !system->IsHeadless()) {
        options.window_id = window->Native()->Id();
    }
    platform::TrayCallbacks cb;
    cb.activate = [f = callbacks.on_activate](int, int) {
        if (f) {
            f();
        }
    };
    cb.context_menu = [f = callbacks.on_context_menu](int x, int y) {
        if (f) {
            f(x, y);
        }
    };
    // A middle click does nothing, as on the classic tray.
    icon_ = std::make_unique<platform::TrayIcon>(*loop, std::move(options), std::move(cb));
    return true;
}

bool Tray::Shown() const {
    return icon_ && !icon_->Removed();
}

bool Tray::Available() const {
    return Shown() && icon_->Available();
}

void Tray::Remove() {
    if (icon_) {
        icon_->Remove();
    }
}

} // namespace kovrin
