#include "win32/dialogs.h"

#include <algorithm>

#include "launch/form2_table.h"
#include "prefs/form_tables.h"
#include "win32/form_maker.h"

namespace launcher::win32 {

Form2::Form2(Form2Presenter& presenter) : FormWindow(Form2Table()), presenter_(presenter) {}

void Form2::OnClick(std::string_view button) {
    presenter_.Click(button);
}

void Form2::OnClose() {
    presenter_.Form_Unload();
}

Form4::Form4(Form4Presenter& presenter) : FormWindow(Form4Table()), presenter_(presenter) {}

void Form4::OnClick(std::string_view button) {
    presenter_.Click(button);
}

void Form4::OnTextChanged(std::string_view control, const std::string& text) {
    presenter_.FieldChanged(control, text);
}

void Form4::OnClose() {
    presenter_.Form_Unload();
}

BrowseDialog::BrowseDialog(const FormTable& table, BrowsePresenter& presenter)
    : FormWindow(table), presenter_(presenter) {
    // The prompt is one line; a face wider than the designed one would cut it
    // off, so it may grow to the client area's right edge.
    HWND prompt = control("Label1");
    RECT box;
    GetWindowRect(prompt, &box);
    MapWindowPoints(nullptr, handle(), reinterpret_cast<POINT*>(&box), 2);
    RECT client;
    GetClientRect(handle(), &client);
    HDC dc = GetDC(prompt);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(prompt, WM_GETFONT, 0, 0)));
    wchar_t text[256] = {};
    const int length = GetWindowTextW(prompt, text, 256);
    SIZE needed{};
    GetTextExtentPoint32W(dc, text, length, &needed);
    SelectObject(dc, old);
    ReleaseDC(prompt, dc);
    const int width = std::clamp<int>(needed.cx + 2, box.right - box.left,
                                      std::max<int>(box.right - box.left, client.right - box.left));
    SetWindowPos(prompt, nullptr, 0, 0, width, box.bottom - box.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    // The timer runs from the dialog's creation on.
    StartTimers();
}

void BrowseDialog::OnClick(std::string_view button) {
    presenter_.Click(button);
}

void BrowseDialog::OnTimer(std::string_view timer) {
    presenter_.Tick(timer);
}

void BrowseDialog::OnClose() {
    presenter_.Form_Unload();
}

std::unique_ptr<FormView> FormMaker::MakeForm2(Form2Presenter& presenter) {
    return std::make_unique<Form2>(presenter);
}

std::unique_ptr<FormView> FormMaker::MakeForm4(Form4Presenter& presenter) {
    return std::make_unique<Form4>(presenter);
}

std::unique_ptr<FormView> FormMaker::MakeBrowseForm(const FormTable& table,
                                                    BrowsePresenter& presenter) {
    return std::make_unique<BrowseDialog>(table, presenter);
}

}  // namespace launcher::win32
