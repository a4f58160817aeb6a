// Each Win32 window built from its form table, control by control: window
// class, style, caption, place at the window's DPI and at 144 DPI, and the
// Tab order; then what each window reports to its presenter: picks, typing,
// clicks, its close box and its timers. Runs under Wine in the Windows build.
#include <gtest/gtest.h>
#include <wincodec.h>
#include <windows.h>

// <windows.h> comes before the headers that build on it.
// clang-format off
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/form1_presenter.h"
#include "app/form1_table.h"
#include "form/layout_rules.h"
#include "launch/form2_table.h"
#include "prefs/form_tables.h"
#include "profile/win32_text.h"
#include "tests/support/fakes.h"
#include "tests/support/scratch_folder.h"
#include "win32/form_kit.h"
#include "win32/form_maker.h"
#include "win32/form_window.h"
#include "win32/picture.h"

namespace launcher::win32 {
namespace {

std::wstring ClassOf(HWND control) {
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    return name;
}

std::string TextOf(HWND control) {
    wchar_t text[512] = {};
    GetWindowTextW(control, text, 512);
    return WideToUtf8(text);
}

// Every event a window reports but the ticks, in order: "click Command1",
// "pick Combo2", "text Combo2=EGLL_TWR", "close"; the ticks are counted.
class RecordingEvents final : public FormEvents {
public:
    std::vector<std::string> heard;
    std::size_t ticks = 0;

