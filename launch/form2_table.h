// The "Final Setup" dialog's controls as designed.
#pragma once

#include "form/form_table.h"

namespace launcher {

const FormTable& Form2Table();

}  // namespace launcher
