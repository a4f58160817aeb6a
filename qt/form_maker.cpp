#include "qt/form_maker.h"

#include "qt/browse_dialog.h"
#include "qt/form2.h"
#include "qt/form4.h"

namespace launcher {

std::unique_ptr<FormView> QtFormMaker::MakeForm2(Form2Presenter& presenter) {
    return std::make_unique<Form2>(presenter);
}

std::unique_ptr<FormView> QtFormMaker::MakeForm4(Form4Presenter& presenter) {
    return std::make_unique<Form4>(presenter);
}

std::unique_ptr<FormView> QtFormMaker::MakeBrowseForm(const FormTable& table,
                                                      BrowsePresenter& presenter) {
    return std::make_unique<BrowseDialog>(table, presenter);
}

}  // namespace launcher
