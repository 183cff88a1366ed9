#include "platform/tray/TrayBackends.h"
#include "platform/window/EventLoop.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace kovrin::platform::tray {
namespace {

constexpr const char* kWatcherName = "org.kde.StatusNotifierWatcher";
constexpr const char* kWatcherPath = "/StatusNotifierWatcher";
constexpr const char* kWatcherInterface = "org.kde.StatusNotifierWatcher";
constexpr const char* kItemPath = "/StatusNotifierItem";
constexpr const char* kItemInterface = "org.kde.StatusNotifierItem";

std::atomic<int> g_item_count{0};

std::uint64_t MonotonicUsec() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000000u +
           static_cast<std::uint64_t>(ts.tv_nsec) / 1000u;
}

class SdItem final : public StatusNotifierItem {
public:
    SdItem(EventLoop& loop, const TrayOptions& options, EventSink events, StateSink state)
        : loop_(loop), options_(options), events_(std::move(events)), state_(std::move(state)) {}

    ~SdItem() override {
        if (timer_ != 0) {
            loop_.CancelTimer(timer_);
        }
        if (watch_ != 0) {
            loop_.UnwatchFd(watch_);
        }
        if (bus_ != nullptr) {
            // Releasing the name tells the watcher the item is gone.
            sd_bus_slot_unref(register_call_);
            sd_bus_slot_unref(host_call_);
            sd_bus_slot_unref(vtable_slot_);
            sd_bus_slot_unref(owner_match_);
            sd_bus_slot_unref(host_match_);
            if (!broken_) {
                sd_bus_release_name(bus_, name_.c_str());
                sd_bus_flush(bus_);
            }
            sd_bus_flush_close_unref(bus_);
        }
    }

    bool Start(std::string* error);

    bool Settled() const override { return settled_; }
    bool Shown() const override { return registered_ && host_; }
    bool Broken() const override { return broken_; }
    std::string ServiceName() const override { return name_; }

    void SetToolTip(const std::string& text) override {
        options_.tooltip = text;
        Emit("NewToolTip");
    }
    void SetIcon(const IconImage& icon) override {
        options_.icon = icon;
        Emit("NewIcon");
    }

private:
    static const sd_bus_vtable kVtable[];

    static int GetString(sd_bus*, const char*, const char*, const char* property,
                         sd_bus_message* reply, void* data, sd_bus_error*);
    static int GetPixmap(sd_bus*, const char*, const char*, const char* property,
                         sd_bus_message* reply, void* data, sd_bus_error*);
    static int GetToolTip(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                          void* data, sd_bus_error*);
    static int GetWindowId(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                           void* data, sd_bus_error*);
    static int GetFalse(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                        void*, sd_bus_error*);
    static int OnClick(sd_bus_message* m, void* data, sd_bus_error* error);
    static int OnScroll(sd_bus_message* m, void* data, sd_bus_error* error);
    static int OnRegistered(sd_bus_message* m, void* data, sd_bus_error* error);
    static int OnHostProperty(sd_bus_message* m, void* data, sd_bus_error* error);
    static int OnOwnerChanged(sd_bus_message* m, void* data, sd_bus_error* error);
    static int OnHostSignal(sd_bus_message* m, void* data, sd_bus_error* error);

    static int AppendPixmaps(sd_bus_message* reply, const IconImage& icon);

    void Register();
    void AskHost();
    void Emit(const char* signal);
    void Process();
    void ArmTimer();
    void Fail();
    void Changed() {
        if (state_) {
            state_();
        }
    }

    EventLoop& loop_;
    TrayOptions options_;
    EventSink events_;
    StateSink state_;
    sd_bus* bus_ = nullptr;
    std::string name_;
    sd_bus_slot* vtable_slot_ = nullptr;
    sd_bus_slot* owner_match_ = nullptr;
    sd_bus_slot* host_match_ = nullptr;
    sd_bus_slot* register_call_ = nullptr;
    sd_bus_slot* host_call_ = nullptr;
    EventLoop::WatchId watch_ = 0;
    EventLoop::TimerId timer_ = 0;
    bool processing_ = false;
    bool settled_ = false;
    bool registered_ = false;
    bool host_ = false;
    bool broken_ = false;
};

