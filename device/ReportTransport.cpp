// The report primitives of DeviceManager: report lengths, pauses and retries.

#include "device/DeviceManager.h"

#include <algorithm>
#include <array>

namespace kovrin {

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kFeaturePause{16};
constexpr milliseconds kWriteRetryPause{10};
constexpr milliseconds kData64RetryPause{32};
constexpr std::uint8_t kFeatureReportId = 0x07;
constexpr std::uint8_t kVersionQuery = 0xFD;
constexpr std::uint8_t kSlotQuery = 0xFB;

// The caller's bytes in a zero-filled 65-byte report.
std::array<std::uint8_t, DeviceManager::kOutputLength> Report(std::span<const std::uint8_t> bytes) {
    std::array<std::uint8_t, DeviceManager::kOutputLength> report{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), report.size()), report.begin());
    return report;
}

bool GoodReply(int returned, const std::uint8_t* reply, int needed) {
    return returned >= needed && reply[0] == kFeatureReportId;
}

} // namespace

HidDevice* DeviceManager::CommandHandle() {
    std::lock_guard lock(state_mutex_);
    return opened_ ? CurrentHandleLocked() : nullptr;
}

bool DeviceManager::SetFeature(HidDevice* handle, std::span<const std::uint8_t> report) {
    const auto buffer = Report(report);
    return handle->SendFeature(std::span(buffer).first(kFeatureLength)) > 0;
}

bool DeviceManager::Write(HidDevice* handle, std::span<const std::uint8_t> report,
                          milliseconds retry_pause) {
    auto buffer = Report(report);
    // A collection with longer output reports gets a zero-padded copy.
    std::vector<std::uint8_t> padded;
    std::span<const std::uint8_t> out(buffer);
    if (handle->OutputReportLength() > buffer.size()) {
        padded.assign(handle->OutputReportLength(), 0);
        std::copy(buffer.begin(), buffer.end(), padded.begin());
        out = padded;
    }
    if (handle->Write(out) > 0) {
        return true;
    }
    clock_->SleepFor(retry_pause);
    return handle->Write(out) > 0;
}

bool DeviceManager::SendFeature(std::span<const std::uint8_t> report) {
    Exchange exchange = BeginExchange();
    HidDevice* handle = CommandHandle();
    if (!handle) {
        return false;
    }
    clock_->SleepFor(kFeaturePause);
    SetFeature(handle, report);
    return false;
}

bool DeviceManager::SendFeatureChecked(std::span<const std::uint8_t> report) {
    Exchange exchange = BeginExchange();
    HidDevice* handle = CommandHandle();
    return handle && SetFeature(handle, report);
}

std::optional<bool> DeviceManager::TrySendFeatureChecked(std::span<const std::uint8_t> report) {
    std::optional<Exchange> exchange = TryBeginExchange();
    if (!exchange) {
        return std::nullopt;
    }
    HidDevice* handle = CommandHandle();
    return handle && SetFeature(handle, report);
}

bool DeviceManager::ReadSlotTable(std::span<std::uint8_t> buffer) {
    if (buffer.size() < kSlotTableLength) {
        return false;
    }
    Exchange exchange = BeginExchange();
    HidDevice* handle = CommandHandle();
    if (!handle || !SetFeature(handle, buffer.first(kFeatureLength))) {
        return false;
    }
    std::array<std::uint8_t, kFeatureLength> reply{};
    bool complete = true;
    for (std::size_t k = 0; k < 4; ++k) {
        reply[0] = kFeatureReportId;
        reply[1] = kSlotQuery;
        reply[2] = 0x01;
        clock_->SleepFor(kFeaturePause);
        const int got = handle->GetFeature(reply);
        if (GoodReply(got, reply.data(), static_cast<int>(kFeatureLength))) {
            std::copy_n(reply.begin() + 1, 7, buffer.begin() + static_cast<long>(7 * k));
        } else {
            complete = false;
        }
    }
    return complete;
}

bool DeviceManager::ReadFirmwareVersion(int& version) {
    Exchange exchange = BeginExchange();
    HidDevice* handle = CommandHandle();
    if (!handle) {
        return false;
    }
    clock_->SleepFor(kFeaturePause);
    const std::uint8_t query[kFeatureLength] = {kFeatureReportId, kVersionQuery};
    if (!SetFeature(handle, query)) {
        return false;
    }
    std::array<std::uint8_t, kFeatureLength> reply{};
    bool good = false;
    for (int attempt = 0; attempt < 2 && !good; ++attempt) {
        reply = {kFeatureReportId, kVersionQuery};
        clock_->SleepFor(kFeaturePause);
        good = GoodReply(handle->GetFeature(reply), reply.data(), 3);
    }
    if (!good) {
        return false;
    }
    version = reply[1] * 256 + reply[2];
    return true;
}

bool DeviceManager::WriteReport(std::span<const std::uint8_t> report) {
    Exchange exchange = BeginExchange();
    HidDevice* handle = CommandHandle();
    return handle && Write(handle, report, kWriteRetryPause);
}

bool DeviceManager::WriteReportAux(std::span<const std::uint8_t> report) {
    Exchange exchange = BeginExchange();
    HidDevice* handle = nullptr;
    {
        std::lock_guard lock(state_mutex_);
        handle = opened_ ? second_handle_.get() : nullptr;
    }
    return handle && Write(handle, report, kWriteRetryPause);
}

bool DeviceManager::WriteData64(std::span<const std::uint8_t> data) {
    std::array<std::uint8_t, kOutputLength> report{};
    std::copy_n(data.begin(), std::min<std::size_t>(data.size(), 64), report.begin() + 1);
    Exchange exchange = BeginExchange();
    HidDevice* handle = CommandHandle();
    return handle && Write(handle, report, kData64RetryPause);
}

std::string DeviceManager::LastErrorText() {
    Exchange exchange = BeginExchange();
    HidDevice* handle = CommandHandle();
    return handle ? handle->LastError() : std::string();
}

} // namespace kovrin
