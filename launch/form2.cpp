#include "launch/form2.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "app/form_kit.h"
#include "launch/atis.h"
#include "launch/voice_client.h"
#include "prefs/form4.h"
#include "profile/ini.h"
#include "profile/paths.h"

namespace launcher {

using kit::Twips;

namespace {

constexpr int kClientWidthTwips = 6480;
constexpr int kClientHeightTwips = 3120;

QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& title, QRect geometry) {
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setGeometry(geometry);
    return frame;
}

QLineEdit* MakeTextBox(QWidget* parent, const char* name, QRect geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    return edit;
}

}  // namespace

Form2::Form2(FinalSetupWorld world, QWidget* parent)
    : QWidget(parent, Qt::Dialog), world_(std::move(world)) {
    BuildControls();
    Form_Load();
}

Form2::~Form2() = default;

void Form2::BuildControls() {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Final Setup"));
    setFont(kit::ClassicFont());
    resize(kClientWidthTwips / 15, kClientHeightTwips / 15);

    frame1_ = MakeFrame(this, "Frame1", QStringLiteral("RWY in Use Info (Unless Center)"),
                        Twips(240, 120, 6135, 615));
    rwy_ = MakeTextBox(frame1_, "rwy", Twips(240, 240, 5775, 285));
    frame2_ = MakeFrame(this, "Frame2", QStringLiteral("Online Until (if known)"),
                        Twips(240, 960, 6135, 615));
    addinfo_ = MakeTextBox(frame2_, "addinfo", Twips(240, 240, 5775, 285));
    frame3_ =
        MakeFrame(this, "Frame3", QStringLiteral("Show Auto ATIS"), Twips(2400, 1680, 1515, 600));
    // Too narrow for its caption: only the box shows, the frame labels it.
    check1_ = new QCheckBox(QStringLiteral("Check1"), frame3_);
    check1_->setObjectName(QStringLiteral("Check1"));
    check1_->setGeometry(Twips(570, 240, 255, 240));
    command1_ =
        kit::MakeButton(this, "Command1", QStringLiteral("Go"), Twips(2610, 2475, 1095, 495));
    // Each field is announced by its frame's caption; the box's own caption
    // is out of sight.
    kit::SetAccessibleName(*rwy_, frame1_->title());
    kit::SetAccessibleName(*addinfo_, frame2_->title());
    kit::SetAccessibleName(*check1_, frame3_->title());

    setTabOrder(command1_, rwy_);
    setTabOrder(rwy_, addinfo_);
    setTabOrder(addinfo_, check1_);
    command1_->setFocus();

    connect(command1_, &QPushButton::clicked, this, &Form2::Command1_Click);
}

void Form2::Form_Load() {
    const std::string varFile = InFolder(world_.programFolder, "var.ini");
    rwy_->setText(QString::fromStdString(ReadIni("MAIN", "RWY", varFile)));
    addinfo_->setText(QString::fromStdString(ReadIni("MAIN", "ADDINFO", varFile)));
}

QGroupBox& Form2::frame(int n) const {
    switch (n) {
        case 1:
            return *frame1_;
        case 2:
            return *frame2_;
        default:
            return *frame3_;
    }
}

void Form2::ShowModeless() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void Form2::Command1_Click() {
    // The answers are saved first, so they stay saved whatever fails later.
    const std::string settingsFile = InFolder(world_.programFolder, "settings.ini");
    WriteIni("main", "rwy", rwy_->text().toStdString(), settingsFile);
    WriteIni("main", "additional", addinfo_->text().toStdString(), settingsFile);
    WriteIni("main", "autoatis", check1_->isChecked() ? "1" : "0", settingsFile);

    // The live record: edits in the Preferences dialog count, saved or not.
    const Preferences& preferences = world_.preferences.preferences();
    LaunchDetails details;
    details.position = world_.selectedPosition();
    details.runway = rwy_->text().toStdString();
    details.onlineUntil = addinfo_->text().toStdString();
    details.autoAtis = check1_->isChecked() ? 1 : 0;
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

bool Form2::EndedBy(const std::string& error) {
    if (error.empty()) {
        return false;
    }
    world_.reportError(error);
    world_.endProgram();
    return true;
}

void Form2::closeEvent(QCloseEvent* event) {
    event->accept();
    emit unloaded();
}

void Form2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Centred when first shown; a visible dialog brought to the front stays
    // where the user put it.
    if (!shownOnce_) {
        shownOnce_ = true;
        kit::CentreOnScreen(*this);
    }
}

}  // namespace launcher
