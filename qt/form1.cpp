#include "qt/form1.h"

#include <QComboBox>
#include <QGroupBox>

#include "app/form1_table.h"
#include "qt/form2.h"
#include "qt/form4.h"

namespace launcher {

Form1::Form1(OutsideWorld world) : FormWindow(Form1Table(), Qt::Window) {
    presenter_ = std::make_unique<Form1Presenter>(*this, maker_, world);
    presenter_->Form_Load();
    StartTimers();
}

Form1::~Form1() = default;

QGroupBox& Form1::frame(int n) const {
    return control<QGroupBox>(FrameName(n));
}

QComboBox& Form1::combo(int n) const {
    return control<QComboBox>(ComboName(n));
}

Form4& Form1::form4() const {
    return static_cast<Form4&>(presenter_->form4().view());
}

Form2* Form1::form2() const {
    Form2Presenter* dialog = presenter_->form2();
    return dialog == nullptr ? nullptr : &static_cast<Form2&>(dialog->view());
}

void Form1::OnClick(std::string_view button) {
    presenter_->Click(button);
}

void Form1::OnPick(std::string_view list) {
    presenter_->Pick(list);
    emit groupPicked(GroupOfCombo(list));
}

void Form1::OnTimer(std::string_view timer) {
    presenter_->Tick(timer);
}

void Form1::OnClose() {
    presenter_->Form_Unload();
}

}  // namespace launcher
