// The window tables, at the controls a slip would most likely move: the
// corners of the main window's grid, its two lower lists, the tab orders and
// the dialogs' odd places. The front ends build straight from these tables;
// every control's place on screen is held by the README's pictures
// (readme_pictures_current).
#include "prefs/form_tables.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/form1_table.h"
#include "form/form_table.h"
#include "launch/form2_table.h"

namespace launcher {
namespace {

// left, top, width, height, tab index
using Place = std::array<int, 5>;

Place PlaceOf(const FormTable& form, const std::string& name) {
    const ControlSpec& c = form.Control(name);
    return {c.left, c.top, c.width, c.height, c.tabIndex};
}

std::vector<std::string> Names(const std::vector<const ControlSpec*>& controls) {
    std::vector<std::string> names;
    for (const ControlSpec* control : controls)
        names.push_back(control->name);
    return names;
}

TEST(app_form_tables, MainWindowGridCornersStylesAndOrder) {
    const FormTable& form = Form1Table();
    EXPECT_EQ(form.caption, "Radavue Launcher ");
    EXPECT_EQ(form.clientWidth, 9750);
    EXPECT_EQ(form.clientHeight, 8760);
    EXPECT_EQ(form.background, std::optional<Rgb>(0xC0C0C0));
    ASSERT_EQ(form.timers.size(), 1u);
    EXPECT_EQ(form.timers[0].intervalMs, 100);
    EXPECT_EQ(form.controls.size(), 71u);

    EXPECT_EQ(PlaceOf(form, "Command1"), (Place{4140, 1905, 1575, 375, 0}));
    EXPECT_EQ(form.Control("Command3").caption, "User Preferences");
    EXPECT_EQ(PlaceOf(form, "Frame1"), (Place{360, 3480, 1725, 810, 8}));
    EXPECT_EQ(PlaceOf(form, "Frame5"), (Place{7560, 3480, 1725, 810, 16}));
    EXPECT_EQ(PlaceOf(form, "Frame26"), (Place{360, 7680, 1725, 810, 58}));
    EXPECT_EQ(PlaceOf(form, "Combo1"), (Place{225, 330, 1305, 315, 9}));
    EXPECT_EQ(PlaceOf(form, "Combo4"), (Place{225, 360, 1305, 315, 15}));
    EXPECT_EQ(PlaceOf(form, "Combo11"), (Place{225, 360, 1305, 315, 29}));
    EXPECT_EQ(PlaceOf(form, "Combo30"), (Place{225, 330, 1305, 315, 67}));
    EXPECT_EQ(form.Control("Combo30").container, "Frame30");
    // Every frame keeps its design-time caption until the load handler names it.
    EXPECT_EQ(form.Control("Frame17").caption, "Frame1");

    EXPECT_EQ(form.Control("wwwaddy").font, (FontSpec{"Verdana", 12, true}));
    EXPECT_EQ(form.Control("wwwaddy").textColour, std::optional<Rgb>(0x0000C0));
    EXPECT_EQ(form.Control("wwwaddy").align, TextAlign::kCentre);
    EXPECT_EQ(form.Control("selected").textColour, std::optional<Rgb>(0xFF0000));
    EXPECT_EQ(form.Control("comfreq").textColour, std::optional<Rgb>(0xFF00FF));
    EXPECT_EQ(form.Control("accname").font, (FontSpec{"MS Sans Serif", 12, true}));

    const std::vector<std::string> created = Names(form.CreationOrder());
    ASSERT_EQ(created.size(), 71u);
    EXPECT_EQ(form.Control(created[0]).kind, ControlKind::kPicture);
    EXPECT_EQ(form.Control(created[1]).kind, ControlKind::kPicture);
    EXPECT_EQ(created[2], "Command1");
    EXPECT_EQ(created[10], "Frame1");
    EXPECT_EQ(created[70], "wwwaddy");
    const std::vector<std::string> focus = Names(form.FocusOrder());
    ASSERT_EQ(focus.size(), 33u);
    EXPECT_EQ((std::vector<std::string>(focus.begin(), focus.begin() + 5)),
              (std::vector<std::string>{"Command1", "Command2", "Command3", "Combo1", "Combo2"}));
    EXPECT_EQ(focus[32], "Combo30");
}

TEST(app_form_tables, FinalSetupDialog) {
    const FormTable& form = Form2Table();
    EXPECT_EQ(form.caption, "Final Setup");
    EXPECT_EQ(form.clientWidth, 6480);
    EXPECT_EQ(form.clientHeight, 3120);
    EXPECT_EQ(form.controls.size(), 7u);
    EXPECT_EQ(PlaceOf(form, "Command1"), (Place{2610, 2475, 1095, 495, 2}));
    EXPECT_EQ(PlaceOf(form, "rwy"), (Place{240, 240, 5775, 285, 3}));
    EXPECT_EQ(form.Control("rwy").container, "Frame1");
    EXPECT_EQ(form.Control("Frame1").caption, "RWY in Use Info (Unless Center)");
    EXPECT_EQ(form.Control("Check1").container, "Frame3");
    EXPECT_EQ(Names(form.FocusOrder()),
              (std::vector<std::string>{"Command1", "rwy", "addinfo", "Check1"}));
}

TEST(app_form_tables, PreferencesDialog) {
    const FormTable& form = Form4Table();
    EXPECT_EQ(form.caption, "Preferences");
    EXPECT_EQ(form.clientWidth, 6690);
    EXPECT_EQ(form.clientHeight, 4590);
    EXPECT_EQ(form.controls.size(), 18u);
    // Cancel stands 30 twips higher than OK, as designed.
    EXPECT_EQ(PlaceOf(form, "Command1"), (Place{1230, 3780, 855, 495, 2}));
    EXPECT_EQ(PlaceOf(form, "Command2"), (Place{2775, 3750, 855, 495, 3}));
    EXPECT_EQ(PlaceOf(form, "Label7"), (Place{150, 2595, 1350, 255, 16}));
    EXPECT_FALSE(form.Control("rwip").caption.empty());
    EXPECT_EQ(form.Control("datebox").caption, "UK");
    EXPECT_EQ(form.Control("datebox").items, (std::vector<std::string>{"UK", "USA"}));
    EXPECT_EQ(Names(form.FocusOrder()),
              (std::vector<std::string>{"rwip", "Command1", "Command2", "serverip", "userName",
                                        "Command3", "rdvdir", "rwdir", "Command4", "datebox",
                                        "windowsdir"}));
}

TEST(app_form_tables, FolderBrowseDialogsDifferInSizePromptAndTimer) {
    EXPECT_EQ(Form5Table().clientWidth, 6990);
    EXPECT_EQ(Form5Table().clientHeight, 4245);
    EXPECT_EQ(Form5Table().timers[0].intervalMs, 150);
    EXPECT_EQ(Form5Table().Control("Label1").caption,
              "Please Browse to the directory that contains Radavue");
    EXPECT_EQ(PlaceOf(Form5Table(), "Dir1"), (Place{720, 1320, 4695, 1665, 0}));
    EXPECT_EQ(Form6Table().clientWidth, 5790);
    EXPECT_EQ(Form6Table().clientHeight, 3675);
    EXPECT_EQ(Form6Table().timers[0].intervalMs, 200);
    EXPECT_EQ(Form6Table().Control("Label1").caption,
              "Please Browse to the directory that contains Roger Wilco");
    EXPECT_EQ(PlaceOf(Form6Table(), "Command1"), (Place{1320, 3000, 1215, 495, 1}));
    for (const FormTable* form : {&Form5Table(), &Form6Table()}) {
        SCOPED_TRACE(form->name);
        EXPECT_EQ(form->caption, "Browse...");
        EXPECT_FALSE(form->centred);
        EXPECT_EQ(Names(form->FocusOrder()),
                  (std::vector<std::string>{"Dir1", "Command1", "Command2", "Drive1"}));
        EXPECT_TRUE(form->Control("Label1").growsToRightEdge);
    }
}

// What the front ends draw differently by window: only the main window is
// one; lists without a caption and the two Browse buttons tell readers what
// they are for.
TEST(app_form_tables, RolesAndReadersHints) {
    EXPECT_EQ(Form1Table().role, WindowRole::kMain);
    for (const FormTable* dialog : {&Form2Table(), &Form4Table(), &Form5Table(), &Form6Table()}) {
        EXPECT_EQ(dialog->role, WindowRole::kDialog) << dialog->name;
    }
    EXPECT_EQ(Form4Table().Control("Command3").describedBy, "Label4");
    EXPECT_EQ(Form4Table().Control("Command4").describedBy, "Label5");
    EXPECT_FALSE(Form4Table().Control("Label1").growsToRightEdge);
    EXPECT_EQ(Form5Table().Control("Drive1").accessibleName, "Drive");
    EXPECT_EQ(Form5Table().Control("Dir1").accessibleName, "Folder");
    EXPECT_EQ(Form5Table().Control("Dir1").describedBy, "Label1");
}

}  // namespace
}  // namespace launcher
