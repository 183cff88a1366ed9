#include "device/DeviceManager.h"

#include "platform/hid/HidapiBackend.h"

namespace kovrin {

namespace {

constexpr std::size_t kMaxPathLength = 1023;

DeviceEntryInfo InfoOf(const DeviceEntry& e) {
    return {e.index,          e.vendor_id,   e.product_id, e.path,
            e.release_number, e.device_type, e.mode,       e.product_string};
}

} // namespace

DeviceManager& DeviceManager::Instance() {
    static DeviceManager manager;
    return manager;
}

DeviceManager::DeviceManager(std::shared_ptr<HidBackend> backend, Clock& clock)
    : backend_(std::move(backend)), clock_(&clock) {}

DeviceManager::~DeviceManager() {
    CloseAll();
}

void DeviceManager::SetBackend(std::shared_ptr<HidBackend> backend) {
    std::lock_guard exchange(exchange_mutex_);
    std::lock_guard lock(state_mutex_);
    CloseAllLocked();
    backend_ = std::move(backend);
}

void DeviceManager::SetClock(Clock& clock) {
    std::lock_guard exchange(exchange_mutex_);
    std::lock_guard lock(state_mutex_);
    clock_ = &clock;
}

Clock& DeviceManager::GetClock() const {
    std::lock_guard lock(state_mutex_);
    return *clock_;
}

std::shared_ptr<HidBackend> DeviceManager::BackendLocked() {
    if (!backend_) {
        backend_ = platform::CreateHidapiBackend();
    }
    return backend_;
}

void DeviceManager::AddSupported(const SupportedDevice& device) {
    std::lock_guard lock(state_mutex_);
    supported_.push_back(device);
}

void DeviceManager::AddSupported(int vendor_id, int product_id, const std::string& product_name,
                                 int device_type, int mode, const std::string& interface_pattern) {
    AddSupported(
        SupportedDevice{vendor_id, product_id, product_name, device_type, mode, interface_pattern});
}

std::vector<SupportedDevice> DeviceManager::Supported() const {
    std::lock_guard lock(state_mutex_);
    return supported_;
}

bool DeviceManager::IsSupported(int vendor_id, int product_id,
                                const std::string& product_string) const {
    std::lock_guard lock(state_mutex_);
    for (const SupportedDevice& s : supported_) {
        if (s.vendor_id == vendor_id && s.product_id == product_id &&
            (s.product_name.empty() || s.product_name == product_string)) {
            return true;
        }
    }
    return false;
}

int DeviceManager::DeviceTypeOf(int vendor_id, int product_id) const {
    std::lock_guard lock(state_mutex_);
    for (const SupportedDevice& s : supported_) {
        if (s.vendor_id == vendor_id && s.product_id == product_id) {
            return s.device_type;
        }
    }
    return 0;
}

int DeviceManager::ModeOf(int vendor_id, int product_id) const {
    std::lock_guard lock(state_mutex_);
    for (const SupportedDevice& s : supported_) {
        if (s.vendor_id == vendor_id && s.product_id == product_id) {
            return s.mode;
        }
    }
    return 0;
}

void DeviceManager::EnumerateAndOpen() {
    std::lock_guard exchange(exchange_mutex_);
    const std::vector<HidInterfaceInfo> found =
        [&] {
            std::lock_guard lock(state_mutex_);
            return BackendLocked();
        }()
            ->Enumerate();

    std::vector<DiscoveredInterface> log;
    for (const HidInterfaceInfo& info : found) {
        DiscoveredInterface d{info, DiscoveredInterface::Outcome::kUnsupported, {}};
        if (!IsSupported(info.vendor_id, info.product_id, std::string())) {
            log.push_back(std::move(d));
            continue;
        }
        std::shared_ptr<HidBackend> backend;
        {
            std::lock_guard lock(state_mutex_);
            backend = BackendLocked();
        }
        std::unique_ptr<HidDevice> handle = backend->Open(info.path, &d.error);
        if (!handle) {
            d.outcome = DiscoveredInterface::Outcome::kOpenFailed;
            log.push_back(std::move(d));
            continue;
        }
        if (!IsCommandCollection(info)) {
            handle.reset();
            d.outcome = DiscoveredInterface::Outcome::kClosed;
            log.push_back(std::move(d));
            continue;
        }
        const int type = DeviceTypeOf(info.vendor_id, info.product_id);
        const int mode = ModeOf(info.vendor_id, info.product_id);
        std::lock_guard lock(state_mutex_);
        if (IsAuxCollection(info)) {
            second_handle_ = std::move(handle);
            second_path_ = info.path;
            d.outcome = DiscoveredInterface::Outcome::kSecondHandle;
        } else {
            auto entry = std::make_unique<DeviceEntry>();
            entry->index = static_cast<int>(entries_.size());
            entry->vendor_id = info.vendor_id;
            entry->product_id = info.product_id;
            entry->path = info.path.substr(0, kMaxPathLength);
            entry->handle = std::move(handle);
            entry->release_number = info.release_number;
            entry->device_type = type;
            entry->mode = mode;
            entries_.push_back(std::move(entry));
            d.outcome = DiscoveredInterface::Outcome::kEntry;
        }
        log.push_back(std::move(d));
    }
    std::lock_guard lock(state_mutex_);
    last_enumeration_ = std::move(log);
    opened_ = true;
}

void DeviceManager::CloseAll() {
    std::lock_guard exchange(exchange_mutex_);
    std::lock_guard lock(state_mutex_);
    CloseAllLocked();
}

void DeviceManager::CloseAllLocked() {
    current_ = nullptr;
    if (!opened_) {
        return;
    }
    opened_ = false;
    entries_.clear();
    second_handle_.reset();
    second_path_.clear();
}

bool DeviceManager::Opened() const {
    std::lock_guard lock(state_mutex_);
    return opened_;
}

std::vector<DiscoveredInterface> DeviceManager::LastEnumeration() const {
    std::lock_guard lock(state_mutex_);
    return last_enumeration_;
}

void DeviceManager::SelectType(int device_type) {
    // The selection decides the handle: it never changes inside an exchange.
    std::lock_guard exchange(exchange_mutex_);
    std::lock_guard lock(state_mutex_);
    selected_type_ = device_type;
    current_ = nullptr;
}

int DeviceManager::SelectedType() const {
    std::lock_guard lock(state_mutex_);
    return selected_type_;
}

bool DeviceManager::Collect(std::vector<DeviceEntryInfo>& out) const {
    std::lock_guard lock(state_mutex_);
    if (entries_.empty()) {
        return false;
    }
    out.clear();
    for (const auto& e : entries_) {
        if (selected_type_ == 0 || e->device_type == selected_type_) {
            out.push_back(InfoOf(*e));
        }
    }
    return true;
}

std::vector<DeviceEntryInfo> DeviceManager::AllEntries() const {
    std::lock_guard lock(state_mutex_);
    std::vector<DeviceEntryInfo> out;
    for (const auto& e : entries_) {
        out.push_back(InfoOf(*e));
    }
    return out;
}

int DeviceManager::FindEntry(int vendor_id, int product_id, const std::string& product_name,
                             int mode) const {
    std::lock_guard lock(state_mutex_);
    for (const auto& e : entries_) {
        if (e->vendor_id == vendor_id && e->product_id == product_id && e->mode == mode &&
            (product_name.empty() || e->product_string == product_name)) {
            return e->index;
        }
    }
    return -1;
}

const DeviceEntry* DeviceManager::CurrentEntryLocked() {
    if (current_) {
        return current_;
    }
    for (int mode : {0, 1, 2}) {
        for (const auto& e : entries_) {
            if (e->device_type == selected_type_ && e->mode == mode) {
                current_ = e.get();
                return current_;
            }
        }
    }
    return nullptr;
}

HidDevice* DeviceManager::CurrentHandleLocked() {
    const DeviceEntry* entry = CurrentEntryLocked();
    return entry ? entry->handle.get() : nullptr;
}

HidDevice* DeviceManager::CurrentHandle() {
    std::lock_guard lock(state_mutex_);
    return CurrentHandleLocked();
}

std::optional<DeviceEntryInfo> DeviceManager::CurrentEntry() {
    std::lock_guard lock(state_mutex_);
    const DeviceEntry* entry = CurrentEntryLocked();
    if (!entry) {
        return std::nullopt;
    }
    return InfoOf(*entry);
}

int DeviceManager::ConnectionModeOf() const {
    std::lock_guard lock(state_mutex_);
    for (int mode : {0, 2, 1}) {
        for (const auto& e : entries_) {
            if (e->device_type == selected_type_ && e->mode == mode) {
                return mode;
            }
        }
    }
    return -1;
}

bool DeviceManager::HasSecondHandle() const {
    std::lock_guard lock(state_mutex_);
    return second_handle_ != nullptr;
}

std::string DeviceManager::SecondHandlePath() const {
    std::lock_guard lock(state_mutex_);
    return second_path_;
}

DeviceManager::Exchange DeviceManager::BeginExchange() {
    return Exchange(std::unique_lock(exchange_mutex_));
}

std::optional<DeviceManager::Exchange> DeviceManager::TryBeginExchange() {
    std::unique_lock lock(exchange_mutex_, std::try_to_lock);
    if (!lock.owns_lock()) {
        return std::nullopt;
    }
    return Exchange(std::move(lock));
}

} // namespace kovrin
