// Draws the five Win32 windows as a user meets them over a program folder and
// saves them as PNG: the README's pictures of the Windows launcher. Runs under
// Wine in an X server (tools/render-windows-win32.sh).
//   win32-form1.png        the main window with a position picked
//   win32-final-setup.png  the Final Setup dialog that Launch opens
//   win32-preferences.png  the Preferences dialog
//   win32-browse-radar.png, win32-browse-voice.png  the two browse dialogs
//
// usage: render-windows-win32 OUTPUT_FOLDER PROGRAM_FOLDER
// The program folder is written to (start-up and Launch write rvsb.ini):
// hand it a scratch copy.
#include <windows.h>
// clang-format off
#include <commctrl.h>
#include <objbase.h>
#include <wincodec.h>
// clang-format on

#include <cstdio>
#include <string>

#include "app/form1_presenter.h"
#include "profile/win32_text.h"
#include "tools/idle_world.h"
#include "win32/form_maker.h"
#include "win32/system_world.h"

namespace {

using launcher::win32::FormWindow;

using launcher::tools::FixedLocation;
using launcher::tools::NoClock;
using launcher::tools::NoEnding;
using launcher::tools::NoReporter;
using launcher::tools::NoStarter;

// Lets the windows paint (and the 100 ms poll show a pick) before drawing.
void Settle() {
    const DWORD until = GetTickCount() + 400;
    while (GetTickCount() < until) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

// The window's client area as it stands on the screen, saved as PNG.
bool Save(HWND window, const std::string& path) {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle();
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;

    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(window, source);

    bool saved = false;
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&factory))) &&
        SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromFilename(launcher::win32::Utf8ToWide(path).c_str(),
                                                 GENERIC_WRITE)) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
        SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) &&
        SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->SetSize(UINT(width), UINT(height))) &&
        SUCCEEDED(frame->SetPixelFormat(&format)) &&
        SUCCEEDED(frame->WritePixels(UINT(height), UINT(width) * 4, UINT(width * height * 4),
                                     static_cast<BYTE*>(bits))) &&
        SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit())) {
        saved = true;
    }
    for (IUnknown* object : {static_cast<IUnknown*>(frame), static_cast<IUnknown*>(encoder),
                             static_cast<IUnknown*>(stream), static_cast<IUnknown*>(factory)}) {
        if (object != nullptr) {
            object->Release();
        }
    }
    DeleteObject(bitmap);
    if (!saved) {
        std::fprintf(stderr, "render-windows-win32: could not save %s\n", path.c_str());
    }
    return saved;
}

FormWindow& WindowOf(launcher::FormView& view) {
    return static_cast<FormWindow&>(view);
}

HWND HandleOf(launcher::FormView& view) {
    return WindowOf(view).handle();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: render-windows-win32 OUTPUT_FOLDER PROGRAM_FOLDER\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::string output = argv[1];
    const std::string folder = argv[2];
    // Picture paths in config.ini are taken from the working folder; the
    // launcher is normally started from its own folder.
    SetCurrentDirectoryW(launcher::win32::Utf8ToWide(folder).c_str());

    FixedLocation location(folder);
    NoEnding ender;
    launcher::win32::SystemVolumeList volumes;
    NoClock clock;
    NoStarter starter;
    NoReporter errors;
    launcher::win32::FormMaker maker;
    launcher::Form1Presenter presenter(maker, {location, ender, volumes, clock, starter, errors});
    presenter.Form_Load();
    FormWindow& form = WindowOf(presenter.view());
    form.ShowModeless();
    Settle();

    // The first group's first position, picked with the keyboard on the
    // closed list, as a user does.
    HWND first = form.control("Combo1");
    if (SendMessageW(first, CB_GETCOUNT, 0, 0) > 0) {
        SendMessageW(first, WM_KEYDOWN, VK_DOWN, 1);
        Settle();
    }
    bool saved = Save(form.handle(), output + "\\win32-form1.png");

    presenter.Command1_Click();
    saved = Save(HandleOf(presenter.form2()->view()), output + "\\win32-final-setup.png") && saved;
    presenter.Command3_Click();
    launcher::Form4Presenter& preferences = presenter.form4();
    saved = Save(HandleOf(preferences.view()), output + "\\win32-preferences.png") && saved;
    preferences.Command3_Click();
    saved =
        Save(HandleOf(preferences.form5()->view()), output + "\\win32-browse-radar.png") && saved;
    preferences.Command4_Click();
    saved =
        Save(HandleOf(preferences.form6()->view()), output + "\\win32-browse-voice.png") && saved;
    ExitProcess(saved ? 0 : 1);
}
