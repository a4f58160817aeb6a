#include "prefs/form_tables.h"

#include <utility>

#include "prefs/preferences.h"

namespace launcher {

namespace {

// A label's caption, as the preferences table gives it.
std::string CaptionFor(std::string Preferences::*field) {
    return std::string(PreferenceOf(field).caption);
}

ControlSpec WithItems(ControlSpec control, std::vector<std::string> items) {
    control.items = std::move(items);
    return control;
}

FormTable MakeForm4() {
    FormTable form;
    form.name = "Form4";
    form.caption = "Preferences";
    form.clientWidth = 6690;
    form.clientHeight = 4590;
    form.centred = true;

    using enum ControlKind;
    form.controls = {
        CaptionOf(
            MakeControl("Label1", kLabel, CaptionFor(&Preferences::rwip), 360, 240, 735, 375, 1),
            form4::kVoiceServer),
        MakeControl(form4::kVoiceServer, kEditableList, std::string(kDefaultVoiceServer), 1200, 240,
                    2055, 315, 0),
        CaptionOf(MakeControl("Label2", kLabel, CaptionFor(&Preferences::serverip), 360, 720, 735,
                              375, 5),
                  form4::kRadarServer),
        MakeControl(form4::kRadarServer, kEditableList, "", 1200, 720, 2055, 315, 4),
        CaptionOf(MakeControl("Label3", kLabel, CaptionFor(&Preferences::userName), 360, 1200, 735,
                              375, 6),
                  form4::kName),
        MakeControl(form4::kName, kTextBox, "", 1200, 1200, 2055, 285, 7),
        CaptionOf(MakeControl("Label4", kLabel, CaptionFor(&Preferences::rdvdir), 120, 1680, 1095,
                              255, 10),
                  form4::kRadarFolder),
        MakeControl(form4::kRadarFolder, kTextBox, "", 1200, 1680, 4215, 285, 9),
        // Two buttons read "Browse": each tells readers which folder it is for.
        DescribedBy(MakeControl(form4::kBrowseRadar, kButton, "Browse", 5520, 1680, 855, 375, 8),
                    "Label4"),
        CaptionOf(MakeControl("Label5", kLabel, CaptionFor(&Preferences::rwdir), 120, 2160, 1095,
                              255, 13),
                  form4::kVoiceFolder),
        MakeControl(form4::kVoiceFolder, kTextBox, "", 1200, 2160, 4215, 285, 11),
        DescribedBy(MakeControl(form4::kBrowseVoice, kButton, "Browse", 5520, 2160, 855, 375, 12),
                    "Label5"),
        CaptionOf(MakeControl("Label7", kLabel, CaptionFor(&Preferences::windowsdir), 150, 2595,
                              1350, 255, 16),
                  form4::kWindowsFolder),
        MakeControl(form4::kWindowsFolder, kTextBox, "", 1200, 2595, 4215, 285, 17),
        CaptionOf(MakeControl("Label6", kLabel, CaptionFor(&Preferences::datebox), 225, 3105, 975,
                              375, 14),
                  form4::kDateStyle),
        WithItems(MakeControl(form4::kDateStyle, kEditableList, "UK", 1305, 3090, 1335, 315, 15),
                  {"UK", "USA"}),
        MakeControl(form4::kOk, kButton, "OK", 1230, 3780, 855, 495, 2),
        MakeControl(form4::kCancel, kButton, "Cancel", 2775, 3750, 855, 495, 3),
    };
    return form;
}

struct BrowseDesign {
    const char* name;
    const char* prompt;
    int timerMs;
    int clientWidth, clientHeight;
    int label1[4], drive1[4], dir1[4], command1[4], command2[4];
};

FormTable MakeBrowse(const BrowseDesign& design) {
    FormTable form;
    form.name = design.name;
    form.caption = "Browse...";
    form.clientWidth = design.clientWidth;
    form.clientHeight = design.clientHeight;
    form.timers = {{std::string(browse::kDrivePoll), design.timerMs}};

    using enum ControlKind;
    const auto control = [](std::string_view name, ControlKind kind, const char* caption,
                            const int(&box)[4], int tabIndex) {
        return MakeControl(name, kind, caption, box[0], box[1], box[2], box[3], tabIndex);
    };
    form.controls = {
        control(browse::kPrompt, kLabel, design.prompt, design.label1, 3),
        control(browse::kDrives, kDriveList, "", design.drive1, 4),
        // The folder list, where the focus starts, also tells what to look for.
        DescribedBy(control(browse::kFolders, kFolderList, "", design.dir1, 0), browse::kPrompt),
        control(browse::kOk, kButton, "OK", design.command1, 1),
        control(browse::kCancel, kButton, "Cancel", design.command2, 2),
    };
    // The prompt is one line; a face wider than the designed one would cut it.
    form.controls[0].growsToRightEdge = true;
    // Neither list has a caption on screen.
    form.controls[1].accessibleName = "Drive";
    form.controls[2].accessibleName = "Folder";
    return form;
}

}  // namespace

const FormTable& Form4Table() {
    static const FormTable table = MakeForm4();
    return table;
}

const FormTable& Form5Table() {
    static const FormTable table =
        MakeBrowse({"Form5",
                    "Please Browse to the directory that contains Radavue",
                    150,
                    6990,
                    4245,
                    {840, 240, 4575, 255},
                    {1320, 720, 3735, 315},
                    {720, 1320, 4695, 1665},
                    {1320, 3360, 1215, 495},
                    {3360, 3360, 1215, 495}});
    return table;
}

const FormTable& Form6Table() {
    static const FormTable table =
        MakeBrowse({"Form6",
                    "Please Browse to the directory that contains Roger Wilco",
                    200,
                    5790,
                    3675,
                    {840, 240, 4575, 255},
                    {720, 720, 4455, 315},
                    {600, 1080, 4695, 1665},
                    {1320, 3000, 1215, 495},
                    {3360, 3000, 1215, 495}});
    return table;
}

}  // namespace launcher
