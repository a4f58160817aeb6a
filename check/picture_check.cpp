#include <cstdint>

#include "catalogue/folder_values.h"
#include "check/folder_checker.h"
#include "form/picture_file.h"
#include "profile/program_files.h"

namespace launcher::check {
namespace {

// Why the launcher shows no picture from `path`, or "" when it shows it. It
// opens nothing but a regular file, so a FIFO cannot hold the check up.
std::string PictureProblem(const std::string& path) {
    const fs::path file = FileSystemPath(path);
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (!fs::exists(status)) {
        return "does not exist";
    }
    if (!fs::is_regular_file(status)) {
        return "is " + KindOf(status) + ", not a file";
    }
    const std::uintmax_t size = fs::file_size(file, error);
    if (!error && size > kMaxPictureFileBytes) {
        return "is " + std::to_string(size) + " bytes long: the launcher reads no picture over " +
               std::to_string(kMaxPictureFileBytes >> 20) + " MiB";
    }
    if (ReadPictureFile(path)) {
        return "";
    }
    // The core only says no; its header rule, on the same bytes, says why.
    const FileBytes read = ReadFileBytes(file);
    if (!read.refusal.empty()) {
        return read.refusal;
    }
    const std::optional<PictureHeader> header = ReadPictureHeader(read.bytes);
    if (!header) {
        return "is not a BMP, PNG, JPEG or GIF picture";
    }
    if (!SidesAccepted(*header)) {
        return "is " + std::to_string(header->width) + " by " + std::to_string(header->height) +
               " pixels: the launcher shows none over " + std::to_string(kMaxPictureSide) +
               " a side";
    }
    return "cannot be read";
}

}  // namespace

void FolderCheck::CheckGeneral() {
    const File& config = Get(kConfig);
    if (!config.index) {
        return;
    }
    CheckPicture(config, keys::kLogo, "the banner");
    CheckPicture(config, keys::kBack, "the corner picture");
    const std::string left = config.Value(keys::kLogoLeft.section, keys::kLogoLeft.key);
    if (!left.empty() && !LogoLeftPixels(left)) {
        Add(config.shown, config.LineOf(keys::kLogoLeft.section, keys::kLogoLeft.key),
            Severity::kWarning,
            std::string(keys::kLogoLeft.key) + " " + Quoted(left) +
                " is not a number: the banner keeps its place");
    }
}

// As the launcher takes a picture: a network, device or web path is never
// opened; anything else only when it is a picture it understands.
void FolderCheck::CheckPicture(const File& config, const IniKey& key, std::string_view shown) {
    const std::string picture = config.Value(key.section, key.key);
    if (picture.empty()) {
        return;
    }
    const std::string named = std::string(key.key) + " picture " + Quoted(picture);
    const int line = config.LineOf(key.section, key.key);
    const PicturePathRefusal refusal = ClassifyPicturePath(picture);
    if (refusal != PicturePathRefusal::kNone) {
        std::string message = named +
                              (refusal == PicturePathRefusal::kNetwork  ? " is a network path"
                               : refusal == PicturePathRefusal::kDevice ? " is a device path"
                                                                        : " is a web address") +
                              ": the launcher never opens it, so " + std::string(shown) +
                              " never shows";
        if (refusal == PicturePathRefusal::kNetwork) {
            message +=
                " (on Windows, opening it would hand the controller's network "
                "credentials to that host)";
        }
        Add(config.shown, line, Severity::kError, std::move(message));
        return;
    }
    std::string path = PicturePath(folder_, picture);
    if (reading_ == Reading::kWindows) {
        const std::optional<fs::path> resolved = ResolveWritten(folder_, picture, reading_);
        if (!resolved) {
            return;  // a Windows path, which only the controller's machine can follow
        }
        path = Utf8(*resolved);
    }
    const std::string problem = PictureProblem(path);
    if (!problem.empty()) {
        Add(config.shown, line, Severity::kWarning, named + " " + problem);
    }
}

}  // namespace launcher::check