    void OnClick(std::string_view button) override { Hear("click ", button); }
    void OnPick(std::string_view list) override { Hear("pick ", list); }
    void OnTextChanged(std::string_view control, const std::string& text) override {
        Hear("text ", std::string(control) + "=" + text);
    }
    void OnTick(std::string_view timer) override { ticks += timer == "Timer1" ? 1 : 0; }
    void OnClose() override { Hear("close", ""); }

private:
    void Hear(const char* what, std::string_view name) {
        heard.push_back(what + std::string(name));
    }
};

void DispatchPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Where `control` stands in its window's client area.
RECT PlaceOf(HWND window, HWND control) {
    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
    return box;
}

// The place the table gives, at `dpi`; a label ends where a caption begins
// across it.
RECT Expected(const FormTable& table, const ControlSpec& design, int dpi) {
    int left = design.left;
    int top = design.top;
    const int width = design.kind == ControlKind::kLabel && !design.growsToRightEdge
                          ? LabelRoomTwips(table, design)
                          : design.width;
    if (!design.container.empty()) {
        left += table.Control(design.container).left;
        top += table.Control(design.container).top;
    }
    return RECT{TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(left + width, dpi),
                TwipsToPixels(top + design.height, dpi)};
}

struct Kind {
    const wchar_t* className;
    DWORD typeMask;
    DWORD type;
    bool tabStop;
};

Kind KindOf(ControlKind kind, TextAlign align) {
    switch (kind) {
        case ControlKind::kFrame:
            return {L"Button", BS_TYPEMASK, BS_GROUPBOX, false};
        case ControlKind::kLabel:
            return {L"Static", SS_TYPEMASK | SS_NOPREFIX,
                    DWORD((align == TextAlign::kCentre ? SS_CENTER : SS_LEFT) | SS_NOPREFIX),
                    false};
        case ControlKind::kTextBox:
            return {L"Edit", 0, 0, true};
        case ControlKind::kEditableList:
            return {L"ComboBox", 3, CBS_DROPDOWN, true};
        case ControlKind::kCheckBox:
            return {L"Button", BS_TYPEMASK, BS_AUTOCHECKBOX, true};
        case ControlKind::kButton:
            // Never BS_DEFPUSHBUTTON: Return presses no button.
            return {L"Button", BS_TYPEMASK, BS_PUSHBUTTON, true};
        case ControlKind::kPicture:
            return {L"Static", SS_TYPEMASK, SS_BITMAP, false};
        case ControlKind::kDriveList:
            return {L"ComboBox", 3, CBS_DROPDOWNLIST, true};
        case ControlKind::kFolderList:
            return {L"ListBox", LBS_NOTIFY, LBS_NOTIFY, true};
    }
    return {};
}

class win32_forms : public ::testing::TestWithParam<const FormTable*> {};

TEST_P(win32_forms, EveryControlAsItsTableSays) {
    const FormTable& table = *GetParam();
    RecordingEvents events;
    FormWindow form(table, events);
    const int dpi = form.dpi();
    ASSERT_GE(dpi, 96);
    // On a screen set to a DPI of its own, the window starts at that DPI.
    if (const char* screen = std::getenv("SCREEN_DPI"); screen != nullptr) {
        EXPECT_EQ(dpi, std::atoi(screen));
    }
    // Building is not the user's doing.
    EXPECT_TRUE(events.heard.empty());
    // Only the main window can be minimized.
    EXPECT_EQ((GetWindowLongPtrW(form.handle(), GWL_STYLE) & WS_MINIMIZEBOX) != 0,
              table.name == "Form1");

    RECT client;
    GetClientRect(form.handle(), &client);
    EXPECT_EQ(client.right, TwipsToPixels(table.clientWidth, dpi));
    EXPECT_EQ(client.bottom, TwipsToPixels(table.clientHeight, dpi));
    EXPECT_EQ(TextOf(form.handle()), table.caption);
    // No owner: each window stands on its own.
    EXPECT_EQ(GetWindow(form.handle(), GW_OWNER), nullptr);

    for (const ControlSpec& design : table.controls) {
        SCOPED_TRACE(table.name + "." + design.name);
        HWND control = form.control(design.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetParent(control), form.handle());
        const Kind kind = KindOf(design.kind, design.align);
        EXPECT_EQ(ClassOf(control), kind.className);
        const DWORD style = DWORD(GetWindowLongPtrW(control, GWL_STYLE));
        EXPECT_EQ(style & kind.typeMask, kind.type);
        EXPECT_EQ((style & WS_TABSTOP) != 0, kind.tabStop);

        const RECT expected = Expected(table, design, dpi);
        const RECT actual = PlaceOf(form.handle(), control);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        if (design.growsToRightEdge) {
            // A one-line prompt may grow up to the client area's edge for a
            // wider face, never shrink.
            EXPECT_GE(actual.right, expected.right);
            EXPECT_LE(actual.right, client.right);
        } else if (design.kind != ControlKind::kPicture) {
            EXPECT_EQ(actual.right, expected.right);
        }
        if (design.kind != ControlKind::kEditableList && design.kind != ControlKind::kDriveList &&
            design.kind != ControlKind::kPicture) {
            EXPECT_EQ(actual.bottom, expected.bottom);
        } else if (design.kind != ControlKind::kPicture) {
            // A list's field keeps the layout's height give or take its border.
            EXPECT_NEAR(actual.bottom - actual.top, expected.bottom - expected.top, 3);
        }

        if (design.kind == ControlKind::kEditableList) {
            EXPECT_EQ(form.Text(design.name), design.caption);
            EXPECT_EQ(SendMessageW(control, CB_GETCOUNT, 0, 0), LRESULT(design.items.size()));
            EXPECT_EQ(SendMessageW(control, CB_GETCURSEL, 0, 0), CB_ERR);
        } else if (design.kind != ControlKind::kPicture && design.kind != ControlKind::kDriveList &&
                   design.kind != ControlKind::kFolderList) {
            EXPECT_EQ(TextOf(control), design.caption);
        }

        if (design.kind == ControlKind::kPicture) {
            continue;  // a picture draws no text
        }
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        if (design.captionOf.empty()) {
            EXPECT_EQ(font.lfHeight, -MulDiv(design.font.points, dpi, 72));
        } else {
            // A caption may step down to fit a wider face, never up.
            EXPECT_LE(-font.lfHeight, MulDiv(design.font.points, dpi, 72));
        }
        EXPECT_EQ(font.lfWeight >= FW_BOLD, design.font.bold);
    }
}

TEST_P(win32_forms, TabWalksTheTableOrder) {
    const FormTable& table = *GetParam();
    RecordingEvents events;
    FormWindow form(table, events);
    std::vector<std::string> expected;
    for (const ControlSpec* design : table.FocusOrder()) {
        expected.push_back(design->name);
    }
    // Shown, the window gives the focus to the first of them.
    form.ShowModeless();
    DispatchPending();
    // An editable list takes it in its own text field.
    HWND first = form.control(expected.front());
    EXPECT_TRUE(GetFocus() == first || IsChild(first, GetFocus()));

    std::vector<std::string> walked;
    HWND control = form.control(expected.front());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        for (const ControlSpec& design : table.controls) {
            if (form.control(design.name) == control) {
                walked.push_back(design.name);
            }
        }
        control = GetNextDlgTabItem(form.handle(), control, FALSE);
    }
    EXPECT_EQ(walked, expected);
    // Round the circle, back at the first.
    EXPECT_EQ(control, form.control(expected.front()));
}

TEST_P(win32_forms, FollowsTheWindowToEveryCommonDpi) {
    const FormTable& table = *GetParam();
    RecordingEvents events;
    FormWindow form(table, events);
    // What Windows sends a per-monitor aware window moved to a screen at
    // 125 %, 150 % and 200 %.
    for (const int dpi : {120, 144, 192}) {
        RECT outer;
        GetWindowRect(form.handle(), &outer);
        SendMessageW(form.handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&outer));
        EXPECT_EQ(form.dpi(), dpi);
        for (const ControlSpec& design : table.controls) {
            if (design.kind == ControlKind::kPicture) {
                continue;
            }
            SCOPED_TRACE(table.name + "." + design.name + " at " + std::to_string(dpi));
            const RECT expected = Expected(table, design, dpi);
            const RECT actual = PlaceOf(form.handle(), form.control(design.name));
            EXPECT_EQ(actual.left, expected.left);
            EXPECT_EQ(actual.top, expected.top);
            if (design.growsToRightEdge) {
                EXPECT_GE(actual.right, expected.right);
                EXPECT_LE(actual.right, TwipsToPixels(table.clientWidth, dpi));
            } else {
                EXPECT_EQ(actual.right, expected.right);
            }
        }
    }
}

