#include "check/folder_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "profile/ini_line.h"
#include "profile/paths.h"

namespace launcher::check {
namespace {

namespace fs = std::filesystem;

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool SameAsciiName(std::string_view a, std::string_view b) {
    return FoldedName(a) == FoldedName(b);
}

// Why a file the check may open cannot be read, from the system's error.
std::string ReasonOf(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return "cannot be read: permission denied";
        case EISDIR:
            return "a folder stands in place of the file";
        case ELOOP:
            return "a link loop stands in place of the file";
        default:
            return std::string("cannot be read: ") + std::strerror(error);
    }
}

}  // namespace

std::string FoldedName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

std::optional<std::string> FindInFolder(const fs::path& folder, std::string_view name,
                                        Reading reading) {
    std::error_code error;
    if (fs::exists(fs::symlink_status(folder / FileSystemPath(name), error))) {
        return std::string(name);
    }
    if (reading == Reading::kWindows) {
        if (std::string other = OtherCase(folder, name); !other.empty()) {
            return other;
        }
    }
    return std::nullopt;
}

std::string OtherCase(const fs::path& folder, std::string_view name) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string found = Utf8(it->path().filename());
        if (found != name && SameAsciiName(found, name)) {
            return found;
        }
    }
    return "";
}

std::string KindOf(const fs::file_status& status) {
    switch (status.type()) {
        case fs::file_type::directory:
            return "a folder";
        case fs::file_type::fifo:
            return "a FIFO";
        case fs::file_type::block:
        case fs::file_type::character:
            return "a device";
        case fs::file_type::socket:
            return "a socket";
        default:
            return "no regular file";
    }
}

FileBytes ReadFileBytes(const fs::path& path) {
    FileBytes file;
    std::error_code error;
    file.status = fs::status(path, error);
    if (error && error.value() == ELOOP) {
        file.refusal = ReasonOf(ELOOP);
        return file;
    }
    if (!fs::is_regular_file(file.status)) {
        file.refusal = fs::exists(file.status)
                           ? KindOf(file.status) + " stands in place of the file"
                           : "cannot be read: " + (error ? error.message() : "no such file");
        return file;
    }
    // C streams: no exception, and the system's reason when a read fails.
#ifdef _WIN32
    std::FILE* in = _wfopen(path.c_str(), L"rb");
#else
    std::FILE* in = std::fopen(path.c_str(), "rb");
#endif
    if (in == nullptr) {
        file.refusal = ReasonOf(errno);
        return file;
    }
    const std::uintmax_t size = fs::file_size(path, error);
    if (!error) {
        file.bytes.reserve(static_cast<std::size_t>(size));
    }
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        file.bytes.append(buffer, got);
    }
    if (std::ferror(in) != 0) {
        file.refusal = ReasonOf(errno);
        file.bytes.clear();
    }
    std::fclose(in);
    return file;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() / 2);
    const auto unit = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[i]) |
                                     static_cast<unsigned char>(bytes[i + 1]) << 8);
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            text.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            text.push_back(static_cast<char>(0xC0 | c >> 6));
            text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            text.push_back(static_cast<char>(0xE0 | c >> 12));
            text.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
            text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            text.push_back(static_cast<char>(0xF0 | c >> 18));
            text.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
            text.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
            text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return text;
}

std::optional<fs::path> ResolveWritten(std::string_view folder, std::string_view written,
                                       Reading reading) {
    std::string path(written);
#ifndef _WIN32
    if (reading == Reading::kWindows) {
        const bool drive = path.size() >= 2 && path[1] == ':';
        if (drive || path.starts_with("\\")) {
            return std::nullopt;  // a path of a Windows machine, not of this one
        }
        std::replace(path.begin(), path.end(), '\\', '/');
    }
#endif
    fs::path resolved = FileSystemPath(path);
    if (resolved.is_relative()) {
        resolved = FileSystemPath(folder) / resolved;
    }
    std::error_code error;
    if (reading == Reading::kLinux || fs::exists(fs::symlink_status(resolved, error))) {
        return resolved;
    }
    // Windows finds each name in any case: walk down and take the spelling
    // that is there, as far as one is.
    fs::path walked = resolved.root_path();
    for (const fs::path& part : resolved.relative_path()) {
        const fs::path exact = walked / part;
        if (fs::exists(fs::symlink_status(exact, error)) || part == "." || part == "..") {
            walked = exact;
            continue;
        }
        const std::string other = OtherCase(walked.empty() ? fs::path(".") : walked, Utf8(part));
        walked /= other.empty() ? part : FileSystemPath(other);
    }
    return walked;
}

std::size_t ListingIndex::FoldedHash::operator()(std::string_view name) const noexcept {
    std::size_t hash = 14695981039346656037u;  // FNV-1a
    for (char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c)) *
               1099511628211u;
    }
    return hash;
}

bool ListingIndex::FoldedEqual::operator()(std::string_view a, std::string_view b) const noexcept {
    return ini::NamesMatch(a, b);
}

ListingIndex::ListingIndex(const ini::IniListing& listing) {
    sections_.reserve(listing.sections.size());
    for (const ini::ListedSection& listed : listing.sections) {
        Section& section = sections_[listed.name];
        if (section.listed != nullptr) {
            continue;  // only the first section of a name is searched
        }
        section.listed = &listed;
        section.keys.reserve(listed.keys.size());
        for (const ini::ListedKey& key : listed.keys) {
            if (!section.keys.emplace(key.name, &key).second) {  // the first one stays
                shadowed_.insert(&key);
            }
        }
    }
}

const ini::ListedSection* ListingIndex::FindSection(std::string_view section) const {
    section = ini::TrimArgument(section);
    if (!ini::IsWritableName(section)) {
        return nullptr;
    }
    const auto found = sections_.find(section);
    return found == sections_.end() ? nullptr : found->second.listed;
}

const ini::ListedKey* ListingIndex::Find(std::string_view section, std::string_view key) const {
    section = ini::TrimArgument(section);
    key = ini::TrimArgument(key);
    if (!ini::IsWritableName(section) || !ini::IsWritableName(key)) {
        return nullptr;
    }
    const auto found = sections_.find(section);
    if (found == sections_.end()) {
        return nullptr;
    }
    const auto line = found->second.keys.find(key);
    return line == found->second.keys.end() ? nullptr : line->second;
}

}  // namespace launcher::check
