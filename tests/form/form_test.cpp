// The rules both front ends draw by: what a folder list shows and when it
// moves, and the layout's conversions and fits.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "form/folder_listing.h"
#include "form/form_table.h"
#include "form/layout_rules.h"
#include "form/lazy_form.h"
#include "prefs/form_tables.h"
#include "tests/support/fake_form_view.h"
#include "tests/support/scratch_folder.h"

namespace launcher {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const FolderListing& listing) {
    std::vector<std::string> names;
    for (const FolderRow& row : listing.rows()) {
        names.push_back(std::string(static_cast<std::size_t>(row.depth), '+') + row.name);
    }
    return names;
}

TEST(folder_listing, ShowsTheWayDownThenTheFoldersInsideByName) {
    testing::ScratchFolder scratch;
    const fs::path open = scratch.path() / "clients";
    for (const char* child : {"beta", "Alpha", "alpha2", ".hidden"}) {
        fs::create_directories(open / child);
    }
    scratch.Write("clients/zz.txt", "a file, not a folder");

    FolderListing listing;
    // A trailing separator names the same folder.
    ASSERT_TRUE(listing.Open(open.string() + std::string(testing::kSeparator)));
    EXPECT_EQ(listing.folder(), open.string());
    const std::vector<std::string> names = Names(listing);
    const std::size_t depth = listing.openRow();
    ASSERT_EQ(names.size(), depth + 4);
    EXPECT_EQ(listing.rows().front().name, open.root_path().string());
    EXPECT_EQ(listing.rows()[depth].name, "clients");
    EXPECT_EQ(listing.rows()[depth].path, open.string());
    const std::string inside(depth + 1, '+');
    EXPECT_EQ(std::vector<std::string>(names.begin() + long(depth) + 1, names.end()),
              (std::vector<std::string>{inside + "Alpha", inside + "alpha2", inside + "beta"}));
    EXPECT_EQ(listing.rows().back().path, (open / "beta").string());

    // Missing, empty or a file: the listing stays as it was.
    EXPECT_FALSE(listing.Open((open / "missing").string()));
    EXPECT_FALSE(listing.Open(""));
    EXPECT_FALSE(listing.Open((open / "zz.txt").string()));
    EXPECT_EQ(listing.folder(), open.string());
    EXPECT_EQ(Names(listing), names);
}

TEST(folder_listing, OpensADriveOnlyWhenItIsNewAndRetriesOneThatCouldNotBeRead) {
    testing::ScratchFolder scratch;
    const fs::path drive = scratch.path() / "drive";
    const fs::path later = scratch.path() / "later";
    fs::create_directories(drive / "inside");

    FolderListing listing;
    EXPECT_TRUE(listing.PointAtDrive(drive.string()));
    ASSERT_TRUE(listing.Open((drive / "inside").string()));
    // The timer points again at every tick: the user's folder stays.
    EXPECT_FALSE(listing.PointAtDrive(drive.string()));
    EXPECT_EQ(listing.folder(), (drive / "inside").string());
    EXPECT_FALSE(listing.PointAtDrive(""));

    EXPECT_FALSE(listing.PointAtDrive(later.string()));  // no medium yet
    fs::create_directories(later);
    EXPECT_TRUE(listing.PointAtDrive(later.string()));
    EXPECT_EQ(listing.folder(), later.string());
}

TEST(layout_rules, TwipsToPixelsRoundsAtAnyDpi) {
    EXPECT_EQ(TwipsToPixels(15), 1);
    EXPECT_EQ(TwipsToPixels(22), 1);
    EXPECT_EQ(TwipsToPixels(23), 2);
    EXPECT_EQ(TwipsToPixels(9750), 650);
    EXPECT_EQ(TwipsToPixels(1575, 144), 158);
    EXPECT_EQ(TwipsToPixels(855, 120), 71);
    EXPECT_EQ(TwipsToPixels(-23), -2);
}

TEST(layout_rules, ACaptionStepsDownInsideTheRoomItsFieldLeaves) {
    const FormTable& form4 = Form4Table();
    // "Rdv Directory" is 1095 twips wide, but its field starts 1080 in.
    EXPECT_EQ(CaptionRoomTwips(form4, form4.Control("Label4")), 1080);
    EXPECT_EQ(CaptionRoomTwips(form4, form4.Control("Label7")), 1050);
    EXPECT_EQ(CaptionRoomTwips(form4, form4.Control("Label1")), 735);

    const ControlSpec& label = form4.Control("Label4");  // 8 points
    std::vector<int> tried;
    EXPECT_EQ(CaptionHalfPoints(label, [&](int half) { return tried.push_back(half), true; }), 16);
    EXPECT_EQ(tried, (std::vector<int>{16}));
    EXPECT_EQ(CaptionHalfPoints(label, [](int half) { return half <= 13; }), 13);
    EXPECT_EQ(CaptionHalfPoints(label, [](int) { return false; }), 12);
}