TEST_P(win32_forms, CloseBoxIsReportedAndNothingMore) {
    RecordingEvents events;
    FormWindow form(*GetParam(), events);
    SendMessageW(form.handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(events.heard, std::vector<std::string>{"close"});
    // What closing does is the presenter's: the window itself stays.
    EXPECT_TRUE(IsWindow(form.handle()));
}

INSTANTIATE_TEST_SUITE_P(Windows, win32_forms,
                         ::testing::Values(&Form1Table(), &Form2Table(), &Form4Table(),
                                           &Form5Table(), &Form6Table()),
                         [](const auto& test) { return test.param->name; });

// A few controls at pixels worked out by hand from their twips, at 100 % and
// 150 %: a button, a label, a list inside its frame, a text box, a folder
// list. A list's height is its field's and its drop-down's, not the layout's.
TEST(win32_forms_pixels, PinnedAt96And144Dpi) {
    struct Pin {
        const FormTable* table;
        const char* control;
        int dpi;
        RECT place;
        bool list;
    };
    // "selected" ends where the "Selected Frequency" caption begins.
    const Pin pins[] = {
        {&Form1Table(), "Command1", 96, {276, 127, 381, 152}, false},
        {&Form1Table(), "selected", 96, {200, 168, 304, 193}, false},
        {&Form1Table(), "Combo7", 96, {159, 310, 246, 0}, true},
        {&Form1Table(), "Command1", 144, {414, 191, 572, 228}, false},
        {&Form1Table(), "selected", 144, {300, 252, 456, 290}, false},
        {&Form1Table(), "Combo7", 144, {239, 465, 369, 0}, true},
        {&Form4Table(), "rdvdir", 96, {80, 112, 361, 131}, false},
        {&Form4Table(), "rdvdir", 144, {120, 168, 542, 197}, false},
        {&Form5Table(), "Dir1", 96, {48, 88, 361, 199}, false},
        {&Form5Table(), "Dir1", 144, {72, 132, 542, 299}, false},
    };
    RecordingEvents events;
    std::map<const FormTable*, std::unique_ptr<FormWindow>> windows;
    for (const Pin& pin : pins) {
        SCOPED_TRACE(pin.table->name + "." + pin.control + " at " + std::to_string(pin.dpi));
        std::unique_ptr<FormWindow>& window = windows[pin.table];
        if (window == nullptr) {
            window = std::make_unique<FormWindow>(*pin.table, events);
        }
        FormWindow& form = *window;
        if (form.dpi() != pin.dpi) {
            RECT outer;
            GetWindowRect(form.handle(), &outer);
            SendMessageW(form.handle(), WM_DPICHANGED, MAKEWPARAM(pin.dpi, pin.dpi),
                         reinterpret_cast<LPARAM>(&outer));
        }
        const RECT actual = PlaceOf(form.handle(), form.control(pin.control));
        EXPECT_EQ(actual.left, pin.place.left);
        EXPECT_EQ(actual.top, pin.place.top);
        EXPECT_EQ(actual.right, pin.place.right);
        if (!pin.list) {
            EXPECT_EQ(actual.bottom, pin.place.bottom);
        }
    }
}

// A 24-bit BMP picture, black on its left half and white on its right.
void WriteBlackAndWhiteBmp(const std::filesystem::path& path, int width, int height) {
    const int stride = (width * 3 + 3) / 4 * 4;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + DWORD(stride * height);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    std::string row(std::size_t(stride), '\0');
    std::fill_n(row.begin() + width / 2 * 3, (width - width / 2) * 3, '\xFF');
    for (int y = 0; y < height; ++y) {
        out << row;
    }
}

// How many pixels of the shown picture's middle row are neither black nor
// white.
int GreysOf(HWND picture) {
    auto* bitmap = reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP size{};
    GetObjectW(bitmap, sizeof size, &size);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    int greys = 0;
    for (int x = 0; x < size.bmWidth; ++x) {
        const int red = GetRValue(GetPixel(dc, x, size.bmHeight / 2));
        greys += red != 0 && red != 255 ? 1 : 0;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return greys;
}

// The banner, moved by the presenter, and the corner picture take their own
// size at 96 DPI, and grow by half, blended, at 144: from a window made at
// 144 and through changes of DPI both ways.
TEST(win32_forms_pixels, PicturesGrowWithTheDpi) {
    // Pictures are read through COM, which the launcher's start sets up.
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    testing::ScratchFolder scratch;
    WriteBlackAndWhiteBmp(scratch.path() / "bw.bmp", 40, 30);
    RecordingEvents events;
    FormWindow form(Form1Table(), events);
    const auto toDpi = [&](int dpi) {
        RECT outer;
        GetWindowRect(form.handle(), &outer);
        SendMessageW(form.handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&outer));
    };
    if (form.dpi() != 144) {
        toDpi(144);
    }
    form.SetLeft("Image1", 2040);
    for (const char* picture : {"Image1", "Image2"}) {
        form.SetPicture(picture, (scratch.path() / "bw.bmp").string());
    }
    struct Pin {
        int dpi;
        RECT banner;
        RECT corner;
        bool blended;
    };
    const Pin pins[] = {
        {144, {204, 12, 264, 57}, {0, 0, 60, 45}, true},
        {96, {136, 8, 176, 38}, {0, 0, 40, 30}, false},
        {144, {204, 12, 264, 57}, {0, 0, 60, 45}, true},
    };
    for (const Pin& pin : pins) {
        SCOPED_TRACE("at " + std::to_string(pin.dpi));
        if (form.dpi() != pin.dpi) {
            toDpi(pin.dpi);
        }
        const std::pair<const char*, RECT> pictures[] = {{"Image1", pin.banner},
                                                         {"Image2", pin.corner}};
        for (const auto& [name, place] : pictures) {
            SCOPED_TRACE(name);
            const RECT actual = PlaceOf(form.handle(), form.control(name));
            EXPECT_EQ(actual.left, place.left);
            EXPECT_EQ(actual.top, place.top);
            EXPECT_EQ(actual.right, place.right);
            EXPECT_EQ(actual.bottom, place.bottom);
            EXPECT_EQ(GreysOf(form.control(name)) > 0, pin.blended);
        }
    }
}

// A GIF of two colours, black on the left half of its image and white on the
// right, whose header declares a screen of its own size. Each pixel goes in
// as a clear code and its colour, so no LZW table grows.
std::string BlackAndWhiteGif(int screenWidth, int screenHeight, int width, int height) {
    std::string gif = "GIF89a";
    const auto put16 = [&gif](int value) {
        gif += char(value & 0xFF);
        gif += char(value >> 8);
    };
    put16(screenWidth);
    put16(screenHeight);
    gif += std::string("\x80\0\0\0\0\0\xFF\xFF\xFF,", 10);  // two colours; an image
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    gif += std::string("\0\x02", 2);  // no colours of its own; 2-bit LZW
    std::string data;
    unsigned bits = 0;
    int count = 0;
    const auto code = [&](unsigned value) {  // 3 bits, the lowest first
        bits |= value << count;
        for (count += 3; count >= 8; count -= 8, bits >>= 8) {
            data += char(bits & 0xFF);
        }
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            code(4);
            code(x < width / 2 ? 0 : 1);
        }
    }
    code(5);
    data += char(bits);
    for (std::size_t at = 0; at < data.size(); at += 255) {
        gif += char(std::min<std::size_t>(255, data.size() - at));
        gif += data.substr(at, 255);
    }
    return gif + std::string("\0;", 2);
}

