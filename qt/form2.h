// The "Final Setup" dialog: runway in use, online-until text, the auto-ATIS
// box and "Go". What it does is the presenter's.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "launch/form2_presenter.h"
#include "qt/form_window.h"

namespace launcher {

class Form2 : public FormWindow {
    Q_OBJECT
public:
    // Built hidden; `presenter` owns the dialog.
    explicit Form2(Form2Presenter& presenter);
    ~Form2() override;

    QGroupBox& frame(int n) const;  // Frame1 .. Frame3
    QLineEdit& rwy() const { return control<QLineEdit>("rwy"); }
    QLineEdit& addinfo() const { return control<QLineEdit>("addinfo"); }
    QCheckBox& check1() const { return control<QCheckBox>("Check1"); }
    QPushButton& command1() const { return control<QPushButton>("Command1"); }

protected:
    void OnClick(std::string_view button) override;
    void OnClose() override;

private:
    Form2Presenter& presenter_;
};

}  // namespace launcher
