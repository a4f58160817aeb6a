// The files of a program folder as the check reads them: each found by the
// reading's rule for names, read once and listed once, and looked up through
// an index, so that a file of any size is checked in one pass.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "check/folder_check.h"
#include "profile/ini_listing.h"

namespace launcher::check {

// The name `name` has in `folder` under `reading`: itself, or under the
// Windows reading any spelling that differs from it in ASCII case. No value
// when nothing stands there.
std::optional<std::string> FindInFolder(const std::filesystem::path& folder, std::string_view name,
                                        Reading reading);

// A spelling of `name` in `folder` that only differs in case; "" when none.
std::string OtherCase(const std::filesystem::path& folder, std::string_view name);

// The whole of the regular file at `path`, or why it cannot be read ("a
// folder stands in place of the file", "cannot be read: permission denied").
// Nothing but a regular file is opened, so no FIFO or device can hold it up.
struct FileBytes {
    std::string bytes;
    std::string refusal;  // empty when read
    std::filesystem::file_status status;
};
FileBytes ReadFileBytes(const std::filesystem::path& path);

// What stands at a path instead of a file, as a message names it.
std::string KindOf(const std::filesystem::file_status& status);

// UTF-16LE text after its byte-order mark, as UTF-8; an unpaired surrogate
// becomes U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

// A path written in a file as the reading takes it from `folder`: under the
// Windows reading backslashes separate folders and names match without
// regard to case. No value for a Windows path this machine cannot follow
// ("C:\Program Files\...", "\Windows") when the check runs elsewhere.
std::optional<std::filesystem::path> ResolveWritten(std::string_view folder,
                                                    std::string_view written, Reading reading);

// The sections and keys of a listing as lookups find them: the first
// section of a name, and in it the first key of a name, ASCII case aside.
class ListingIndex {
public:
    explicit ListingIndex(const ini::IniListing& listing);

    const ini::ListedSection* FindSection(std::string_view section) const;
    const ini::ListedKey* Find(std::string_view section, std::string_view key) const;
    // Whether `key` of the first section of its name is the first of its own
    // name there: Find(section.name, key.name) == &key, without a lookup.
    bool IsFirstKey(const ini::ListedKey& key) const { return !shadowed_.contains(&key); }

private:
    // Names hashed and compared as lookups match them, without a copy.
    struct FoldedHash {
        std::size_t operator()(std::string_view name) const noexcept;
    };
    struct FoldedEqual {
        bool operator()(std::string_view a, std::string_view b) const noexcept;
    };
    template <typename T>
    using ByName = std::unordered_map<std::string_view, T, FoldedHash, FoldedEqual>;

    struct Section {
        const ini::ListedSection* listed = nullptr;
        ByName<const ini::ListedKey*> keys;
    };
    ByName<Section> sections_;
    std::unordered_set<const ini::ListedKey*> shadowed_;  // a key of that name came first
};

// A name as lookups compare it: ASCII letters in lower case.
std::string FoldedName(std::string_view name);

}  // namespace launcher::check