// The same picture through one of the system's encoders.
std::string BlackAndWhiteEncoded(const CLSID& encoderClass, UINT width, UINT height) {
    std::string pixels;
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            pixels.append(3, x < width / 2 ? '\0' : '\xFF');
        }
    }
    IWICImagingFactory* factory = nullptr;
    IWICBitmap* bitmap = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    IPropertyBag2* options = nullptr;
    IStream* stream = nullptr;
    std::string bytes;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&factory))) &&
        SUCCEEDED(factory->CreateBitmapFromMemory(
            width, height, GUID_WICPixelFormat24bppBGR, width * 3, UINT(pixels.size()),
            reinterpret_cast<BYTE*>(pixels.data()), &bitmap)) &&
        SUCCEEDED(CoCreateInstance(encoderClass, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&encoder))) &&
        SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) &&
        SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, &options)) &&
        SUCCEEDED(frame->Initialize(options)) && SUCCEEDED(frame->WriteSource(bitmap, nullptr)) &&
        SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit())) {
        STATSTG status{};
        HGLOBAL memory = nullptr;
        stream->Stat(&status, STATFLAG_NONAME);
        GetHGlobalFromStream(stream, &memory);
        bytes.assign(static_cast<const char*>(GlobalLock(memory)),
                     std::size_t(status.cbSize.QuadPart));
        GlobalUnlock(memory);
    }
    for (IUnknown* object :
         std::initializer_list<IUnknown*>{options, frame, encoder, stream, bitmap, factory}) {
        if (object != nullptr) {
            object->Release();
        }
    }
    return bytes;
}

