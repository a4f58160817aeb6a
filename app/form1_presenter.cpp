#include "app/form1_presenter.h"

#include "app/form1_table.h"
#include "app/startup.h"
#include "launch/radar_settings.h"
#include "profile/ini.h"
#include "profile/paths.h"

namespace launcher {

// The group fields, as the selection sees them: the lists themselves are the
// only store of their texts.
class Form1Presenter::ComboTexts final : public GroupTexts {
public:
    explicit ComboTexts(FormView& view) : view_(view) {}

    std::string Text(int group) const override { return view_.Text(ComboName(group)); }
    void SetText(int group, const std::string& text) override {
        view_.SetText(ComboName(group), text);
    }

private:
    FormView& view_;
};

Form1Presenter::Form1Presenter(FormView& view, FormMaker& maker, OutsideWorld world)
    : view_(view), maker_(maker), world_(world) {}

Form1Presenter::~Form1Presenter() = default;

void Form1Presenter::Form_Load() {
    const std::string folder = world_.location.ProgramFolder();
    comboTexts_ = std::make_unique<ComboTexts>(view_);
    selection_ = std::make_unique<PositionSelection>(*comboTexts_, folder);

    const std::string settingsFile = InFolder(folder, kSettingsFileName);
    form4_ = std::make_unique<Form4Presenter>(maker_, settingsFile, world_.volumes);
    form4_->LoadPreferences();
    // The Windows folder just loaded; an empty one writes nothing. The radar
    // folder tells whether the client reads the name as a Windows path.
    WriteAtisFileName(form4_->preferences().windowsdir, folder, form4_->preferences().rdvdir);

    // The last confirmed answers replace what the dialog's own load put there.
    LoadForm2();
    FormView& form2 = form2_->view();
    form2.SetValue("Check1", AutoAtisTicked(ReadIni("MAIN", "autoatis", settingsFile)) ? 1 : 0);
    form2.SetText("rwy", ReadIni("MAIN", "RWY", settingsFile));
    form2.SetText("addinfo", ReadIni("MAIN", "ADDITIONAL", settingsFile));

    const std::string configFile = InFolder(folder, "config.ini");
    if (const std::optional<int> left =
            LogoLeftPixels(ReadIni("GENERAL", "LOGOLEFT", configFile))) {
        view_.SetLeft("Image1", *left * 15);
    }
    view_.SetPicture("Image1", ReadIni("GENERAL", "LOGO", configFile));
    view_.SetPicture("Image2", ReadIni("GENERAL", "BACK", configFile));
    view_.SetText("accname", ReadIni("GENERAL", "TITLE", configFile));
    view_.SetText("wwwaddy", ReadIni("GENERAL", "WEBSITE", configFile));
    view_.SetCaption(ComposeCaption(view_.Caption(), view_.Text("accname")));

    // Last, because it sets the window's height.
    ShowPositionCatalogue(LoadPositionCatalogue(configFile), view_);
}

void Form1Presenter::LoadForm2() {
    form2_ = std::make_unique<Form2Presenter>(
        maker_,
        FinalSetupWorld{
            world_.location.ProgramFolder(),
            [this] { return view_.Text("selected"); },
            [this] { return view_.Text("comfreq"); },
            form4_->preferences(),
            world_.clock,
            world_.starter,
            [this](const std::string& message) { world_.errors.ReportError(message); },
            [this] { world_.ender.EndProgram(); },
        },
        [this] { form2_.reset(); });
}

void Form1Presenter::Command1_Click() {
    if (form2_ == nullptr) {
        LoadForm2();
    }
    form2_->ShowModeless();
    const std::string folder = world_.location.ProgramFolder();
    view_.SetText("comfreq", LookupFrequency(folder, view_.Text("selected")));
    const Preferences& preferences = form4_->preferences();
    WriteRadarSettings(preferences.windowsdir, view_.Text("selected"), view_.Text("comfreq"),
                       preferences.serverip);
}

void Form1Presenter::Command2_Click() {
    world_.ender.EndProgram();
}

void Form1Presenter::Command3_Click() {
    form4_->ShowModeless();
}

void Form1Presenter::Combo_Click(int n) {
    selection_->ClearOtherGroups(n);
}

void Form1Presenter::Timer1_Timer() {
    selection_->PollSelection();
    view_.SetText("selected", selection_->selectedPosition());
    // With nothing selected yet the frequency label keeps its text, such as
    // the one a Launch before any pick looked up.
    if (!selection_->selectedPosition().empty()) {
        view_.SetText("comfreq", selection_->selectedFrequency());
    }
}

void Form1Presenter::Form_Unload() {
    world_.ender.EndProgram();
}

void Form1Presenter::Click(std::string_view button) {
    if (button == "Command1") {
        Command1_Click();
    } else if (button == "Command2") {
        Command2_Click();
    } else if (button == "Command3") {
        Command3_Click();
    }
}

void Form1Presenter::Pick(std::string_view list) {
    if (const int n = GroupOfCombo(list); n != 0) {
        Combo_Click(n);
    }
}

void Form1Presenter::Tick(std::string_view timer) {
    if (timer == "Timer1") {
        Timer1_Timer();
    }
}

void ShowPositionCatalogue(const PositionCatalogue& catalogue, FormView& form1) {
    for (int n = 1; n <= kGroupCount; ++n) {
        form1.SetVisible(FrameName(n), false);
    }
    for (const PositionGroup& group : catalogue.groups) {
        if (group.name.empty()) {
            continue;
        }
        form1.SetVisible(FrameName(group.number), true);
        form1.SetVisible(ComboName(group.number), true);
        form1.SetText(FrameName(group.number), group.name);
        form1.AddItems(ComboName(group.number), group.entries);
    }
    form1.SetOuterHeight(CatalogueWindowHeight(catalogue));
}

}  // namespace launcher
