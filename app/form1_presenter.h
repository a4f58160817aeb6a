// What the main window does: its load (the launcher's whole start-up), the
// single selection and its polling, Launch, User Preferences, Exit and the
// close box. It owns the Preferences and Final Setup dialogs.
#pragma once

#include <memory>
#include <string>

#include "app/outside_world.h"
#include "app/position_selection.h"
#include "catalogue/position_catalogue.h"
#include "form/form_view.h"
#include "launch/form2_presenter.h"
#include "prefs/form4_presenter.h"

namespace launcher {

class Form1Presenter final : public FormEvents {
public:
    // Makes the main window, hidden, through `maker`, which must outlive the
    // presenter. Nothing runs until Form_Load.
    Form1Presenter(FormMaker& maker, OutsideWorld world);
    ~Form1Presenter() override;

    void Form_Load();
    void Command1_Click();  // Launch
    void Command2_Click();  // Exit
    void Command3_Click();  // User Preferences
    // An item was picked from group n's list (never sent for typing).
    void Combo_Click(int n);  // Combo1_Click .. Combo30_Click
    void Timer1_Timer();
    void Form_Unload();  // the close box

    // The window's events by control name; each runs its handler.
    void OnClick(std::string_view button) override;
    void OnPick(std::string_view list) override;
    void OnTick(std::string_view timer) override;
    void OnClose() override;

    FormView& view() const { return *view_; }

    // The one Preferences dialog, made hidden at load.
    Form4Presenter& form4() const { return *form4_; }
    // The Final Setup dialog, made hidden at load; null once its close box
    // dropped it, until the next Launch makes it afresh.
    Form2Presenter* form2() const { return form2_.get(); }

private:
    class ComboTexts;

    void LoadForm2();
    // Sends the keyboard to the list of the first group the window shows.
    void FocusFirstGroup();

    FormMaker& maker_;
    OutsideWorld world_;
    std::unique_ptr<FormView> view_;
    std::unique_ptr<ComboTexts> comboTexts_;
    std::unique_ptr<PositionSelection> selection_;  // made at load
    int firstGroup_ = 0;                            // the first named group; 0 for none
    std::unique_ptr<Form4Presenter> form4_;
    // Declared after form4_, whose record it reads, so it goes first.
    std::unique_ptr<Form2Presenter> form2_;
};

// Puts the catalogue on the main window: only named groups show, each list
// gets its group's entries, and the window takes the height that fits the
// rows in use.
void ShowPositionCatalogue(const PositionCatalogue& catalogue, FormView& form1);

}  // namespace launcher
