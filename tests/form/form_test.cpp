// The rules both front ends draw by: what a folder list shows and when it
// moves, and the layout's conversions and fits.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "form/folder_listing.h"
#include "form/form_table.h"
#include "form/layout_rules.h"
#include "form/lazy_form.h"
#include "form/picture_file.h"
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

    // A last line may lose the tails of its descenders (3 pixels), no more.
    EXPECT_TRUE(TextFits({72, 16}, 3, {72, 13}));
    EXPECT_FALSE(TextFits({72, 17}, 3, {72, 13}));
    EXPECT_FALSE(TextFits({73, 13}, 3, {72, 13}));
}

// Centred in the work area on the first showing only, and only where the
// table says so.
TEST(layout_rules, ACentredWindowIsCentredWhenFirstShown) {
    FormTable form;
    EXPECT_FALSE(CentresOnShowing(form, true));
    form.centred = true;
    EXPECT_TRUE(CentresOnShowing(form, true));
    EXPECT_FALSE(CentresOnShowing(form, false));

    // A task bar of 40 pixels at the top of a 1920 by 1080 screen.
    EXPECT_EQ(CentredOrigin({0, 40, 1920, 1040}, {517, 301}), (Origin{701, 409}));
    EXPECT_EQ(CentredOrigin({1920, 0, 1280, 1024}, {1300, 1000}), (Origin{1910, 12}));
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

// A value label ends where a caption begins across it (Form1's "Selected
// Position" value and the "Selected Frequency" caption); a dropped list is
// as wide as its widest item needs, never narrower than its field.
TEST(layout_rules, LongTextsStayWholeOrEndAtTheirOwnEdge) {
    FormTable form;
    using enum ControlKind;
    form.controls = {
        MakeControl("selected", kLabel, "", 3000, 2520, 1935, 375),
        CaptionOf(MakeControl("Label2", kLabel, "Selected Frequency", 4560, 2400, 855, 495),
                  "comfreq"),
        MakeControl("comfreq", kLabel, "", 5760, 2520, 1695, 255),
        MakeControl("below", kLabel, "", 3000, 3000, 5055, 315),
    };
    EXPECT_EQ(LabelRoomTwips(form, form.Control("selected")), 1560);
    EXPECT_EQ(LabelRoomTwips(form, form.Control("comfreq")), 1695);
    EXPECT_EQ(LabelRoomTwips(form, form.Control("below")), 5055);
    EXPECT_TRUE(ShowsAValue(form.Control("selected")));
    EXPECT_FALSE(ShowsAValue(form.Control("Label2")));
    EXPECT_FALSE(ShowsAValue(MakeControl("Label1", kLabel, "Pick a folder", 0, 0, 900, 255)));
    EXPECT_FALSE(ShowsAValue(MakeControl("rwy", kTextBox, "", 0, 0, 900, 255)));

    EXPECT_EQ(DroppedListWidth(87, 120, 2, 17), 141);
    EXPECT_EQ(DroppedListWidth(160, 120, 2, 17), 160);
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
    // A control the window does not have is a programming error.
    EXPECT_DEATH(view->Text("ListC"), "programming error");
    EXPECT_DEATH(table.Control("ListC"), "programming error");

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

TEST(picture_file, PathsFromADownloadedFolderNameNoHostDeviceOrAddress) {
    using enum PicturePathRefusal;
    for (const char* network :
         {"\\\\host\\share\\logo.png", "//host/share/logo.png", "\\/host/x"}) {
        EXPECT_EQ(ClassifyPicturePath(network), kNetwork) << network;
    }
    for (const char* device :
         {"\\\\.\\COM1", "\\\\?\\C:\\logo.png", "//./pipe/x", "\\??\\C:\\x", "CON", "nul.png",
          "pics\\AUX.bmp", "C:com9", "LPT1 .gif", "conout$"}) {
        EXPECT_EQ(ClassifyPicturePath(device), kDevice) << device;
    }
    for (const char* url : {"http://example.net/logo.png", "file:logo.png", "FTP://x"}) {
        EXPECT_EQ(ClassifyPicturePath(url), kUrl) << url;
    }
    for (const char* local : {"logo.png", "C:\\pics\\logo.png", "/srv/logo.png", "pics/con1.png",
                              "console.png", "com10.png", "a:b.png"}) {
        EXPECT_EQ(ClassifyPicturePath(local), kNone) << local;
    }

    const std::string sep(testing::kSeparator);
    EXPECT_EQ(PicturePath("folder", "logo.png"), "folder" + sep + "logo.png");
    EXPECT_EQ(PicturePath("folder", "//host/share/logo.png"), "");
    EXPECT_EQ(PicturePath("folder", ""), "");
#ifdef _WIN32
    EXPECT_EQ(PicturePath("C:\\atc", "D:\\logo.png"), "D:\\logo.png");
    EXPECT_EQ(PicturePath("C:\\", "logo.png"), "C:\\logo.png");
#else
    EXPECT_EQ(PicturePath("/atc", "/srv/logo.png"), "/srv/logo.png");
    EXPECT_EQ(PicturePath("/", "logo.png"), "/logo.png");
#endif
}

TEST(picture_file, HeadersTellFormatAndSizeByContent) {
    using std::string_literals::operator""s;
    const auto header = [](const std::string& bytes) {
        const std::optional<PictureHeader> read = ReadPictureHeader(bytes);
        return read ? std::to_string(int(read->format)) + " " + std::to_string(read->width) + "x" +
                          std::to_string(read->height)
                    : std::string("none");
    };
    EXPECT_EQ(header("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x02\0\0\0\0\x59"s), "1 512x89");
    EXPECT_EQ(header("GIF89a\x10\x00\x20\x00"s), "3 16x32");
    // BMP: the Windows header, bottom-up and top-down, and the old OS/2 one.
    const std::string bmp = "BM"s + std::string(12, '\0');
    EXPECT_EQ(header(bmp + "\x28\0\0\0\x03\0\0\0\x05\0\0\0"s), "0 3x5");
    EXPECT_EQ(header(bmp + "\x28\0\0\0\x03\0\0\0\xfb\xff\xff\xff"s), "0 3x5");
    EXPECT_EQ(header(bmp + "\x0c\0\0\0\x03\0\x05\0\0\0\0\0"s), "0 3x5");
    // JPEG: the frame header after an APP0 segment and a fill byte.
    EXPECT_EQ(header("\xff\xd8\xff\xe0\0\x04"
                     "ab\xff\xff\xc2\0\x0b\x08\x01\x2c\x02\x58"s),
              "2 600x300");
    // Cut short, another format, image data before any frame.
    EXPECT_EQ(header("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0"s), "none");
    EXPECT_EQ(header("RIFF\0\0\0\0WEBPVP8 "s), "none");
    EXPECT_EQ(header("\xff\xd8\xff\xda\0\x04"
                     "ab"s),
              "none");
    EXPECT_EQ(header("\xff\xd8\xff\xe0\0\x10"s), "none");

    // Shown only with sides of 1 to 8192 pixels.
    const std::string png = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR"s;
    EXPECT_EQ(AcceptedPicture(png + "\0\0\x20\0\0\0\0\x01"s)->width, 8192u);
    EXPECT_FALSE(AcceptedPicture(png + "\0\0\x20\x01\0\0\0\x01"s));
    EXPECT_FALSE(AcceptedPicture(png + "\0\0\0\x01\0\0\0\0"s));
    EXPECT_FALSE(AcceptedPicture("RIFF\0\0\0\0WEBPVP8 "s));
}

TEST(picture_file, OnlyARegularFileOfBoundedSizeIsRead) {
    using std::string_literals::operator""s;
    testing::ScratchFolder scratch;
    const std::string png = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR"s;
    const std::string small = scratch.Write("small.png", png + "\0\0\x20\0\0\0\x20\0 rest"s);
    const std::optional<PictureFile> read = ReadPictureFile(small);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->header.width, 8192u);
    EXPECT_EQ(read->bytes.size(), 29u);
    // One pixel wider than the limit; a zero side; a picture in no format.
    EXPECT_FALSE(ReadPictureFile(scratch.Write("wide.png", png + "\0\0\x20\x01\0\0\0\x01"s)));
    EXPECT_FALSE(ReadPictureFile(scratch.Write("empty.png", png + "\0\0\0\0\0\0\0\x01"s)));
    EXPECT_FALSE(ReadPictureFile(scratch.Write("notes.txt", "not a picture")));
    EXPECT_FALSE(ReadPictureFile(scratch.File("missing.png")));
    EXPECT_FALSE(ReadPictureFile(scratch.path().string()));
#ifndef _WIN32
    // A FIFO with no writer would block an ordinary open for ever.
    const std::string fifo = scratch.File("fifo.png");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(ReadPictureFile(fifo));
    EXPECT_FALSE(ReadPictureFile("/dev/zero"));
#endif
}

}  // namespace
}  // namespace launcher
