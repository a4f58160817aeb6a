#include "prefs/form4_presenter.h"

#include <utility>

#include "prefs/form_tables.h"

namespace launcher {

Form4Presenter::Form4Presenter(FormMaker& maker, std::string settingsFile,
                               const VolumeList& volumes)
    : maker_(maker),
      settingsFile_(std::move(settingsFile)),
      volumes_(volumes),
      view_(maker.Make(Form4Table(), *this)) {
    Form_Load();
}

Form4Presenter::~Form4Presenter() = default;

void Form4Presenter::Form_Load() {
    LoadServerLists(preferences_, settingsFile_);
    view_->AddItems(form4::kVoiceServer, preferences_.rwservers);
    view_->AddItems(form4::kRadarServer, preferences_.rdvservers);
    ShowFields();
}

void Form4Presenter::LoadPreferences() {
    launcher::LoadPreferences(preferences_, settingsFile_);
    ShowFields();
}

void Form4Presenter::ShowFields() {
    for (const PreferenceRow& row : kPreferences) {
        // Only a changed control is set, so the others keep cursor and undo.
        if (view_->Text(row.control) != preferences_.*row.field) {
            view_->SetText(row.control, preferences_.*row.field);
        }
    }
}

void Form4Presenter::SetField(std::string Preferences::*field, const std::string& value) {
    preferences_.*field = value;
    ShowFields();
}

void Form4Presenter::OnTextChanged(std::string_view control, const std::string& text) {
    for (const PreferenceRow& row : kPreferences) {
        if (row.control == control) {
            preferences_.*row.field = text;
        }
    }
}

void Form4Presenter::ShowModeless() {
    view_->ShowModeless();
}

void Form4Presenter::Command1_Click() {
    // Not told: the fields stay in force for this run, as after Cancel, and
    // a settings.ini that cannot be written is the folder check's to name.
    (void)SavePreferences(preferences_, settingsFile_);
    view_->Hide();
}

void Form4Presenter::Command2_Click() {
    view_->Hide();
}

void Form4Presenter::Command3_Click() {
    if (form5_ == nullptr) {
        form5_ = std::make_unique<BrowsePresenter>(
            maker_, Form5Table(), volumes_,
            [this](const std::string& folder) { SetField(&Preferences::rdvdir, folder); });
    }
    form5_->ShowModeless();
}

void Form4Presenter::Command4_Click() {
    if (form6_ == nullptr) {
        form6_ = std::make_unique<BrowsePresenter>(
            maker_, Form6Table(), volumes_,
            [this](const std::string& folder) { SetField(&Preferences::rwdir, folder); });
    }
    form6_->ShowModeless();
}

void Form4Presenter::OnClick(std::string_view button) {
    if (button == form4::kOk) {
        Command1_Click();
    } else if (button == form4::kCancel) {
        Command2_Click();
    } else if (button == form4::kBrowseRadar) {
        Command3_Click();
    } else if (button == form4::kBrowseVoice) {
        Command4_Click();
    }
}

void Form4Presenter::OnClose() {
    Form_Unload();
}

void Form4Presenter::Form_Unload() {
    // The close box acts like Cancel: the window hides and every field,
    // saved or not, stays in force.
    Command2_Click();
}

}  // namespace launcher
