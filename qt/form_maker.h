// Makes a Qt window for any form table.
#pragma once

#include "form/form_view.h"

namespace launcher {

class QtFormMaker final : public FormMaker {
public:
    std::unique_ptr<FormView> Make(const FormTable& table, FormEvents& events) override;
};

}  // namespace launcher
