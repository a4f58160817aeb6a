// The three dialogs: "Final Setup", "Preferences" and the folder browse
// dialogs. What they do is their presenters'; each routes its events there.
#pragma once

#include "launch/form2_presenter.h"
#include "prefs/browse_presenter.h"
#include "prefs/form4_presenter.h"
#include "win32/form_window.h"

namespace launcher::win32 {

class Form2 final : public FormWindow {
public:
    explicit Form2(Form2Presenter& presenter);

protected:
    void OnClick(std::string_view button) override;
    void OnClose() override;

private:
    Form2Presenter& presenter_;
};

class Form4 final : public FormWindow {
public:
    explicit Form4(Form4Presenter& presenter);

protected:
    void OnClick(std::string_view button) override;
    void OnTextChanged(std::string_view control, const std::string& text) override;
    void OnClose() override;

private:
    Form4Presenter& presenter_;
};

// Form5 or Form6, by its table.
class BrowseDialog final : public FormWindow {
public:
    BrowseDialog(const FormTable& table, BrowsePresenter& presenter);

protected:
    void OnClick(std::string_view button) override;
    void OnTimer(std::string_view timer) override;
    void OnClose() override;

private:
    BrowsePresenter& presenter_;
};

}  // namespace launcher::win32
