#include "win32/form1.h"

#include "app/form1_table.h"

namespace launcher::win32 {

Form1::Form1(OutsideWorld world) : FormWindow(Form1Table()) {
    presenter_ = std::make_unique<Form1Presenter>(*this, maker_, world);
    presenter_->Form_Load();
    StartTimers();
}

Form1::~Form1() = default;

void Form1::OnClick(std::string_view button) {
    presenter_->Click(button);
}

void Form1::OnPick(std::string_view list) {
    presenter_->Pick(list);
}

void Form1::OnTimer(std::string_view timer) {
    presenter_->Tick(timer);
}

void Form1::OnClose() {
    presenter_->Form_Unload();
}

}  // namespace launcher::win32
