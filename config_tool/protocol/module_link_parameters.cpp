// The parameter operations of ModuleLink.

#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/parameter_codec.h"
#include "config_tool/protocol/result_codes.h"

namespace tarnwave {

int ModuleLink::parameter(int commandId, CommandForm form, ModuleParameters& record) {
  std::optional<std::string> argument = ParameterArgument(commandId, form, record);
  if (!argument) return kResultUnexpectedReply;
  if (form != CommandForm::Query) return runSimple(commandId, *argument, ParameterTimeout(commandId));
  int result = runForPayload(commandId, *argument, ParameterTimeout(commandId));
  if (result != kResultOk) return result;
  DecodeParameterReply(commandId, m_request, framing(), record);
  return kResultOk;
}

}  // namespace tarnwave
