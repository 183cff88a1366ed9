#include "platform/hid/HidapiBackend.h"

#include <hidapi.h>

#include <algorithm>
#include <cwchar>
#include <mutex>

namespace kovrin::platform {

namespace {

// hidapi's texts are wchar_t (UTF-32 here).
std::string WideToUtf8(const wchar_t* text) {
    std::string out;
    if (!text) {
        return out;
    }
    for (; *text; ++text) {
        auto c = static_cast<std::uint32_t>(*text);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string ErrorText(hid_device* device, const char* fallback) {
    std::string text = WideToUtf8(hid_error(device));
    if (text.empty() || text == "Success") {
        text = fallback;
    }
    if (const auto cut = text.find_first_of("\r\n"); cut != std::string::npos) {
        text.resize(cut);
    }
    return text;
}

bool InitHidapi() {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] { ok = hid_init() == 0; });
    return ok;
}

class HidapiDevice final : public HidDevice {
public:
    explicit HidapiDevice(hid_device* device) : device_(device) {}
    ~HidapiDevice() override { hid_close(device_); }
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    int Write(std::span<const std::uint8_t> report) override {
        return Check(hid_write(device_, report.data(), report.size()), "write failed");
    }
    int SendFeature(std::span<const std::uint8_t> report) override {
        return Check(hid_send_feature_report(device_, report.data(), report.size()),
                     "feature report not accepted");
    }
    int GetFeature(std::span<std::uint8_t> buffer) override {
        return Check(hid_get_feature_report(device_, buffer.data(), buffer.size()),
                     "feature report not read");
    }
    std::string LastError() const override { return last_error_; }

private:
    int Check(int result, const char* fallback) {
        if (result < 0) {
            last_error_ = ErrorText(device_, fallback);
            return -1;
        }
        return result;
    }

    hid_device* device_;
    std::string last_error_;
};

class HidapiBackend final : public HidBackend {
public:
    std::vector<HidInterfaceInfo> Enumerate() override {
        std::vector<HidInterfaceInfo> records;
        if (!InitHidapi()) {
            return records;
        }
        hid_device_info* list = hid_enumerate(0, 0);
        for (const hid_device_info* d = list; d; d = d->next) {
            HidInterfaceInfo info;
            info.path = d->path ? d->path : "";
            info.vendor_id = d->vendor_id;
            info.product_id = d->product_id;
            info.release_number = d->release_number;
            info.usages.push_back({d->usage_page, d->usage});
            info.interface_number = d->interface_number;
            info.bluetooth = d->bus_type == HID_API_BUS_BLUETOOTH;
            records.push_back(std::move(info));
        }
        hid_free_enumeration(list);
        return MergeRecordsByPath(std::move(records));
    }

    std::unique_ptr<HidDevice> Open(const std::string& path, std::string* error) override {
        if (!InitHidapi()) {
            if (error) {
                *error = ErrorText(nullptr, "HID library not available");
            }
            return nullptr;
        }
        hid_device* device = hid_open_path(path.c_str());
        if (!device) {
            if (error) {
                *error = ErrorText(nullptr, "cannot open the device");
            }
            return nullptr;
        }
        return std::make_unique<HidapiDevice>(device);
    }
};

} // namespace

std::vector<HidInterfaceInfo> MergeRecordsByPath(std::vector<HidInterfaceInfo> records) {
    std::vector<HidInterfaceInfo> merged;
    for (auto& record : records) {
        auto same = std::find_if(merged.begin(), merged.end(),
                                 [&](const HidInterfaceInfo& m) { return m.path == record.path; });
        if (same == merged.end()) {
            merged.push_back(std::move(record));
            continue;
        }
        for (const HidUsage& usage : record.usages) {
            if (std::find(same->usages.begin(), same->usages.end(), usage) == same->usages.end()) {
                same->usages.push_back(usage);
            }
        }
    }
    return merged;
}

std::unique_ptr<HidBackend> CreateHidapiBackend() {
    return std::make_unique<HidapiBackend>();
}

} // namespace kovrin::platform
