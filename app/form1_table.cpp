#include "app/form1_table.h"

#include <array>

#include "catalogue/position_catalogue.h"

namespace launcher {

namespace {

constexpr FontSpec kTitleFont{"MS Sans Serif", 12, true};
constexpr FontSpec kWebAddressFont{"Verdana", 12, true};

FormTable MakeForm1() {
    FormTable form;
    form.name = "Form1";
    form.role = WindowRole::kMain;
    form.caption = "Radavue Launcher ";  // the load handler extends it
    form.clientWidth = 9750;
    form.clientHeight = 8760;
    form.background = 0xC0C0C0;
    form.centred = true;
    form.timers = {{std::string(form1::kPoll), kForm1TimerMs}};

    using enum ControlKind;
    form.controls = {
        MakeControl(form1::kCorner, kPicture, "", 0, 0, 1935, 1575),
        MakeControl(form1::kBanner, kPicture, "", 0, 120, 9735, 1335),
        Styled(MakeControl(form1::kWebsite, kLabel, "www.example.com", 0, 1560, 9615, 255, 68),
               kWebAddressFont, 0x0000C0, TextAlign::kCentre),
        MakeControl(form1::kPreferences, kButton, "User Preferences", 2460, 1905, 1575, 375, 2),
        MakeControl(form1::kLaunch, kButton, "Launch", 4140, 1905, 1575, 375, 0),
        MakeControl(form1::kExit, kButton, "Exit", 5820, 1905, 1575, 375, 1),
        CaptionOf(MakeControl("Label1", kLabel, "Selected Position", 2040, 2400, 855, 375, 5),
                  form1::kSelected),
        Styled(MakeControl(form1::kSelected, kLabel, "", 3000, 2520, 1935, 375, 3), kClassicFont,
               0xFF0000, TextAlign::kLeft),
        CaptionOf(MakeControl("Label2", kLabel, "Selected Frequency", 4560, 2400, 855, 495, 6),
                  form1::kFrequency),
        Styled(MakeControl(form1::kFrequency, kLabel, "", 5760, 2520, 1695, 255, 4), kClassicFont,
               0xFF00FF, TextAlign::kLeft),
        Styled(MakeControl(form1::kTitle, kLabel, "", 2400, 3000, 5055, 315, 7), kTitleFont,
               0x0000FF, TextAlign::kCentre),
    };
    for (int n = 1; n <= kGroupCount; ++n) {
        const int column = (n - 1) % 5;
        const int row = (n - 1) / 5;
        form.controls.push_back(MakeControl(FrameName(n), kFrame, "Frame1", 360 + 1800 * column,
                                            3480 + 840 * row, 1725, 810, 8 + 2 * (n - 1)));
        const int comboTop = (n == 4 || n == 11) ? 360 : 330;
        form.controls.push_back(MakeControl(ComboName(n), kEditableList, "", 225, comboTop, 1305,
                                            315, 9 + 2 * (n - 1), FrameName(n)));
    }
    return form;
}

}  // namespace

namespace {

std::array<std::string, kGroupCount> Names(const char* stem) {
    std::array<std::string, kGroupCount> names;
    for (int n = 1; n <= kGroupCount; ++n) {
        names[n - 1] = stem + std::to_string(n);
    }
    return names;
}

}  // namespace

const std::string& ComboName(int group) {
    static const std::array<std::string, kGroupCount> names = Names("Combo");
    return names.at(static_cast<std::size_t>(group - 1));
}

const std::string& FrameName(int group) {
    static const std::array<std::string, kGroupCount> names = Names("Frame");
    return names.at(static_cast<std::size_t>(group - 1));
}

int GroupOfCombo(std::string_view combo) {
    for (int n = 1; n <= kGroupCount; ++n) {
        if (combo == ComboName(n)) {
            return n;
        }
    }
    return 0;
}

const FormTable& Form1Table() {
    static const FormTable table = MakeForm1();
    return table;
}

}  // namespace launcher
