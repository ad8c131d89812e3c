#pragma once
// The 23 parameter steps of the configuration page's ApplyParameters, apart from the
// page, so that tarnwave-cli's import sends a file exactly as the page's "Modify" does.
//
// Query form: every step (whose condition holds) reads its part into `edited` and copies
// it into `current`. Set form: a step runs only when its part of `edited` differs from
// `current`; on success `current` takes the edited part. Three steps run only in a mode:
// "KEY" when current Encry is not 0, "WATC" when current NetType is not 0, "ATRM" when
// current ModeEn is 0; otherwise their current part is zeroed and nothing is sent.
// The first error ends the walk; the later steps keep their current values.
//
// Blocks on the module for every step sent (up to each command's time-out).
#include <functional>

#include "config_tool/protocol/command_request.h"
#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/parameter_record.h"

namespace tarnwave {

inline constexpr int kParameterStepCount = 23;

// Opens the exchange (radio command 0; 200 when it cannot be opened), walks the steps,
// closes the exchange. Returns 0 or the first error code. `changed` is cleared first and
// set by every step that succeeded; `onSent` (when given) is told each such command id.
int RunParameterSteps(ModuleLink& link, CommandForm form, ModuleParameters& current, ModuleParameters& edited,
                      bool& changed, const std::function<void(int commandId)>& onSent = {});

}  // namespace tarnwave
