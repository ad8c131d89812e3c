#include "config_tool/protocol/reply_codec.h"

#include <algorithm>
#include <cstring>

#include "config_tool/protocol/command_table.h"
#include "platform/text/number_reader.h"

namespace tarnwave {
namespace {

std::string_view Terminator(ReplyFraming framing) {
  using namespace std::string_view_literals;
  return framing == ReplyFraming::Serial ? "\r\n\r\n"sv : "\n\n\0"sv;
}

}  // namespace

std::optional<std::string> BuildRequestText(const CommandRequest& request) {
  std::optional<std::string_view> mnemonic = CommandMnemonic(request.commandId);
  if (!mnemonic || request.argumentLength < 0 || request.argumentLength > kArgumentCapacity) return std::nullopt;
  std::string text = "AT+";
  text += *mnemonic;
  if (request.argumentLength != 0) {
    const char* end = static_cast<const char*>(std::memchr(request.argument, '\0', request.argumentLength));
    std::size_t length = end ? static_cast<std::size_t>(end - request.argument) : request.argumentLength;
    text += '=';
    text.append(request.argument, length);
  }
  text += '\r';
  return text;
}

void ClassifyReply(std::string_view text, int replyLength, CommandRequest& request) {
  if (text.starts_with("+OK")) {
    request.errorCode = 0;
  } else if (text.starts_with("+ERR=-")) {
    std::string_view number = text.substr(6);
    if (number.ends_with("\r\n\r\n")) number.remove_suffix(4);
    // An error reply never counts as success, even when its number is unreadable.
    int code = kit::ReadLeadingInt(number);
    request.errorCode = code != 0 ? code : 255;
  } else {
    request.errorCode = 255;
  }
  request.hasPayload = text.size() >= 4 && text[3] == '=';
  if (request.hasPayload) {
    std::string_view payload = text.substr(4, kReplyCapacity);
    std::memcpy(request.replyText, payload.data(), payload.size());
    std::memset(request.replyText + payload.size(), 0, kReplyCapacity - payload.size());
    request.replyLength = std::clamp(replyLength, 0, kReplyCapacity);
    request.payloadLength = static_cast<std::int32_t>(payload.size());
  }
}

ExtractedValue ExtractValue(std::string_view payload, int limit, ReplyFraming framing) {
  const std::string_view terminator = Terminator(framing);
  const int bound = limit - (framing == ReplyFraming::Serial ? 3 : 2);
  ExtractedValue result;
  for (std::size_t i = 0;; ++i) {
    if (payload.substr(i).starts_with(terminator)) return result;
    if (i >= payload.size()) break;  // ran out of reply text without a terminator
    result.value += payload[i];
    ++result.consumed;
    if (result.consumed > bound) break;
  }
  result.wrong = true;
  result.value = kWrongValue;
  return result;
}

bool IsLoneZero(const CommandRequest& request, ReplyFraming framing) {
  std::string_view text(request.replyText, kReplyCapacity);
  return text.starts_with(framing == ReplyFraming::Serial ? "0\r\n" : "0\n\n");
}

ReplyFieldReader::ReplyFieldReader(const CommandRequest& request, ReplyFraming framing)
    : m_payload(request.replyText, std::clamp(request.replyLength, 0, kReplyCapacity)),
      m_buffer(request.replyText, kReplyCapacity),
      m_replyLength(std::clamp(request.replyLength, 0, kReplyCapacity)),
      m_framing(framing) {}

std::optional<std::string> ReplyFieldReader::next() {
  if (m_position >= m_payload.size()) return std::nullopt;
  std::size_t comma = m_payload.find(',', m_position);
  if (comma == std::string_view::npos) {
    m_position = m_payload.size();
    return std::nullopt;
  }
  std::string value(m_payload.substr(m_position, comma - m_position));
  m_position = comma + 1;
  return value;
}

std::optional<std::string> ReplyFieldReader::last() {
  if (m_position > m_buffer.size()) return std::nullopt;
  int remaining = m_replyLength - 1 - static_cast<int>(m_position);
  ExtractedValue value = ExtractValue(m_buffer.substr(m_position), remaining, m_framing);
  if (value.wrong) return std::nullopt;
  m_position += static_cast<std::size_t>(value.consumed);
  return value.value;
}

std::string UnquoteText(std::string_view value, std::size_t capacity) {
  if (!value.empty() && value.front() == '"') {
    value.remove_prefix(1);
    if (!value.empty()) value.remove_suffix(1);
  }
  if (capacity == 0) return {};
  return std::string(value.substr(0, capacity - 1));
}

void CopyText(std::string_view text, char* field, std::size_t capacity) {
  if (capacity == 0) return;
  std::size_t length = std::min(text.size(), capacity - 1);
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

}  // namespace tarnwave
