#include "launch/form2_table.h"

namespace launcher {

namespace {

FormTable MakeForm2() {
    FormTable form;
    form.name = "Form2";
    form.caption = "Final Setup";
    form.clientWidth = 6480;
    form.clientHeight = 3120;
    form.centred = true;

    using enum ControlKind;
    form.controls = {
        MakeControl("Frame1", kFrame, "RWY in Use Info (Unless Center)", 240, 120, 6135, 615, 0),
        MakeControl(form2::kRunway, kTextBox, "", 240, 240, 5775, 285, 3, "Frame1"),
        MakeControl("Frame2", kFrame, "Online Until (if known)", 240, 960, 6135, 615, 1),
        MakeControl(form2::kOnlineUntil, kTextBox, "", 240, 240, 5775, 285, 4, "Frame2"),
        MakeControl("Frame3", kFrame, "Show Auto ATIS", 2400, 1680, 1515, 600, 5),
        // Too narrow for its caption: only the box shows, the frame labels it.
        MakeControl(form2::kAutoAtis, kCheckBox, "Check1", 570, 240, 255, 240, 6, "Frame3"),
        MakeControl(form2::kGo, kButton, "Go", 2610, 2475, 1095, 495, 2),
    };
    return form;
}

}  // namespace

const FormTable& Form2Table() {
    static const FormTable table = MakeForm2();
    return table;
}

}  // namespace launcher
