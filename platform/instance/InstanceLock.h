#pragma once
// One running copy per user and name: an exclusive flock() on
// $XDG_RUNTIME_DIR/kovrin/<name>.lock (or /tmp/kovrin-<uid>/<name>.lock when
// there is no usable runtime folder). The lock goes with the process, however
// it ends (also SIGKILL), so a crash never leaves a stale lock behind; the
// file itself stays and is reused.

#include <string>

namespace kovrin::platform {

class InstanceLock {
public:
    enum class State {
        Owned,       // this process holds the lock
        HeldByOther, // another live process holds it
        Unavailable, // the lock file could not be made or opened (see Error)
    };

    // Takes the lock for the name (a single, folder-safe path component).
    explicit InstanceLock(const std::string& name);
    ~InstanceLock(); // releases the lock when owned
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State GetState() const { return state_; }
    bool Owned() const { return state_ == State::Owned; }
    const std::string& Path() const { return path_; }
    const std::string& Error() const { return error_; }

    // The folder the lock files live in (made on demand, mode 0700); empty
    // with the reason in error when none is usable.
    static std::string LockFolder(std::string* error);

private:
    State state_ = State::Unavailable;
    int fd_ = -1;
    std::string path_;
    std::string error_;
};

} // namespace kovrin::platform
