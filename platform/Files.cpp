#include "platform/Files.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kovrin::platform {
namespace {

bool WriteAll(int fd, std::string_view data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

std::string ExecutablePath() {
    char buffer[PATH_MAX + 1];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, PATH_MAX);
    if (n <= 0) {
        return {};
    }
    return std::string(buffer, static_cast<std::size_t>(n));
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::string* error_text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error_text) {
            *error_text = std::strerror(errno);
        }
        return std::nullopt;
    }
    std::string content;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (error_text) {
                *error_text = std::strerror(errno);
            }
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        content.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
}

bool WriteFileAtomically(const std::string& path, std::string_view data) {
    std::string temp = path + ".tmp-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return false;
    }
    bool ok = WriteAll(fd, data) && ::fsync(fd) == 0;
    // mkstemp creates 0600; keep the permissions an ordinary new file would get.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    ok = (::close(fd) == 0) && ok;
    if (ok) {
        ok = ::rename(temp.c_str(), path.c_str()) == 0;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace kovrin::platform
