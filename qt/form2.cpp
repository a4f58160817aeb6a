#include "qt/form2.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "launch/form2_table.h"

namespace launcher {

Form2::Form2(Form2Presenter& presenter)
    : FormWindow(Form2Table(), Qt::Dialog), presenter_(presenter) {}

Form2::~Form2() = default;

QGroupBox& Form2::frame(int n) const {
    return control<QGroupBox>("Frame" + std::to_string(n));
}

void Form2::OnClick(std::string_view button) {
    presenter_.Click(button);
}

void Form2::OnClose() {
    presenter_.Form_Unload();
}

}  // namespace launcher
