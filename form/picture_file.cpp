#include "form/picture_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <new>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace launcher {
namespace {

bool IsSlash(char c) {
    return c == '\\' || c == '/';
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// CON, PRN, AUX, NUL, COM1-9, LPT1-9 and the console's own names open a device
// in any folder on Windows, with or without an extension.
bool IsDosDeviceName(std::string_view name) {
    const std::string base = Lower(name.substr(0, name.find('.')));
    const std::string_view trimmed =
        std::string_view(base).substr(0, base.find_last_not_of(' ') + 1);
    static constexpr std::array<std::string_view, 6> kPlain{"con", "prn",    "aux",
                                                            "nul", "conin$", "conout$"};
    if (std::find(kPlain.begin(), kPlain.end(), trimmed) != kPlain.end()) {
        return true;
    }
    return trimmed.size() == 4 && (trimmed.starts_with("com") || trimmed.starts_with("lpt")) &&
           trimmed[3] >= '1' && trimmed[3] <= '9';
}

// "http://", "file:", "ftp://": a scheme of two letters or more (one letter
// and a colon is a drive), then a colon.
bool IsUrl(std::string_view value) {
    const std::size_t colon = value.find(':');
    if (colon == std::string_view::npos || colon < 2 ||
        !std::isalpha(static_cast<unsigned char>(value[0]))) {
        return false;
    }
    for (const char c : value.substr(0, colon)) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

std::uint32_t Little16(std::string_view b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

std::uint32_t Little32(std::string_view b, std::size_t at) {
    return Little16(b, at) | Little16(b, at + 2) << 16;
}

std::uint32_t Big16(std::string_view b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) << 8 | static_cast<unsigned char>(b[at + 1]);
}

std::uint32_t Big32(std::string_view b, std::size_t at) {
    return Big16(b, at) << 16 | Big16(b, at + 2);
}

std::optional<PictureHeader> BmpHeader(std::string_view b) {
    if (b.size() < 26) {
        return std::nullopt;
    }
    const std::uint32_t infoSize = Little32(b, 14);
    if (infoSize == 12) {  // the old OS/2 header: 16-bit sides
        return PictureHeader{PictureFormat::kBmp, Little16(b, 18), Little16(b, 20)};
    }
    // A negative height is a picture stored top down.
    const auto height = static_cast<std::int32_t>(Little32(b, 22));
    const auto width = static_cast<std::int32_t>(Little32(b, 18));
    if (infoSize < 40 || width <= 0 || height == 0 || height == INT32_MIN) {
        return std::nullopt;
    }
    return PictureHeader{PictureFormat::kBmp, static_cast<std::uint32_t>(width),
                         static_cast<std::uint32_t>(height < 0 ? -height : height)};
}

std::optional<PictureHeader> JpegHeader(std::string_view b) {
    // Markers follow one another, each with its length, up to the frame
    // header (SOF0-SOF15 but DHT, JPG and DAC) that holds the size.
    std::size_t at = 2;
    while (at + 4 <= b.size()) {
        if (static_cast<unsigned char>(b[at]) != 0xFF) {
            return std::nullopt;
        }
        const auto marker = static_cast<unsigned char>(b[at + 1]);
        if (marker == 0xFF) {
            ++at;  // fill byte
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;  // markers without a length
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) {
            return std::nullopt;  // image data or its end before any frame
        }
        const std::uint32_t length = Big16(b, at + 2);
        if (length < 2) {
            return std::nullopt;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            if (at + 9 > b.size()) {
                return std::nullopt;
            }
            return PictureHeader{PictureFormat::kJpeg, Big16(b, at + 7), Big16(b, at + 5)};
        }
        at += 2 + length;
    }
    return std::nullopt;
}

#ifdef _WIN32
std::wstring Wide(std::string_view utf8) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), size);
    return wide;
}
#else
int LastError() {
    return errno != 0 ? errno : EIO;
}
#endif

// The whole of a regular file of at most kMaxPictureFileBytes; nothing else
// is opened in a way that could wait.
std::optional<std::string> ReadRegularFile(std::string_view path) {
    if (path.empty() || path.size() > 32767 || path.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
#ifdef _WIN32
    const std::wstring wide = Wide(path);
    // A FIFO or a device does not pass: its attributes are no plain file's.
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return std::nullopt;
    }
    const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::optional<std::string> bytes;
    LARGE_INTEGER size{};
    if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) != FALSE &&
        size.QuadPart >= 0 && static_cast<std::uint64_t>(size.QuadPart) <= kMaxPictureFileBytes) {
        std::string read(static_cast<std::size_t>(size.QuadPart), '\0');
        DWORD got = 0;
        if (read.empty() ||
            (ReadFile(file, read.data(), DWORD(read.size()), &got, nullptr) != FALSE &&
             got == read.size())) {
            bytes = std::move(read);
        }
    }
    CloseHandle(file);
    return bytes;