TEST(layout_rules, APromptGrowsToTheRightEdgeAtMost) {
    EXPECT_EQ(GrownWidth(305, 250, 400), 305);  // never narrower than designed
    EXPECT_EQ(GrownWidth(305, 350, 400), 350);
    EXPECT_EQ(GrownWidth(305, 500, 400), 400);
    EXPECT_EQ(GrownWidth(305, 500, 200), 305);  // no room: stays as designed

    // Down to the drive list, which lies across the way to the right edge.
    EXPECT_EQ(PromptRoomTwips(Form6Table(), Form6Table().Control("Label1")), (Extent{4950, 480}));
    // Taller only where one line does not fit even at the right edge.
    const auto twoLines = [](int width) { return width == 330 ? 26 : 0; };
    EXPECT_EQ(GrownPrompt({305, 17}, {330, 32}, 320, twoLines), (Extent{320, 17}));
    EXPECT_EQ(GrownPrompt({305, 17}, {330, 32}, 360, twoLines), (Extent{330, 26}));
    EXPECT_EQ(GrownPrompt({305, 17}, {330, 20}, 360, twoLines), (Extent{330, 20}));
}

// Only the focused field keeps its text selected; the caret is at the start.
TEST(layout_rules, AFieldShowsItsStart) {
    EXPECT_EQ(StartShown(9, false), (FieldSelection{0, 0}));
    EXPECT_EQ(StartShown(9, true), (FieldSelection{9, 0}));
}

// Two groups, each a frame with a list, and a text box.
FormTable TwoGroups() {
    FormTable form;
    form.name = "Groups";
    form.caption = "Groups";
    form.controls = {
        MakeControl("FrameA", ControlKind::kFrame, "A", 0, 0, 900, 600),
        MakeControl("ListA", ControlKind::kEditableList, "", 60, 240, 780, 315, 1, "FrameA"),
        MakeControl("FrameB", ControlKind::kFrame, "B", 900, 0, 900, 600),
        MakeControl("ListB", ControlKind::kEditableList, "", 60, 240, 780, 315, 2, "FrameB"),
        MakeControl("Name", ControlKind::kTextBox, "design", 0, 700, 900, 285, 3)};
    return form;
}

class Silent final : public FormEvents {};

TEST(lazy_form, MadeAtItsFirstShowingWithWhatWasSetAndHiddenFramesLeftOut) {
    const FormTable table = TwoGroups();
    Silent events;
    testing::FakeFormMaker fakes;
    LazyFormMaker lazy(fakes);
    std::unique_ptr<FormView> view = lazy.Make(table, events);

    view->SetVisible("FrameB", false);
    view->SetText("FrameA", "Manchester");
    view->AddItems("ListA", {"EGCC_TWR", "EGCC_GND"});
    view->SetText("ListA", "EGCC_TWR");
    view->SetCaption("Launcher");
    view->SetOuterHeight(3000);
    // Read back as the window would, before there is one.
    EXPECT_EQ(view->Text("ListA"), "EGCC_TWR");
    EXPECT_EQ(view->Text("Name"), "design");
    EXPECT_EQ(view->Caption(), "Launcher");
    EXPECT_EQ(fakes.Made("Groups"), 0);

    view->ShowModeless();
    ASSERT_EQ(fakes.Made("Groups"), 1);
    testing::FakeFormView& window = *fakes.Last("Groups");
    EXPECT_EQ(window.At("FrameA").text, "Manchester");
    EXPECT_EQ(window.At("ListA").items, (std::vector<std::string>{"EGCC_TWR", "EGCC_GND"}));
    EXPECT_EQ(window.At("ListA").text, "EGCC_TWR");
    EXPECT_EQ(window.caption, "Launcher");
    EXPECT_EQ(window.outerHeight, 3000);
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(window.controls.count("FrameB") + window.controls.count("ListB"), 0u);
    // The left-out list still reads what was set on it.
    view->SetText("ListB", "EGKK_TWR");
    EXPECT_EQ(view->Text("ListB"), "EGKK_TWR");
    EXPECT_THROW(view->Text("ListC"), std::out_of_range);

    // Discarded before its first showing: nothing is ever made.
    Discard(lazy.Make(table, events));
    EXPECT_EQ(fakes.Made("Groups"), 1);
}

TEST(lazy_form, AFrameShownLaterMakesTheWindowAgainKeepingWhatTheUserTyped) {
    const FormTable table = TwoGroups();
    Silent events;
    testing::FakeFormMaker fakes;
    LazyFormMaker lazy(fakes);
    std::unique_ptr<FormView> view = lazy.Make(table, events);
    view->SetVisible("FrameB", false);
    view->AddItems("ListB", {"EGKK_TWR"});
    view->ShowModeless();
    testing::FakeFormView& first = *fakes.Last("Groups");
    first.At("Name").text = "typed";

    view->SetVisible("ListB", true);  // its frame is still hidden
    EXPECT_EQ(fakes.Made("Groups"), 1);
    view->SetVisible("FrameB", true);
    ASSERT_EQ(fakes.Made("Groups"), 2);
    testing::FakeFormView& second = *fakes.Last("Groups");
    EXPECT_TRUE(first.discarded);
    EXPECT_TRUE(second.visible);
    EXPECT_EQ(second.At("Name").text, "typed");
    EXPECT_EQ(second.At("ListB").items, (std::vector<std::string>{"EGKK_TWR"}));
    EXPECT_TRUE(second.At("FrameB").visible);

    Discard(std::move(view));
    EXPECT_TRUE(second.discarded);
}

TEST(lazy_form, AWindowShowingTheDiskIsMadeAtOnce) {
    Silent events;
    testing::FakeFormMaker fakes;
    LazyFormMaker lazy(fakes);
    const FormTable& browse = Form5Table();
    std::unique_ptr<FormView> view = lazy.Make(browse, events);
    EXPECT_EQ(fakes.Made(browse.name), 1);
    EXPECT_EQ(fakes.Last(browse.name), view.get());
}

}  // namespace
}  // namespace launcher
