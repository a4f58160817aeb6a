// The folder browse dialogs Form5 (radar client folder) and Form6 (voice
// client folder): a drive list, a folder list, OK and Cancel. What they do is
// the presenter's.
#pragma once

#include <QComboBox>

#include "prefs/browse_presenter.h"
#include "qt/folder_list.h"
#include "qt/form_window.h"

namespace launcher {

class BrowseDialog : public FormWindow {
    Q_OBJECT
public:
    // Built hidden from Form5's or Form6's table, its timer running;
    // `presenter` owns the dialog.
    BrowseDialog(const FormTable& table, BrowsePresenter& presenter);
    ~BrowseDialog() override;

    QComboBox& drive1() const { return control<QComboBox>("Drive1"); }
    FolderList& dir1() const { return control<FolderList>("Dir1"); }

protected:
    void OnClick(std::string_view button) override;
    void OnTimer(std::string_view timer) override;
    void OnClose() override;

private:
    BrowsePresenter& presenter_;
};

}  // namespace launcher
