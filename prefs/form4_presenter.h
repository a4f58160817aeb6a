// What the "Preferences" dialog does. Its fields are the one Preferences
// record: what the user types or picks is in force at once, OK also saves the
// record to settings.ini, Cancel and the close box only hide the dialog.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "form/form_view.h"
#include "prefs/browse_presenter.h"
#include "prefs/preferences.h"

namespace launcher {

class VolumeList;

class Form4Presenter final : public FormEvents {
public:
    // Makes the dialog hidden and runs its load: the server lists from
    // `settingsFile` (program folder + "settings.ini") become the drop-down
    // lists of "RW IP" and "Server IP". `volumes` must outlive the presenter;
    // the browse dialogs use it.
    Form4Presenter(FormMaker& maker, std::string settingsFile, const VolumeList& volumes);
    ~Form4Presenter() override;

    // Sets every field from section "MAIN" of the settings file, and shows it.
    void LoadPreferences();
    const Preferences& preferences() const { return preferences_; }

    // Shows the hidden dialog, or brings the visible one to the front.
    void ShowModeless();

    // The user changed the text of a field's control, typing or picking.
    void OnTextChanged(std::string_view control, const std::string& text) override;

    void Command1_Click();  // OK
    void Command2_Click();  // Cancel
    void Command3_Click();  // Browse beside "Rdv Directory"
    void Command4_Click();  // Browse beside "RW Directory"
    void Form_Unload();     // the close box
    void OnClick(std::string_view button) override;
    void OnClose() override;

    FormView& view() const { return *view_; }
    // The browse dialogs, null until their Browse button is first pressed.
    BrowsePresenter* form5() const { return form5_.get(); }
    BrowsePresenter* form6() const { return form6_.get(); }

private:
    void Form_Load();
    // Puts every field into its control, after the record was set from
    // outside the controls.
    void ShowFields();
    void SetField(std::string Preferences::*field, const std::string& value);

    FormMaker& maker_;
    std::string settingsFile_;
    const VolumeList& volumes_;
    Preferences preferences_;
    std::unique_ptr<FormView> view_;
    std::unique_ptr<BrowsePresenter> form5_;
    std::unique_ptr<BrowsePresenter> form6_;
};

}  // namespace launcher
