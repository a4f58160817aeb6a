// The "Preferences" dialog and the two folder browse dialogs as designed.
#pragma once

#include "form/form_table.h"

namespace launcher {

const FormTable& Form4Table();
const FormTable& Form5Table();  // the radar client's folder
const FormTable& Form6Table();  // the voice client's folder

}  // namespace launcher
