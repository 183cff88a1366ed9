#include "device/TracingHidBackend.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace kovrin {

namespace {

class TracingDevice final : public HidDevice {
public:
    TracingDevice(std::unique_ptr<HidDevice> inner, std::shared_ptr<TraceSink> sink,
                  const char* handle)
        : inner_(std::move(inner)), sink_(std::move(sink)), handle_(handle) {}

    int Write(std::span<const std::uint8_t> report) override {
        const int result = inner_->Write(report);
        sink_->Line(handle_, "write", report, result < 0);
        return result;
    }
    int SendFeature(std::span<const std::uint8_t> report) override {
        const int result = inner_->SendFeature(report);
        sink_->Line(handle_, "set", report, result < 0);
        return result;
    }
    int GetFeature(std::span<std::uint8_t> buffer) override {
        const int result = inner_->GetFeature(buffer);
        const std::size_t shown =
            result < 0 ? 0 : std::min(buffer.size(), static_cast<std::size_t>(result));
        sink_->Line(handle_, "get", buffer.first(shown), result < 0);
        return result;
    }
    std::string LastError() const override { return inner_->LastError(); }
    std::size_t OutputReportLength() const override { return inner_->OutputReportLength(); }

private:
    std::unique_ptr<HidDevice> inner_;
    std::shared_ptr<TraceSink> sink_;
    const char* handle_;
};

} // namespace

TraceSink::TraceSink(std::unique_ptr<std::ostream> out, Clock& clock)
    : out_(std::move(out)), clock_(clock), start_(clock.Now()) {}

void TraceSink::Line(const char* handle, const char* kind, std::span<const std::uint8_t> bytes,
                     bool failed) {
    std::lock_guard lock(mutex_);
    const auto elapsed = clock_.Now() - start_;
    char head[64];
    std::snprintf(head, sizeof head, "%lld.%03lld %s %s",
                  static_cast<long long>(elapsed.count() / 1000),
                  static_cast<long long>(elapsed.count() % 1000), handle, kind);
    std::string line = head;
    for (std::uint8_t b : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02x", b);
        line += hex;
    }
    if (failed) {
        line += " failed";
    }
    line += '\n';
    *out_ << line;
    out_->flush();
}

TracingHidBackend::TracingHidBackend(std::shared_ptr<HidBackend> inner,
                                     std::shared_ptr<TraceSink> sink)
    : inner_(std::move(inner)), sink_(std::move(sink)) {}

std::shared_ptr<TracingHidBackend> TracingHidBackend::ToFile(std::shared_ptr<HidBackend> inner,
                                                             const std::string& path, Clock& clock,
                                                             std::string* error) {
    auto file = std::make_unique<std::ofstream>(path, std::ios::app | std::ios::binary);
    if (!*file) {
        if (error) {
            *error = "cannot open " + path + ": " + std::strerror(errno);
        }
        return nullptr;
    }
    return std::make_shared<TracingHidBackend>(std::move(inner),
                                               std::make_shared<TraceSink>(std::move(file), clock));
}

std::vector<HidInterfaceInfo> TracingHidBackend::Enumerate() {
    std::vector<HidInterfaceInfo> list = inner_->Enumerate();
    std::lock_guard lock(mutex_);
    for (const HidInterfaceInfo& info : list) {
        aux_paths_[info.path] = IsAuxCollection(info);
    }
    return list;
}

std::unique_ptr<HidDevice> TracingHidBackend::Open(const std::string& path, std::string* error) {
    std::unique_ptr<HidDevice> device = inner_->Open(path, error);
    if (!device) {
        return nullptr;
    }
    bool aux = false;
    {
        std::lock_guard lock(mutex_);
        const auto it = aux_paths_.find(path);
        aux = it != aux_paths_.end() && it->second;
    }
    return std::make_unique<TracingDevice>(std::move(device), sink_, aux ? "aux" : "cmd");
}

} // namespace kovrin
