// Makes a Win32 window for any table, reporting to any presenter.
#pragma once

#include <memory>

#include "form/form_view.h"
#include "win32/form_window.h"

namespace launcher::win32 {

class FormMaker final : public launcher::FormMaker {
public:
    std::unique_ptr<FormView> Make(const FormTable& table, FormEvents& events) override {
        return std::make_unique<FormWindow>(table, events);
    }
};

}  // namespace launcher::win32
