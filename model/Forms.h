// The two windows as data: every control of the main window and of the
// splash window, and the main window's menus.
#pragma once

#include "model/Controls.h"

namespace vantrel {

const FormDef& Form1Def();  // "Vantrel - Version 2.0 -A"
const FormDef& Form2Def();  // the splash window

}  // namespace vantrel
