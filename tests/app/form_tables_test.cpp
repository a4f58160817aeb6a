// Every window's controls, captions, geometry and tab order, held against the
// layout the windows were designed with. The front ends build straight from
// these tables, so a wrong number here is a misplaced control on screen.
#include "prefs/form_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/form1_table.h"
#include "form/form_table.h"
#include "launch/form2_table.h"

namespace launcher {
namespace {

using K = ControlKind;
constexpr int kNone = kNoTabIndex;

// One expected control. A null caption stands for text the windows leave to us
// (a web address, a default server address): it must merely be non-empty.
struct Row {
    std::string name;
    ControlKind kind;
    std::string container;
    const char* caption;
    int left, top, width, height, tab;
    FontSpec font = {"MS Sans Serif", 8, false};
    std::optional<Rgb> colour = std::nullopt;
    TextAlign align = TextAlign::kLeft;
    std::vector<std::string> items = {};
};

std::vector<std::string> Names(const std::vector<const ControlSpec*>& controls) {
    std::vector<std::string> names;
    for (const ControlSpec* control : controls)
        names.push_back(control->name);
    return names;
}

// Every control of `form` against `rows`, and no control beyond them; then the
// creation order: pictures first, the rest by tab index.
void ExpectControls(const FormTable& form, const std::vector<Row>& rows) {
    EXPECT_EQ(form.controls.size(), rows.size()) << form.name;
    for (const Row& row : rows) {
        SCOPED_TRACE(form.name + "." + row.name);
        const auto matches =
            std::count_if(form.controls.begin(), form.controls.end(),
                          [&](const ControlSpec& c) { return c.name == row.name; });
        ASSERT_EQ(matches, 1);
        const ControlSpec& c = form.Control(row.name);
        EXPECT_EQ(c.kind, row.kind);
        EXPECT_EQ(c.container, row.container);
        if (row.caption == nullptr) {
            EXPECT_FALSE(c.caption.empty());
        } else {
            EXPECT_EQ(c.caption, row.caption);
        }
        EXPECT_EQ(c.left, row.left);
        EXPECT_EQ(c.top, row.top);
        EXPECT_EQ(c.width, row.width);
        EXPECT_EQ(c.height, row.height);
        EXPECT_EQ(c.tabIndex, row.tab);
        EXPECT_EQ(c.font, row.font);
        EXPECT_EQ(c.textColour, row.colour);
        EXPECT_EQ(c.align, row.align);
        EXPECT_EQ(c.items, row.items);
    }

    std::vector<Row> byTab = rows;
    std::stable_sort(byTab.begin(), byTab.end(), [](const Row& a, const Row& b) {
        const bool aPicture = a.kind == K::kPicture;
        const bool bPicture = b.kind == K::kPicture;
        return aPicture != bPicture ? aPicture : !aPicture && a.tab < b.tab;
    });
    std::vector<std::string> created = Names(form.CreationOrder());
    ASSERT_EQ(created.size(), byTab.size()) << form.name;
    for (size_t i = 0; i < byTab.size(); ++i) {
        if (byTab[i].kind == K::kPicture) {
            // Pictures may lie in either order among themselves.
            EXPECT_EQ(form.Control(created[i]).kind, K::kPicture) << form.name << " #" << i;
        } else {
            EXPECT_EQ(created[i], byTab[i].name) << form.name << " #" << i;
        }
    }
}

TEST(app_form_tables, MainWindow) {
    const FormTable& form = Form1Table();
    EXPECT_EQ(form.name, "Form1");
    EXPECT_EQ(form.caption, "Radavue Launcher ");
    EXPECT_EQ(form.clientWidth, 9750);
    EXPECT_EQ(form.clientHeight, 8760);
    EXPECT_EQ(form.background, std::optional<Rgb>(0xC0C0C0));
    EXPECT_TRUE(form.centred);
    ASSERT_EQ(form.timers.size(), 1u);
    EXPECT_EQ(form.timers[0].name, "Timer1");
    EXPECT_EQ(form.timers[0].intervalMs, 100);

    const FontSpec titleFont{"MS Sans Serif", 12, true};
    const FontSpec webFont{"Verdana", 12, true};
    std::vector<Row> rows = {
        {"Image2", K::kPicture, "", "", 0, 0, 1935, 1575, kNone},
        {"Image1", K::kPicture, "", "", 0, 120, 9735, 1335, kNone},
        {"wwwaddy", K::kLabel, "", nullptr, 0, 1560, 9615, 255, 68, webFont, 0x0000C0,
         TextAlign::kCentre},
        {"Command3", K::kButton, "", "User Preferences", 2460, 1905, 1575, 375, 2},
        {"Command1", K::kButton, "", "Launch", 4140, 1905, 1575, 375, 0},
        {"Command2", K::kButton, "", "Exit", 5820, 1905, 1575, 375, 1},
        {"Label1", K::kLabel, "", "Selected Position", 2040, 2400, 855, 375, 5},
        {"selected", K::kLabel, "", "", 3000, 2520, 1935, 375, 3, kClassicFont, 0xFF0000},
        {"Label2", K::kLabel, "", "Selected Frequency", 4560, 2400, 855, 495, 6},
        {"comfreq", K::kLabel, "", "", 5760, 2520, 1695, 255, 4, kClassicFont, 0xFF00FF},
        {"accname", K::kLabel, "", "", 2400, 3000, 5055, 315, 7, titleFont, 0x0000FF,
         TextAlign::kCentre},
    };
    std::vector<std::string> focus = {"Command1", "Command2", "Command3"};
    // The thirty groups stand in a grid of five columns; tab order runs
    // Frame1, Combo1, Frame2, Combo2, ... after accname.
    for (int n = 1; n <= 30; ++n) {
        const std::string frame = "Frame" + std::to_string(n);
        const std::string combo = "Combo" + std::to_string(n);
        rows.push_back({frame, K::kFrame, "", "Frame1", 360 + 1800 * ((n - 1) % 5),
                        3480 + 840 * ((n - 1) / 5), 1725, 810, 6 + 2 * n});
        rows.push_back({combo, K::kEditableList, frame, "", 225, n == 4 || n == 11 ? 360 : 330,
                        1305, 315, 7 + 2 * n});
        focus.push_back(combo);
    }
    ExpectControls(form, rows);
    EXPECT_EQ(Names(form.FocusOrder()), focus);

    // Spot the formula's corners by hand, so a shared slip cannot hide.
    EXPECT_EQ(form.Control("Frame5").left, 7560);
    EXPECT_EQ(form.Control("Frame26").top, 7680);
    EXPECT_EQ(form.Control("Combo30").tabIndex, 67);
}

TEST(app_form_tables, FinalSetupDialog) {
    const FormTable& form = Form2Table();
    EXPECT_EQ(form.name, "Form2");
    EXPECT_EQ(form.caption, "Final Setup");
    EXPECT_EQ(form.clientWidth, 6480);
    EXPECT_EQ(form.clientHeight, 3120);
    EXPECT_EQ(form.background, std::nullopt);
    EXPECT_TRUE(form.centred);
    EXPECT_TRUE(form.timers.empty());

    ExpectControls(
        form,
        {
            {"Frame1", K::kFrame, "", "RWY in Use Info (Unless Center)", 240, 120, 6135, 615, 0},
            {"rwy", K::kTextBox, "Frame1", "", 240, 240, 5775, 285, 3},
            {"Frame2", K::kFrame, "", "Online Until (if known)", 240, 960, 6135, 615, 1},
            {"addinfo", K::kTextBox, "Frame2", "", 240, 240, 5775, 285, 4},
            {"Frame3", K::kFrame, "", "Show Auto ATIS", 2400, 1680, 1515, 600, 5},
            {"Check1", K::kCheckBox, "Frame3", "Check1", 570, 240, 255, 240, 6},
            {"Command1", K::kButton, "", "Go", 2610, 2475, 1095, 495, 2},
        });
    EXPECT_EQ(Names(form.FocusOrder()),
              (std::vector<std::string>{"Command1", "rwy", "addinfo", "Check1"}));
}

TEST(app_form_tables, PreferencesDialog) {
    const FormTable& form = Form4Table();
    EXPECT_EQ(form.name, "Form4");
    EXPECT_EQ(form.caption, "Preferences");
    EXPECT_EQ(form.clientWidth, 6690);
    EXPECT_EQ(form.clientHeight, 4590);
    EXPECT_EQ(form.background, std::nullopt);
    EXPECT_TRUE(form.centred);
    EXPECT_TRUE(form.timers.empty());

    ExpectControls(form, {
                             {"Label1", K::kLabel, "", "RW IP", 360, 240, 735, 375, 1},
                             {"rwip", K::kEditableList, "", nullptr, 1200, 240, 2055, 315, 0},
                             {"Label2", K::kLabel, "", "Server IP", 360, 720, 735, 375, 5},
                             {"serverip", K::kEditableList, "", "", 1200, 720, 2055, 315, 4},
                             {"Label3", K::kLabel, "", "Name", 360, 1200, 735, 375, 6},
                             {"userName", K::kTextBox, "", "", 1200, 1200, 2055, 285, 7},
                             {"Label4", K::kLabel, "", "Rdv Directory", 120, 1680, 1095, 255, 10},
                             {"rdvdir", K::kTextBox, "", "", 1200, 1680, 4215, 285, 9},
                             {"Command3", K::kButton, "", "Browse", 5520, 1680, 855, 375, 8},
                             {"Label5", K::kLabel, "", "RW Directory", 120, 2160, 1095, 255, 13},
                             {"rwdir", K::kTextBox, "", "", 1200, 2160, 4215, 285, 11},
                             {"Command4", K::kButton, "", "Browse", 5520, 2160, 855, 375, 12},
                             {"Label7", K::kLabel, "", "WIN Directory", 150, 2595, 1350, 255, 16},
                             {"windowsdir", K::kTextBox, "", "", 1200, 2595, 4215, 285, 17},
                             {"Label6", K::kLabel, "", "Date Format", 225, 3105, 975, 375, 14},
                             {"datebox",
                              K::kEditableList,
                              "",
                              "UK",
                              1305,
                              3090,
                              1335,
                              315,
                              15,
                              kClassicFont,
                              std::nullopt,
                              TextAlign::kLeft,
                              {"UK", "USA"}},
                             {"Command1", K::kButton, "", "OK", 1230, 3780, 855, 495, 2},
                             {"Command2", K::kButton, "", "Cancel", 2775, 3750, 855, 495, 3},
                         });
    EXPECT_EQ(Names(form.FocusOrder()),
              (std::vector<std::string>{"rwip", "Command1", "Command2", "serverip", "userName",
                                        "Command3", "rdvdir", "rwdir", "Command4", "datebox",
                                        "windowsdir"}));
}

TEST(app_form_tables, FolderBrowseDialogs) {
    struct Browse {
        const FormTable& form;
        std::string name, prompt;
        int timerMs, clientWidth, clientHeight;
        std::vector<int> drive, dir, ok, cancel;  // left, top, width, height
    };
    const Browse dialogs[] = {
        {Form5Table(),
         "Form5",
         "Please Browse to the directory that contains Radavue",
         150,
         6990,
         4245,
         {1320, 720, 3735, 315},
         {720, 1320, 4695, 1665},
         {1320, 3360, 1215, 495},
         {3360, 3360, 1215, 495}},
        {Form6Table(),
         "Form6",
         "Please Browse to the directory that contains Roger Wilco",
         200,
         5790,
         3675,
         {720, 720, 4455, 315},
         {600, 1080, 4695, 1665},
         {1320, 3000, 1215, 495},
         {3360, 3000, 1215, 495}},
    };
    for (const Browse& d : dialogs) {
        SCOPED_TRACE(d.name);
        const FormTable& form = d.form;
        EXPECT_EQ(form.name, d.name);
        EXPECT_EQ(form.caption, "Browse...");
        EXPECT_EQ(form.clientWidth, d.clientWidth);
        EXPECT_EQ(form.clientHeight, d.clientHeight);
        EXPECT_EQ(form.background, std::nullopt);
        EXPECT_FALSE(form.centred);
        ASSERT_EQ(form.timers.size(), 1u);
        EXPECT_EQ(form.timers[0].name, "Timer1");
        EXPECT_EQ(form.timers[0].intervalMs, d.timerMs);

        auto row = [](const char* name, K kind, const char* caption, const std::vector<int>& g,
                      int tab) {
            return Row{name, kind, "", caption, g[0], g[1], g[2], g[3], tab};
        };
        ExpectControls(form,
                       {
                           row("Label1", K::kLabel, d.prompt.c_str(), {840, 240, 4575, 255}, 3),
                           row("Drive1", K::kDriveList, "", d.drive, 4),
                           row("Dir1", K::kFolderList, "", d.dir, 0),
                           row("Command1", K::kButton, "OK", d.ok, 1),
                           row("Command2", K::kButton, "Cancel", d.cancel, 2),
                       });
        EXPECT_EQ(Names(form.FocusOrder()),
                  (std::vector<std::string>{"Dir1", "Command1", "Command2", "Drive1"}));
        EXPECT_TRUE(form.Control("Label1").growsToRightEdge);
        EXPECT_EQ(form.Control("Drive1").accessibleName, "Drive");
        EXPECT_EQ(form.Control("Dir1").accessibleName, "Folder");
        EXPECT_EQ(form.Control("Dir1").describedBy, "Label1");
    }
}

// What the front ends draw differently by window: only the main window is
// one; the two Browse buttons tell readers their folder.
TEST(form_tables, RolesAndReadersHints) {
    EXPECT_EQ(Form1Table().role, WindowRole::kMain);
    for (const FormTable* dialog : {&Form2Table(), &Form4Table(), &Form5Table(), &Form6Table()}) {
        EXPECT_EQ(dialog->role, WindowRole::kDialog) << dialog->name;
    }
    EXPECT_EQ(Form4Table().Control("Command3").describedBy, "Label4");
    EXPECT_EQ(Form4Table().Control("Command4").describedBy, "Label5");
    EXPECT_FALSE(Form4Table().Control("Label1").growsToRightEdge);
}

}  // namespace
}  // namespace launcher
