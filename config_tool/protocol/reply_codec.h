#pragma once

// The text side of a module command: the request text, the classification of a
// reply, and the reading of values out of a reply payload.
//
// Over a serial line a reply ends with "\r\n\r\n" and its lines with "\r\n"; over
// the radio dongle the payload ends with "\n", "\n" and a zero byte and its lines
// with "\n".

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "config_tool/protocol/command_request.h"

namespace tarnwave {

enum class ReplyFraming { Serial, Dongle };

// "AT+" mnemonic ["=" argument] "\r". The argument is taken up to its first zero
// byte and at most argumentLength characters. nullopt for an id outside the table or
// an argument length beyond the argument buffer.
std::optional<std::string> BuildRequestText(const CommandRequest& request);

// Classifies a complete reply text: error code 0 for "+OK", the number after
// "+ERR=-", else 255. When the fourth character is "=", the characters after it are
// copied into the reply text (as many as fit) and the reply length is set to
// replyLength (clamped to what the reply text can hold). hasPayload tells whether
// this reply carried one.
void ClassifyReply(std::string_view text, int replyLength, CommandRequest& request);

struct ExtractedValue {
  bool wrong = false;     // the terminator was not reached within the limit
  std::string value;      // the characters before the terminator
  int consumed = 0;       // how many characters were walked
};

// Walks payload until the terminator starts; more than limit - 3 (serial) or
// limit - 2 (dongle) characters give "wrong". Never reads past payload.
ExtractedValue ExtractValue(std::string_view payload, int limit, ReplyFraming framing);

// The text a failed extraction yields.
inline constexpr std::string_view kWrongValue = "wrong";

// True when the payload is a lone "0": the character 0 directly followed by the
// line end ("\r\n" serial, "\n\n" dongle).
bool IsLoneZero(const CommandRequest& request, ReplyFraming framing);

// Reads the comma-separated values of a reply payload in order.
class ReplyFieldReader {
 public:
  ReplyFieldReader(const CommandRequest& request, ReplyFraming framing);
  // The next value up to its ","; nullopt when the reply ends before a comma.
  std::optional<std::string> next();
  // The last value, cut at the terminator; nullopt when it gives "wrong".
  std::optional<std::string> last();

 private:
  std::string_view m_payload;  // reply text, bounded by the reply length
  std::string_view m_buffer;   // the whole reply text buffer
  int m_replyLength;
  std::size_t m_position = 0;
  ReplyFraming m_framing;
};

// A text value loses its enclosing double quotes (first and last character) when it
// begins with one; the result is cut to capacity - 1 characters.
std::string UnquoteText(std::string_view value, std::size_t capacity);
// Copies a text into a fixed zero-terminated field, cut to fit.
void CopyText(std::string_view text, char* field, std::size_t capacity);

}  // namespace tarnwave
