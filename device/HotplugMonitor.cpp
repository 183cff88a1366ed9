#include "device/HotplugMonitor.h"

#include "device/HotplugNames.h"
#include "platform/udev/UdevHidrawMonitor.h"

namespace kovrin {

std::unique_ptr<HotplugMonitor> HotplugMonitor::Start(Callback callback) {
    return std::make_unique<HotplugMonitor>(platform::OpenUdevHidrawMonitor(), std::move(callback));
}

HotplugMonitor::HotplugMonitor(std::unique_ptr<HidrawEventSource> source, Callback callback)
    : source_(std::move(source)), callback_(std::move(callback)) {
    if (!source_) {
        return;
    }
    for (const HidrawEvent& event : source_->Existing()) {
        if (std::string name = InterfaceNameOf(event); !name.empty()) {
            names_[event.syspath] = std::move(name);
        }
    }
}

void HotplugMonitor::Dispatch() {
    if (!source_) {
        return;
    }
    for (const HidrawEvent& event : source_->Read()) {
        if (event.action == HidrawEvent::Action::kAdd) {
            std::string name = InterfaceNameOf(event);
            if (name.empty()) {
                continue;
            }
            names_[event.syspath] = name;
            if (callback_) {
                callback_(HotplugAction::kArrival, name);
            }
        } else if (event.action == HidrawEvent::Action::kRemove) {
            std::string name;
            if (const auto it = names_.find(event.syspath); it != names_.end()) {
                name = std::move(it->second);
                names_.erase(it);
            } else {
                name = InterfaceNameOf(event);
            }
            if (!name.empty() && callback_) {
                callback_(HotplugAction::kRemoval, name);
            }
        }
    }
}

std::string HotplugMonitor::NameOf(const std::string& syspath) const {
    const auto it = names_.find(syspath);
    return it == names_.end() ? std::string() : it->second;
}

} // namespace kovrin
