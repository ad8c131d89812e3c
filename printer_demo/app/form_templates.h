#pragma once

#include "platform/ui/dialog_template.h"

namespace j57 {

// The three forms as templates: captions, named controls, initial texts and the
// controls that start disabled. Lists are filled when a form loads.
kit::ui::DialogTemplate Form1Template();
kit::ui::DialogTemplate Form2Template();
kit::ui::DialogTemplate Form3Template();

}  // namespace j57
