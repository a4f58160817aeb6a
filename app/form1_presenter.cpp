#include "app/form1_presenter.h"

#include "app/form1_table.h"
#include "app/startup.h"
#include "catalogue/folder_values.h"
#include "form/picture_file.h"
#include "launch/final_setup_answers.h"
#include "launch/radar_settings.h"
#include "profile/ini.h"
#include "profile/paths.h"
#include "profile/program_files.h"

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

Form1Presenter::Form1Presenter(FormMaker& maker, OutsideWorld world)
    : maker_(maker), world_(world), view_(maker.Make(Form1Table(), *this)) {}

Form1Presenter::~Form1Presenter() = default;

void Form1Presenter::Form_Load() {
    const std::string folder = world_.location.ProgramFolder();
    comboTexts_ = std::make_unique<ComboTexts>(*view_);
    selection_ = std::make_unique<PositionSelection>(*comboTexts_, folder);

    const std::string settingsFile = InFolder(folder, files::kSettings);
    form4_ = std::make_unique<Form4Presenter>(maker_, settingsFile, world_.volumes);
    form4_->LoadPreferences();
    // The Windows folder just loaded; an empty one writes nothing. The radar
    // folder tells whether the client reads the name as a Windows path. A
    // failed write is not told: the radar client still starts, with the name
    // it had.
    (void)WriteAtisFileName(form4_->preferences().windowsdir, folder, form4_->preferences().rdvdir);

    // The last confirmed answers replace what the dialog's own load put
    // there; until there are any, the facility's defaults stay.
    LoadForm2();
    form2_->ShowAnswers(LoadFinalSetupAnswers(settingsFile, form2_->Answers()));

    if (const std::optional<int> left = LogoLeftPixels(ReadIni(keys::kLogoLeft, folder))) {
        view_->SetLeft(form1::kBanner, *left * 15);
    }
    view_->SetPicture(form1::kBanner, PicturePath(folder, ReadIni(keys::kLogo, folder)));
    view_->SetPicture(form1::kCorner, PicturePath(folder, ReadIni(keys::kBack, folder)));
    view_->SetText(form1::kTitle, ReadIni(keys::kTitle, folder));
    view_->SetText(form1::kWebsite, ReadIni(keys::kWebsite, folder));
    view_->SetCaption(ComposeCaption(view_->Caption(), view_->Text(form1::kTitle)));

    // Last, because it sets the window's height.
    const PositionCatalogue catalogue =
        LoadPositionCatalogue(InFolder(folder, rules::kGroupNames.file));
    ShowPositionCatalogue(catalogue, *view_);
    for (const PositionGroup& group : catalogue.groups) {
        if (!group.name.empty()) {
            firstGroup_ = group.number;
            break;
        }
    }
}

void Form1Presenter::LoadForm2() {
    form2_ = std::make_unique<Form2Presenter>(
        maker_,
        FinalSetupWorld{
            world_.location.ProgramFolder(),
            [this] { return view_->Text(form1::kSelected); },
            [this] { return view_->Text(form1::kFrequency); },
            form4_->preferences(),
            world_.clock,
            world_.starter,
            [this](const std::string& message) { world_.errors.ReportError(message); },
            [this] { world_.ender.EndProgram(); },
        },
        [this] { form2_.reset(); });
}

void Form1Presenter::Command1_Click() {
    // Without a position the clients would go on line as nobody.
    if (view_->Text(form1::kSelected).empty()) {
        world_.errors.ReportError("Pick your position first.");
        FocusFirstGroup();
        return;
    }
    if (form2_ == nullptr) {
        LoadForm2();
    }
    form2_->ShowModeless();
    const std::string folder = world_.location.ProgramFolder();
    view_->SetText(form1::kFrequency, LookupFrequency(folder, view_->Text(form1::kSelected)));
    const Preferences& preferences = form4_->preferences();
    // Again here: a Windows folder first set in this run has no name yet.
    // Failed writes go untold, as at start-up: the radar client still starts,
    // with the values it had.
    (void)WriteAtisFileName(preferences.windowsdir, folder, preferences.rdvdir);
    (void)WriteRadarSettings(preferences.windowsdir, view_->Text(form1::kSelected),
                             view_->Text(form1::kFrequency), preferences.serverip);
}

void Form1Presenter::FocusFirstGroup() {
    if (firstGroup_ != 0) {
        view_->SetFocus(ComboName(firstGroup_));
    }
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
    // The window's timer runs from its making; nothing is selectable before
    // the load.
    if (selection_ == nullptr) {
        return;
    }
    selection_->PollSelection();
    view_->SetText(form1::kSelected, selection_->selectedPosition());
    // With nothing selected yet the frequency label keeps its text, such as
    // the one a Launch before any pick looked up.
    if (!selection_->selectedPosition().empty()) {
        view_->SetText(form1::kFrequency, selection_->selectedFrequency());
    }
}

void Form1Presenter::Form_Unload() {
    world_.ender.EndProgram();
}

void Form1Presenter::OnClick(std::string_view button) {
    if (button == form1::kLaunch) {
        Command1_Click();
    } else if (button == form1::kExit) {
        Command2_Click();
    } else if (button == form1::kPreferences) {
        Command3_Click();
    }
}

void Form1Presenter::OnPick(std::string_view list) {
    if (const int n = GroupOfCombo(list); n != 0) {
        Combo_Click(n);
    }
}

void Form1Presenter::OnTick(std::string_view timer) {
    if (timer == form1::kPoll) {
        Timer1_Timer();
    }
}

void Form1Presenter::OnClose() {
    Form_Unload();
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
