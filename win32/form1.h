// The launcher's main window. What it does is the presenter's; the window
// routes its events there.
#pragma once

#include <memory>

#include "app/form1_presenter.h"
#include "app/outside_world.h"
#include "win32/form_maker.h"
#include "win32/form_window.h"

namespace launcher::win32 {

class Form1 final : public FormWindow {
public:
    // Builds the controls and runs Form_Load, so the window is ready to show.
    explicit Form1(OutsideWorld world);
    ~Form1() override;

    Form1Presenter& presenter() const { return *presenter_; }

protected:
    void OnClick(std::string_view button) override;
    void OnPick(std::string_view list) override;
    void OnTimer(std::string_view timer) override;
    void OnClose() override;

private:
    FormMaker maker_;
    std::unique_ptr<Form1Presenter> presenter_;
};

}  // namespace launcher::win32
