// The launcher's main window: thirty position groups, the selected position
// and its frequency, title and web-address lines, two pictures, three buttons
// and the polling timer. What it does is the presenter's; the window routes
// its events there.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <memory>

#include "app/form1_presenter.h"
#include "app/outside_world.h"
#include "qt/form_maker.h"
#include "qt/form_window.h"

namespace launcher {

class Form2;
class Form4;

class Form1 : public FormWindow {
    Q_OBJECT
public:
    // Builds the controls and runs Form_Load, so the window is ready to show.
    explicit Form1(OutsideWorld world);
    ~Form1() override;

    // Group n, 1..30.
    QGroupBox& frame(int n) const;
    QComboBox& combo(int n) const;
    QLabel& selected() const { return control<QLabel>("selected"); }
    QLabel& comfreq() const { return control<QLabel>("comfreq"); }
    QLabel& accname() const { return control<QLabel>("accname"); }
    QLabel& wwwaddy() const { return control<QLabel>("wwwaddy"); }
    PictureBox& image1() const { return control<PictureBox>("Image1"); }
    PictureBox& image2() const { return control<PictureBox>("Image2"); }
    // The one Preferences dialog, made hidden at load.
    Form4& form4() const;
    // The Final Setup dialog, made hidden at load; null once its close box
    // dropped it, until the next Launch makes it afresh.
    Form2* form2() const;
    Form1Presenter& presenter() const { return *presenter_; }

signals:
    // A position was picked from group n's list (never sent for typing).
    void groupPicked(int n);

protected:
    void OnClick(std::string_view button) override;
    void OnPick(std::string_view list) override;
    void OnTimer(std::string_view timer) override;
    void OnClose() override;

private:
    QtFormMaker maker_;
    std::unique_ptr<Form1Presenter> presenter_;
};

}  // namespace launcher
