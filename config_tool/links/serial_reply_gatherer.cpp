#include "config_tool/links/serial_reply_gatherer.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>

namespace tarnwave {

std::optional<GatherOutcome> GatherSerialReply(std::uint32_t timeout, const GatherReadFunction& read, kit::Clock& clock,
                                               const std::function<bool()>& shouldStop) {
  using std::chrono::milliseconds;
  std::array<std::byte, kGatherBufferSize> buffer{};
  std::size_t arrived = 0;
  GatherOutcome outcome;
  const std::uint32_t rounds = timeout / 100;
  for (std::uint32_t round = 0; round < rounds; ++round) {
    if (shouldStop && shouldStop()) return std::nullopt;
    const std::size_t room = std::min(kGatherReadSize, buffer.size() - arrived);
    std::size_t got = 0;
    GatherRead result = read(std::span(buffer).subspan(arrived, room), got);
    ++outcome.reads;
    got = std::min(got, room);
    arrived += got;
    if (result == GatherRead::Gone) break;
    if (got > 0) {
      // The terminator may have been split over two reads, so the whole text is looked at.
      if (arrived >= 4 && std::memcmp(buffer.data() + arrived - 4, "\r\n\r\n", 4) == 0) break;
      if (arrived > kGatherStopSize) break;
      clock.sleep(milliseconds(10));
    } else {
      if (timeout == kSocketReceiveTimeout) break;
      clock.sleep(milliseconds(100));
    }
  }
  if (arrived < 3) return std::nullopt;
  outcome.text.assign(reinterpret_cast<const char*>(buffer.data()), arrived);
  return outcome;
}

}  // namespace tarnwave
