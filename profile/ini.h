// Single-value access to INI profile files.
//
// Every call is one complete lookup or update of the file on disk: nothing is
// cached between calls. Text is UTF-8 in and out; on Windows it is converted to
// and from the ANSI code page at the API boundary. Elsewhere our own reader and
// writer follow what GetPrivateProfileStringA / WritePrivateProfileStringA do
// on Windows (not Wine), and the file's text is UTF-8 or Windows-1252, so that
// files copied from a Windows machine read right (see profile/codepage.h).
//
// Out of scope: UTF-16 files and the 65,536-character length wrap of Windows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace launcher {

// Which bytes a write puts into the file where we write it ourselves; on
// Windows the system's profile functions always write the ANSI code page.
enum class IniText {
    // Windows-1252, as Windows would write it, unless the file already holds
    // UTF-8 text beyond ASCII, or a text has a character that Windows-1252
    // lacks and the file holds no Windows-1252 text yet: then UTF-8, so that
    // no character a user typed is lost.
    kAsTheFileHolds,
    // Always Windows-1252: a file that a Windows program reads.
    kWindows1252,
};

// The value of `key` in `section` of `file`, cleaned as Windows cleans it (outer
// blanks and one pair of outer quotes removed) and cut to at most 254 bytes
// without splitting a character (254 bytes of the file's own text, which may
// grow when converted to UTF-8). A value that is not UTF-8 is Windows-1252. An
// absent file, section or key and an empty value all give "", and so does a
// name holding CR, LF or NUL, which no line of a file can hold. A path that
// names no regular file (a FIFO, a device, a directory) reads as "" at once.
// Never throws.
std::string ReadIni(std::string_view section, std::string_view key, std::string_view file) noexcept;

// The names of the keys of `section` in `file`, in file order, as ReadIni
// matches them: every key ReadIni finds a value under is among them. Empty
// when the file or section is absent. For skipping the lookups of keys a file
// does not have: one reading of the file instead of one for each key.
// Never throws.
std::vector<std::string> ReadIniKeys(std::string_view section, std::string_view file) noexcept;

// Stores `value` under `key` in `section` of `file`, creating the file or the
// section when missing and leaving every other byte of the file as it was.
// Unlike the bare Windows API it never lets a write add lines of its own: a
// section or key holding CR, LF or NUL is refused, and in the value each of
// them becomes a blank. A read-only file (no write permission bits, or the
// read-only attribute) is refused even for root or an administrator, and so
// is a path that names no regular file. Our own writer replaces the file whole
// through a temporary file, so a reader never sees half a write, except where
// it edits in place as Windows does: a file with several hard links, or one in
// a folder we may not create files in. A symbolic link in place of the file
// is never written through (nor a dangling one created): the write is refused,
// though folders above the file may be links. A failed write (missing folder,
// read-only file, ...) creates nothing and gives false; true also when the
// value was already there. The launcher tells nobody of most failed writes:
// each caller says why it goes on without the value.
// Never throws.
[[nodiscard]] bool WriteIni(std::string_view section, std::string_view key, std::string_view value,
                            std::string_view file,
                            IniText text = IniText::kAsTheFileHolds) noexcept;

// Which call an IniObserver is told of.
enum class IniAccess { kRead, kListKeys, kWrite };

// Told of each ReadIni, ReadIniKeys (with an empty key) and WriteIni before
// it looks at the file: how a test sees every name the launcher asks for. It
// must not throw.
using IniObserver = void (*)(IniAccess access, std::string_view section, std::string_view key,
                             std::string_view file);

namespace detail {
// Set by tests only; the program leaves it null.
inline IniObserver iniObserver = nullptr;

inline void NoteIniAccess(IniAccess access, std::string_view section, std::string_view key,
                          std::string_view file) noexcept {
    if (iniObserver != nullptr) {
        iniObserver(access, section, key, file);
    }
}
}  // namespace detail

}  // namespace launcher