// Each format decodes from the bytes read, by the system's decoder for the
// format the header declares, whatever the file's name says; a picture that
// decodes to another size than its header declares is not shown.
TEST(win32_pictures, EachFormatDecodesAtTheSizeItsHeaderDeclares) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    testing::ScratchFolder scratch;
    WriteBlackAndWhiteBmp(scratch.path() / "bmp", 40, 30);
    scratch.Write("png", BlackAndWhiteEncoded(CLSID_WICPngEncoder, 40, 30));
    scratch.Write("jpeg.bmp", BlackAndWhiteEncoded(CLSID_WICJpegEncoder, 40, 30));
    scratch.Write("gif", BlackAndWhiteGif(40, 30, 40, 30));
    for (const char* name : {"bmp", "png", "jpeg.bmp", "gif"}) {
        SCOPED_TRACE(name);
        HBITMAP picture = LoadPicture(scratch.File(name), RGB(0, 0, 255));
        ASSERT_NE(picture, nullptr);
        BITMAP size{};
        GetObjectW(picture, sizeof size, &size);
        EXPECT_EQ(size.bmWidth, 40);
        EXPECT_EQ(size.bmHeight, 30);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, picture);
        EXPECT_LT(GetRValue(GetPixel(dc, 5, 15)), 32);
        EXPECT_GT(GetRValue(GetPixel(dc, 35, 15)), 224);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(picture);
    }
    // Its screen is 40 by 30, its one image 20 by 10.
    scratch.Write("small.gif", BlackAndWhiteGif(40, 30, 20, 10));
    EXPECT_EQ(LoadPicture(scratch.File("small.gif"), RGB(0, 0, 255)), nullptr);
    CoUninitialize();
}

