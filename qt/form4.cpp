#include "qt/form4.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "prefs/form_tables.h"
#include "qt/browse_dialog.h"

namespace launcher {

namespace {

BrowseDialog* ViewOf(const BrowsePresenter* dialog) {
    return dialog == nullptr ? nullptr : &static_cast<BrowseDialog&>(dialog->view());
}

}  // namespace

Form4::Form4(Form4Presenter& presenter)
    : FormWindow(Form4Table(), Qt::Dialog), presenter_(presenter) {
    // Two buttons read "Browse": each tells which folder it browses for.
    control("Command3").setAccessibleDescription(control<QLabel>("Label4").text());
    control("Command4").setAccessibleDescription(control<QLabel>("Label5").text());
}

Form4::~Form4() = default;

QPushButton& Form4::command(int n) const {
    return control<QPushButton>("Command" + std::to_string(n));
}

BrowseDialog* Form4::form5() const {
    return ViewOf(presenter_.form5());
}

BrowseDialog* Form4::form6() const {
    return ViewOf(presenter_.form6());
}

void Form4::OnClick(std::string_view button) {
    presenter_.Click(button);
}

void Form4::OnTextChanged(std::string_view control, const std::string& text) {
    presenter_.FieldChanged(control, text);
}

void Form4::OnClose() {
    presenter_.Form_Unload();
}

}  // namespace launcher
