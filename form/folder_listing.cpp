#include "form/folder_listing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace launcher {

namespace {

namespace fs = std::filesystem;

// Text is UTF-8 here; the system's paths may be wide (Windows).
fs::path PathOf(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names in the order a reader looks for them: letter case aside, then as
// they stand, so the order never hangs on the system's listing.
bool NameBefore(const std::string& a, const std::string& b) {
    std::string foldedA = a;
    std::string foldedB = b;
    std::transform(foldedA.begin(), foldedA.end(), foldedA.begin(), FoldAscii);
    std::transform(foldedB.begin(), foldedB.end(), foldedB.begin(), FoldAscii);
    return foldedA != foldedB ? foldedA < foldedB : a < b;
}

}  // namespace

bool FolderListing::Open(std::string_view folder) {
    if (folder.empty()) {
        return false;
    }
    std::error_code error;
    fs::path target = fs::absolute(PathOf(folder), error).lexically_normal();
    if (error) {
        return false;
    }
    target.make_preferred();
    if (!target.has_filename() && target != target.root_path()) {
        target = target.parent_path();  // "/srv/data/" is "/srv/data"
    }
    if (!fs::is_directory(target, error)) {
        return false;
    }
    std::vector<std::string> children;
    fs::directory_iterator entries(target, error);
    if (error) {
        return false;
    }
    for (const fs::directory_entry& entry : entries) {
        std::error_code kindError;
        std::string name = Utf8Of(entry.path().filename());
        // Hidden folders (".config") are the system's and the programs', not
        // where a client is installed.
        if (entry.is_directory(kindError) && !name.starts_with('.')) {
            children.push_back(std::move(name));
        }
    }
    std::sort(children.begin(), children.end(), NameBefore);

    std::vector<fs::path> chain;
    for (fs::path step = target;; step = step.parent_path()) {
        chain.insert(chain.begin(), step);
        if (step.parent_path() == step || !step.has_relative_path()) {
            break;
        }
    }
    rows_.clear();
    int depth = 0;
    for (const fs::path& step : chain) {
        rows_.push_back({depth == 0 ? Utf8Of(step) : Utf8Of(step.filename()), Utf8Of(step), depth});
        ++depth;
    }
    openRow_ = rows_.size() - 1;
    for (const std::string& child : children) {
        rows_.push_back({child, Utf8Of(target / PathOf(child)), depth});
    }
    folder_ = Utf8Of(target);
    return true;
}

bool FolderListing::PointAtDrive(std::string_view drive) {
    if (drive.empty() || drive == drive_ || !Open(drive)) {
        return false;
    }
    drive_ = drive;
    return true;
}

}  // namespace launcher
