// File replacement on POSIX systems: a temporary file renamed over the target.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "profile/file_replace.h"
#include "profile/posix_file.h"

namespace launcher {
namespace {

using posix::FileDescriptor;

// errno, or a general I/O error should a call fail without setting it.
int LastError() {
    return errno != 0 ? errno : EIO;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            if (put == 0) {
                errno = EIO;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A name for the finished temporary file, next to the target and hidden.
std::string TemporaryName(const std::string& target, int attempt) {
    const std::size_t slash = target.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return target.substr(0, nameStart) + "." + target.substr(nameStart) + ".tmp" +
           std::to_string(::getpid()) + "-" + std::to_string(ticks) + "-" + std::to_string(attempt);
}

mode_t NewFileMode() {
    // The process umask can only be read by setting it; the launcher changes
    // it nowhere, so putting it straight back is safe.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Where the system allows, the temporary file stays nameless until it is
// complete, so a crash while writing leaves nothing behind.
int Replace(std::string target, std::string_view bytes) {
    if (target.empty() || target.find('\0') != std::string::npos) {
        return EINVAL;  // the system would see no path, or a shorter one
    }
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        return LastError();
    }
    if (exists) {
        if (!S_ISREG(old.st_mode)) {
            return S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
        }
        // Root is not stopped by the mode bits, so look at them ourselves.
        if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            return EACCES;
        }
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            return LastError();
        }
        char* real = ::realpath(target.c_str(), nullptr);
        if (real == nullptr) {
            return LastError();
        }
        target = real;
        std::free(real);
    }

    const std::string folder = FolderOf(target);
    int raw = -1;
    bool nameless = false;
#ifdef O_TMPFILE
    raw = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    nameless = raw >= 0;
    if (raw < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        return LastError();  // e.g. a missing folder: create nothing
    }
#endif
    std::string temporary;
    if (!nameless) {
        temporary = TemporaryName(target, 0);
        temporary += "XXXXXX";
        raw = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (raw < 0) {
            return LastError();
        }
    }
    const FileDescriptor fd(raw);
    const auto discard = [&temporary] {
        const int error = LastError();
        if (!temporary.empty()) {
            ::unlink(temporary.c_str());
        }
        return error;
    };

    if (exists) {
        if (::fchmod(fd.get(), old.st_mode & 07777) != 0) {
            return discard();
        }
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd.get(), old.st_uid, old.st_gid);
        }
    } else if (!nameless && ::fchmod(fd.get(), NewFileMode()) != 0) {
        return discard();
    }
    if (!WriteAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) {
        return discard();
    }
    if (nameless) {
        char self[64];
        std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd.get());
        for (int attempt = 0; temporary.empty(); ++attempt) {
            const std::string name = TemporaryName(target, attempt);
            if (::linkat(AT_FDCWD, self, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
                ::linkat(fd.get(), "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) {
                temporary = name;
            } else if (errno != EEXIST || attempt == 8) {
                return LastError();
            }
        }
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        return discard();
    }
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);  // makes the rename itself durable; best effort
        ::close(folderFd);
    }
    return 0;
}

}  // namespace

std::string ReplaceResult::Reason() const {
    return std::strerror(code);
}

ReplaceResult ReplaceFileContents(std::string_view path, std::string_view bytes) noexcept {
    try {
        return {Replace(std::string(path), bytes)};
    } catch (...) {
        return {ENOMEM};
    }
}

}  // namespace launcher
