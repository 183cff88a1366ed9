#pragma once
// Finds the supported keyboards among the HID interfaces, keeps their command
// collections open, chooses the one commands go to, and carries the report
// primitives every command is sent with.
//
// Threads: the worker re-opens devices while the UI thread (light preset) and
// the audio thread (music level) may send. Two locks keep this safe:
//  - the exchange lock (recursive) is held for every whole report exchange,
//    pauses included, and by the command encoders around a multi-report
//    sequence (BeginExchange); re-opening, closing and changing the
//    selection take it too, so a handle never closes or changes while a
//    report or a sequence is on its way;
//  - the state lock guards the lists and the selection; it is taken after
//    the exchange lock, never before.

#include "device/Clock.h"
#include "device/HidBackend.h"
#include "device/ModelRecord.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kovrin {

// One opened command collection.
struct DeviceEntry {
    int index = 0;
    std::uint16_t vendor_id = 0;
    std::uint16_t product_id = 0;
    std::string path; // at most 1023 characters
    std::unique_ptr<HidDevice> handle;
    std::uint16_t release_number = 0;
    int device_type = 0;
    int mode = 0;
    std::string product_string; // the device's strings are not read: always empty
};

// A DeviceEntry without its handle, for callers outside the manager.
struct DeviceEntryInfo {
    int index = 0;
    std::uint16_t vendor_id = 0;
    std::uint16_t product_id = 0;
    std::string path;
    std::uint16_t release_number = 0;
    int device_type = 0;
    int mode = 0;
    std::string product_string;
};

// What the last enumeration did with one interface.
struct DiscoveredInterface {
    enum class Outcome {
        kUnsupported,  // ids not in the catalogue
        kOpenFailed,   // supported, could not be opened
        kEntry,        // command collection, became an entry
        kSecondHandle, // command collection on interface 3
        kClosed,       // other collection, opened and closed again
    };
    HidInterfaceInfo info;
    Outcome outcome = Outcome::kUnsupported;
    std::string error; // why the open failed
};

class DeviceManager {
public:
    static constexpr std::size_t kFeatureLength = 8;
    static constexpr std::size_t kOutputLength = 65;
    static constexpr std::size_t kSlotTableLength = 28;

    // The process-wide manager: hidapi and the real clock until told otherwise.
    static DeviceManager& Instance();

    // A null backend means hidapi, created on first use.
    explicit DeviceManager(std::shared_ptr<HidBackend> backend = nullptr,
                           Clock& clock = RealClock::Instance());
    ~DeviceManager();
    DeviceManager(const DeviceManager&) = delete;
    DeviceManager& operator=(const DeviceManager&) = delete;

    // Closes every device and talks to another backend / clock from now on.
    void SetBackend(std::shared_ptr<HidBackend> backend);
    void SetClock(Clock& clock);
    Clock& GetClock() const;

    // Supported ids, from the catalogue.
    void AddSupported(const SupportedDevice& device);
    void AddSupported(int vendor_id, int product_id, const std::string& product_name,
                      int device_type, int mode, const std::string& interface_pattern);
    std::vector<SupportedDevice> Supported() const;
    bool IsSupported(int vendor_id, int product_id, const std::string& product_string) const;
    int DeviceTypeOf(int vendor_id, int product_id) const;
    int ModeOf(int vendor_id, int product_id) const;

    // Discovery.
    void EnumerateAndOpen();
    void CloseAll();
    bool Opened() const;
    std::vector<DiscoveredInterface> LastEnumeration() const;

    // Selection.
    // Also forgets the cached handle; waits for a running exchange.
    void SelectType(int device_type);
    int SelectedType() const;
    bool Collect(std::vector<DeviceEntryInfo>& out) const;
    // Every entry, whatever the selection.
    std::vector<DeviceEntryInfo> AllEntries() const;
    int FindEntry(int vendor_id, int product_id, const std::string& product_name, int mode) const;
    // The command handle: first entry of the selected type with mode 0, else
    // 1, else 2; cached until the selection changes or devices close. Only
    // valid while the caller holds an exchange.
    HidDevice* CurrentHandle();
    std::optional<DeviceEntryInfo> CurrentEntry();
    // 0 if an entry of the selected type has mode 0, else 2, else 1, else -1.
    int ConnectionModeOf() const;
    bool HasSecondHandle() const;
    std::string SecondHandlePath() const;

    // Holds the exchange lock: reports of other threads wait (or, for the
    // music level, are dropped) until it ends.
    class Exchange {
    public:
        explicit Exchange(std::unique_lock<std::recursive_mutex> lock) : lock_(std::move(lock)) {}

    private:
        std::unique_lock<std::recursive_mutex> lock_;
    };
    [[nodiscard]] Exchange BeginExchange();
    [[nodiscard]] std::optional<Exchange> TryBeginExchange();

    // Report primitives. None modifies the caller's bytes except the two
    // readers; without a command handle each returns false and sends nothing.
    // Pause 16 ms, set the first 8 bytes as a feature report. The result is
    // always false: callers cannot see success.
    bool SendFeature(std::span<const std::uint8_t> report);
    // Set feature without a pause; true when it was accepted.
    bool SendFeatureChecked(std::span<const std::uint8_t> report);
    // As SendFeatureChecked, but only when no exchange is running; nullopt
    // when busy (nothing sent).
    std::optional<bool> TrySendFeatureChecked(std::span<const std::uint8_t> report);
    // Sends the first 8 bytes, then reads four replies into bytes 0..27
    // (7 bytes each). True only when the set and all four reads succeeded
    // with 8-byte replies of report id 7; a bad read leaves its 7 bytes as
    // they were. The buffer must hold 28 bytes.
    bool ReadSlotTable(std::span<std::uint8_t> buffer);
    // True only when a reply of report id 7 with at least 3 bytes arrived;
    // version is left alone otherwise.
    bool ReadFirmwareVersion(int& version);
    // 65-byte output report, one retry after 10 ms.
    bool WriteReport(std::span<const std::uint8_t> report);
    // The same on the second handle.
    bool WriteReportAux(std::span<const std::uint8_t> report);
    // Report id 0 followed by the 64 bytes, one retry after 32 ms.
    bool WriteData64(std::span<const std::uint8_t> data);
    // Last failure text of the command handle; empty without one.
    std::string LastErrorText();

private:
    std::shared_ptr<HidBackend> BackendLocked();
    void CloseAllLocked();
    HidDevice* CurrentHandleLocked();
    const DeviceEntry* CurrentEntryLocked();
    // The handle for a primitive: needs opened; under the state lock.
    HidDevice* CommandHandle();
    bool Write(HidDevice* handle, std::span<const std::uint8_t> report,
               std::chrono::milliseconds retry_pause);
    bool SetFeature(HidDevice* handle, std::span<const std::uint8_t> report);

    mutable std::recursive_mutex exchange_mutex_;
    mutable std::mutex state_mutex_;
    std::shared_ptr<HidBackend> backend_;
    Clock* clock_;
    bool opened_ = false;
    std::vector<std::unique_ptr<DeviceEntry>> entries_;
    std::vector<SupportedDevice> supported_;
    int selected_type_ = 0;
    const DeviceEntry* current_ = nullptr;
    std::unique_ptr<HidDevice> second_handle_;
    std::string second_path_;
    std::vector<DiscoveredInterface> last_enumeration_;
};

} // namespace kovrin
