#pragma once
// A device model of the keyboard family, reached through the HidBackend
// interface like a real keyboard. It understands every command the program
// sends, keeps the state a keyboard would keep, answers the slot-table and
// version queries from that state, records every report with the time of
// its clock and lists every protocol violation it notices. Faults can be
// injected to exercise the error paths.

#include "device/Clock.h"
#include "device/HidBackend.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kovrin {

enum class ReportKind { kSet, kGet, kWrite };

struct RecordedReport {
    Clock::Duration at;
    int interface_number = 0;
    ReportKind kind = ReportKind::kSet;
    // What was sent; for a get, the reply as returned (empty when it failed).
    std::vector<std::uint8_t> bytes;
    bool ok = true; // false when the keyboard failed the call
};

enum class ViolationKind {
    kLength,        // a report of the wrong length
    kReportId,      // a report with the wrong report id
    kPause,         // less time since the previous report than the command needs
    kSlotRange,     // a function slot outside 1..10 or a macro slot outside 1..13
    kInterleaved,   // a report inside another transfer that was not finished
    kOutOfSequence, // a continuation without its start, or a get without a query
    kUnknownCommand,
    kWrongFamily,    // a command of the other protocol family
    kWrongInterface, // a command on an interface that does not take it
    kOffsetRange,    // a chunk that runs past its table
    kWrongForm,      // a light or reset form that does not suit the connection mode
};

struct Violation {
    ViolationKind kind;
    std::size_t report_index; // index into Reports()
    std::string text;
};

struct SimulatedInterface {
    int number = 0;
    std::vector<HidUsage> usages;
    std::size_t output_report_length = 65;
};

// Which calls fail, are cut short or stall: `times` calls from now (kAlways:
// every call), on one interface or on any (-1).
struct FaultCount {
    static constexpr int kAlways = -1;
    int times = 0;
    int interface_number = -1;
};

struct SimulatedFaults {
    // Interface numbers whose open is refused; -1 refuses every interface.
    std::vector<int> refuse_open;
    FaultCount fail_write;
    FaultCount fail_set_feature;
    FaultCount fail_get_feature;
    FaultCount short_reply; // a get returns only short_reply_length bytes
    std::size_t short_reply_length = 2;
    FaultCount foreign_reply; // a get answers with another report id
    std::uint8_t foreign_report_id = 0x06;
    // The keyboard disappears once it has received this many reports; -1: never.
    int unplug_after_reports = -1;
    // The call blocks inside the keyboard until ReleaseStall().
    FaultCount stall;
};

struct SimulatedKeyboardDescription {
    std::string model_name;
    int device_type = 201;
    // The catalogue mode value the keyboard is attached in; 1 and 2 take the
    // 64-byte light and reset forms.
    int connection_mode = 0;
    std::uint16_t vendor_id = 0;
    std::uint16_t product_id = 0;
    std::uint16_t release_number = 0x0100;
    std::string serial = "0"; // tells the paths of several keyboards apart
    std::vector<SimulatedInterface> interfaces = StandardInterfaces();
    std::uint16_t firmware_version = 0x0100;
    // Slot table at power-on: bytes 1..13 macro slot keys, 14..23 function slot keys.
    std::array<std::uint8_t, 28> slot_table{};
    SimulatedFaults faults;

    // Keyboard collection on interface 0, consumer and system control on
    // interface 1, command collection on interface 2, colour stream
    // collection on interface 3.
    static std::vector<SimulatedInterface> StandardInterfaces();
};

// Family A macro memory for one macro number, assembled from its chunks.
struct FamilyAMacro {
    std::vector<std::uint8_t> data; // chunk payloads at their offsets
    int declared_length = 0;        // sum of the chunks' declared lengths
    int chunks = 0;
    int PlayCount() const { return data.empty() ? 0 : data[0]; }
    int StepCount() const { return data.size() < 2 ? 0 : data[1]; }
    // Step i: usage and the two delay bytes.
    std::array<std::uint8_t, 3> Step(int i) const;
};

