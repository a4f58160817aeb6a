#include "check/folder_check.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "check/folder_checker.h"
#include "profile/program_files.h"

namespace launcher::check {

bool IsFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool IsFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::optional<std::string> LinkTarget(const fs::path& path) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error))) {
        return std::nullopt;
    }
    return Utf8(fs::read_symlink(path, error));
}

std::string LinkFinding(const std::string& target, std::string_view consequence) {
    return "a symbolic link to " + Quoted(target) +
           " stands in place of the file: the launcher never writes through a link, so " +
           std::string(consequence);
}

FolderCheck::FolderCheck(std::string_view folder, Reading reading)
    : folder_(folder), reading_(reading) {
    files_.reserve(kFiles.size());  // the indexes point into the listings
    for (std::string_view name : kFiles) {
        File& file = files_.emplace_back();
        file.name = name;
        const std::optional<std::string> found =
            FindInFolder(FileSystemPath(folder), name, reading);
        file.shown = found.value_or(std::string(name));
        file.path = InFolder(folder, file.shown);
        const fs::path path = FileSystemPath(file.path);
        std::error_code error;
        // settings.ini is written, so a link there is not followed; the
        // files only read are read through one, as the launcher does.
        if (name == files::kSettings) {
            file.link = LinkTarget(path);
        }
        file.exists = found.has_value();
        if (file.exists && !file.link) {
            FileBytes read = ReadFileBytes(path);
            file.status = read.status;
            file.refusal = std::move(read.refusal);
            file.bytes = std::move(read.bytes);
        }
    }
}

std::vector<Finding> FolderCheck::Run() {
    for (File& file : files_) {
        CheckText(file);
    }
    CheckGroups();
    CheckGeneral();
    CheckFrequencies();
    CheckVoiceCallsigns();
    NoteUnshown(Get(kAutoAtis), rules::kAutoAtis.section);
    CheckSettings();
    CheckAtisFile();
    SortByPlace(causes_);
    SortByPlace(findings_);
    causes_.insert(causes_.end(), std::make_move_iterator(findings_.begin()),
                   std::make_move_iterator(findings_.end()));
    return std::move(causes_);
}

// File by file in the report's order, then by line; the order of each
// file is worked out once, not at each comparison.
void FolderCheck::SortByPlace(std::vector<Finding>& findings) {
    std::unordered_map<std::string, std::size_t> orders;
    std::vector<std::pair<std::size_t, std::size_t>> keys;  // (order, index)
    keys.reserve(findings.size());
    for (std::size_t i = 0; i < findings.size(); ++i) {
        auto [known, added] = orders.try_emplace(findings[i].file, 0);
        if (added) {
            known->second = static_cast<std::size_t>(
                std::find(kFiles.begin(), kFiles.end(), FoldedName(findings[i].file)) -
                kFiles.begin());
        }
        keys.emplace_back(known->second, i);
    }
    std::stable_sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first
                                  : findings[a.second].line < findings[b.second].line;
    });
    std::vector<Finding> sorted;
    sorted.reserve(findings.size());
    for (const auto& key : keys) {
        sorted.push_back(std::move(findings[key.second]));
    }
    findings = std::move(sorted);
}

// How a missing file is named: on Linux, a spelling in another case is
// no file at all.
std::string FolderCheck::NoSuchFile(const File& file) const {
    const std::string other =
        reading_ == Reading::kLinux ? OtherCase(FileSystemPath(folder_), file.name) : "";
    return other.empty() ? "no such file"
                         : "no such file (" + Quoted(other) +
                               " is there, but the Linux launcher matches the case of file "
                               "names)";
}

// The consequence of a file nothing is read from, for the files whose
// loss the controller sees.
std::string FolderCheck::Reference(std::string_view file, int line) {
    // Appended piece by piece: GCC 12 at -O3 takes a chain of + on a copy
    // of `file` for an overlapping copy (-Wrestrict).
    std::string reference(file);
    if (line > 0) {
        reference.append(":").append(std::to_string(line));
    }
    return reference;
}

std::string FolderCheck::Unread(std::string_view name) {
    return name == kConfig ? ", so it shows no groups"
           : name == kFreq ? ", so no position has a frequency"
                           : "";
}

std::vector<Finding> CheckProgramFolder(std::string_view folder, Reading reading) {
    return FolderCheck(folder, reading).Run();
}

bool IsNetworkPath(std::string_view path) {
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    return path.size() >= 2 && separator(path[0]) && separator(path[1]);
}

bool IsAirbandChannel(std::string_view frequency) {
    if (frequency.size() != 7 || frequency[3] != '.' ||
        !std::all_of(frequency.begin(), frequency.end(),
                     [](char c) { return c == '.' || (c >= '0' && c <= '9'); })) {
        return false;
    }
    const int megahertz = std::stoi(std::string(frequency.substr(0, 3)));
    const int kilohertz = std::stoi(std::string(frequency.substr(4)));
    // 8.33 kHz channels are named 5, 10 and 15 kHz above the 25 kHz ones:
    // a name 20 kHz above is no channel, nor is one between the five.
    const int total = megahertz * 1000 + kilohertz;
    return total >= 118000 && total <= 136990 && kilohertz % 25 % 5 == 0 && kilohertz % 25 != 20;
}

}  // namespace launcher::check