const sd_bus_vtable SdItem::kVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Category", "s", GetString, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Id", "s", GetString, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Title", "s", GetString, 0, SD_BUS_VTABLE_PROPERTY_EMITS_INVALIDATION),
    SD_BUS_PROPERTY("Status", "s", GetString, 0, SD_BUS_VTABLE_PROPERTY_EMITS_INVALIDATION),
    SD_BUS_PROPERTY("WindowId", "i", GetWindowId, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("IconName", "s", GetString, 0, SD_BUS_VTABLE_PROPERTY_EMITS_INVALIDATION),
    SD_BUS_PROPERTY("IconThemePath", "s", GetString, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("IconPixmap", "a(iiay)", GetPixmap, 0,
                    SD_BUS_VTABLE_PROPERTY_EMITS_INVALIDATION),
    SD_BUS_PROPERTY("OverlayIconName", "s", GetString, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("OverlayIconPixmap", "a(iiay)", GetPixmap, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("AttentionIconName", "s", GetString, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("AttentionIconPixmap", "a(iiay)", GetPixmap, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("AttentionMovieName", "s", GetString, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("ToolTip", "(sa(iiay)ss)", GetToolTip, 0,
                    SD_BUS_VTABLE_PROPERTY_EMITS_INVALIDATION),
    SD_BUS_PROPERTY("ItemIsMenu", "b", GetFalse, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_METHOD("Activate", "ii", "", OnClick, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("SecondaryActivate", "ii", "", OnClick, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("ContextMenu", "ii", "", OnClick, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Scroll", "is", "", OnScroll, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_SIGNAL("NewTitle", "", 0),
    SD_BUS_SIGNAL("NewIcon", "", 0),
    SD_BUS_SIGNAL("NewAttentionIcon", "", 0),
    SD_BUS_SIGNAL("NewOverlayIcon", "", 0),
    SD_BUS_SIGNAL("NewToolTip", "", 0),
    SD_BUS_SIGNAL("NewStatus", "s", 0),
    SD_BUS_VTABLE_END,
};

int SdItem::GetString(sd_bus*, const char*, const char*, const char* property,
                      sd_bus_message* reply, void* data, sd_bus_error*) {
    const auto* self = static_cast<SdItem*>(data);
    const std::string p = property;
    const char* value = "";
    if (p == "Category") {
        value = "ApplicationStatus";
    } else if (p == "Id") {
        value = self->options_.id.c_str();
    } else if (p == "Title") {
        value = self->options_.title.c_str();
    } else if (p == "Status") {
        value = "Active";
    }
    return sd_bus_message_append(reply, "s", value);
}

int SdItem::AppendPixmaps(sd_bus_message* reply, const IconImage& icon) {
    int r = sd_bus_message_open_container(reply, 'a', "(iiay)");
    if (r < 0) {
        return r;
    }
    if (icon.width > 0 && icon.height > 0 &&
        icon.argb.size() == static_cast<std::size_t>(icon.width) * icon.height) {
        // ARGB32 in network byte order.
        std::vector<std::uint8_t> bytes;
        bytes.reserve(icon.argb.size() * 4);
        for (std::uint32_t px : icon.argb) {
            bytes.push_back(static_cast<std::uint8_t>(px >> 24));
            bytes.push_back(static_cast<std::uint8_t>(px >> 16));
            bytes.push_back(static_cast<std::uint8_t>(px >> 8));
            bytes.push_back(static_cast<std::uint8_t>(px));
        }
        r = sd_bus_message_open_container(reply, 'r', "iiay");
        if (r >= 0) {
            r = sd_bus_message_append(reply, "ii", icon.width, icon.height);
        }
        if (r >= 0) {
            r = sd_bus_message_append_array(reply, 'y', bytes.data(), bytes.size());
        }
        if (r >= 0) {
            r = sd_bus_message_close_container(reply);
        }
        if (r < 0) {
            return r;
        }
    }
    return sd_bus_message_close_container(reply);
}

int SdItem::GetPixmap(sd_bus*, const char*, const char*, const char* property,
                      sd_bus_message* reply, void* data, sd_bus_error*) {
    const auto* self = static_cast<SdItem*>(data);
    static const IconImage kNone;
    return AppendPixmaps(reply,
                         std::string(property) == "IconPixmap" ? self->options_.icon : kNone);
}

int SdItem::GetToolTip(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                       void* data, sd_bus_error*) {
    const auto* self = static_cast<SdItem*>(data);
    int r = sd_bus_message_open_container(reply, 'r', "sa(iiay)ss");
    if (r >= 0) {
        r = sd_bus_message_append(reply, "s", "");
    }
    if (r >= 0) {
        r = AppendPixmaps(reply, IconImage{});
    }
    if (r >= 0) {
        r = sd_bus_message_append(reply, "ss", self->options_.tooltip.c_str(), "");
    }
    if (r >= 0) {
        r = sd_bus_message_close_container(reply);
    }
    return r;
}

int SdItem::GetWindowId(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                        void* data, sd_bus_error*) {
    const auto* self = static_cast<SdItem*>(data);
    return sd_bus_message_append(reply, "i", static_cast<std::int32_t>(self->options_.window_id));
}

int SdItem::GetFalse(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                     sd_bus_error*) {
    return sd_bus_message_append(reply, "b", 0);
}

int SdItem::OnClick(sd_bus_message* m, void* data, sd_bus_error*) {
    auto* self = static_cast<SdItem*>(data);
    std::int32_t x = 0;
    std::int32_t y = 0;
    const int r = sd_bus_message_read(m, "ii", &x, &y);
    if (r < 0) {
        return r;
    }
    const std::string member = sd_bus_message_get_member(m);
    const TrayEvent event = member == "Activate"            ? TrayEvent::Activate
                            : member == "SecondaryActivate" ? TrayEvent::SecondaryActivate
                                                            : TrayEvent::ContextMenu;
    if (self->events_) {
        self->events_(event, x, y);
    }
    return sd_bus_reply_method_return(m, "");
}

int SdItem::OnScroll(sd_bus_message* m, void*, sd_bus_error*) {
    return sd_bus_reply_method_return(m, "");
}

int SdItem::OnRegistered(sd_bus_message* m, void* data, sd_bus_error*) {
    auto* self = static_cast<SdItem*>(data);
    self->register_call_ = sd_bus_slot_unref(self->register_call_);
    self->registered_ = !sd_bus_message_is_method_error(m, nullptr);
    self->host_ = false;
    if (self->registered_) {
        self->AskHost(); // settled once the watcher says whether a host shows items
    } else {
        self->settled_ = true;
    }
    self->Changed();
    return 0;
}

int SdItem::OnHostProperty(sd_bus_message* m, void* data, sd_bus_error*) {
    auto* self = static_cast<SdItem*>(data);
    self->host_call_ = sd_bus_slot_unref(self->host_call_);
    int host = 0;
    if (sd_bus_message_is_method_error(m, nullptr)) {
        // A watcher that does not say is taken to have a host.
        host = 1;
    } else if (sd_bus_message_read(m, "v", "b", &host) < 0) {
        host = 1;
    }
    self->host_ = host != 0;
    self->settled_ = true;
    self->Changed();
    return 0;
}

int SdItem::OnOwnerChanged(sd_bus_message* m, void* data, sd_bus_error*) {
    auto* self = static_cast<SdItem*>(data);
    const char* name = nullptr;
    const char* old_owner = nullptr;
    const char* new_owner = nullptr;
    if (sd_bus_message_read(m, "sss", &name, &old_owner, &new_owner) < 0 || name == nullptr ||
        std::strcmp(name, kWatcherName) != 0) {
        return 0;
    }
    self->registered_ = false;
    self->host_ = false;
    if (new_owner != nullptr && *new_owner != '\0') {
        self->Register(); // a (new) watcher: offer the item to it
    } else {
        self->settled_ = true;
    }
    self->Changed();
    return 0;
}

int SdItem::OnHostSignal(sd_bus_message* m, void* data, sd_bus_error*) {
    auto* self = static_cast<SdItem*>(data);
    if (!self->registered_) {
        return 0;
    }
    const char* member = sd_bus_message_get_member(m);
    if (member == nullptr) {
        return 0;
    }
    if (std::strcmp(member, "StatusNotifierHostRegistered") == 0) {
        self->host_ = true;
        self->Changed();
    } else if (std::strcmp(member, "StatusNotifierHostUnregistered") == 0) {
        self->AskHost(); // the last host may or may not be gone
    }
    return 0;
}

bool SdItem::Start(std::string* error) {
    int r = sd_bus_open_user(&bus_);
    if (r < 0) {
        bus_ = nullptr;
        *error = std::string("session bus: ") + std::strerror(-r);
        return false;
    }
    name_ = "org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-" +
            std::to_string(++g_item_count);
    r = sd_bus_request_name(bus_, name_.c_str(), 0);
    if (r >= 0) {
        r = sd_bus_add_object_vtable(bus_, &vtable_slot_, kItemPath, kItemInterface, kVtable, this);
    }
    if (r >= 0) {
        const std::string rule = std::string("type='signal',sender='org.freedesktop.DBus',"
                                             "interface='org.freedesktop.DBus',"
                                             "member='NameOwnerChanged',arg0='") +
                                 kWatcherName + "'";
        r = sd_bus_add_match(bus_, &owner_match_, rule.c_str(), OnOwnerChanged, this);
    }
    if (r >= 0) {
        const std::string rule = std::string("type='signal',interface='") + kWatcherInterface + "'";
        r = sd_bus_add_match(bus_, &host_match_, rule.c_str(), OnHostSignal, this);
    }
    if (r < 0) {
        *error = std::string("session bus: ") + std::strerror(-r);
        return false;
    }
    watch_ = loop_.WatchFd(sd_bus_get_fd(bus_), [this] { Process(); });
    Register();
    Process();
    return true;
}

void SdItem::Register() {
    register_call_ = sd_bus_slot_unref(register_call_);
    host_call_ = sd_bus_slot_unref(host_call_);
    settled_ = false;
    const int r = sd_bus_call_method_async(bus_, &register_call_, kWatcherName, kWatcherPath,
                                           kWatcherInterface, "RegisterStatusNotifierItem",
                                           OnRegistered, this, "s", name_.c_str());
    if (r < 0) {
        settled_ = true;
        registered_ = false;
    }
}

void SdItem::AskHost() {
    host_call_ = sd_bus_slot_unref(host_call_);
    const int r = sd_bus_call_method_async(
        bus_, &host_call_, kWatcherName, kWatcherPath, "org.freedesktop.DBus.Properties", "Get",
        OnHostProperty, this, "ss", kWatcherInterface, "IsStatusNotifierHostRegistered");
    if (r < 0) {
        host_ = true;
        settled_ = true;
    }
}

void SdItem::Emit(const char* signal) {
    if (bus_ == nullptr || broken_) {
        return;
    }
    sd_bus_emit_signal(bus_, kItemPath, kItemInterface, signal, "");
    Process();
}

void SdItem::Process() {
    if (processing_ || bus_ == nullptr || broken_) {
        return;
    }
    processing_ = true;
    int r;
    do {
        r = sd_bus_process(bus_, nullptr);
    } while (r > 0 && !broken_);
    if (r >= 0) {
        r = sd_bus_flush(bus_);
    }
    processing_ = false;
    if (r < 0) {
        Fail();
        return;
    }
    ArmTimer();
}

void SdItem::ArmTimer() {
    if (timer_ != 0) {
        loop_.CancelTimer(timer_);
        timer_ = 0;
    }
    std::uint64_t deadline = 0;
    if (sd_bus_get_timeout(bus_, &deadline) < 0 || deadline == UINT64_MAX) {
        return;
    }
    const std::uint64_t now = MonotonicUsec();
    const std::uint64_t wait_ms = deadline > now ? (deadline - now + 999) / 1000 : 0;
    timer_ = loop_.AddTimer(static_cast<std::uint32_t>(std::min<std::uint64_t>(wait_ms, 60000)),
                            false, [this] {
                                timer_ = 0;
                                Process();
                            });
}

void SdItem::Fail() {
    broken_ = true;
    settled_ = true;
    registered_ = false;
    host_ = false;
    if (watch_ != 0) {
        loop_.UnwatchFd(watch_);
        watch_ = 0;
    }
    if (timer_ != 0) {
        loop_.CancelTimer(timer_);
        timer_ = 0;
    }
    Changed();
}

} // namespace

std::unique_ptr<StatusNotifierItem> StatusNotifierItem::Create(EventLoop& loop,
                                                               const TrayOptions& options,
                                                               EventSink events, StateSink state,
                                                               std::string* error) {
    auto item = std::make_unique<SdItem>(loop, options, std::move(events), std::move(state));
    std::string ignored;
    if (!item->Start(error != nullptr ? error : &ignored)) {
        return nullptr;
    }
    return item;
}

} // namespace kovrin::platform::tray
