#pragma once

#include <memory>

#include "platform/ui/dialog.h"
#include "platform/ui/host.h"

namespace j57 {

// One of the demo's forms on its own (1, 2 or 3), for drawing it or showing it alone.
// The forms point to each other and to the program's environment, so the returned
// pointer keeps all three forms and a system environment (the machine's clock, serial
// lines and date format) alive for as long as the one form is held. Null for any other
// number.
std::shared_ptr<kit::ui::Dialog> MakeStandaloneForm(kit::ui::Host& host, int formNumber);

}  // namespace j57
