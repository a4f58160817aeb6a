// The "Preferences" dialog: a modeless window whose controls are the fields of
// the one Preferences record. What the user types or picks is in force at once;
// OK also saves the record to settings.ini. Positions are in device-independent
// pixels, each twips value of the original layout divided by 15.
#pragma once

#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "prefs/preferences.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace launcher {

class BrowseDialog;
class VolumeList;

class Form4 : public QWidget {
    Q_OBJECT
public:
    // Builds the dialog hidden and runs Form_Load, which reads the server
    // lists from `settingsFile` (program folder + "settings.ini"). `volumes`
    // must outlive the dialog; the browse dialogs use it.
    Form4(std::string settingsFile, const VolumeList& volumes, QWidget* parent = nullptr);
    ~Form4() override;

    // Sets every field from section "MAIN" of the settings file; the
    // controls show the values read.
    void LoadPreferences();
    const Preferences& preferences() const { return preferences_; }

    // Shows the hidden dialog, or brings the visible one to the front.
    void ShowModeless();

    QComboBox& rwip() const { return *rwip_; }
    QComboBox& serverip() const { return *serverip_; }
    QLineEdit& userName() const { return *userName_; }
    QLineEdit& rdvdir() const { return *rdvdir_; }
    QLineEdit& rwdir() const { return *rwdir_; }
    QLineEdit& windowsdir() const { return *windowsdir_; }
    QComboBox& datebox() const { return *datebox_; }
    // OK, Cancel, Browse beside "Rdv Directory", Browse beside "RW Directory".
    QPushButton& command(int n) const;
    // The browse dialogs, null until their Browse button is first pressed.
    BrowseDialog* form5() const { return form5_; }
    BrowseDialog* form6() const { return form6_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

private:
    void BuildControls();
    void Form_Load();
    // Keeps `field` equal to the text of `edit` from now on, and lets
    // ShowFields put it back into `edit`.
    void Bind(QLineEdit& edit, std::string Preferences::*field);
    // Puts every field into its control after the record was set from
    // outside the controls.
    void ShowFields();
    void SetField(std::string Preferences::*field, const QString& value);

    std::string settingsFile_;
    const VolumeList& volumes_;
    Preferences preferences_;
    // Each field's control; the combo boxes' own line edits for choices.
    std::vector<std::pair<QLineEdit*, std::string Preferences::*>> bindings_;
    // True while the controls are being set from the record, so the edits
    // the controls report are not written back.
    bool showingFields_ = false;
    bool shownOnce_ = false;

    QLabel* label1_ = nullptr;
    QComboBox* rwip_ = nullptr;
    QLabel* label2_ = nullptr;
    QComboBox* serverip_ = nullptr;
    QLabel* label3_ = nullptr;
    QLineEdit* userName_ = nullptr;
    QLabel* label4_ = nullptr;
    QLineEdit* rdvdir_ = nullptr;
    QPushButton* command3_ = nullptr;
    QLabel* label5_ = nullptr;
    QLineEdit* rwdir_ = nullptr;
    QPushButton* command4_ = nullptr;
    QLabel* label7_ = nullptr;
    QLineEdit* windowsdir_ = nullptr;
    QLabel* label6_ = nullptr;
    QComboBox* datebox_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;

    BrowseDialog* form5_ = nullptr;
    BrowseDialog* form6_ = nullptr;
};

}  // namespace launcher
