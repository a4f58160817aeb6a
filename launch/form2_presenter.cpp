#include "launch/form2_presenter.h"

#include <utility>

#include "launch/atis.h"
#include "launch/form2_table.h"
#include "launch/radar_settings.h"
#include "launch/voice_client.h"
#include "profile/file_replace.h"
#include "profile/ini.h"
#include "profile/paths.h"
#include "profile/program_files.h"

namespace launcher {

namespace {

// How a failure before any client runs ends its message: the launcher stays.
constexpr std::string_view kNothingDone =
    "Nothing has been saved, written or started; Final Setup stays open for Go once more.";
constexpr std::string_view kNoClientStarted =
    "No client has been started; Final Setup stays open for Go once more.";

}  // namespace

Form2Presenter::Form2Presenter(FormMaker& maker, FinalSetupWorld world,
                               std::function<void()> unloaded)
    : world_(std::move(world)),
      unloaded_(std::move(unloaded)),
      view_(maker.Make(Form2Table(), *this)) {
    Form_Load();
}

Form2Presenter::~Form2Presenter() = default;

void Form2Presenter::Form_Load() {
    view_->SetText(form2::kRunway, ReadIni(keys::kDefaultRunway, world_.programFolder));
    view_->SetText(form2::kOnlineUntil, ReadIni(keys::kDefaultOnlineUntil, world_.programFolder));
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
    // What the settings make impossible is found before anything is saved,
    // written or started: the dialog stays open with its answers, and Go after
    // the fix goes on line.
    if (const std::string problem = WhatStopsGo(); !problem.empty()) {
        world_.reportError(problem);
        return;
    }
    // Not told: the answers only save typing next time, and going on line
    // matters more.
    (void)SaveFinalSetupAnswers(Answers(), InFolder(world_.programFolder, files::kSettings));

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
    if (const Outcome written = WriteAtisFileFor(details); !written.ok()) {
        world_.reportError(written.message() + "\n\n" + std::string(kNoClientStarted));
        return;
    }
    // The controller may have picked again since Launch, with this dialog
    // open: the radar client gets the position the voice client and the ATIS
    // get. Nothing changed, nothing changes in the file. A failed write is
    // not told: the clients start all the same.
    (void)WriteRadarSettings(preferences.windowsdir, world_.selectedPosition(),
                             world_.selectedFrequency(), preferences.serverip);

    const Outcome voice = StartVoiceClient(world_.starter, world_.programFolder, preferences.rwip,
                                           world_.selectedPosition(), preferences.rwdir);
    if (!voice.ok()) {
        world_.reportError(voice.message() + "\n\n" + std::string(kNoClientStarted));
        return;
    }
    // The voice client runs by now: a radar client that fails to start ends
    // the launcher, which cannot take the voice client back.
    const Outcome radar =
        world_.starter.Start(RadarCommandLine(preferences.rdvdir), WindowShow::kMaximized);
    if (!radar.ok()) {
        world_.reportError(radar.message());
    }
    world_.endProgram();
}

FinalSetupAnswers Form2Presenter::Answers() const {
    return {view_->Text(form2::kRunway), view_->Text(form2::kOnlineUntil),
            std::to_string(view_->Value(form2::kAutoAtis))};
}

std::string Form2Presenter::WhatStopsGo() const {
    std::string message;
    const std::string atis = AtisFilePath(world_.programFolder);
    if (const ReplaceResult writable = CheckReplaceable(atis); !writable.ok()) {
        message.append("Cannot write the ATIS file \"")
            .append(atis)
            .append("\": ")
            .append(writable.Reason())
            .append(".\n\n");
    }
    const Preferences& preferences = world_.preferences;
    const struct {
        const char* name;
        const std::string& folder;
        std::string program;
        std::string_view file;
        std::string_view field;  // the caption of the Preferences field that names its folder
    } clients[] = {
        {"voice", preferences.rwdir, VoiceClientProgram(preferences.rwdir), kVoiceClientProgram,
         PreferenceOf(&Preferences::rwdir).caption},
        {"radar", preferences.rdvdir, RadarCommandLine(preferences.rdvdir).program,
         kRadarClientProgram, PreferenceOf(&Preferences::rdvdir).caption},
    };
    for (const auto& client : clients) {
        std::string problem;
        if (client.folder.empty()) {
            problem = "its folder is not set";
        } else if (const Outcome startable = world_.starter.CheckStartable(client.program);
                   !startable.ok()) {
            problem = "\"" + client.program + "\": " + startable.message();
        } else {
            continue;
        }
        message.append("Cannot start the ")
            .append(client.name)
            .append(" client: ")
            .append(problem)
            .append(".\nSet \"")
            .append(client.field)
            .append("\" in User Preferences to the folder that holds ")
            .append(client.file)
            .append(".\n\n");
    }
    return message.empty() ? message : message.append(kNothingDone);
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
