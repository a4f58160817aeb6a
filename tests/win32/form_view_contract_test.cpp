// The FormView contract (tests/contract) on the Win32 windows, under Wine in
// an X server of their own. Keys and typing are posted to the control the
// keyboard is in and go through the message loop as the launcher's own does.
#include "tests/contract/form_view_contract.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "profile/win32_text.h"
#include "win32/form_kit.h"
#include "win32/form_maker.h"
#include "win32/form_window.h"

namespace launcher::contract {
namespace {

win32::FormWindow& WindowOf(const FormView& view) {
    return dynamic_cast<win32::FormWindow&>(const_cast<FormView&>(view));
}

// Where the keyboard goes in a control: an editable list's own field.
HWND KeyTarget(const FormView& view, std::string_view control) {
    return win32::kit::FieldOf(WindowOf(view).control(control));
}

class Win32Driver final : public ContractDriver {
public:
    FormMaker& Maker() override { return maker_; }

    void ShowActive(FormView& view) override {
        view.ShowModeless();
        HWND window = WindowOf(view).handle();
        for (int tries = 0; tries < 500 && GetActiveWindow() != window; ++tries) {
            ProcessEvents();
            Sleep(10);
        }
        ASSERT_EQ(GetActiveWindow(), window);
    }

    void ProcessEvents() override {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (auto* window = win32::FormWindow::FromHandle(GetAncestor(message.hwnd, GA_ROOT));
                window != nullptr && window->PreTranslate(message)) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    void PressKey(FormView& view, std::string_view control, Key key) override {
        const WPARAM code = key == Key::kDown ? VK_DOWN : key == Key::kUp ? VK_UP : VK_TAB;
        HWND target = KeyTarget(view, control);
        PostMessageW(target, WM_KEYDOWN, code, 1);
        PostMessageW(target, WM_KEYUP, code, LPARAM(0xC0000001));
        ProcessEvents();
    }

    void Type(FormView& view, std::string_view control, std::string_view text) override {
        HWND target = KeyTarget(view, control);
        for (const wchar_t c : win32::Utf8ToWide(text)) {
            PostMessageW(target, WM_CHAR, c, 1);
            ProcessEvents();
        }
    }

    void Click(FormView& view, std::string_view control) override {
        SendMessageW(WindowOf(view).control(control), BM_CLICK, 0, 0);
        ProcessEvents();
    }

    std::string Focused(const FormView& view) override {
        const win32::FormWindow& window = WindowOf(view);
        for (HWND focus = GetFocus(); focus != nullptr && focus != window.handle();
             focus = GetParent(focus)) {
            for (const ControlSpec& design : window.table().controls) {
                if (window.control(design.name) == focus) {
                    return design.name;
                }
            }
        }
        return {};
    }

    FieldSelection Selection(const FormView& view, std::string_view control) override {
        HWND field = KeyTarget(view, control);
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        // The edit control tells its selection in order; the caret stands at
        // one end of it, where the focused field draws it.
        POINT caret{};
        if (start != end && GetFocus() == field && GetCaretPos(&caret) != FALSE) {
            const LRESULT at = SendMessageW(field, EM_POSFROMCHAR, start, 0);
            if (short(LOWORD(at)) == caret.x) {
                return {int(end), int(start)};
            }
        }
        return {int(start), int(end)};
    }

private:
    win32::FormMaker maker_;
};

}  // namespace

std::unique_ptr<ContractDriver> MakeContractDriver() {
    return std::make_unique<Win32Driver>();
}

}  // namespace launcher::contract
