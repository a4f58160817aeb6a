#include "win32/dialogs.h"

#include "launch/form2_table.h"
#include "prefs/form_tables.h"
#include "win32/form_maker.h"

namespace launcher::win32 {

Form2::Form2(Form2Presenter& presenter) : FormWindow(Form2Table()), presenter_(presenter) {}

void Form2::OnClick(std::string_view button) {
    if (button == "Command1") {
        presenter_.Command1_Click();
    }
}

void Form2::OnClose() {
    presenter_.Form_Unload();
}

Form4::Form4(Form4Presenter& presenter) : FormWindow(Form4Table()), presenter_(presenter) {}

void Form4::OnClick(std::string_view button) {
    if (button == "Command1") {
        presenter_.Command1_Click();
    } else if (button == "Command2") {
        presenter_.Command2_Click();
    } else if (button == "Command3") {
        presenter_.Command3_Click();
    } else if (button == "Command4") {
        presenter_.Command4_Click();
    }
}

void Form4::OnTextChanged(std::string_view control, const std::string& text) {
    presenter_.FieldChanged(control, text);
}

void Form4::OnClose() {
    presenter_.Form_Unload();
}

BrowseDialog::BrowseDialog(const FormTable& table, BrowsePresenter& presenter)
    : FormWindow(table), presenter_(presenter) {
    // The timer runs from the dialog's creation on.
    StartTimers();
}

void BrowseDialog::OnClick(std::string_view button) {
    if (button == "Command1") {
        presenter_.Command1_Click();
    } else if (button == "Command2") {
        presenter_.Command2_Click();
    }
}

void BrowseDialog::OnTimer(std::string_view) {
    presenter_.Timer1_Timer();
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
