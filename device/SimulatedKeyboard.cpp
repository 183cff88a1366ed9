#include "device/SimulatedKeyboard.h"

#include <algorithm>

namespace kovrin {

std::vector<SimulatedInterface> SimulatedKeyboardDescription::StandardInterfaces() {
    return {
        {0, {{0x0001, 0x0006}}, 9},
        {1, {{0x000C, 0x0001}, {0x0001, 0x0080}}, 3},
        {2, {kCommandUsageA}, 65},
        {3, {kCommandUsageA}, 65},
    };
}

std::array<std::uint8_t, 3> FamilyAMacro::Step(int i) const {
    std::array<std::uint8_t, 3> step{};
    const auto at = static_cast<std::size_t>(2 + 3 * i);
    for (std::size_t k = 0; k < 3; ++k) {
        if (i >= 0 && at + k < data.size()) {
            step[k] = data[at + k];
        }
    }
    return step;
}

std::vector<std::pair<std::uint8_t, std::uint8_t>> MacroSlot::StepList() const {
    std::vector<std::pair<std::uint8_t, std::uint8_t>> list;
    for (std::size_t i = 0; i + 1 < steps.size() && steps[i] != 0; i += 2) {
        list.emplace_back(steps[i], steps[i + 1]);
    }
    return list;
}

SimulatedKeyboard::SimulatedKeyboard(SimulatedKeyboardDescription board, Clock& clock)
    : board_(std::move(board)), clock_(clock), faults_(board_.faults),
      firmware_version_(board_.firmware_version) {
    for (int s = 1; s <= 13; ++s) {
        macro_slots_[static_cast<std::size_t>(s - 1)].key_code = board_.slot_table[s];
    }
    for (int s = 1; s <= 10; ++s) {
        function_slots_[static_cast<std::size_t>(s - 1)].key_code =
            board_.slot_table[static_cast<std::size_t>(13 + s)];
    }
    slot_table_extra_ = board_.slot_table;
}

std::string SimulatedKeyboard::PathOf(int interface_number) const {
    return "sim:" + board_.serial + ":" + std::to_string(interface_number);
}

const SimulatedInterface* SimulatedKeyboard::FindInterface(int number) const {
    for (const auto& i : board_.interfaces) {
        if (i.number == number) {
            return &i;
        }
    }
    return nullptr;
}

SimulatedKeyboard::Role SimulatedKeyboard::RoleOf(int interface_number) const {
    const SimulatedInterface* i = FindInterface(interface_number);
    if (!i) {
        return Role::kPlain;
    }
    HidInterfaceInfo info;
    info.usages = i->usages;
    info.interface_number = i->number;
    if (IsAuxCollection(info)) {
        return Role::kAux;
    }
    return IsCommandCollection(info) ? Role::kCommand : Role::kPlain;
}

bool SimulatedKeyboard::Plugged() const {
    std::lock_guard lock(mutex_);
    return plugged_;
}

void SimulatedKeyboard::Unplug() {
    std::lock_guard lock(mutex_);
    plugged_ = false;
}

void SimulatedKeyboard::Replug() {
    std::lock_guard lock(mutex_);
    plugged_ = true;
    reports_received_ = 0;
    faults_.unplug_after_reports = -1;
    transfer_ = {};
}

void SimulatedKeyboard::SetFaults(const SimulatedFaults& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
    reports_received_ = 0;
}

bool SimulatedKeyboard::WaitForStall(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return stall_cv_.wait_for(lock, timeout, [&] { return stalled_calls_ > 0; });
}

void SimulatedKeyboard::ReleaseStall() {
    std::lock_guard lock(mutex_);
    ++release_generation_;
    stall_cv_.notify_all();
}

std::vector<RecordedReport> SimulatedKeyboard::Reports() const {
    std::lock_guard lock(mutex_);
    return reports_;
}

std::vector<Violation> SimulatedKeyboard::Violations() const {
    std::lock_guard lock(mutex_);
    return violations_;
}

void SimulatedKeyboard::ClearRecords() {
    std::lock_guard lock(mutex_);
    reports_.clear();
    violations_.clear();
}

int SimulatedKeyboard::OpenCount(int interface_number) const {
    std::lock_guard lock(mutex_);
    const auto it = opens_.find(interface_number);
    return it == opens_.end() ? 0 : it->second;
}

int SimulatedKeyboard::CloseCount(int interface_number) const {
    std::lock_guard lock(mutex_);
    const auto it = closes_.find(interface_number);
    return it == closes_.end() ? 0 : it->second;
}

std::array<std::uint8_t, SimulatedKeyboard::kKeyMapSize> SimulatedKeyboard::KeyMapTable() const {
    std::lock_guard lock(mutex_);
    return key_map_;
}

std::optional<FamilyAMacro> SimulatedKeyboard::Macro(int number) const {
    std::lock_guard lock(mutex_);
    const auto it = macros_.find(number);
    if (it == macros_.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::array<std::uint8_t, SimulatedKeyboard::kColourTableSize>
SimulatedKeyboard::KeyColourTable() const {
    std::lock_guard lock(mutex_);
    return key_colours_;
}

bool SimulatedKeyboard::StreamEnabled() const {
    std::lock_guard lock(mutex_);
    return stream_enabled_;
}

std::array<std::uint8_t, SimulatedKeyboard::kColourTableSize>
SimulatedKeyboard::StreamFrame() const {
    std::lock_guard lock(mutex_);
    return stream_frame_;
}

int SimulatedKeyboard::StreamFramesCompleted() const {
    std::lock_guard lock(mutex_);
    return stream_frames_;
}

FamilyALight SimulatedKeyboard::LightA() const {
    std::lock_guard lock(mutex_);
    return light_a_;
}

std::optional<FamilyAPreset> SimulatedKeyboard::PresetA() const {
    std::lock_guard lock(mutex_);
    return preset_a_;
}

int SimulatedKeyboard::FactoryResets() const {
    std::lock_guard lock(mutex_);
    return factory_resets_;
}

FunctionSlot SimulatedKeyboard::GetFunctionSlot(int slot) const {
    std::lock_guard lock(mutex_);
    if (slot < 1 || slot > 10) {
        return {};
    }
    return function_slots_[static_cast<std::size_t>(slot - 1)];
}

MacroSlot SimulatedKeyboard::GetMacroSlot(int slot) const {
    std::lock_guard lock(mutex_);
    if (slot < 1 || slot > 13) {
        return {};
    }
    return macro_slots_[static_cast<std::size_t>(slot - 1)];
}

std::array<std::uint8_t, 28> SimulatedKeyboard::SlotTable() const {
    std::lock_guard lock(mutex_);
    return BuildSlotTable();
}

std::array<std::uint8_t, 28> SimulatedKeyboard::BuildSlotTable() const {
    std::array<std::uint8_t, 28> table = slot_table_extra_;
    for (std::size_t s = 0; s < macro_slots_.size(); ++s) {
        table[1 + s] = static_cast<std::uint8_t>(macro_slots_[s].key_code);
    }
    for (std::size_t s = 0; s < function_slots_.size(); ++s) {
        table[14 + s] = static_cast<std::uint8_t>(function_slots_[s].key_code);
    }
    return table;
}

std::optional<FamilyBLight> SimulatedKeyboard::LightB() const {
    std::lock_guard lock(mutex_);
    return light_b_;
}

int SimulatedKeyboard::Resets() const {
    std::lock_guard lock(mutex_);
    return resets_;
}

std::vector<MusicLevelReport> SimulatedKeyboard::MusicLevels() const {
    std::lock_guard lock(mutex_);
    return music_levels_;
}

std::uint16_t SimulatedKeyboard::FirmwareVersion() const {
    std::lock_guard lock(mutex_);
    return firmware_version_;
}

void SimulatedKeyboard::SetFirmwareVersion(std::uint16_t version) {
    std::lock_guard lock(mutex_);
    firmware_version_ = version;
}

bool SimulatedKeyboard::Take(FaultCount& fault, int interface_number) {
    if (fault.times == 0) {
        return false;
    }
    if (fault.interface_number >= 0 && fault.interface_number != interface_number) {
        return false;
    }
    if (fault.times > 0) {
        --fault.times;
    }
    return true;
}

bool SimulatedKeyboard::OnOpen(int interface_number, std::string* error) {
    std::lock_guard lock(mutex_);
    const auto refused = [&] {
        return std::any_of(faults_.refuse_open.begin(), faults_.refuse_open.end(),
                           [&](int n) { return n < 0 || n == interface_number; });
    };
    if (!plugged_ || !FindInterface(interface_number) || refused()) {
        if (error) {
            *error = plugged_ ? "access denied" : "no such device";
        }
        return false;
    }
    ++opens_[interface_number];
    return true;
}

void SimulatedKeyboard::OnClose(int interface_number) {
    std::lock_guard lock(mutex_);
    ++closes_[interface_number];
}

bool SimulatedKeyboard::Admit(std::unique_lock<std::mutex>& lock, int interface_number,
                              ReportKind kind, std::span<const std::uint8_t> bytes) {
    if (plugged_ && Take(faults_.stall, interface_number)) {
        const std::uint64_t generation = release_generation_;
        ++stalled_calls_;
        stall_cv_.notify_all();
        stall_cv_.wait(lock, [&] { return release_generation_ != generation; });
        --stalled_calls_;
    }
    now_ = clock_.Now();
    if (plugged_ && faults_.unplug_after_reports >= 0 &&
        reports_received_ >= faults_.unplug_after_reports) {
        plugged_ = false;
    }
    RecordedReport record{now_, interface_number, kind, {}, plugged_};
    if (kind != ReportKind::kGet) {
        record.bytes.assign(bytes.begin(), bytes.end());
    }
    reports_.push_back(std::move(record));
    if (!plugged_) {
        return false;
    }
    ++reports_received_;
    gap_.reset();
    if (previous_at_) {
        gap_ = now_ - *previous_at_;
    }
    retry_ = previous_failed_ && kind == ReportKind::kWrite &&
             std::equal(bytes.begin(), bytes.end(), previous_bytes_.begin(), previous_bytes_.end());
    previous_at_ = now_;
    previous_failed_ = false;
    previous_bytes_.assign(bytes.begin(), bytes.end());
    return true;
}

void SimulatedKeyboard::AddViolation(ViolationKind kind, std::string text) {
    violations_.push_back({kind, reports_.empty() ? 0 : reports_.size() - 1, std::move(text)});
}

void SimulatedKeyboard::CheckPause(std::chrono::milliseconds needed, const char* what) {
    if (needed.count() > 0 && gap_ && *gap_ < needed) {
        AddViolation(ViolationKind::kPause, std::string(what) + ": " +
                                                std::to_string(gap_->count()) +
                                                " us after the previous report, needs " +
                                                std::to_string(needed.count()) + " ms");
    }
}

int SimulatedKeyboard::OnWrite(int interface_number, std::span<const std::uint8_t> report) {
    std::unique_lock lock(mutex_);
    if (!Admit(lock, interface_number, ReportKind::kWrite, report)) {
        return -1;
    }
    if (Take(faults_.fail_write, interface_number)) {
        reports_.back().ok = false;
        previous_failed_ = true;
        transfer_.lenient = true;
        return -1;
    }
    const SimulatedInterface* iface = FindInterface(interface_number);
    const std::size_t expected = iface ? iface->output_report_length : 65;
    if (report.size() != expected) {
        AddViolation(ViolationKind::kLength, "output report of " + std::to_string(report.size()) +
                                                 " bytes, expected " + std::to_string(expected));
    }
    if (!report.empty() && report[0] != 0) {
        AddViolation(ViolationKind::kReportId,
                     "output report with report id " + std::to_string(report[0]));
    }
    std::array<std::uint8_t, 65> r{};
    std::copy_n(report.begin(), std::min(report.size(), r.size()), r.begin());
    HandleWrite(interface_number, r);
    return static_cast<int>(report.size());
}

int SimulatedKeyboard::OnSetFeature(int interface_number, std::span<const std::uint8_t> report) {
    std::unique_lock lock(mutex_);
    if (!Admit(lock, interface_number, ReportKind::kSet, report)) {
        return -1;
    }
    std::array<std::uint8_t, 8> r{};
    std::copy_n(report.begin(), std::min(report.size(), r.size()), r.begin());
    if (Take(faults_.fail_set_feature, interface_number)) {
        reports_.back().ok = false;
        previous_failed_ = true;
        // The sender of a macro slot carries on after a lost report: count it
        // so the rest of the block stays in step, but do not store the block.
        if (r[1] == 0xF1) {
            StartTransfer(Transfer::kMacroSlotWrite, 28, 28);
            transfer_.done = 1;
            transfer_.broken = true;
            transfer_.lenient = true;
        } else if (r[1] == 0x00 && transfer_.kind == Transfer::kMacroSlotWrite) {
            transfer_.broken = true;
            if (++transfer_.done == transfer_.total) {
                FinishMacroSlotWrite();
            }
        } else {
            transfer_.lenient = true;
        }
        return -1;
    }
    if (report.size() != 8) {
        AddViolation(ViolationKind::kLength,
                     "feature report of " + std::to_string(report.size()) + " bytes, expected 8");
    }
    if (r[0] != 7) {
        AddViolation(ViolationKind::kReportId,
                     "feature report with report id " + std::to_string(r[0]));
    }
    HandleSet(interface_number, r);
    return static_cast<int>(report.size());
}

int SimulatedKeyboard::OnGetFeature(int interface_number, std::span<std::uint8_t> buffer) {
    std::unique_lock lock(mutex_);
    if (!Admit(lock, interface_number, ReportKind::kGet, {})) {
        return -1;
    }
    if (RoleOf(interface_number) != Role::kCommand) {
        AddViolation(ViolationKind::kWrongInterface, "feature read on a non-command interface");
    }
    if (buffer.size() != 8) {
        AddViolation(ViolationKind::kLength,
                     "feature read of " + std::to_string(buffer.size()) + " bytes, expected 8");
    }
    if (buffer.empty() || buffer[0] != 7) {
        AddViolation(ViolationKind::kReportId, "feature read without report id 7");
    }
    CheckPause(std::chrono::milliseconds(16), "feature read");

    std::array<std::uint8_t, 8> reply{7, 0, 0, 0, 0, 0, 0, 0};
    if (transfer_.kind == Transfer::kSlotRead) {
        const std::array<std::uint8_t, 28> table = BuildSlotTable();
        const auto k = static_cast<std::size_t>(transfer_.done);
        std::copy_n(table.begin() + static_cast<long>(7 * k), 7, reply.begin() + 1);
        if (++transfer_.done == transfer_.total) {
            transfer_ = {};
        }
    } else if (transfer_.kind == Transfer::kVersionRead) {
        reply[1] = static_cast<std::uint8_t>(firmware_version_ >> 8);
        reply[2] = static_cast<std::uint8_t>(firmware_version_ & 0xFF);
        if (++transfer_.done == transfer_.total) {
            transfer_ = {};
        }
    } else {
        SequenceCheck(false, "feature read");
        AddViolation(ViolationKind::kOutOfSequence, "feature read without a query");
    }

    if (Take(faults_.fail_get_feature, interface_number)) {
        reports_.back().ok = false;
        previous_failed_ = true;
        transfer_.lenient = true;
        return -1;
    }
    std::size_t length = reply.size();
    if (Take(faults_.short_reply, interface_number)) {
        length = std::min(length, faults_.short_reply_length);
    }
    if (Take(faults_.foreign_reply, interface_number)) {
        reply[0] = faults_.foreign_report_id;
    }
    length = std::min(length, buffer.size());
    std::copy_n(reply.begin(), length, buffer.begin());
    reports_.back().bytes.assign(reply.begin(), reply.begin() + static_cast<long>(length));
    return static_cast<int>(length);
}

} // namespace kovrin
