// A folder list: a list box that draws the core's folder listing, one row a
// folder, indented by its depth. A double-click opens the row's folder.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "form/folder_listing.h"

namespace launcher::win32 {

class FolderList {
public:
    explicit FolderList(HWND list) : list_(list) {}

    // The open folder; empty until one was opened.
    const std::string& folder() const { return listing_.folder(); }
    // An unusable folder leaves the list as it was.
    void Open(std::string_view folder);
    void PointAtDrive(std::string_view drive);
    // The list's LBN_DBLCLK: opens the row under the selection.
    void OpenSelectedRow();

private:
    void Draw();

    HWND list_;
    FolderListing listing_;
};

}  // namespace launcher::win32
