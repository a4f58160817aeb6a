// The "Final Setup" dialog: runway in use, online-until text and the auto-ATIS
// box, and "Go", which saves the three answers, writes the ATIS file, starts
// both clients and ends the launcher. Positions are in device-independent
// pixels, each twips value of the original layout divided by 15.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "launch/clock.h"
#include "launch/program_start.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace launcher {

class Form4;

// What the dialog reads and uses outside itself. Every value is read at the
// moment a step of "Go" needs it; the references must outlive the dialog.
struct FinalSetupWorld {
    std::string programFolder;
    // The caption of the main window's `selected` label.
    std::function<std::string()> selectedPosition;
    // The Preferences dialog, whose live record counts, saved or not.
    const Form4& preferences;
    const Clock& clock;
    ProgramStarter& starter;
    // Shows an error that ends the launcher; returns once the user has seen it.
    std::function<void(const std::string& message)> reportError;
    // Ends the whole program at once.
    std::function<void()> endProgram;
};

class Form2 : public QWidget {
    Q_OBJECT
public:
    // Builds the dialog hidden and runs Form_Load, which fills the two text
    // boxes from the program folder's var.ini.
    explicit Form2(FinalSetupWorld world, QWidget* parent = nullptr);
    ~Form2() override;

    // Shows the hidden dialog, or brings the visible one to the front with
    // what was typed into it.
    void ShowModeless();

    QGroupBox& frame(int n) const;  // Frame1 .. Frame3
    QLineEdit& rwy() const { return *rwy_; }
    QLineEdit& addinfo() const { return *addinfo_; }
    QCheckBox& check1() const { return *check1_; }
    QPushButton& command1() const { return *command1_; }

signals:
    // The close box was used: the dialog is to be dropped, and the next use
    // creates it afresh.
    void unloaded();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void Command1_Click();

private:
    void BuildControls();
    void Form_Load();
    // Reports `error` and ends the launcher; true when there was one.
    bool EndedBy(const std::string& error);

    FinalSetupWorld world_;
    bool shownOnce_ = false;

    QGroupBox* frame1_ = nullptr;
    QLineEdit* rwy_ = nullptr;
    QGroupBox* frame2_ = nullptr;
    QLineEdit* addinfo_ = nullptr;
    QGroupBox* frame3_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QPushButton* command1_ = nullptr;
};

}  // namespace launcher
