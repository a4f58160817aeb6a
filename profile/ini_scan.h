// Looking up one value in the bytes of an INI file, by the line rules of
// ini_line.h, without reading more of the file than the answer needs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace launcher::ini {

// Lookup of one value over a file that arrives in pieces: each call gets the
// bytes not yet consumed followed by newly read ones. `section` and `key` are
// already trimmed.
class ValueScanner {
public:
    enum class Status {
        kFound,     // value() holds the cleaned value (a view into the last data)
        kAbsent,    // the answer is "" whatever follows
        kNeedMore,  // pass data[consumed()..] again with the bytes that follow
    };

    ValueScanner(std::string_view section, std::string_view key);

    // `data` must be followed by a NUL byte (as a std::string's bytes are):
    // the key is searched with the C library's string search. Followed
    // instead by the key's bytes and a NUL, the search ends on that copy of
    // the key without a pass to find the NUL. `atEnd`: data holds everything
    // up to the end of the file.
    Status Scan(std::string_view data, bool atEnd);
    std::size_t consumed() const { return consumed_; }
    std::string_view value() const { return value_; }

private:
    Status NeedMore(std::size_t consumed) {
        consumed_ = consumed;
        return Status::kNeedMore;
    }
    Status ScanHeaders(const char* base, const char*& p, const char* end, bool atEnd);
    Status ScanSection(const char* base, const char* p, const char* end, bool atEnd);
    // What the line starting at `lineStart`, one that may hold the key, says.
    Status CheckLine(const char* base, const char* lineStart, const char* lineEnd, const char* end,
                     bool atEnd);
    bool MayStartKey(char c) const;

    static constexpr Status kNextLine = static_cast<Status>(-1);

    std::string_view section_;
    std::string_view key_;
    bool nameless_;           // no line of any file can hold these names
    bool inSection_ = false;  // inside the first section that matches
    bool skipLine_ = false;   // the rest of the current line cannot matter
    std::size_t anchor_ = 0;  // the offset in the key of the two bytes searched for
    bool anchorChosen_ = false;
    std::size_t consumed_ = 0;
    std::string_view value_;
};

// The value ReadIni gives for a whole file held in memory.
std::string ReadValue(std::string_view text, std::string_view section, std::string_view key);

}  // namespace launcher::ini
