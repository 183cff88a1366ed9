#include "platform/udev/UdevHidrawMonitor.h"

#include <libudev.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace kovrin::platform {

namespace {

std::string Text(const char* value) {
    return value ? value : "";
}

HidrawEvent Describe(udev_device* device, HidrawEvent::Action action) {
    HidrawEvent event;
    event.action = action;
    event.syspath = Text(udev_device_get_syspath(device));
    event.devnode = Text(udev_device_get_devnode(device));
    // Parents are looked up through sysfs; after a removal they are gone and
    // the fields stay empty.
    if (udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr)) {
        event.hid_id = Text(udev_device_get_property_value(hid, "HID_ID"));
        event.hid_phys = Text(udev_device_get_property_value(hid, "HID_PHYS"));
    }
    if (udev_device* usb =
            udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_interface")) {
        const char* number = udev_device_get_sysattr_value(usb, "bInterfaceNumber");
        if (number && *number) {
            char* end = nullptr;
            const long value = std::strtol(number, &end, 16);
            if (end != number && value >= 0 && value < 256) {
                event.usb_interface_number = static_cast<int>(value);
            }
        }
    }
    return event;
}

HidrawEvent::Action ActionOf(const char* action) {
    if (action && std::strcmp(action, "add") == 0) {
        return HidrawEvent::Action::kAdd;
    }
    if (action && std::strcmp(action, "remove") == 0) {
        return HidrawEvent::Action::kRemove;
    }
    return HidrawEvent::Action::kOther;
}

class UdevHidrawMonitor final : public HidrawEventSource {
public:
    UdevHidrawMonitor(udev* context, udev_monitor* monitor) : udev_(context), monitor_(monitor) {}
    ~UdevHidrawMonitor() override {
        udev_monitor_unref(monitor_);
        udev_unref(udev_);
    }
    UdevHidrawMonitor(const UdevHidrawMonitor&) = delete;
    UdevHidrawMonitor& operator=(const UdevHidrawMonitor&) = delete;

    int Fd() const override { return udev_monitor_get_fd(monitor_); }

    std::vector<HidrawEvent> Existing() override {
        std::vector<HidrawEvent> events;
        udev_enumerate* list = udev_enumerate_new(udev_);
        if (!list) {
            return events;
        }
        udev_enumerate_add_match_subsystem(list, "hidraw");
        udev_enumerate_scan_devices(list);
        udev_list_entry* entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(list)) {
            udev_device* device =
                udev_device_new_from_syspath(udev_, udev_list_entry_get_name(entry));
            if (device) {
                events.push_back(Describe(device, HidrawEvent::Action::kAdd));
                udev_device_unref(device);
            }
        }
        udev_enumerate_unref(list);
        return events;
    }

    std::vector<HidrawEvent> Read() override {
        std::vector<HidrawEvent> events;
        // The monitor's socket is non-blocking: receive returns null when drained.
        while (udev_device* device = udev_monitor_receive_device(monitor_)) {
            const HidrawEvent::Action action = ActionOf(udev_device_get_action(device));
            const char* subsystem = udev_device_get_subsystem(device);
            if (subsystem && std::strcmp(subsystem, "hidraw") == 0) {
                events.push_back(Describe(device, action));
            }
            udev_device_unref(device);
        }
        return events;
    }

private:
    udev* udev_;
    udev_monitor* monitor_;
};

} // namespace

std::unique_ptr<HidrawEventSource> OpenUdevHidrawMonitor(std::string* error) {
    const auto fail = [&](const char* reason) -> std::unique_ptr<HidrawEventSource> {
        if (error) {
            *error = reason;
        }
        return nullptr;
    };
    udev* context = udev_new();
    if (!context) {
        return fail("udev is not available");
    }
    // Without a running udevd its event group stays silent; the kernel's own
    // events then carry the arrivals and removals.
    const char* source = ::access("/run/udev/control", F_OK) == 0 ? "udev" : "kernel";
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, source);
    if (!monitor) {
        udev_unref(context);
        return fail("cannot listen to device events");
    }
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        udev_monitor_unref(monitor);
        udev_unref(context);
        return fail("cannot listen to device events");
    }
    return std::make_unique<UdevHidrawMonitor>(context, monitor);
}

} // namespace kovrin::platform
