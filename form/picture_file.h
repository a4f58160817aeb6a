// What a picture control may show. A program folder comes from the internet,
// so the path of a picture is data: it names a file of that folder or of this
// machine, never a network share, a device or a web address, and a picture is
// read only from a regular file of bounded size whose header the launcher
// understands, before any decoder sees a byte of it. Both front ends decode
// only what ReadPictureFile hands them, and the folder check judges a picture
// by the same rule, AcceptedPicture.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace launcher {

enum class PictureFormat { kBmp, kPng, kJpeg, kGif };

// The largest picture side taken, in pixels: far above any banner, and small
// enough that a decoded picture (4 bytes a pixel) stays within 256 MiB.
inline constexpr std::uint32_t kMaxPictureSide = 8192;
// The largest picture file read.
inline constexpr std::uint64_t kMaxPictureFileBytes = 64u << 20;

// Why a picture path from an INI file is not opened; kNone when it may be.
enum class PicturePathRefusal {
    kNone,
    kNetwork,  // \\host\share\..., //host/share/...
    kDevice,   // \\.\..., \\?\..., \??\..., or a DOS device name such as CON or COM1
    kUrl,      // scheme://..., file:...
};

PicturePathRefusal ClassifyPicturePath(std::string_view value);

// The file that the value of LOGO or BACK names: "" for an empty or refused
// value; a relative one is taken from the program folder (not the current
// folder, which is wherever the launcher was started from), an absolute one
// as it stands.
std::string PicturePath(std::string_view programFolder, std::string_view value);

struct PictureHeader {
    PictureFormat format;
    std::uint32_t width;
    std::uint32_t height;
};

// The format and size a picture file's first bytes declare, told by content:
// BMP, PNG, JPEG (the first frame header, which may lie past the first
// kilobytes) or GIF. No value for another format or a header cut short.
std::optional<PictureHeader> ReadPictureHeader(std::string_view bytes);

// Whether a picture of these sides is shown: 1 to kMaxPictureSide pixels each.
bool SidesAccepted(const PictureHeader& header);

// The one rule for which pictures are shown, told by content alone: the
// header of `bytes` when ReadPictureHeader understands it and SidesAccepted
// takes its sides; no value otherwise.
std::optional<PictureHeader> AcceptedPicture(std::string_view bytes);

struct PictureFile {
    PictureHeader header;
    std::string bytes;  // the whole file
};

// The picture at `path` (UTF-8), read whole: only a regular file (a FIFO or a
// device is never opened for reading, so nothing can block), at most
// kMaxPictureFileBytes long, whose bytes AcceptedPicture takes. No value
// otherwise: the picture counts as missing. Never throws.
std::optional<PictureFile> ReadPictureFile(std::string_view path) noexcept;

}  // namespace launcher
