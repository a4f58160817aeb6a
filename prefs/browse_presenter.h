// What the folder browse dialogs Form5 and Form6 do: the drive list and the
// folder list start where the launcher stands, the timer points the folder
// list at the picked drive, OK hands the open folder on, Cancel and the close
// box only hide.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "form/form_view.h"

namespace launcher {

struct FormTable;
class VolumeList;

class BrowsePresenter final : public FormEvents {
public:
    // Makes the dialog hidden, with the drive list at the working folder's
    // drive and the folder list at the working folder. OK passes the open
    // folder to `chosen`.
    BrowsePresenter(FormMaker& maker, const FormTable& table, const VolumeList& volumes,
                    std::function<void(const std::string& folder)> chosen);
    ~BrowsePresenter() override;

    // Shows the dialog, or brings it to the front as the user left it.
    void ShowModeless();

    void Timer1_Timer();
    void Command1_Click();  // OK
    void Command2_Click();  // Cancel
    void Form_Unload();     // the close box
    void OnClick(std::string_view button) override;
    void OnTick(std::string_view timer) override;
    void OnClose() override;

    FormView& view() const { return *view_; }

private:
    void Form_Load(const VolumeList& volumes);

    std::function<void(const std::string&)> chosen_;
    std::unique_ptr<FormView> view_;
};

}  // namespace launcher
