#include "prefs/form4_presenter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/fake_form_view.h"
#include "tests/support/fakes.h"
#include "tests/support/scratch_folder.h"

namespace launcher {
namespace {

using Items = std::vector<std::string>;

class prefs_form4_presenter : public ::testing::Test {
protected:
    prefs_form4_presenter() {
        volumes_.volumes = {"/", "/data"};
        volumes_.working = "/data/atc";
    }

    Form4Presenter& Dialog() {
        if (!presenter_) {
            presenter_ = std::make_unique<Form4Presenter>(maker_, Settings(), volumes_);
        }
        return *presenter_;
    }
    std::string Settings() const { return folder_.File("settings.ini"); }
    testing::FakeFormView& View(std::string_view name = "Form4") { return *maker_.Last(name); }

    testing::ScratchFolder folder_;
    testing::FakeVolumes volumes_;
    testing::FakeFormMaker maker_;
    std::unique_ptr<Form4Presenter> presenter_;
};

TEST_F(prefs_form4_presenter, MadeWithDesignTextsAndEveryServerKeyInOrder) {
    folder_.Write("settings.ini",
                  "[rwservers]\r\n5=rw5\r\n1=rw1\r\n2=rw2\r\n9=rw9\r\n"
                  "[rdvservers]\r\n10=rdv10\r\n11=rdv11\r\n[MAIN]\r\nNAME=not yet\r\n");
    Dialog();
    EXPECT_EQ(View().At("rwip").items, (Items{"rw1", "rw2", "", "", "rw5", "", "", ""}));
    EXPECT_EQ(View().At("serverip").items, (Items{"", "", "", "", "", "", "", "", "", "rdv10"}));
    EXPECT_EQ(View().At("datebox").items, (Items{"UK", "USA"}));
    // Until the preferences are loaded the fields keep their design texts.
    EXPECT_EQ(View().Text("datebox"), "UK");
    EXPECT_EQ(View().Text("rwip"), "voice.example.net");
    EXPECT_EQ(View().Text("userName"), "");
    EXPECT_FALSE(View().visible);

    Dialog().LoadPreferences();
    EXPECT_EQ(View().Text("userName"), "not yet");
    EXPECT_EQ(View().Text("datebox"), "");
    EXPECT_EQ(View().Text("rwip"), "");
    EXPECT_EQ(Dialog().preferences().datebox, "");
}

TEST_F(prefs_form4_presenter, EditsAreInForceAtOnceOkSavesCancelAndCloseOnlyHide) {
    Dialog().LoadPreferences();
    Dialog().ShowModeless();
    Dialog().OnTextChanged("userName", "Jo Smith");
    Dialog().OnTextChanged("datebox", "uk");
    EXPECT_EQ(Dialog().preferences().userName, "Jo Smith");
    EXPECT_EQ(Dialog().preferences().datebox, "uk");

    Dialog().Command2_Click();
    EXPECT_FALSE(View().visible);
    EXPECT_FALSE(std::filesystem::exists(Settings()));
    Dialog().ShowModeless();
    Dialog().Form_Unload();
    EXPECT_FALSE(View().visible);
    EXPECT_FALSE(std::filesystem::exists(Settings()));
    EXPECT_EQ(Dialog().preferences().userName, "Jo Smith");

    Dialog().Command1_Click();
    EXPECT_FALSE(View().visible);
    EXPECT_EQ(testing::ReadBytes(Settings()),
              "[MAIN]\r\nWINDIR=\r\nRWIP=\r\nRDVIP=\r\nNAME=Jo Smith\r\nRWDIR=\r\nRDVDIR=\r\n"
              "DATE=uk\r\n");
}

TEST_F(prefs_form4_presenter, BrowseDialogsAreMadeOnceAndFillTheirOwnFieldOnly) {
    Dialog().LoadPreferences();
    Dialog().OnTextChanged("rwdir", "typed");
    EXPECT_EQ(Dialog().form5(), nullptr);

    Dialog().Command3_Click();
    Dialog().Command4_Click();
    Dialog().Command3_Click();
    EXPECT_EQ(maker_.Made("Form5"), 1);
    EXPECT_EQ(maker_.Made("Form6"), 1);
    EXPECT_EQ(View("Form5").shows, 2);
    EXPECT_TRUE(View("Form6").visible);
    // The dialog itself stays hidden: the folders are set all the same.
    EXPECT_FALSE(View().visible);

    View("Form5").At("Dir1").text = "/data/Radavue";
    Dialog().form5()->Command1_Click();
    EXPECT_EQ(Dialog().preferences().rdvdir, "/data/Radavue");
    EXPECT_EQ(View().Text("rdvdir"), "/data/Radavue");
    EXPECT_EQ(Dialog().preferences().rwdir, "typed");
    EXPECT_FALSE(View("Form5").visible);

    Dialog().form6()->Command2_Click();
    EXPECT_EQ(Dialog().preferences().rwdir, "typed");
    // Only OK of the Preferences dialog writes the file.
    EXPECT_FALSE(std::filesystem::exists(Settings()));
}

TEST_F(prefs_form4_presenter, BrowseStartsAtTheWorkingFolderAndFollowsThePickedDriveAtTheTick) {
    Dialog().Command4_Click();
    BrowsePresenter& browse = *Dialog().form6();
    testing::FakeFormView& view = View("Form6");
    EXPECT_EQ(view.At("Drive1").items, (Items{"/", "/data"}));
    EXPECT_EQ(view.Text("Drive1"), "/data");
    EXPECT_EQ(view.At("Dir1").drive, "/data");
    EXPECT_EQ(view.Text("Dir1"), "/data/atc");

    // Another drive, and OK before the next tick: the old folder is taken.
    view.At("Drive1").text = "/";
    browse.Command1_Click();
    EXPECT_EQ(Dialog().preferences().rwdir, "/data/atc");
    browse.Timer1_Timer();
    EXPECT_EQ(view.At("Dir1").drive, "/");

    // Hidden, not destroyed: the close box keeps the pick for the next time.
    browse.ShowModeless();
    browse.Form_Unload();
    EXPECT_FALSE(view.visible);
    EXPECT_FALSE(view.discarded);
    Dialog().Command4_Click();
    EXPECT_EQ(maker_.Made("Form6"), 1);
    EXPECT_EQ(view.Text("Drive1"), "/");
}

TEST_F(prefs_form4_presenter, AWorkingFolderOnNoListedVolumeLeavesTheDriveListUnset) {
    volumes_.working = "relative/place";
    volumes_.volumes = {"/data"};
    Dialog().Command3_Click();
    EXPECT_EQ(View("Form5").Text("Drive1"), "");
    EXPECT_EQ(View("Form5").Text("Dir1"), "relative/place");
    EXPECT_EQ(testing::IndexOf(maker_.log, "Form5.PointAtDrive Dir1=/data"), -1);
}

}  // namespace
}  // namespace launcher
