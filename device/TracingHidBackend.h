#pragma once
// A HidBackend decorator that appends every report exchanged to a trace file,
// one line each:
//   <ms since start, 3 decimals> <cmd|aux> <set|get|write> <bytes as hex pairs>
// A get line shows the reply. A call that failed ends with " failed" (a failed
// get shows no bytes).

#include "device/Clock.h"
#include "device/HidBackend.h"

#include <map>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>

namespace kovrin {

class TraceSink {
public:
    TraceSink(std::unique_ptr<std::ostream> out, Clock& clock);
    void Line(const char* handle, const char* kind, std::span<const std::uint8_t> bytes,
              bool failed);

private:
    std::mutex mutex_;
    std::unique_ptr<std::ostream> out_;
    Clock& clock_;
    Clock::Duration start_;
};

class TracingHidBackend final : public HidBackend {
public:
    TracingHidBackend(std::shared_ptr<HidBackend> inner, std::shared_ptr<TraceSink> sink);

    // Appends to the file; null when it cannot be opened.
    static std::shared_ptr<TracingHidBackend> ToFile(std::shared_ptr<HidBackend> inner,
                                                     const std::string& path, Clock& clock,
                                                     std::string* error = nullptr);

    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidDevice> Open(const std::string& path, std::string* error = nullptr) override;

private:
    std::shared_ptr<HidBackend> inner_;
    std::shared_ptr<TraceSink> sink_;
    std::mutex mutex_;
    std::map<std::string, bool> aux_paths_;
};

} // namespace kovrin
