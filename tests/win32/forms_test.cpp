// Each Win32 window built from its form table, control by control: window
// class, style, caption, place at the window's DPI and at 144 DPI, and the
// Tab order; then what a window reports to its presenter of picks, typing and
// clicks. Runs under Wine in the Windows build.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
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

// The place the table gives, at `dpi`.
RECT Expected(const FormTable& table, const ControlSpec& design, int dpi) {
    int left = design.left;
    int top = design.top;
    if (!design.container.empty()) {
        left += table.Control(design.container).left;
        top += table.Control(design.container).top;
    }
    return RECT{TwipsToPixels(left, dpi), TwipsToPixels(top, dpi),
                TwipsToPixels(left + design.width, dpi), TwipsToPixels(top + design.height, dpi)};
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

INSTANTIATE_TEST_SUITE_P(Windows, win32_forms,
                         ::testing::Values(&Form1Table(), &Form2Table(), &Form4Table(),
                                           &Form5Table(), &Form6Table()),
                         [](const auto& test) { return test.param->name; });

// A group's list reports a pick only when an item is chosen from it, by the
// keyboard on the closed list or from the dropped one; typing in its field,
// or moving through the dropped list, changes only its text.
TEST(win32_events, APickFromAListIsReportedTypingIsNot) {
    RecordingEvents events;
    FormWindow form(Form1Table(), events);
    form.AddItems("Combo2", {"EGLL_TWR", "EGLL_GND"});
    HWND list = form.control("Combo2");
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    ASSERT_TRUE(GetComboBoxInfo(list, &parts));
    using Heard = std::vector<std::string>;

    SendMessageW(parts.hwndItem, WM_CHAR, L'E', 1);
    EXPECT_EQ(events.heard, Heard{"text Combo2=E"});

    // The closed list tells of one keyboard move twice (CBN_SELENDOK and
    // CBN_SELCHANGE): one pick.
    events.heard.clear();
    SendMessageW(list, WM_KEYDOWN, VK_DOWN, 1);
    DispatchPending();
    EXPECT_EQ(events.heard, (Heard{"text Combo2=EGLL_TWR", "pick Combo2"}));

    events.heard.clear();
    SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(list, WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(events.heard, Heard{});
    SendMessageW(list, WM_KEYDOWN, VK_RETURN, 1);
    DispatchPending();
    EXPECT_EQ(events.heard, (Heard{"text Combo2=EGLL_GND", "pick Combo2"}));
    EXPECT_EQ(form.Text("Combo2"), "EGLL_GND");

    // The other order of the two notifications is one pick too; the same
    // item chosen again later is picked again.
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

    // What the presenter sets is never reported back; a button is a click.
    events.heard.clear();
    form.SetText("Combo2", "EGKK_APP");
    form.AddItems("Combo2", {"EGKK_TWR"});
    SendMessageW(form.control("Command3"), BM_CLICK, 0, 0);
    RecordingEvents prefsEvents;
    FormWindow prefs(Form4Table(), prefsEvents);
    prefs.SetText("userName", "Jo");
    SendMessageW(prefs.control("userName"), WM_CHAR, L'e', 1);
    EXPECT_EQ(events.heard, Heard{"click Command3"});
    EXPECT_EQ(prefsEvents.heard, Heard{"text userName=eJo"});
}

}  // namespace
}  // namespace launcher::win32
