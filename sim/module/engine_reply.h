#pragma once

// What the virtual module answers to one request, before any framing.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kitsim {

struct EngineReply {
  bool silent = false;  // no answer at all (the reset request)
  int error = 0;        // 0: "+OK", else "+ERR=-<error>"
  // Payload lines after "+OK=", one value line each; none: a plain "+OK".
  std::optional<std::vector<std::string>> lines;
  // Raw bytes that follow the reply (socket receive data).
  std::string trailingData;
  // Number of raw bytes the module takes from the line after this reply
  // (socket send data, firmware block).
  std::size_t expectRaw = 0;

  static EngineReply Ok() { return {}; }
  static EngineReply Value(std::string value) {
    EngineReply reply;
    reply.lines = std::vector<std::string>{std::move(value)};
    return reply;
  }
  static EngineReply Error(int code) {
    EngineReply reply;
    reply.error = code;
    return reply;
  }
};

// Error numbers the module answers with.
inline constexpr int kErrNotAvailable = 1;
inline constexpr int kErrNotSupported = 2;
inline constexpr int kErrBadOperator = 3;
inline constexpr int kErrBadParameter = 4;
inline constexpr int kErrNetworkFailure = 10;
inline constexpr int kErrNoSocket = 11;
inline constexpr int kErrBadSocketNumber = 12;
inline constexpr int kErrConnectionFailure = 13;

}  // namespace kitsim
