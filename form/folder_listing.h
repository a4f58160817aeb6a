// What a folder list shows and when it moves: the folders from the root down
// to the open one, then the folders inside it; pointed at a drive, it opens
// that drive's root only when the drive is new, so that pointing again (at
// every tick of a timer) never undoes the user's own navigation.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

struct FolderRow {
    std::string name;  // a root as its path ("/", "C:\"), any other by its own name
    std::string path;  // the folder itself, absolute
    int depth = 0;     // 0 for the root; a folder inside the open one is one deeper

    bool operator==(const FolderRow&) const = default;
};

// A folder that cannot be opened is silent by design, so the two return a
// bool, not an Outcome: the list stays as it was and says nothing, as a
// folder list does (a double-click on a folder removed meanwhile, a drive
// polled every tick with no medium in it). The list redraws only on true.
class FolderListing {
public:
    // Opens `folder` (a relative one from the working folder). An empty,
    // missing or unreadable folder leaves the listing as it was: false.
    [[nodiscard]] bool Open(std::string_view folder);

    // Opens the root `drive` when it is not the drive last pointed at. A drive
    // that cannot be read is tried again at the next pointing, so a medium put
    // in later is found. True when the listing changed.
    [[nodiscard]] bool PointAtDrive(std::string_view drive);

    // The open folder, absolute, with the system's separators and no trailing
    // one but on a root; empty until a folder was opened.
    const std::string& folder() const { return folder_; }
    const std::vector<FolderRow>& rows() const { return rows_; }
    // The row of the open folder.
    std::size_t openRow() const { return openRow_; }

private:
    std::string folder_;
    std::string drive_;
    std::vector<FolderRow> rows_;
    std::size_t openRow_ = 0;
};

}  // namespace launcher
