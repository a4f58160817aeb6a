#include "tests/contract/form_view_contract.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "form/form_table.h"

namespace launcher {

void PrintTo(const FieldSelection& shown, std::ostream* out) {
    *out << "{anchor " << shown.anchor << ", caret " << shown.caret << "}";
}

namespace contract {
namespace {

using Heard = std::vector<std::string>;
using Key = ContractDriver::Key;

// Notes each event a window reports, in order.
class RecordingEvents final : public FormEvents {
public:
    Heard heard;

    void OnClick(std::string_view button) override { heard.push_back("click " + Str(button)); }
    void OnPick(std::string_view list) override { heard.push_back("pick " + Str(list)); }
    void OnTextChanged(std::string_view control, const std::string& text) override {
        heard.push_back("text " + Str(control) + "=" + text);
    }
    void OnClose() override { heard.emplace_back("close"); }

private:
    static std::string Str(std::string_view text) { return std::string(text); }
};

// A group's list in its frame, a text box, a check box, a button and a label
// that shows a value.
FormTable Window() {
    FormTable form;
    form.name = "Contract";
    form.caption = "Contract";
    form.clientWidth = 4800;
    form.clientHeight = 3000;
    using enum ControlKind;
    form.controls = {
        MakeControl("Frame1", kFrame, "Heathrow", 120, 120, 2400, 900),
        MakeControl("Combo1", kEditableList, "", 120, 360, 2100, 315, 0, "Frame1"),
        MakeControl("Text1", kTextBox, "design", 120, 1200, 2400, 285, 1),
        MakeControl("Check1", kCheckBox, "Auto", 120, 1620, 1500, 255, 2),
        MakeControl("Command1", kButton, "Go", 120, 2040, 1215, 375, 3),
        MakeControl("Label1", kLabel, "", 2640, 1200, 2000, 255),
    };
    return form;
}

class FormViewContract : public ::testing::Test {
protected:
    void SetUp() override {
        driver_ = MakeContractDriver();
        view_ = driver_->Maker().Make(table_, events_);
    }
    void TearDown() override {
        Discard(std::move(view_));
        driver_->ProcessEvents();
    }

    // What the window reported since the last call.
    Heard Reported() {
        driver_->ProcessEvents();
        return std::exchange(events_.heard, {});
    }

    const FormTable table_ = Window();
    RecordingEvents events_;
    std::unique_ptr<ContractDriver> driver_;
    std::unique_ptr<FormView> view_;
};

TEST_F(FormViewContract, WhatThePresenterSetsIsNeverReportedBack) {
    FormView& view = *view_;
    view.SetText("Combo1", "EGLL_APP");
    view.AddItems("Combo1", {"EGLL_DEL", "EGLL_TWR"});
    view.SetText("Text1", "Heathrow");
    driver_->ShowActive(view);
    view.SetText("Frame1", "London");
    view.SetText("Label1", "EGLL_TWR");
    view.SetValue("Check1", 1);
    view.AddItems("Combo1", {"EGLL_APP"});
    view.SetText("Text1", "Gatwick");
    view.SetText("Combo1", "EGKK_TWR");
    view.SetFocus("Text1");
    EXPECT_EQ(Reported(), (Heard{}));

    // Filling a list keeps its text and picks nothing.
    EXPECT_EQ(view.Text("Combo1"), "EGKK_TWR");
    EXPECT_EQ(view.Text("Text1"), "Gatwick");
    EXPECT_EQ(view.Text("Frame1"), "London");
    EXPECT_EQ(view.Text("Label1"), "EGLL_TWR");
    EXPECT_EQ(view.Value("Check1"), 1);
    // A set text shows its start, nothing selected.
    EXPECT_EQ(driver_->Selection(view, "Combo1"), (FieldSelection{0, 0}));
    EXPECT_EQ(driver_->Selection(view, "Text1"), (FieldSelection{0, 0}));
}

TEST_F(FormViewContract, EachKeyboardMoveInAClosedListIsOnePickAfterItsText) {
    FormView& view = *view_;
    view.AddItems("Combo1", {"EGLL_DEL", "EGLL_TWR", "EGLL_APP"});
    driver_->ShowActive(view);
    view.SetFocus("Combo1");
    EXPECT_EQ(driver_->Focused(view), "Combo1");

    driver_->PressKey(view, "Combo1", Key::kDown);
    EXPECT_EQ(Reported(), (Heard{"text Combo1=EGLL_DEL", "pick Combo1"}));
    driver_->PressKey(view, "Combo1", Key::kDown);
    driver_->PressKey(view, "Combo1", Key::kDown);
    driver_->PressKey(view, "Combo1", Key::kUp);
    EXPECT_EQ(Reported(), (Heard{"text Combo1=EGLL_TWR", "pick Combo1", "text Combo1=EGLL_APP",
                                 "pick Combo1", "text Combo1=EGLL_TWR", "pick Combo1"}));
    EXPECT_EQ(view.Text("Combo1"), "EGLL_TWR");
    // The picked item is all selected, from the end back to its start.
    EXPECT_EQ(driver_->Selection(view, "Combo1"), (FieldSelection{8, 0}));

    // Typing replaces it and is text, never a pick.
    driver_->Type(view, "Combo1", "EG");
    EXPECT_EQ(Reported(), (Heard{"text Combo1=E", "text Combo1=EG"}));
    EXPECT_EQ(view.Text("Combo1"), "EG");
}

// Only the field the keyboard is in shows a selection: all of its text, its
// start shown.
TEST_F(FormViewContract, TabSelectsAFieldsTextTypingReplacesItAClickIsAClick) {
    FormView& view = *view_;
    view.SetText("Combo1", "EGLL_TWR");
    driver_->ShowActive(view);
    view.SetFocus("Command1");
    driver_->PressKey(view, "Command1", Key::kTab);  // round to the first
    EXPECT_EQ(driver_->Focused(view), "Combo1");
    EXPECT_EQ(driver_->Selection(view, "Combo1"), (FieldSelection{8, 0}));
    driver_->PressKey(view, "Combo1", Key::kTab);
    EXPECT_EQ(driver_->Focused(view), "Text1");
    EXPECT_EQ(driver_->Selection(view, "Text1"), (FieldSelection{6, 0}));
    EXPECT_EQ(driver_->Selection(view, "Combo1"), (FieldSelection{0, 0}));
    EXPECT_EQ(Reported(), (Heard{}));

    driver_->Type(view, "Text1", "J");
    driver_->Click(view, "Command1");
    EXPECT_EQ(Reported(), (Heard{"text Text1=J", "click Command1"}));
    EXPECT_EQ(view.Text("Text1"), "J");

    view.SetFocus("Text1");
    EXPECT_EQ(driver_->Focused(view), "Text1");
}

}  // namespace
}  // namespace contract
}  // namespace launcher
