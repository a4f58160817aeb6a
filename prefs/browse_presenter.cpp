#include "prefs/browse_presenter.h"

#include <utility>

#include "prefs/form_tables.h"
#include "prefs/volumes.h"

namespace launcher {

BrowsePresenter::BrowsePresenter(FormMaker& maker, const FormTable& table,
                                 const VolumeList& volumes,
                                 std::function<void(const std::string&)> chosen)
    : chosen_(std::move(chosen)), view_(maker.Make(table, *this)) {
    Form_Load(volumes);
}

BrowsePresenter::~BrowsePresenter() = default;

void BrowsePresenter::Form_Load(const VolumeList& volumes) {
    const std::vector<std::string> roots = volumes.Volumes();
    view_->AddItems(browse::kDrives, roots);
    const std::string working = volumes.WorkingFolder();
    // A working folder on no listed volume leaves the drive list without a
    // current drive; the folder list then stays until a drive is picked.
    const std::string drive = VolumeContaining(roots, working);
    if (!drive.empty()) {
        view_->SetText(browse::kDrives, drive);
        view_->PointAtDrive(browse::kFolders, drive);
    }
    // Should the working folder be unreadable, the list stays on the drive's
    // root.
    view_->SetText(browse::kFolders, working);
}

void BrowsePresenter::ShowModeless() {
    view_->ShowModeless();
}

void BrowsePresenter::Timer1_Timer() {
    view_->PointAtDrive(browse::kFolders, view_->Text(browse::kDrives));
}

void BrowsePresenter::Command1_Click() {
    chosen_(view_->Text(browse::kFolders));
    view_->Hide();
}

void BrowsePresenter::Command2_Click() {
    view_->Hide();
}

void BrowsePresenter::OnClick(std::string_view button) {
    if (button == browse::kOk) {
        Command1_Click();
    } else if (button == browse::kCancel) {
        Command2_Click();
    }
}

void BrowsePresenter::OnTick(std::string_view timer) {
    if (timer == browse::kDrivePoll) {
        Timer1_Timer();
    }
}

void BrowsePresenter::OnClose() {
    Form_Unload();
}

void BrowsePresenter::Form_Unload() {
    // Like Cancel: hidden, not destroyed, drive and folder kept.
    Command2_Click();
}

}  // namespace launcher
