// Our own INI reader and writer for platforms without the Windows profile
// functions. The byte rules live in ini_text.cpp; this file does the I/O.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "profile/ini.h"
#include "profile/ini_detail.h"
#include "profile/ini_text.h"

namespace launcher {
namespace {

// Read in pieces of this size, so that a lookup on an ordinary file needs no
// heap and a long file is not read further than the answer.
constexpr std::size_t kChunk = 64 * 1024;

// A NUL-terminated copy of a path, on the stack for ordinary lengths.
class CPath {
public:
    explicit CPath(std::string_view path) {
        if (path.find('\0') != std::string_view::npos) {
            return;  // the system would see a different, shorter path
        }
        if (path.size() < sizeof small_) {
            std::memcpy(small_, path.data(), path.size());
            small_[path.size()] = '\0';
            path_ = small_;
        } else {
            large_.assign(path);
            path_ = large_.c_str();
        }
    }
    CPath(const CPath&) = delete;
    CPath& operator=(const CPath&) = delete;

    const char* get() const { return path_; }  // null when unusable

private:
    char small_[256];
    std::string large_;
    const char* path_ = nullptr;
};

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }

private:
    int fd_;
};

ssize_t ReadSome(int fd, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

std::string ReadFromFile(std::string_view section, std::string_view key, std::string_view file) {
    section = ini::TrimArgument(section);
    key = ini::TrimArgument(key);
    if (!ini::IsWritableName(section) || !ini::IsWritableName(key)) {
        return {};
    }
    const CPath path(file);
    if (path.get() == nullptr) {
        return {};
    }
    const FileDescriptor fd(::open(path.get(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return {};
    }
    char stackBuffer[kChunk];
    std::unique_ptr<char[]> heapBuffer;
    char* buffer = stackBuffer;
    std::size_t capacity = kChunk;
    std::size_t held = 0;
    ini::ValueScanner scanner(section, key);
    for (;;) {
        if (held == capacity) {  // one line fills the whole buffer
            auto larger = std::make_unique<char[]>(capacity * 2);
            std::memcpy(larger.get(), buffer, held);
            heapBuffer = std::move(larger);
            buffer = heapBuffer.get();
            capacity *= 2;
        }
        const ssize_t got = ReadSome(fd.get(), buffer + held, capacity - held);
        if (got < 0) {
            return {};
        }
        held += static_cast<std::size_t>(got);
        switch (scanner.Scan(std::string_view(buffer, held), got == 0)) {
            case ini::ValueScanner::Status::kFound:
                return std::string(ini::CutValue(scanner.value()));
            case ini::ValueScanner::Status::kAbsent:
                return {};
            case ini::ValueScanner::Status::kNeedMore:
                break;
        }
        held -= scanner.consumed();
        std::memmove(buffer, buffer + scanner.consumed(), held);
    }
}

// Whole-file I/O for the writer.

bool ReadAll(int fd, std::string& bytes) {
    char chunk[kChunk];
    for (;;) {
        const ssize_t got = ReadSome(fd, chunk, sizeof chunk);
        if (got <= 0) {
            return got == 0;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
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

// Replaces the target's bytes so that a reader sees the old file or the new
// one, never a mix: the new bytes go to a temporary file in the same folder,
// reach the disk, and the temporary file is renamed over the target. Where
// the system allows, the temporary file stays nameless until it is complete,
// so a crash while writing leaves nothing behind.
bool ReplaceContents(const std::string& target, std::string_view bytes, const struct stat* old) {
    const std::string folder = FolderOf(target);
    int raw = -1;
    bool nameless = false;
#ifdef O_TMPFILE
    raw = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    nameless = raw >= 0;
    if (raw < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        return false;  // e.g. a missing folder: create nothing
    }
#endif
    std::string temporary;
    if (!nameless) {
        temporary = TemporaryName(target, 0);
        temporary += "XXXXXX";
        raw = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (raw < 0) {
            return false;
        }
    }
    const FileDescriptor fd(raw);
    const auto discard = [&temporary] {
        if (!temporary.empty()) {
            ::unlink(temporary.c_str());
        }
        return false;
    };

    if (old != nullptr) {
        if (::fchmod(fd.get(), old->st_mode & 07777) != 0) {
            return discard();
        }
        if (old->st_uid != ::geteuid() || old->st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd.get(), old->st_uid, old->st_gid);
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
                return false;
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
    return true;
}

bool WriteToFile(std::string_view section, std::string_view key, std::string_view value,
                 std::string_view file) {
    const CPath path(file);
    if (path.get() == nullptr) {
        return false;
    }
    std::string text;
    struct stat status {};
    const int raw = ::open(path.get(), O_RDONLY | O_CLOEXEC);
    const bool exists = raw >= 0;
    if (exists) {
        const FileDescriptor fd(raw);
        if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
            return false;
        }
        // Windows refuses to write a read-only file even for an administrator,
        // and root is not stopped by the mode bits, so look at them ourselves.
        if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
            ::faccessat(AT_FDCWD, path.get(), W_OK, AT_EACCESS) != 0) {
            return false;
        }
        if (!ReadAll(fd.get(), text)) {
            return false;
        }
    } else if (errno != ENOENT) {
        return false;
    }

    const std::optional<ini::Splice> splice = ini::PlanWrite(text, section, key, value);
    if (!splice) {
        return false;
    }
    if (exists && splice->empty()) {
        return true;
    }
    std::string target = path.get();
    if (exists) {
        // Write through a symbolic link instead of replacing the link itself.
        char* real = ::realpath(path.get(), nullptr);
        if (real == nullptr) {
            return false;
        }
        target = real;
        std::free(real);
    }
    return ReplaceContents(target, splice->ApplyTo(text), exists ? &status : nullptr);
}

}  // namespace

std::string ReadIni(std::string_view section, std::string_view key,
                    std::string_view file) noexcept {
    try {
        return ReadFromFile(section, key, file);
    } catch (...) {
        return {};  // out of memory: read as "nothing configured"
    }
}

namespace detail {

bool WriteIniReported(std::string_view section, std::string_view key, std::string_view value,
                      std::string_view file) noexcept {
    try {
        return WriteToFile(section, key, value, file);
    } catch (...) {
        return false;
    }
}

}  // namespace detail

void WriteIni(std::string_view section, std::string_view key, std::string_view value,
              std::string_view file) noexcept {
    detail::WriteIniReported(section, key, value, file);
}

}  // namespace launcher
