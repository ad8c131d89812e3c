#pragma once

// Builds a CommandRequest as the reply worker leaves it after a serial reply.

#include <string_view>

#include "config_tool/protocol/command_request.h"
#include "config_tool/protocol/reply_codec.h"

namespace tarnwave::testing {

// reply is the whole text from the line, e.g. "+OK=5\r\n\r\n".
inline CommandRequest SerialReply(std::string_view reply) {
  CommandRequest request;
  ClassifyReply(reply, static_cast<int>(reply.size()) - 4, request);
  return request;
}

}  // namespace tarnwave::testing