// A pick from the dropped list is reported once it is chosen: moving through
// the open list picks nothing. The closed list tells of one move with two
// notifications, in either order: one pick; the same item chosen again later
// is picked again. (Keyboard moves on the closed list, typing and the
// presenter's own sets: tests/contract.)
TEST(win32_events, APickFromTheDroppedListIsReportedOnce) {
    RecordingEvents events;
    FormWindow form(Form1Table(), events);
    form.AddItems("Combo2", {"EGLL_TWR", "EGLL_GND"});
    HWND list = form.control("Combo2");
    using Heard = std::vector<std::string>;

    SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(list, WM_KEYDOWN, VK_DOWN, 1);
    SendMessageW(list, WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(events.heard, Heard{});
    SendMessageW(list, WM_KEYDOWN, VK_RETURN, 1);
    DispatchPending();
    EXPECT_EQ(events.heard, (Heard{"text Combo2=EGLL_GND", "pick Combo2"}));
    EXPECT_EQ(form.Text("Combo2"), "EGLL_GND");

    events.heard.clear();
    const auto notify = [&](int code) {
        SendMessageW(form.handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), code),
                     reinterpret_cast<LPARAM>(list));
    };
    notify(CBN_SELCHANGE);
    notify(CBN_SELENDOK);
    DispatchPending();
    notify(CBN_SELENDOK);
    EXPECT_EQ(events.heard, (Heard{"text Combo2=EGLL_GND", "pick Combo2", "text Combo2=EGLL_GND",
                                   "pick Combo2"}));
}

// Texts longer than their fields show their start after a set text, Tab and
// a pick; only the focused field shows a selection, all of its text.
TEST(win32_events, FieldsShowTheirStart) {
    RecordingEvents events;
    FormWindow form(Form4Table(), events);
    form.SetText("rwip", "voice9.a-long-server-name.example.net");
    form.SetText("serverip", "radar1.a-long-server-name.example.net");
    form.SetText("rdvdir", "C:\\Program Files\\Radavue\\A Long Folder Name\\Version 2.0");
    form.AddItems("rwip", {"voice1.a-long-server-name.example.net"});
    form.AddItems("serverip", {"radar2.a-long-server-name.example.net"});
    // Per field: "" for its start shown and nothing selected, "all" for its
    // start shown and all of it selected.
    const auto shown = [&] {
        std::vector<std::string> fields;
        for (const char* name : {"rwip", "serverip", "rdvdir"}) {
            HWND field = kit::FieldOf(form.control(name));
            DWORD start = 0;
            DWORD end = 0;
            SendMessageW(field, EM_GETSEL, WPARAM(&start), LPARAM(&end));
            const bool all = start == 0 && int(end) == GetWindowTextLengthW(field);
            fields.push_back(SendMessageW(field, EM_GETFIRSTVISIBLELINE, 0, 0) != 0 ? "not start"
                             : start == end                                         ? ""
                             : all                                                  ? "all"
                                                                                    : "part");
        }
        return fields;
    };
    const auto tab = [&](int times) {
        for (int i = 0; i < times; ++i) {
            MSG key{GetFocus(), WM_KEYDOWN, VK_TAB, 1, 0, {}};
            form.PreTranslate(key);
            DispatchPending();
        }
    };
    using Shown = std::vector<std::string>;
    form.ShowModeless();  // the focus in "RW IP"
    DispatchPending();
    EXPECT_EQ(shown(), (Shown{"all", "", ""}));
    tab(3);  // past OK and Cancel
    EXPECT_EQ(shown(), (Shown{"", "all", ""}));
    tab(3);  // past "Name" and Browse
    EXPECT_EQ(shown(), (Shown{"", "", "all"}));

    // Picks with the keyboard, in the focused list and in another.
    SetFocus(form.control("rwip"));
    SendMessageW(form.control("rwip"), WM_KEYDOWN, VK_DOWN, 1);
    SendMessageW(form.control("serverip"), WM_KEYDOWN, VK_DOWN, 1);
    DispatchPending();
    EXPECT_EQ(form.Text("rwip"), "voice1.a-long-server-name.example.net");
    EXPECT_EQ(shown(), (Shown{"all", "", ""}));
}

