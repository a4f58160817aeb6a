// Makes a Qt window for any form table.
#pragma once

#include "form/form_view.h"

namespace launcher::qt {

class FormMaker final : public launcher::FormMaker {
public:
    std::unique_ptr<FormView> Make(const FormTable& table, FormEvents& events) override;
};

}  // namespace launcher::qt