#else
    const std::string name(path);
    // O_NONBLOCK: opening a FIFO with no writer would wait for one.
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<std::string> bytes;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size >= 0 &&
        static_cast<std::uint64_t>(status.st_size) <= kMaxPictureFileBytes) {
        std::string read(static_cast<std::size_t>(status.st_size), '\0');
        std::size_t got = 0;
        while (got < read.size()) {
            const ssize_t n = ::read(fd, read.data() + got, read.size() - got);
            if (n < 0 && LastError() == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;  // an error, or the file shrank while we read it
            }
            got += static_cast<std::size_t>(n);
        }
        if (got == read.size()) {
            bytes = std::move(read);
        }
    }
    ::close(fd);
    return bytes;
#endif
}

}  // namespace

PicturePathRefusal ClassifyPicturePath(std::string_view value) {
    if (value.size() >= 2 && IsSlash(value[0]) && IsSlash(value[1])) {
        // \\.\ and \\?\ reach devices and raw volumes; anything else is a host.
        if (value.size() >= 3 && (value[2] == '.' || value[2] == '?') &&
            (value.size() == 3 || IsSlash(value[3]))) {
            return PicturePathRefusal::kDevice;
        }
        return PicturePathRefusal::kNetwork;
    }
    if (value.starts_with("\\??\\")) {
        return PicturePathRefusal::kDevice;
    }
    if (IsUrl(value)) {
        return PicturePathRefusal::kUrl;
    }
    const std::size_t slash = value.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? value : value.substr(slash + 1);
    if (name.size() >= 2 && name[1] == ':') {
        name.remove_prefix(2);  // "C:CON"
    }
    if (IsDosDeviceName(name)) {
        return PicturePathRefusal::kDevice;
    }
    return PicturePathRefusal::kNone;
}

std::string PicturePath(std::string_view programFolder, std::string_view value) {
    if (value.empty() || ClassifyPicturePath(value) != PicturePathRefusal::kNone) {
        return {};
    }
#ifdef _WIN32
    // "C:\x", "\x" (the current drive's root) and "C:x" (the drive's current
    // folder) do not lie under the program folder.
    const bool absolute = IsSlash(value[0]) || (value.size() >= 2 && value[1] == ':');
    constexpr char kSeparator = '\\';
#else
    const bool absolute = value[0] == '/';
    constexpr char kSeparator = '/';
#endif
    if (absolute) {
        return std::string(value);
    }
    std::string path(programFolder);
    if (path.empty() || path.back() != kSeparator) {
        path.push_back(kSeparator);
    }
    return path.append(value);
}

std::optional<PictureHeader> ReadPictureHeader(std::string_view b) {
    std::optional<PictureHeader> header;
    if (b.size() >= 24 && b.starts_with("\x89PNG\r\n\x1a\n") && b.substr(12, 4) == "IHDR") {
        header = PictureHeader{PictureFormat::kPng, Big32(b, 16), Big32(b, 20)};
    } else if (b.size() >= 10 && (b.starts_with("GIF87a") || b.starts_with("GIF89a"))) {
        header = PictureHeader{PictureFormat::kGif, Little16(b, 6), Little16(b, 8)};
    } else if (b.starts_with("BM")) {
        header = BmpHeader(b);
    } else if (b.starts_with("\xFF\xD8\xFF")) {
        header = JpegHeader(b);
    }
    return header;
}

bool SidesAccepted(const PictureHeader& header) {
    const auto accepted = [](std::uint32_t side) { return side >= 1 && side <= kMaxPictureSide; };
    return accepted(header.width) && accepted(header.height);
}

std::optional<PictureHeader> AcceptedPicture(std::string_view bytes) {
    std::optional<PictureHeader> header = ReadPictureHeader(bytes);
    if (header && !SidesAccepted(*header)) {
        header.reset();
    }
    return header;
}

std::optional<PictureFile> ReadPictureFile(std::string_view path) noexcept {
    try {
        std::optional<std::string> bytes = ReadRegularFile(path);
        if (!bytes) {
            return std::nullopt;
        }
        const std::optional<PictureHeader> header = AcceptedPicture(*bytes);
        if (!header) {
            return std::nullopt;
        }
        return PictureFile{*header, std::move(*bytes)};
    } catch (const std::bad_alloc&) {
        // A file of up to kMaxPictureFileBytes is held whole; where memory
        // runs short, the picture counts as missing and the window still opens.
        return std::nullopt;
    }
}

}  // namespace launcher
