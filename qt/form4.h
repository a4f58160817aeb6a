// The "Preferences" dialog: a modeless window whose fields are the one
// Preferences record. What it does is the presenter's.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "prefs/form4_presenter.h"
#include "qt/form_window.h"

namespace launcher {

class BrowseDialog;

class Form4 : public FormWindow {
    Q_OBJECT
public:
    // Built hidden; `presenter` owns the dialog.
    explicit Form4(Form4Presenter& presenter);
    ~Form4() override;

    Form4Presenter& presenter() const { return presenter_; }
    const Preferences& preferences() const { return presenter_.preferences(); }

    QComboBox& rwip() const { return control<QComboBox>("rwip"); }
    QComboBox& serverip() const { return control<QComboBox>("serverip"); }
    QLineEdit& userName() const { return control<QLineEdit>("userName"); }
    QLineEdit& rdvdir() const { return control<QLineEdit>("rdvdir"); }
    QLineEdit& rwdir() const { return control<QLineEdit>("rwdir"); }
    QLineEdit& windowsdir() const { return control<QLineEdit>("windowsdir"); }
    QComboBox& datebox() const { return control<QComboBox>("datebox"); }
    // OK, Cancel, Browse beside "Rdv Directory", Browse beside "RW Directory".
    QPushButton& command(int n) const;
    // The browse dialogs, null until their Browse button is first pressed.
    BrowseDialog* form5() const;
    BrowseDialog* form6() const;

protected:
    void OnClick(std::string_view button) override;
    void OnTextChanged(std::string_view control, const std::string& text) override;
    void OnClose() override;

private:
    Form4Presenter& presenter_;
};

}  // namespace launcher
