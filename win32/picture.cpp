#include "win32/picture.h"

#include <wincodec.h>

#include <array>
#include <cstdint>

#include "profile/win32_text.h"

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

// The formats taken, told by content: whether a picture shows must not hang
// on which further codecs a machine has.
bool Accepted(const GUID& format) {
    const std::array<GUID, 4> accepted{GUID_ContainerFormatBmp, GUID_ContainerFormatPng,
                                       GUID_ContainerFormatJpeg, GUID_ContainerFormatGif};
    for (const GUID& known : accepted) {
        if (IsEqualGUID(format, known)) {
            return true;
        }
    }
    return false;
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
    Com<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(factory.out())))) {
        return nullptr;
    }
    Com<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(Utf8ToWide(path).c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.out()))) {
        return nullptr;
    }
    GUID format{};
    if (FAILED(decoder->GetContainerFormat(&format)) || !Accepted(format)) {
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
        FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0) {
        return nullptr;
    }

    void* bits = nullptr;
    HBITMAP bitmap = TopDownBitmap(LONG(width), LONG(height), &bits);
    if (bitmap == nullptr) {
        return nullptr;
    }
    const UINT stride = width * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    // A static control draws no alpha: lay the picture on the window's colour.
    auto* pixel = static_cast<std::uint8_t*>(bits);
    const std::uint8_t backdrop[3] = {GetBValue(background), GetGValue(background),
                                      GetRValue(background)};
    for (UINT i = 0; i < width * height; ++i, pixel += 4) {
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

}  // namespace launcher::win32