struct FamilyALight {
    int mode = -1;           // last CMD_LIGHT_MODE; -1 before any
    bool has_params = false; // a CMD_LIGHT_PARAMS arrived
    int direction = 0;
    bool colorful = false;
    int speed = 0;
    std::uint32_t colour = 0; // red in the low byte
    int brightness = 0;
};

struct FamilyAPreset {
    int mode_index = 0; // mode - 1
    int brightness = 0;
    int speed = 0;
    int preset = 0;
};

struct FunctionSlot {
    int key_code = 0; // 0: free
    int function = 0;
};

struct MacroSlot {
    int key_code = 0; // 0: free
    int play_count = 0;
    std::array<std::uint8_t, 164> steps{}; // (usage, delay byte) pairs
    // Steps up to the first zero usage.
    std::vector<std::pair<std::uint8_t, std::uint8_t>> StepList() const;
};

// Family B light setting; for mode 4 the direction, speed and preset bytes
// carry the colour.
struct FamilyBLight {
    bool long_form = false; // arrived as a 64-byte data report
    int mode_index = 0;     // mode - 1
    int colour_index = 0;
    int direction = 0;
    int speed = 0;
    int brightness = 0;
    int preset = 0;
};

struct MusicLevelReport {
    int effect = 0;
    int colour = 0;
    int level = 0;
};

class SimulatedKeyboard {
public:
    static constexpr std::size_t kKeyMapSize = 360;
    static constexpr std::size_t kColourTableSize = 600;

    SimulatedKeyboard(SimulatedKeyboardDescription board, Clock& clock);
    SimulatedKeyboard(const SimulatedKeyboard&) = delete;
    SimulatedKeyboard& operator=(const SimulatedKeyboard&) = delete;

    const SimulatedKeyboardDescription& Description() const { return board_; }
    // Family A: device type 200 and below.
    bool FamilyA() const { return board_.device_type <= 200; }
    // "sim:<serial>:<interface>"
    std::string PathOf(int interface_number) const;

    // Plugging.
    bool Plugged() const;
    void Unplug();
    void Replug();

    // Faults; replaces the current set and starts counting reports for
    // unplug_after_reports again.
    void SetFaults(const SimulatedFaults& faults);
    // Blocks until a call is held by a stall fault; false after the timeout.
    bool WaitForStall(std::chrono::milliseconds timeout);
    void ReleaseStall();

    // What arrived.
    std::vector<RecordedReport> Reports() const;
    std::vector<Violation> Violations() const;
    void ClearRecords();
    int OpenCount(int interface_number) const;
    int CloseCount(int interface_number) const;

    // Family A state.
    std::array<std::uint8_t, kKeyMapSize> KeyMapTable() const;
    std::optional<FamilyAMacro> Macro(int number) const;
    std::array<std::uint8_t, kColourTableSize> KeyColourTable() const;
    bool StreamEnabled() const;
    std::array<std::uint8_t, kColourTableSize> StreamFrame() const;
    int StreamFramesCompleted() const;
    FamilyALight LightA() const;
    std::optional<FamilyAPreset> PresetA() const;
    int FactoryResets() const;

    // Family B state.
    FunctionSlot GetFunctionSlot(int slot) const; // 1..10
    MacroSlot GetMacroSlot(int slot) const;       // 1..13
    std::array<std::uint8_t, 28> SlotTable() const;
    std::optional<FamilyBLight> LightB() const;
    int Resets() const;
    std::vector<MusicLevelReport> MusicLevels() const;

    std::uint16_t FirmwareVersion() const;
    void SetFirmwareVersion(std::uint16_t version);

    // Entry points of the simulated backend's handles.
    bool OnOpen(int interface_number, std::string* error);
    void OnClose(int interface_number);
    int OnWrite(int interface_number, std::span<const std::uint8_t> report);
    int OnSetFeature(int interface_number, std::span<const std::uint8_t> report);
    int OnGetFeature(int interface_number, std::span<std::uint8_t> buffer);

private:
    enum class Role { kPlain, kCommand, kAux };
    enum class Transfer {
        kNone,
        kSlotRead,
        kVersionRead,
        kMacroSlotWrite,
        kKeyMap,
        kKeyColours,
        kStreamFrame,
        kMacroUpload
    };
    struct OpenTransfer {
        Transfer kind = Transfer::kNone;
        int done = 0;     // chunks or gets received
        int total = 0;    // chunks or gets expected
        int required = 0; // steps after which the transfer may end silently
        int macro_number = 0;
        bool lenient = false; // a call failed: the sender may give up silently
        bool broken = false;  // a step was lost: the result is not stored
    };

