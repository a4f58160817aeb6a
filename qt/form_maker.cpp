#include "qt/form_maker.h"

#include "qt/form_window.h"

namespace launcher::qt {

std::unique_ptr<FormView> FormMaker::Make(const FormTable& table, FormEvents& events) {
    return std::make_unique<FormWindow>(table, events);
}

}  // namespace launcher::qt
