// The rules for one line of an INI file, and for the names and values a
// lookup or a write takes. Nothing here touches the file system.
//
// What Windows does: a line ends at CR, LF or CRLF. A line whose first
// non-blank byte is '[' is a section header named up to the first ']' (or the
// line end), trimmed. A line whose first non-blank byte is ';' is a comment.
// Any other line holding '=' is a key line: key before the first '=', value
// after it, both trimmed. Lines before the first header belong to no section.
// Only the first matching section is searched, and in it the first matching
// key wins. Names match ignoring ASCII case. A NUL ends the name or value it
// occurs in, as it would in the C strings of the Windows API.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace launcher::ini {

// A value read through the 255-byte buffer of the Windows API.
inline constexpr std::size_t kMaxValueBytes = 254;

// Blanks trimmed around names and values in the file. Windows trims space, tab
// and VT; FF and DOS EOF (0x1A) are trimmed as Wine does, since no Windows
// result says otherwise.
constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
}

constexpr bool IsBreak(char c) {
    return c == '\r' || c == '\n';
}

constexpr char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view TrimBlanks(std::string_view s);

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

// Section and key names match as lookups match them: ASCII letters ignore
// case. Inline: a lookup asks it at every header it passes.
inline bool NamesMatch(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// What one line (without its line break) is. Every reader and writer of a
// file takes its lines by this one rule. Views into the line.
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
    std::string_view rawValue;  // a key line's bytes after its '=', as they stand
    bool closed = true;         // a header holds its ']'
};
LineParts SplitLine(std::string_view line);

// The first CR or LF at or after `p`, or `end`.
const char* FindBreak(const char* p, const char* end);

}  // namespace launcher::ini
