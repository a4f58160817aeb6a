#include "win32/folder_list.h"

#include "profile/win32_text.h"

namespace launcher::win32 {

namespace {

constexpr std::size_t kIndentPerDepth = 2;

}  // namespace

void FolderList::Open(std::string_view folder) {
    if (listing_.Open(folder)) {
        Draw();
    }
}

void FolderList::PointAtDrive(std::string_view drive) {
    if (listing_.PointAtDrive(drive)) {
        Draw();
    }
}

void FolderList::OpenSelectedRow() {
    const LRESULT row = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    if (row >= 0 && std::size_t(row) < listing_.rows().size()) {
        // A copy: opening replaces the rows.
        const std::string path = listing_.rows()[std::size_t(row)].path;
        Open(path);
    }
}

void FolderList::Draw() {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    for (const FolderRow& row : listing_.rows()) {
        const std::wstring text =
            std::wstring(std::size_t(row.depth) * kIndentPerDepth, L' ') + Utf8ToWide(row.name);
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(list_, LB_SETCURSEL, WPARAM(listing_.openRow()), 0);
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

}  // namespace launcher::win32
