#include "launch/form2_presenter.h"

#include <utility>

#include "launch/atis.h"
#include "launch/form2_table.h"
#include "launch/radar_settings.h"
#include "launch/voice_client.h"
#include "profile/ini.h"
#include "profile/paths.h"
#include "profile/program_files.h"

namespace launcher {

Form2Presenter::Form2Presenter(FormMaker& maker, FinalSetupWorld world,
                               std::function<void()> unloaded)
    : world_(std::move(world)),
      unloaded_(std::move(unloaded)),
      view_(maker.Make(Form2Table(), *this)) {
    Form_Load();
}

Form2Presenter::~Form2Presenter() = default;

void Form2Presenter::Form_Load() {
    const std::string varFile = InFolder(world_.programFolder, files::kFinalSetupDefaults);
    view_->SetText(form2::kRunway, ReadIni(sections::kMain, "RWY", varFile));
    view_->SetText(form2::kOnlineUntil, ReadIni(sections::kMain, "ADDINFO", varFile));
}

void Form2Presenter::ShowModeless() {
    view_->ShowModeless();
}

void Form2Presenter::ShowAnswers(const FinalSetupAnswers& answers) {
    view_->SetValue(form2::kAutoAtis, AutoAtisTicked(answers.autoAtis) ? 1 : 0);
    view_->SetText(form2::kRunway, answers.runway);
    view_->SetText(form2::kOnlineUntil, answers.onlineUntil);
}

void Form2Presenter::Command1_Click() {
    // The answers are saved first, so they stay saved whatever fails later.
    SaveFinalSetupAnswers({view_->Text(form2::kRunway), view_->Text(form2::kOnlineUntil),
                           std::to_string(view_->Value(form2::kAutoAtis))},
                          InFolder(world_.programFolder, files::kSettings));

    const Preferences& preferences = world_.preferences;
    LaunchDetails details;
    details.position = world_.selectedPosition();
    details.runway = view_->Text(form2::kRunway);
    details.onlineUntil = view_->Text(form2::kOnlineUntil);
    details.autoAtis = view_->Value(form2::kAutoAtis);
    details.dateStyle = preferences.datebox;
    details.voiceServer = preferences.rwip;
    details.userName = preferences.userName;
    details.voiceFolder = preferences.rwdir;
    details.radarFolder = preferences.rdvdir;
    details.programFolder = world_.programFolder;
    details.now = world_.clock.Now();
    if (EndedBy(WriteAtisFileFor(details))) {
        return;
    }
    if (!BothClientsStartable()) {
        return;
    }
    // The controller may have picked again since Launch, with this dialog
    // open: the radar client gets the position the voice client and the ATIS
    // get. Nothing changed, nothing changes in the file.
    WriteRadarSettings(preferences.windowsdir, world_.selectedPosition(),
                       world_.selectedFrequency(), preferences.serverip);

    const StartResult voice =
        StartVoiceClient(world_.starter, world_.programFolder, preferences.rwip,
                         world_.selectedPosition(), preferences.rwdir);
    if (EndedBy(voice.error)) {
        return;
    }
    const StartResult radar =
        world_.starter.Start(RadarCommandLine(preferences.rdvdir), WindowShow::kMaximized);
    if (EndedBy(radar.error)) {
        return;
    }
    world_.endProgram();
}

bool Form2Presenter::BothClientsStartable() {
    const Preferences& preferences = world_.preferences;
    const struct {
        const char* name;
        std::string program;
        std::string_view file;
        const char* field;  // the Preferences field that names its folder
    } clients[] = {
        {"voice", VoiceClientProgram(preferences.rwdir), kVoiceClientProgram, "RW Directory"},
        {"radar", RadarCommandLine(preferences.rdvdir).program, kRadarClientProgram,
         "Rdv Directory"},
    };
    std::string message;
    for (const auto& client : clients) {
        const std::string reason = world_.starter.CheckStartable(client.program);
        if (!reason.empty()) {
            message.append("Cannot start the ")
                .append(client.name)
                .append(" client.\nTried: ")
                .append(client.program)
                .append("\nReason: ")
                .append(reason)
                .append("\nSet \"")
                .append(client.field)
                .append("\" in User Preferences to the folder that holds ")
                .append(client.file)
                .append(".\n\n");
        }
    }
    if (message.empty()) {
        return true;
    }
    EndedBy(message + "Neither client has been started.");
    return false;
}

bool Form2Presenter::EndedBy(const std::string& error) {
    if (error.empty()) {
        return false;
    }
    world_.reportError(error);
    world_.endProgram();
    return true;
}

void Form2Presenter::OnClick(std::string_view button) {
    if (button == form2::kGo) {
        Command1_Click();
    }
}

void Form2Presenter::OnClose() {
    Form_Unload();
}

void Form2Presenter::Form_Unload() {
    // The owner drops this presenter from inside the call, so nothing of it
    // may be touched after: the callback is moved out first.
    std::function<void()> unloaded = std::move(unloaded_);
    Discard(std::move(view_));
    if (unloaded) {
        unloaded();
    }
}

}  // namespace launcher
