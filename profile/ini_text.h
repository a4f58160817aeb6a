// The byte-level INI rules shared by the portable backend, the Windows
// backend's argument checks, the tests and the fuzzer. Nothing here touches
// the file system: every function works on bytes already in memory.
//
// Line rules (what Windows does): a line ends at CR, LF or CRLF. A line whose
// first non-blank byte is '[' is a section header named up to the first ']'
// (or the line end), trimmed. A line whose first non-blank byte is ';' is a
// comment. Any other line holding '=' is a key line: key before the first '=',
// value after it, both trimmed. Lines before the first header belong to no
// section. Only the first matching section is searched, and in it the first
// matching key wins. Names match ignoring ASCII case. A NUL ends the name or
// value it occurs in, as it would in the C strings of the Windows API.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace launcher::ini {

// A value read through the 255-byte buffer of the Windows API.
inline constexpr std::size_t kMaxValueBytes = 254;

// Section and key arguments lose their outer spaces (spaces only, not tabs).
std::string_view TrimArgument(std::string_view name);

// A section or key holding CR, LF or NUL would split into lines of its own, so
// it is never written.
bool IsWritableName(std::string_view name);

// A value is written on one line: CR, LF and NUL become blanks.
std::string OneLineValue(std::string_view value);

// The first kMaxValueBytes bytes of a cleaned value, one byte shorter (or two,
// or three) when the cut would split a well-formed UTF-8 sequence. Bytes that
// are not UTF-8 are cut where they fall.
std::string_view CutValue(std::string_view value);

// Section and key names match as lookups match them: ASCII letters ignore case.
bool NamesMatch(std::string_view a, std::string_view b);

// What one line (without its line break) is to a lookup. Views into the line.
struct LineParts {
    enum class Kind {
        kBlank,
        kComment,
        kHeader,  // name: the section
        kKey,     // name: the key; value: cleaned as a lookup returns it, not yet cut
        kNoKey,   // none of the others: no '=', so Windows takes it for no key at all
    };
    Kind kind = Kind::kBlank;
    std::string_view name;
    std::string_view value;
    bool closed = true;  // a header holds its ']'
};
LineParts SplitLine(std::string_view line);

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

    ValueScanner(std::string_view section, std::string_view key)
        : section_(section),
          key_(key),
          nameless_(!IsWritableName(section) || !IsWritableName(key)) {}

    // `atEnd`: data holds everything up to the end of the file.
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
    // What one line of the section, starting with the non-blank `first`, says.
    Status CheckLine(const char* base, const char* lineStart, const char* first,
                     const char* lineEnd, const char* end, bool atEnd);
    bool MayStartKey(char c) const;

    static constexpr Status kNextLine = static_cast<Status>(-1);

    std::string_view section_;
    std::string_view key_;
    bool nameless_;           // no line of any file can hold these names
    bool inSection_ = false;  // inside the first section that matches
    bool skipLine_ = false;   // the rest of the current line cannot matter
    std::size_t consumed_ = 0;
    std::string_view value_;
};

// The value ReadIni gives for a whole file held in memory.
std::string ReadValue(std::string_view text, std::string_view section, std::string_view key);

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
