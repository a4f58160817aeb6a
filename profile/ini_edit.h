// Planning a write of one value into the bytes of an INI file, as Windows
// edits a file in place (see ini_line.h for how a file's lines are read).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace launcher::ini {

// One edit of a file: erase `erase` bytes at `offset`, then insert `insert`
// there. An empty splice leaves the file as it is.
struct Splice {
    std::size_t offset = 0;
    std::size_t erase = 0;
    std::string insert;

    bool empty() const { return erase == 0 && insert.empty(); }
    std::string ApplyTo(std::string_view text) const;
};

// The edit that stores `value` under `key` in `section` of `text`: the value
// of the first matching key line replaced, or a new key line after the last
// key line of the first matching section, or a new section at the end. An
// existing value that already reads as the same bytes is left alone. Empty
// when a name cannot be written (see IsWritableName).
std::optional<Splice> PlanWrite(std::string_view text, std::string_view section,
                                std::string_view key, std::string_view value);

}  // namespace launcher::ini
