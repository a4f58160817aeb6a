// File replacement on POSIX systems: a temporary file renamed over the target.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
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

// Every temporary name of `target` starts so: hidden, next to the target.
std::string TemporaryPrefix(const std::string& target) {
    std::string prefix = ".";
    prefix.append(target, target.rfind('/') + 1);  // npos + 1 is 0
    prefix.append(".tmp");
    return prefix;
}

// A name for the finished temporary file, unique to this process and moment.
std::string TemporaryName(const std::string& target, int attempt) {
    const std::string folder = target.find('/') == std::string::npos ? "" : FolderOf(target) + "/";
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return folder + TemporaryPrefix(target) + std::to_string(::getpid()) + "-" +
           std::to_string(ticks) + "-" + std::to_string(attempt);
}

mode_t NewFileMode() {
    // The process umask can only be read by setting it; the launcher changes
    // it nowhere, so putting it straight back is safe.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A symbolic link in place of the target is refused: the folder comes from
// the internet, and its link may name any file of the user's. A link is never
// created either, so a dangling one cannot make a file appear elsewhere.
int RefuseLink(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return errno == ENOENT ? 0 : LastError();
    }
    return S_ISLNK(status.st_mode) ? ReplaceResult::kRefusedLink : 0;
}

// A writer holds an exclusive lock on its temporary file until it is done, and
// the lock dies with the process. So a temporary file of the target that can
// be locked belongs to nobody any more and goes.
void SweepStaleTemporaries(const std::string& target) {
    const std::string folder = FolderOf(target);
    const std::string prefix = TemporaryPrefix(target);
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix ||
            name[prefix.size()] < '0' || name[prefix.size()] > '9') {
            continue;
        }
        const FileDescriptor fd(::openat(::dirfd(listing), entry->d_name,
                                         O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
        struct stat status {};
        if (fd.get() >= 0 && ::fstat(fd.get(), &status) == 0 && S_ISREG(status.st_mode) &&
            ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
            ::unlinkat(::dirfd(listing), entry->d_name, 0);
        }
    }
    ::closedir(listing);
}

// Overwrites the target's bytes through the file itself. Not atomic: a crash
// or a full disk half way leaves a mix of old and new bytes. Used only where
// Windows edits an INI file the same way and the alternative is worse.
int RewriteInPlace(const std::string& target, std::string_view bytes) {
    const FileDescriptor fd(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (fd.get() < 0) {
        // Swapped for a link since we looked.
        return errno == ELOOP ? ReplaceResult::kRefusedLink : LastError();
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) {
        return LastError();
    }
    if (!S_ISREG(status.st_mode)) {
        return EINVAL;  // swapped for something else since we looked
    }
    if (!WriteAll(fd.get(), bytes) ||
        ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd.get()) != 0) {
        return LastError();
    }
    return 0;
}

// Where the system allows, the temporary file stays nameless until it is
// complete, and holds a name only from then until the rename.
int Replace(const std::string& target, std::string_view bytes, bool inPlaceAllowed) {
    if (target.empty() || target.find('\0') != std::string::npos) {
        return EINVAL;  // the system would see no path, or a shorter one
    }
    if (const int error = RefuseLink(target); error != 0) {
        return error;
    }
    struct stat old {};
    const bool exists = ::lstat(target.c_str(), &old) == 0;
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
    }
    SweepStaleTemporaries(target);
    if (exists && inPlaceAllowed && old.st_nlink > 1) {
        return RewriteInPlace(target, bytes);
    }

    const std::string folder = FolderOf(target);
    int raw = -1;
    bool nameless = false;
#ifdef O_TMPFILE
    raw = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    nameless = raw >= 0;
    if (raw < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        if (exists && inPlaceAllowed && (errno == EACCES || errno == EPERM)) {
            return RewriteInPlace(target, bytes);
        }
        return LastError();  // e.g. a missing folder: create nothing
    }
#endif
    std::string temporary;
    if (!nameless) {
        temporary = TemporaryName(target, 0) + "-XXXXXX";
        raw = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (raw < 0) {
            if (exists && inPlaceAllowed && (errno == EACCES || errno == EPERM)) {
                return RewriteInPlace(target, bytes);
            }
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
    // Tells a sweep by another writer that this file is in use. A named
    // temporary file is unlocked for a moment after its creation; a sweep that
    // takes it then only makes this write fail, never tears the target.
    if (::flock(fd.get(), LOCK_EX) != 0) {
        return discard();
    }

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

ReplaceResult Guarded(std::string_view path, std::string_view bytes, bool inPlaceAllowed) {
    try {
        return {Replace(std::string(path), bytes, inPlaceAllowed)};
    } catch (const std::bad_alloc&) {
        return {ENOMEM};  // the only throw of the path strings
    }
}

}  // namespace

std::string ReplaceResult::Reason() const {
    if (code == kRefusedLink) {
        return "it is a symbolic link, which the launcher never writes through";
    }
    return std::strerror(code);
}

ReplaceResult ReplaceFileContents(std::string_view path, std::string_view bytes) noexcept {
    return Guarded(path, bytes, false);
}

ReplaceResult UpdateFileContents(std::string_view path, std::string_view bytes) noexcept {
    return Guarded(path, bytes, true);
}

ReplaceResult CheckReplaceable(std::string_view path) noexcept {
    try {
        const std::string target(path);
        if (target.empty() || target.find('\0') != std::string::npos) {
            return {EINVAL};
        }
        struct stat status {};
        if (::lstat(target.c_str(), &status) == 0) {
            if (S_ISLNK(status.st_mode)) {
                return {ReplaceResult::kRefusedLink};
            }
            if (!S_ISREG(status.st_mode)) {
                return {S_ISDIR(status.st_mode) ? EISDIR : EINVAL};
            }
            // Root is not stopped by the mode bits; the write refuses all the same.
            if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
                return {EACCES};
            }
            if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
                return {LastError()};
            }
        } else if (errno != ENOENT) {
            return {LastError()};
        }
        // The new file is made in the folder, so the folder must take it.
        if (::faccessat(AT_FDCWD, FolderOf(target).c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
            return {LastError()};
        }
        return {};
    } catch (const std::bad_alloc&) {
        return {ENOMEM};  // the only throw of the path strings
    }
}

void RemoveStaleTemporaries(std::string_view path) noexcept {
    try {
        SweepStaleTemporaries(std::string(path));
    } catch (const std::bad_alloc&) {
        // Out of memory: the next write tries again.
    }
}

}  // namespace launcher
