#pragma once

// The serial gathering of one reply:
// - at most timeout / 100 reads of up to 512 bytes, each behind what has arrived;
// - a read that leaves the text ending in "\r\n\r\n" completes the reply;
// - after a read with data: stop when more than 1536 bytes arrived, else pause 10 ms;
// - after an empty read: stop at once for the socket receive time-out (12288 ms),
//   else pause 100 ms;
// - fewer than 3 bytes in all is no reply.
// A hang-up or a stop request ends the gathering early.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "platform/sync/clock.h"

namespace tarnwave {

inline constexpr std::size_t kGatherBufferSize = 2048;
inline constexpr std::size_t kGatherReadSize = 512;
inline constexpr std::size_t kGatherStopSize = 1536;
inline constexpr std::uint32_t kSocketReceiveTimeout = 12288;

enum class GatherRead { Data, Gone };

// One read: fills buffer, sets got; Gone when the device went away.
using GatherReadFunction = std::function<GatherRead(std::span<std::byte> buffer, std::size_t& got)>;

struct GatherOutcome {
  std::string text;  // everything that arrived
  int reads = 0;     // how many reads were made
};

// Runs the gathering; nullopt when fewer than 3 bytes arrived.
std::optional<GatherOutcome> GatherSerialReply(std::uint32_t timeout, const GatherReadFunction& read, kit::Clock& clock,
                                               const std::function<bool()>& shouldStop);

}  // namespace tarnwave
