// Our own INI reader and writer for platforms without the Windows profile
// functions. The byte rules live in ini_line, ini_scan and ini_edit, the code page in
// codepage.cpp; this file does the I/O.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "profile/codepage.h"
#include "profile/file_replace.h"
#include "profile/ini.h"
#include "profile/ini_detail.h"
#include "profile/ini_edit.h"
#include "profile/ini_line.h"
#include "profile/ini_scan.h"
#include "profile/ini_search.h"
#include "profile/posix_file.h"

namespace launcher {
namespace {

// Read in pieces of this size, so that a lookup on an ordinary file needs no
// heap and a long file is not read much further than the answer; a piece
// this small is still in the processor's first cache when it is searched.
constexpr std::size_t kChunk = std::size_t{16} * 1024;

using posix::CPath;
using posix::FileDescriptor;

ssize_t ReadSome(int fd, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

// Opens a regular file only: a FIFO would block the read until a writer came,
// and a device such as /dev/zero would feed it without end. O_NONBLOCK keeps
// the open itself from waiting for a FIFO's writer. -1 for anything else.
int OpenForReading(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status {};
    if (fd >= 0 && (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
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
    const FileDescriptor fd(OpenForReading(path.get()));
    if (fd.get() < 0) {
        return {};
    }
    // After the bytes read, the key and a NUL for the scanner (see Scan).
    const std::size_t tail = key.size() + 1;
    char stackBuffer[kChunk];
    std::unique_ptr<char[]> heapBuffer;
    char* buffer = stackBuffer;
    std::size_t capacity = kChunk;
    std::size_t held = 0;
    ini::ValueScanner scanner(section, key);
    for (;;) {
        if (held + tail >= capacity) {  // one line fills the whole buffer, or a long key
            while (held + tail >= capacity) {
                capacity *= 2;
            }
            auto larger = std::make_unique<char[]>(capacity);
            std::memcpy(larger.get(), buffer, held);
            heapBuffer = std::move(larger);
            buffer = heapBuffer.get();
        }
        const ssize_t got = ReadSome(fd.get(), buffer + held, capacity - tail - held);
        if (got < 0) {
            return {};
        }
        held += static_cast<std::size_t>(got);
        *std::copy(key.begin(), key.end(), buffer + held) = '\0';
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

// The text layer over the bytes (see codepage.h).

std::string ReadTextFromFile(std::string_view section, std::string_view key,
                             std::string_view file) {
    std::string value = ReadFromFile(section, key, file);
    // A file made on Windows spells non-ASCII names in Windows-1252 too.
    if (value.empty() && codepage::HasWindows1252Spelling(section, key)) {
        value = ReadFromFile(codepage::Utf8ToWindows1252(section), codepage::Utf8ToWindows1252(key),
                             file);
    }
    if (codepage::IsUtf8(value)) {
        return value;  // as FileTextToUtf8 would give it, without a copy
    }
    return codepage::FileTextToUtf8(value);
}

// The keys of the first section named `section`, as the listing of the file
// names them (see ini_listing.h), without listing the rest of the file: lines
// before the section are looked at only where a '[' may open it.
std::vector<std::string> SectionKeys(std::string_view bytes, std::string_view section) {
    section = ini::TrimArgument(section);
    if (!ini::IsWritableName(section)) {
        return {};
    }
    const char* const base = bytes.data();
    const char* const end = base + bytes.size();
    std::vector<std::string> keys;
    bool inSection = false;
    for (const char* p = base; p < end;) {
        if (!inSection) {
            const auto* open =
                static_cast<const char*>(std::memchr(p, '[', static_cast<std::size_t>(end - p)));
            if (open == nullptr) {
                break;
            }
            p = ini::LastLineStart(p, open);
        }
        const char* lineEnd = ini::FindBreak(p, end);
        const ini::LineParts line =
            ini::SplitLine(std::string_view(p, static_cast<std::size_t>(lineEnd - p)));
        p = lineEnd < end ? lineEnd + 1 : end;
        if (line.kind == ini::LineParts::Kind::kHeader) {
            if (inSection) {
                break;
            }
            inSection = ini::NamesMatch(codepage::FileTextToUtf8(line.name), section);
        } else if (inSection && line.kind == ini::LineParts::Kind::kKey) {
            keys.push_back(codepage::FileTextToUtf8(line.name));
        }
    }
    return keys;
}

// How a write puts its text into the file.
enum class Encoding {
    kAsTheFileHolds,  // see codepage::WritesUtf8
    kWindows1252,
    kBytes,  // as given: the byte rules alone
};

std::optional<ini::Splice> PlanTextWrite(std::string_view text, std::string_view section,
                                         std::string_view key, std::string_view value,
                                         Encoding encoding) {
    if (encoding == Encoding::kBytes || (encoding == Encoding::kAsTheFileHolds &&
                                         codepage::WritesUtf8(text, section, key, value))) {
        return ini::PlanWrite(text, section, key, value);
    }
    return ini::PlanWrite(text, codepage::Utf8ToWindows1252(section),
                          codepage::Utf8ToWindows1252(key), codepage::Utf8ToWindows1252(value));
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

bool WriteToFile(std::string_view section, std::string_view key, std::string_view value,
                 std::string_view file, Encoding encoding) {
    const CPath path(file);
    if (path.get() == nullptr) {
        return false;
    }
    std::string text;
    struct stat status {};
    // O_NOFOLLOW: a link in the file's place is never written through.
    const int raw = ::open(path.get(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    const bool exists = raw >= 0;
    if (exists) {
        const FileDescriptor fd(raw);
        if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
            return false;  // a FIFO, a device, a directory: left alone
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

    const std::optional<ini::Splice> splice = PlanTextWrite(text, section, key, value, encoding);
    if (!splice) {
        return false;
    }
    if (exists && splice->empty()) {
        // Nothing to write, but what a killed writer left still goes.
        RemoveStaleTemporaries(file);
        return true;
    }
    return UpdateFileContents(file, splice->ApplyTo(text)).ok();
}

}  // namespace

std::string ReadIni(std::string_view section, std::string_view key,
                    std::string_view file) noexcept {
    detail::NoteIniAccess(IniAccess::kRead, section, key, file);
    try {
        return ReadTextFromFile(section, key, file);
    } catch (...) {
        // Only running out of memory throws here, and nothing may leave noexcept.
        return {};  // out of memory: read as "nothing configured"
    }
}

std::vector<std::string> ReadIniKeys(std::string_view section, std::string_view file) noexcept {
    detail::NoteIniAccess(IniAccess::kListKeys, section, {}, file);
    try {
        const CPath path(file);
        const FileDescriptor fd(path.get() == nullptr ? -1 : OpenForReading(path.get()));
        if (fd.get() < 0) {
            return {};
        }
        std::string bytes;
        char buffer[kChunk];
        for (ssize_t got; (got = ReadSome(fd.get(), buffer, kChunk)) != 0;) {
            if (got < 0) {
                return {};
            }
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
        return SectionKeys(bytes, section);
    } catch (...) {
        // Only running out of memory throws here, and nothing may leave noexcept.
        return {};
    }
}

namespace detail {

bool WriteIniReported(std::string_view section, std::string_view key, std::string_view value,
                      std::string_view file, IniText text) noexcept {
    NoteIniAccess(IniAccess::kWrite, section, key, file);
    try {
        return WriteToFile(
            section, key, value, file,
            text == IniText::kWindows1252 ? Encoding::kWindows1252 : Encoding::kAsTheFileHolds);
    } catch (...) {
        // Only running out of memory throws here, and nothing may leave noexcept.
        return false;
    }
}

bool WriteIniBytes(std::string_view section, std::string_view key, std::string_view value,
                   std::string_view file) noexcept {
    try {
        return WriteToFile(section, key, value, file, Encoding::kBytes);
    } catch (...) {
        // Only running out of memory throws here, and nothing may leave noexcept.
        return false;
    }
}

std::string ReadIniBytes(std::string_view section, std::string_view key,
                         std::string_view file) noexcept {
    try {
        return ReadFromFile(section, key, file);
    } catch (...) {
        // Only running out of memory throws here, and nothing may leave noexcept.
        return {};
    }
}

}  // namespace detail

bool WriteIni(std::string_view section, std::string_view key, std::string_view value,
              std::string_view file, IniText text) noexcept {
    return detail::WriteIniReported(section, key, value, file, text);
}

}  // namespace launcher
