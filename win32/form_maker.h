// Makes the dialogs for the presenters that own them.
#pragma once

#include "form/form_view.h"

namespace launcher::win32 {

class FormMaker final : public launcher::FormMaker {
public:
    std::unique_ptr<FormView> MakeForm2(Form2Presenter& presenter) override;
    std::unique_ptr<FormView> MakeForm4(Form4Presenter& presenter) override;
    std::unique_ptr<FormView> MakeBrowseForm(const FormTable& table,
                                             BrowsePresenter& presenter) override;
};

}  // namespace launcher::win32
