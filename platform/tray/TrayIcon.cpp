#include "platform/tray/TrayIcon.h"

#include "platform/tray/TrayBackends.h"
#include "platform/window/EventLoop.h"

namespace kovrin::platform {

using tray::StatusNotifierItem;
using tray::TrayEvent;
using tray::XEmbedIcon;

struct TrayIcon::Impl {
    Impl(EventLoop& l, TrayOptions o, TrayCallbacks c)
        : loop(l), options(std::move(o)), callbacks(std::move(c)) {}

    EventLoop& loop;
    TrayOptions options;
    TrayCallbacks callbacks;
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    std::unique_ptr<StatusNotifierItem> sni;
    std::unique_ptr<XEmbedIcon> xembed;
    bool removed = false;

    // Backends report from inside their bus or X processing; everything they
    // report is acted on at the loop's next turn.
    tray::EventSink EventSink() {
        std::weak_ptr<bool> weak = alive;
        return [this, weak](TrayEvent event, int x, int y) {
            loop.Post([this, weak, event, x, y] {
                auto a = weak.lock();
                if (!a || !*a || removed) {
                    return;
                }
                // A copy: the callback may remove or even delete the icon.
                const auto cb = event == TrayEvent::Activate ? callbacks.activate
                                : event == TrayEvent::SecondaryActivate
                                    ? callbacks.secondary_activate
                                    : callbacks.context_menu;
                if (cb) {
                    cb(x, y);
                }
            });
        };
    }
    tray::StateSink StateSink() {
        std::weak_ptr<bool> weak = alive;
        return [this, weak] {
            loop.Post([this, weak] {
                auto a = weak.lock();
                if (a && *a) {
                    Update();
                }
            });
        };
    }

    // The XEmbed icon stands in while no StatusNotifier host shows the item.
    void Update() {
        if (removed) {
            return;
        }
        if (sni && sni->Broken()) {
            sni.reset();
        }
        const bool sni_shown = sni && sni->Shown();
        const bool sni_pending = sni && !sni->Settled();
        if (sni_shown) {
            xembed.reset();
        } else if (!sni_pending && !xembed && options.use_xembed) {
            xembed = XEmbedIcon::Create(loop, options, EventSink(), StateSink(), nullptr);
        }
    }

    void Start() {
        if (options.use_status_notifier) {
            sni = StatusNotifierItem::Create(loop, options, EventSink(), StateSink(), nullptr);
        }
        Update();
    }

    void Remove() {
        removed = true;
        *alive = false;
        sni.reset();
        xembed.reset();
    }
};

TrayIcon::TrayIcon(EventLoop& loop, TrayOptions options, TrayCallbacks callbacks)
    : impl_(std::make_unique<Impl>(loop, std::move(options), std::move(callbacks))) {
    impl_->Start();
}

TrayIcon::~TrayIcon() {
    impl_->Remove();
}

bool TrayIcon::Available() const {
    return (impl_->sni && impl_->sni->Shown()) || (impl_->xembed && impl_->xembed->Docked());
}

TrayHost TrayIcon::Host() const {
    if (impl_->sni && impl_->sni->Shown()) {
        return TrayHost::StatusNotifier;
    }
    if (impl_->xembed && impl_->xembed->Docked()) {
        return TrayHost::XEmbed;
    }
    return TrayHost::None;
}

void TrayIcon::SetToolTip(const std::string& text) {
    impl_->options.tooltip = text;
    if (impl_->sni) {
        impl_->sni->SetToolTip(text);
    }
    if (impl_->xembed) {
        impl_->xembed->SetToolTip(text);
    }
}

void TrayIcon::SetIcon(const IconImage& icon) {
    impl_->options.icon = icon;
    if (impl_->sni) {
        impl_->sni->SetIcon(icon);
    }
    if (impl_->xembed) {
        impl_->xembed->SetIcon(icon);
    }
}

void TrayIcon::Remove() {
    impl_->Remove();
}

bool TrayIcon::Removed() const {
    return impl_->removed;
}

} // namespace kovrin::platform
