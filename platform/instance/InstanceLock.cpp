#include "platform/instance/InstanceLock.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kovrin::platform {
namespace {

// A folder of ours: made with mode 0700 when missing; an existing one must be
// a real directory (not a link) owned by this user and closed to others, or
// someone else could hold or remove our lock files.
bool PrivateFolder(const std::string& path, std::string* error) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        *error = path + ": not a directory";
        return false;
    }
    if (st.st_uid != geteuid()) {
        *error = path + ": owned by another user";
        return false;
    }
    if ((st.st_mode & 0077) != 0) {
        *error = path + ": open to other users";
        return false;
    }
    return true;
}

bool UsableRuntimeDir(const char* dir) {
    if (dir == nullptr || dir[0] != '/') {
        return false;
    }
    struct stat st {};
    return stat(dir, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
           access(dir, W_OK | X_OK) == 0;
}

bool SafeName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

} // namespace

std::string InstanceLock::LockFolder(std::string* error) {
    std::string ignored;
    std::string& why = error != nullptr ? *error : ignored;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (UsableRuntimeDir(runtime)) {
        std::string folder = std::string(runtime) + "/kovrin";
        if (PrivateFolder(folder, &why)) {
            return folder + "/";
        }
    }
    std::string folder = "/tmp/kovrin-" + std::to_string(geteuid());
    if (PrivateFolder(folder, &why)) {
        return folder + "/";
    }
    return {};
}

InstanceLock::InstanceLock(const std::string& name) {
    if (!SafeName(name)) {
        error_ = "unusable instance name";
        return;
    }
    const std::string folder = LockFolder(&error_);
    if (folder.empty()) {
        return;
    }
    path_ = folder + name + ".lock";
    fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        error_ = path_ + ": " + std::strerror(errno);
        return;
    }
    int r;
    do {
        r = flock(fd_, LOCK_EX | LOCK_NB);
    } while (r != 0 && errno == EINTR);
    if (r == 0) {
        state_ = State::Owned;
        error_.clear();
        return;
    }
    if (errno == EWOULDBLOCK) {
        state_ = State::HeldByOther;
        error_.clear();
    } else {
        error_ = path_ + ": " + std::strerror(errno);
    }
    close(fd_);
    fd_ = -1;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) {
        flock(fd_, LOCK_UN);
        close(fd_);
    }
}

} // namespace kovrin::platform
