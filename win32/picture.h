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

// What a picture control shows: a picture at its own size, and the copy grown
// to the window's DPI (none at 96, where it shows exactly as drawn). Both are
// freed with it, after the control is gone.
class ShownPicture {
public:
    ShownPicture() = default;
    ~ShownPicture();
    ShownPicture(ShownPicture&& other) noexcept;
    ShownPicture& operator=(ShownPicture&&) = delete;
    ShownPicture(const ShownPicture&) = delete;
    ShownPicture& operator=(const ShownPicture&) = delete;

    bool empty() const { return picture_ == nullptr; }
    // Shows `picture` in `control` at `dpi` and takes it over; null leaves
    // the control empty. The control takes the size of what it shows.
    void Set(HWND control, HBITMAP picture, int dpi);
    // Shows the picture again at the window's new DPI.
    void Rescale(HWND control, int dpi);

private:
    // `previous`: the bitmap the control may show until now.
    void Show(HWND control, HBITMAP previous, int dpi);

    HBITMAP picture_ = nullptr;
    HBITMAP scaled_ = nullptr;
};

}  // namespace launcher::win32