// Alike long names drop each whole, in a list wider than its field; a long
// position is cut at the "Selected Frequency" caption, whole in the window
// text readers read and in the label's tooltip.
TEST(win32_events, LongNamesShowWhole) {
    RecordingEvents events;
    FormWindow form(Form1Table(), events);
    const std::vector<std::string> names = {"EGTT_LONDON_N_CTR", "EGTT_LONDON_S_CTR",
                                            "EGTT_LONDON_E_CTR", "EGTT_LONDON_W_CTR"};
    form.AddItems("Combo2", names);
    form.ShowModeless();
    HWND list = form.control("Combo2");
    SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
    DispatchPending();
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    ASSERT_TRUE(GetComboBoxInfo(list, &parts));
    RECT field;
    RECT dropped;
    GetWindowRect(list, &field);
    GetClientRect(parts.hwndList, &dropped);
    HDC dc = GetDC(parts.hwndList);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    for (const std::string& name : names) {
        SIZE text{};
        const std::wstring wide = Utf8ToWide(name);
        GetTextExtentPoint32W(dc, wide.c_str(), int(wide.size()), &text);
        EXPECT_LT(text.cx, dropped.right - GetSystemMetrics(SM_CXVSCROLL)) << name;
    }
    SelectObject(dc, old);
    ReleaseDC(parts.hwndList, dc);
    EXPECT_GT(dropped.right, field.right - field.left);
    SendMessageW(list, CB_SHOWDROPDOWN, FALSE, 0);

    const std::string position = "EGTT_LONDON_N_CTR_EXTENDED_SECTOR";
    form.SetText("selected", position);
    const RECT label = PlaceOf(form.handle(), form.control("selected"));
    EXPECT_EQ(label.right, PlaceOf(form.handle(), form.control("Label2")).left);
    EXPECT_EQ(TextOf(form.control("selected")), position);
    HWND tips = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
            if (ClassOf(window) == L"tooltips_class32") {
                *reinterpret_cast<HWND*>(found) = window;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tips));
    ASSERT_NE(tips, nullptr);
    wchar_t tip[128] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = form.handle();
    tool.uId = reinterpret_cast<UINT_PTR>(form.control("selected"));
    tool.lpszText = tip;
    SendMessageW(tips, TTM_GETTEXTW, std::size(tip), reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(WideToUtf8(tip), position);
}

// On a first run the servers are typed in (no settings.ini to load them
// from): left, each field shows the start of its text again.
TEST(win32_events, TypedServersShowTheirStartWhenLeft) {
    RecordingEvents events;
    FormWindow form(Form4Table(), events);
    form.SetText("rwip", "");
    form.SetText("serverip", "");
    form.ShowModeless();
    for (const char* name : {"rwip", "serverip"}) {
        SetFocus(form.control(name));
        for (const wchar_t c : std::wstring(L"voice1.a-long-server-name.example.net")) {
            SendMessageW(kit::FieldOf(form.control(name)), WM_CHAR, c, 1);
        }
        DispatchPending();
    }
    SetFocus(form.control("userName"));
    DispatchPending();
    for (const char* name : {"rwip", "serverip"}) {
        HWND field = kit::FieldOf(form.control(name));
        DWORD start = 1;
        DWORD end = 1;
        SendMessageW(field, EM_GETSEL, WPARAM(&start), LPARAM(&end));
        EXPECT_EQ(SendMessageW(field, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << name;
        EXPECT_EQ(start, 0u) << name;
        EXPECT_EQ(end, 0u) << name;
    }
}

// Rows by depth under the open folder; a double-click or Return opens the
// row's folder; pointed at its own drive again, the list keeps the user's folder.
TEST(win32_events, TheFolderListDrawsItsListing) {
    testing::ScratchFolder scratch;
    const std::filesystem::path clients = scratch.path() / "clients";
    std::filesystem::create_directories(clients / "beta");
    std::filesystem::create_directories(clients / "Alpha");
    RecordingEvents events;
    FormWindow form(Form5Table(), events);
    HWND list = form.control("Dir1");
    const auto row = [&](LRESULT index) {
        return WideToUtf8(kit::ListText(list, LB_GETTEXTLEN, LB_GETTEXT, index));
    };

    form.SetText("Dir1", clients.string());
    const LRESULT open = SendMessageW(list, LB_GETCURSEL, 0, 0);
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), open + 3);
    const std::string root = clients.root_path().string();
    EXPECT_EQ(row(0), root);
    const std::string openRow = row(open);
    ASSERT_TRUE(openRow.ends_with(" clients"));
    const std::string indent(openRow.size() - std::string("clients").size(), ' ');
    EXPECT_EQ(indent.size(), std::size_t(open) * 2);
    EXPECT_EQ(row(open + 1), indent + "  Alpha");
    EXPECT_EQ(row(open + 2), indent + "  beta");

    SendMessageW(list, LB_SETCURSEL, WPARAM(open + 1), 0);
    SendMessageW(form.handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(form.Text("Dir1"), (clients / "Alpha").string());
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), open + 2);

    // Return opens the highlighted folder in the list, and nothing elsewhere.
    form.SetText("Dir1", clients.string());
    SendMessageW(list, LB_SETCURSEL, WPARAM(open + 2), 0);
    const auto press = [&](HWND at) {
        MSG key{at, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
        EXPECT_TRUE(form.PreTranslate(key));
        DispatchPending();
    };
    press(form.control("Drive1"));
    EXPECT_EQ(form.Text("Dir1"), clients.string());
    press(list);
    EXPECT_EQ(form.Text("Dir1"), (clients / "beta").string());

    form.PointAtDrive("Dir1", root);
    EXPECT_EQ(form.Text("Dir1"), root);
    form.SetText("Dir1", clients.string());
    form.PointAtDrive("Dir1", root);
    EXPECT_EQ(form.Text("Dir1"), clients.string());
    EXPECT_EQ(events.heard, std::vector<std::string>{});
}

