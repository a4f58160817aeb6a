// Picture files for the two images of the main window, read through the
// Windows Imaging Component.
#pragma once

#include <windows.h>

#include <string>

namespace launcher::win32 {

// The BMP, PNG, JPEG or GIF file at `path` as a bitmap at its own size,
// transparent parts laid on `background`. The bytes come from
// ReadPictureFile (form/picture_file.h) and are decoded in memory by
// Windows' own decoder for the format their header declares. Any other file,
// a missing one, one ReadPictureFile refuses, a damaged picture or one that
// decodes to another size than its header's give nullptr. The caller owns the
// bitmap. COM must be initialised on the thread.
HBITMAP LoadPicture(const std::string& path, COLORREF background);

// `picture` drawn anew at `dpi`, each side its own pixels times dpi / 96,
// blended rather than repeated so that it grows as smoothly as the text
// around it. The caller owns the new bitmap; null where it cannot be made.
HBITMAP ScaledPicture(HBITMAP picture, int dpi);

}  // namespace launcher::win32
