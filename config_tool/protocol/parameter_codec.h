#pragma once

// Argument texts and reply decoding of the 23 parameter commands.
//
// Each command reads or writes its own part of ModuleParameters; the decoder first
// clears that part, then fills it from the reply in order, so a reply that ends early
// leaves the rest cleared.

#include <optional>
#include <string>

#include "config_tool/protocol/command_request.h"
#include "config_tool/protocol/parameter_record.h"
#include "config_tool/protocol/reply_codec.h"

namespace tarnwave {

// The 23 parameter command ids, in the record's order.
inline constexpr int kParameterCommands[] = {128, 132, 133, 136, 138, 139, 129, 130, 131, 134, 140, 135,
                                             137, 141, 142, 143, 144, 145, 146, 147, 148, 149, 153};

bool IsParameterCommand(int commandId);
// 5000 ms for "SSID", 3000 ms for the others.
std::uint32_t ParameterTimeout(int commandId);

// The set text of a command from the record (without the "!" of set-and-save).
// "WEBS" with WebsEn 1 and WebsPort 0 first makes the port 80 in the record.
// nullopt for an id that is not a parameter command, and for a record whose quoted
// texts hold a line break or a double quote (see CheckValueText).
std::optional<std::string> ParameterSetText(int commandId, ModuleParameters& record);

// The argument of a parameter request in the given form: "?", the set text, or "!"
// and the set text.
std::optional<std::string> ParameterArgument(int commandId, CommandForm form, ModuleParameters& record);

// Clears the command's part of the record and decodes the reply payload into it.
void DecodeParameterReply(int commandId, const CommandRequest& reply, ReplyFraming framing,
                          ModuleParameters& record);

}  // namespace tarnwave
