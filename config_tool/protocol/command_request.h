#pragma once

// CommandRequest: the one request record of a module link. Every operation fills
// the request part, runs the command, and reads the reply part after a result of 0.
// At most one command is outstanding, so the record is shared by all operations.

#include <cstdint>
#include <cstring>

namespace tarnwave {

inline constexpr int kArgumentCapacity = 1024;
inline constexpr int kReplyCapacity = 2048;

struct CommandRequest {
  // Request part: cleared together by every operation before it sets them.
  std::int32_t commandId = 0;
  std::int32_t argumentLength = 0;  // 0: the request has no "=" part
  char argument[kArgumentCapacity] = {};
  // How long RunCommand waits for the reply, in milliseconds.
  std::uint32_t timeout = 3000;
  // Reply part: written by the reply worker before it signals the reply event.
  std::int32_t errorCode = 0;
  std::int32_t replyLength = 0;  // payload after "+OK=", terminator included
  char replyText[kReplyCapacity] = {};
  // Whether the last reply carried a payload ("=" as its fourth character). A plain
  // "+OK" leaves reply text and length as they were, so decoding must look here
  // first, or it would read an older reply's values.
  bool hasPayload = false;
  // Characters of the last payload actually held in replyText.
  std::int32_t payloadLength = 0;

  void clearRequestPart() {
    commandId = 0;
    argumentLength = 0;
    std::memset(argument, 0, sizeof argument);
  }
};

// Command forms of the parameter operations.
enum class CommandForm : int { Set = 0, SetAndSave = 1, Query = 2 };

}  // namespace tarnwave
