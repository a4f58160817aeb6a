// Replacing a file's whole contents so that a reader sees the old bytes or the
// new ones, never a mix: the new bytes go to a temporary file in the same
// folder, reach the disk, and the temporary file is renamed over the target.
// A temporary file left by a process that died half way is removed by the
// next replacement of the same target.
#pragma once

#include <string>
#include <string_view>

namespace launcher {

// How a replacement ended: code 0 when the new bytes are in place, else the
// system's error number (errno, or GetLastError() on Windows), or kRefusedLink.
struct ReplaceResult {
    // The target is a symbolic link (on Windows any reparse point): a file of
    // a downloaded folder may point anywhere, so it is never written through.
    static constexpr int kRefusedLink = -1;

    int code = 0;

    [[nodiscard]] bool ok() const { return code == 0; }
    // The system's own wording for `code`, in UTF-8, without a line end.
    [[nodiscard]] std::string Reason() const;
};

// Makes `path` (UTF-8) hold exactly `bytes`, creating it when missing. A
// read-only file is refused (EACCES / ERROR_ACCESS_DENIED) as Windows refuses
// it, even for root, and a missing folder creates nothing. So is a path that
// names no regular file (a FIFO, a device, a directory). On failure no
// temporary file is left. The last component of `path` is never followed: a
// symbolic link there (a dangling one included) is refused with kRefusedLink
// and left as it is; folders above it may be links. On POSIX an existing file
// keeps its permissions and, where the system allows, its owner; on Windows
// the new file takes the folder's default security.
[[nodiscard]] ReplaceResult ReplaceFileContents(std::string_view path,
                                                std::string_view bytes) noexcept;

// Whether ReplaceFileContents(path, ...) would be refused for what stands at
// `path` now, without writing anything: a link in the file's place, something
// that is no regular file, a read-only file, a missing folder or one we may
// not write in. A write can still fail later (a full disk, say).
[[nodiscard]] ReplaceResult CheckReplaceable(std::string_view path) noexcept;

#ifndef _WIN32
// ReplaceFileContents for an INI file, which Windows edits in place: where
// replacing would be wrong or impossible, the file is rewritten in place
// instead, which is not atomic. That is a file with several hard links (a
// new file would cut it off from the others) and a writable file in a folder
// that does not let us create the temporary file.
[[nodiscard]] ReplaceResult UpdateFileContents(std::string_view path,
                                               std::string_view bytes) noexcept;

// Removes what writers of `path` that died half way left, as every
// replacement does first: for a write that finds nothing to change.
void RemoveStaleTemporaries(std::string_view path) noexcept;
#endif

}  // namespace launcher