    const SimulatedInterface* FindInterface(int number) const;
    Role RoleOf(int interface_number) const;
    // Fault bookkeeping; each consumes one count when it applies.
    static bool Take(FaultCount& fault, int interface_number);
    // Common part of every call: records it, applies unplug and failure
    // faults. Returns false when the call fails. Waits out a stall with the
    // lock released.
    bool Admit(std::unique_lock<std::mutex>& lock, int interface_number, ReportKind kind,
               std::span<const std::uint8_t> bytes);
    void AddViolation(ViolationKind kind, std::string text);
    void CheckPause(std::chrono::milliseconds needed, const char* what);
    std::chrono::milliseconds PauseNeededForSet(std::span<const std::uint8_t> r) const;
    std::chrono::milliseconds PauseNeededForWrite(std::span<const std::uint8_t> r) const;
    // Closes or continues the open transfer for a new report; `continues`
    // says whether the report is its next step.
    void SequenceCheck(bool continues, const char* what);
    void StartTransfer(Transfer kind, int total, int required);
    void FinishMacroSlotWrite();
    void CheckFamily(bool family_a_command, const char* what);
    // Wireless connections (modes 1 and 2) take the 64-byte light and reset
    // forms, the cable the feature forms.
    void CheckForm(bool long_form, const char* what);

    void HandleSet(int interface_number, std::span<const std::uint8_t> r);
    void HandleWrite(int interface_number, std::span<const std::uint8_t> r);
    // A chunk of a table transfer; true when it was the table's last chunk.
    bool HandleChunk(Transfer kind, std::span<const std::uint8_t> r, std::size_t step,
                     std::span<std::uint8_t> table, int chunks);
    void HandleMacroUpload(std::span<const std::uint8_t> r);
    void HandleMacroSlotChunk(std::span<const std::uint8_t> r);
    void HandleData64(std::span<const std::uint8_t> r);
    void ResetFamilyB();
    void ResetFamilyA();
    std::array<std::uint8_t, 28> BuildSlotTable() const;

    const SimulatedKeyboardDescription board_;
    Clock& clock_;

    mutable std::mutex mutex_;
    std::condition_variable stall_cv_;
    bool plugged_ = true;
    SimulatedFaults faults_;
    int stalled_calls_ = 0;
    std::uint64_t release_generation_ = 0;
    int reports_received_ = 0;
    std::map<int, int> opens_;
    std::map<int, int> closes_;

    std::vector<RecordedReport> reports_;
    std::vector<Violation> violations_;
    std::optional<Clock::Duration> previous_at_;
    bool previous_failed_ = false;
    std::vector<std::uint8_t> previous_bytes_;
    // Of the call being handled.
    Clock::Duration now_{0};
    std::optional<Clock::Duration> gap_;
    bool retry_ = false;
    OpenTransfer transfer_;

    // Family A.
    std::array<std::uint8_t, kKeyMapSize> key_map_{};
    std::map<int, FamilyAMacro> macros_;
    std::array<std::uint8_t, kColourTableSize> key_colours_{};
    bool stream_enabled_ = false;
    std::array<std::uint8_t, kColourTableSize> stream_frame_{};
    int stream_frames_ = 0;
    FamilyALight light_a_;
    std::optional<FamilyAPreset> preset_a_;
    int factory_resets_ = 0;

    // Family B.
    std::array<FunctionSlot, 10> function_slots_{};
    std::array<MacroSlot, 13> macro_slots_{};
    std::array<std::uint8_t, 168> macro_block_{};
    std::optional<FamilyBLight> light_b_;
    int resets_ = 0;
    std::optional<Clock::Duration> long_reset_requested_;
    std::vector<MusicLevelReport> music_levels_;
    std::uint16_t firmware_version_;
    std::array<std::uint8_t, 28> slot_table_extra_{};
};

} // namespace kovrin
