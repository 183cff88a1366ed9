#include "app/SingleInstance.h"

#include "platform/instance/InstanceLock.h"
#include "tessel/MWindow.h"

namespace kovrin {

SingleInstance::SingleInstance(const std::string& device_name)
    : name_(device_name), lock_(std::make_unique<platform::InstanceLock>(device_name)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::IsFirst() const {
    return lock_->GetState() != platform::InstanceLock::State::HeldByOther;
}

const std::string& SingleInstance::LockError() const {
    return lock_->Error();
}

bool SingleInstance::RaiseFirst(unsigned wait_ms) const {
    return platform::RaiseMarkedWindow(name_, wait_ms) == platform::ReachResult::Done;
}

bool MarkMainWindow(Tessel::MWindow& window, const std::string& device_name) {
    window.AcceptForeignMessage(WM_QUIT_REQUEST);
    return window.Native() != nullptr && platform::SetInstanceMarker(*window.Native(), device_name);
}

} // namespace kovrin
