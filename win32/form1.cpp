#include "win32/form1.h"

#include <charconv>

#include "app/form1_table.h"

namespace launcher::win32 {

Form1::Form1(OutsideWorld world) : FormWindow(Form1Table()) {
    presenter_ = std::make_unique<Form1Presenter>(*this, maker_, world);
    presenter_->Form_Load();
    StartTimers();
}

Form1::~Form1() = default;

void Form1::OnClick(std::string_view button) {
    if (button == "Command1") {
        presenter_->Command1_Click();
    } else if (button == "Command2") {
        presenter_->Command2_Click();
    } else if (button == "Command3") {
        presenter_->Command3_Click();
    }
}

void Form1::OnPick(std::string_view list) {
    int n = 0;
    const std::string_view number = list.substr(std::string_view("Combo").size());
    std::from_chars(number.data(), number.data() + number.size(), n);
    presenter_->Combo_Click(n);
}

void Form1::OnTimer(std::string_view) {
    presenter_->Timer1_Timer();
}

void Form1::OnClose() {
    presenter_->Form_Unload();
}

}  // namespace launcher::win32
