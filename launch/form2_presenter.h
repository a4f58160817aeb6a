// What the "Final Setup" dialog does: its load fills the two text boxes from
// var.ini, and "Go" checks that the ATIS file can be written and both clients
// can start, saves the three answers, writes the ATIS file, hands the radar
// client the position once more, starts both clients and ends the launcher.
// A setting that stops Go is reported before anything is saved, and the
// dialog stays open. The close box drops the dialog.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "form/form_view.h"
#include "launch/clock.h"
#include "launch/final_setup_answers.h"
#include "launch/program_start.h"
#include "prefs/preferences.h"

namespace launcher {

// What the dialog reads and uses outside itself. Every value is read at the
// moment a step of "Go" needs it; the references must outlive the dialog.
struct FinalSetupWorld {
    std::string programFolder;
    // The captions of the main window's `selected` and `comfreq` labels.
    std::function<std::string()> selectedPosition;
    std::function<std::string()> selectedFrequency;
    // The live record of the Preferences dialog: edits count, saved or not.
    const Preferences& preferences;
    const Clock& clock;
    ProgramStarter& starter;
    // Shows an error; returns once the user has seen it.
    std::function<void(const std::string& message)> reportError;
    // Ends the whole program at once.
    std::function<void()> endProgram;
};

class Form2Presenter final : public FormEvents {
public:
    // Makes the dialog hidden and runs its load. `unloaded` runs when the
    // close box has dropped the dialog: the owner then lets go of this
    // presenter, and the next use makes a new one.
    Form2Presenter(FormMaker& maker, FinalSetupWorld world, std::function<void()> unloaded);
    ~Form2Presenter() override;

    // Shows the hidden dialog, or brings the visible one to the front with
    // what was typed into it.
    void ShowModeless();

    // Puts saved answers into the dialog's fields, replacing what its load
    // put there.
    void ShowAnswers(const FinalSetupAnswers& answers);
    // The three answers as the dialog holds them now.
    FinalSetupAnswers Answers() const;

    void Command1_Click();  // "Go"
    void Form_Unload();     // the close box
    void OnClick(std::string_view button) override;
    void OnClose() override;

    FormView& view() const { return *view_; }

private:
    void Form_Load();
    // Why Go cannot go on line with the settings as they stand: the ATIS
    // file that cannot be written, each client that cannot start, with the
    // Preferences field to set; "" when nothing stops it.
    std::string WhatStopsGo() const;

    FinalSetupWorld world_;
    std::function<void()> unloaded_;
    std::unique_ptr<FormView> view_;
};

}  // namespace launcher