// Through the presenters, each close box does what its window's does: the
// main window's ends the program, Final Setup's drops the dialog, and
// Preferences' and a browse dialog's only hide theirs.
TEST(win32_events, EachCloseBoxDoesWhatItsWindowDoes) {
    testing::ScratchFolder scratch;
    testing::FakeLocation location;
    location.folder = scratch.path().string();
    testing::RecordingEnder ender;
    testing::FakeVolumes volumes;
    volumes.volumes = {scratch.path().root_path().string()};
    volumes.working = location.folder;
    testing::FixedClock clock;
    testing::RecordingStarter starter;
    testing::RecordingErrors errors;
    FormMaker maker;
    Form1Presenter form1(maker, {location, ender, volumes, clock, starter, errors});
    form1.Form_Load();
    const auto closed = [](FormView& view) {
        HWND window = static_cast<FormWindow&>(view).handle();
        SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        DispatchPending();
        return window;
    };

    form1.Command3_Click();
    HWND preferences = closed(form1.form4().view());
    EXPECT_TRUE(IsWindow(preferences));
    EXPECT_FALSE(IsWindowVisible(preferences));
    form1.form4().Command3_Click();
    HWND browse = closed(form1.form4().form5()->view());
    EXPECT_TRUE(IsWindow(browse));
    EXPECT_FALSE(IsWindowVisible(browse));

    form1.view().SetText("selected", "EGLL_TWR");  // Launch needs a position
    form1.Command1_Click();
    HWND finalSetup = closed(form1.form2()->view());
    EXPECT_EQ(form1.form2(), nullptr);
    EXPECT_FALSE(IsWindow(finalSetup));

    EXPECT_EQ(ender.calls, 0);
    closed(form1.view());
    EXPECT_EQ(ender.calls, 1);
    EXPECT_EQ(errors.messages, std::vector<std::string>{});
}

// Every timer runs from its window's making, at its own interval: over the
// time the test pumps, no timer ticks more often than its interval allows.
TEST(win32_events, EachTimerTicksAtItsInterval) {
    struct Timed {
        const FormTable* table;
        DWORD intervalMs;
    };
    const Timed timed[] = {{&Form1Table(), 100}, {&Form5Table(), 150}, {&Form6Table(), 200}};
    std::vector<RecordingEvents> events(std::size(timed));
    std::vector<std::unique_ptr<FormWindow>> windows;
    for (std::size_t i = 0; i < std::size(timed); ++i) {
        windows.push_back(std::make_unique<FormWindow>(*timed[i].table, events[i]));
    }
    // Making a window takes a while: the ticks due meanwhile are counted out.
    DispatchPending();
    for (RecordingEvents& heard : events) {
        heard.ticks = 0;
    }
    const DWORD start = GetTickCount();
    const auto slowest = [&] {
        std::size_t least = events[0].ticks;
        for (const RecordingEvents& heard : events) {
            least = std::min(least, heard.ticks);
        }
        return least;
    };
    // Five ticks each, however busy the machine, or ten seconds.
    while (slowest() < 5 && GetTickCount() - start < 10000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        DispatchPending();
    }
    const DWORD elapsed = GetTickCount() - start;
    for (std::size_t i = 0; i < std::size(timed); ++i) {
        SCOPED_TRACE(timed[i].table->name);
        EXPECT_GE(events[i].ticks, 5u);
        // One tick may be due as the count starts and one as the interval
        // ends.
        EXPECT_LE(events[i].ticks, elapsed / timed[i].intervalMs + 2);
        EXPECT_EQ(events[i].heard, std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace launcher::win32
