// Module replies as they arrive from a serial line or from the dongle's notify area:
// classification, value extraction and every decoder that reads a reply payload.
// Input: one byte chooses the framing and the command, the rest is the reply text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config_tool/protocol/network_codec.h"
#include "config_tool/protocol/parameter_codec.h"
#include "config_tool/protocol/parameter_record.h"
#include "config_tool/protocol/reply_codec.h"

using namespace tarnwave;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const ReplyFraming framing = (data[0] & 0x80) ? ReplyFraming::Dongle : ReplyFraming::Serial;
  const int commandIndex = data[0] & 0x1F;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  CommandRequest reply;
  // The reply length the worker hands over: the payload length after "+OK=".
  const int replyLength = text.size() > 4 ? static_cast<int>(text.size() - 4) : 0;
  ClassifyReply(text, replyLength, reply);

  (void)ExtractValue(text, static_cast<int>(text.size()) + 3, framing);
  (void)ExtractValue(std::string_view(reply.replyText, static_cast<std::size_t>(reply.replyLength)), 64, framing);
  (void)IsLoneZero(reply, framing);

  ReplyFieldReader fields(reply, framing);
  for (int i = 0; i < 8 && fields.next(); ++i) {
  }
  (void)fields.last();

  ModuleParameters record;
  const int commandId = kParameterCommands[commandIndex % std::size(kParameterCommands)];
  DecodeParameterReply(commandId, reply, framing, record);

  (void)DecodeScanReply(reply, framing);
  (void)DecodeSocketStates(reply, framing);
  LinkState link;
  DecodeLinkState(reply, framing, link);
  std::uint8_t address[6];
  (void)DecodeModuleAddress(reply, framing, address);
  (void)FirmwareKind(text);
  (void)ParseScanLine(text);
  (void)ParseSocketStateLine(text);
  (void)UnquoteText(text, 33);
  return 0;
}
