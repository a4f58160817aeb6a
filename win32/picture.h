// Picture files for the two images of the main window, read through the
// Windows Imaging Component.
#pragma once

#include <windows.h>

#include <string>

namespace launcher::win32 {

// The BMP, PNG, JPEG or GIF file at `path` (relative paths from the working
// folder) as a bitmap at its own size, transparent parts laid on
// `background`. Any other file, a missing one or a damaged picture give
// nullptr. The caller owns the bitmap. COM must be initialised on the thread.
HBITMAP LoadPicture(const std::string& path, COLORREF background);

}  // namespace launcher::win32
