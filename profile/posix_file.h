// Small owners for the POSIX backends: a path the system calls can take and a
// file descriptor that closes itself. Not built on Windows.
#pragma once

#include <unistd.h>

#include <cstring>
#include <string>
#include <string_view>

namespace launcher::posix {

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

}  // namespace launcher::posix
