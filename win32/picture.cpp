#include "win32/picture.h"

#include <wincodec.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

#include "form/picture_file.h"

namespace launcher::win32 {

namespace {

// Releases a COM interface when it goes out of scope.
template <typename Interface>
class Com {
public:
    Com() = default;
    ~Com() {
        if (pointer_ != nullptr) {
            pointer_->Release();
        }
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;

    Interface** out() { return &pointer_; }
    Interface* operator->() const { return pointer_; }
    Interface* get() const { return pointer_; }

private:
    Interface* pointer_ = nullptr;
};

// The system's own decoder for the format the header declares, made by its
// class: a codec installed later on the machine never sees a downloaded
// file.
const CLSID& DecoderClass(PictureFormat format) {
    switch (format) {
        case PictureFormat::kBmp:
            return CLSID_WICBmpDecoder;
        case PictureFormat::kPng:
            return CLSID_WICPngDecoder;
        case PictureFormat::kJpeg:
            return CLSID_WICJpegDecoder;
        case PictureFormat::kGif:
            break;
    }
    return CLSID_WICGifDecoder;
}

// A 32-bit bitmap whose rows run from the top, as WIC hands them; `bits`
// gets its pixels.
HBITMAP TopDownBitmap(LONG width, LONG height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace

HBITMAP LoadPicture(const std::string& path, COLORREF background) {
    if (path.empty()) {
        return nullptr;
    }
    const std::optional<PictureFile> file = ReadPictureFile(path);
    if (!file) {
        return nullptr;
    }
    const PictureHeader& header = file->header;
    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(factory.out()))) ||
        FAILED(factory->CreateStream(stream.out())) ||
        // The stream reads the bytes in place; `file` outlives the decoder.
        FAILED(stream->InitializeFromMemory(
            reinterpret_cast<BYTE*>(const_cast<char*>(file->bytes.data())),
            DWORD(file->bytes.size()))) ||
        FAILED(CoCreateInstance(DecoderClass(header.format), nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(decoder.out()))) ||
        FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand))) {
        return nullptr;
    }
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(decoder->GetFrame(0, frame.out())) ||
        FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height))) {
        return nullptr;
    }
    // The size was checked in the header, before any decoder ran; a decoder
    // that makes another of the bytes is not believed.
    if (width != header.width || height != header.height) {
        return nullptr;
    }
    // At most 8192 a side, so 256 MiB; counted in 64 bits all the same.
    const std::uint64_t stride = std::uint64_t(width) * 4;
    const std::uint64_t bytes = stride * height;
    if (bytes > std::numeric_limits<UINT>::max()) {
        return nullptr;
    }

    void* bits = nullptr;
    HBITMAP bitmap = TopDownBitmap(LONG(width), LONG(height), &bits);
    if (bitmap == nullptr) {
        return nullptr;
    }
    if (FAILED(
            converter->CopyPixels(nullptr, UINT(stride), UINT(bytes), static_cast<BYTE*>(bits)))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    // A static control draws no alpha: lay the picture on the window's colour.
    auto* pixel = static_cast<std::uint8_t*>(bits);
    const std::uint8_t backdrop[3] = {GetBValue(background), GetGValue(background),
                                      GetRValue(background)};
    const std::uint64_t pixels = std::uint64_t(width) * height;
    for (std::uint64_t i = 0; i < pixels; ++i, pixel += 4) {
        const unsigned clear = 255u - pixel[3];
        for (int c = 0; c < 3; ++c) {
            pixel[c] = std::uint8_t(pixel[c] + backdrop[c] * clear / 255u);
        }
        pixel[3] = 255;
    }
    return bitmap;
}

HBITMAP ScaledPicture(HBITMAP picture, int dpi) {
    BITMAP own{};
    if (GetObjectW(picture, sizeof own, &own) == 0) {
        return nullptr;
    }
    const int width = MulDiv(own.bmWidth, dpi, 96);
    const int height = MulDiv(own.bmHeight, dpi, 96);
    void* bits = nullptr;
    HBITMAP scaled = TopDownBitmap(width, height, &bits);
    if (scaled == nullptr) {
        return nullptr;
    }
    // GDI's halftone stretch blends neighbouring pixels on Windows and under
    // Wine alike; Wine's WIC scaler repeats them, whatever mode it is asked
    // for.
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFrom = SelectObject(from, picture);
    HGDIOBJ oldTo = SelectObject(to, scaled);
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);
    const BOOL drawn =
        StretchBlt(to, 0, 0, width, height, from, 0, 0, own.bmWidth, own.bmHeight, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    if (!drawn) {
        DeleteObject(scaled);
        return nullptr;
    }
    return scaled;
}

ShownPicture::~ShownPicture() {
    if (picture_ != nullptr) {
        DeleteObject(picture_);
    }
    if (scaled_ != nullptr) {
        DeleteObject(scaled_);
    }
}

ShownPicture::ShownPicture(ShownPicture&& other) noexcept
    : picture_(std::exchange(other.picture_, nullptr)),
      scaled_(std::exchange(other.scaled_, nullptr)) {}

void ShownPicture::Set(HWND control, HBITMAP picture, int dpi) {
    HBITMAP previous = std::exchange(picture_, picture);
    Show(control, previous, dpi);
    if (previous != nullptr) {
        DeleteObject(previous);
    }
}

void ShownPicture::Rescale(HWND control, int dpi) {
    if (picture_ != nullptr) {
        Show(control, picture_, dpi);
    }
}

void ShownPicture::Show(HWND control, HBITMAP previous, int dpi) {
    HBITMAP scaled = picture_ != nullptr && dpi != 96 ? ScaledPicture(picture_, dpi) : nullptr;
    HBITMAP shown = scaled != nullptr ? scaled : picture_;
    // Common controls 6 show a copy of a bitmap with alpha and hand the copy
    // back here: it is ours.
    auto* old = reinterpret_cast<HBITMAP>(
        SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown)));
    if (old != nullptr && old != previous && old != scaled_) {
        DeleteObject(old);
    }
    if (scaled_ != nullptr) {
        DeleteObject(scaled_);
    }
    scaled_ = scaled;
}

}  // namespace launcher::win32
