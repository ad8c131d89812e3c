#include "sim/module/firmware_loader.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>

namespace kitsim {
namespace {

constexpr std::size_t kPayload = 512;
constexpr std::size_t kCrcSpan = 516;
constexpr std::size_t kMaxVersion = 64;

std::uint32_t Le(std::string_view bytes, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

// The version text at the start of a payload: printable bytes up to a zero byte, led by
// the hardware marker. Anything else leaves the version as it was.
std::string VersionOf(std::string_view payload) {
  const std::size_t end = payload.substr(0, kMaxVersion).find('\0');
  if (end == std::string_view::npos || end < 2 || payload.front() != 'H') return {};
  const std::string_view text = payload.substr(0, end);
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; })) return {};
  return std::string(text);
}

}  // namespace

void FirmwareLoader::restart() {
  m_refused = 0;
  m_silent = false;
  m_nextBlock = 0;
  m_blockCount = 0;
  m_fault = false;
  m_inProgress.clear();
}

EngineReply FirmwareLoader::command(std::string_view argument) {
  if (argument != "528") return EngineReply::Error(kErrBadParameter);
  if (m_nextBlock == m_faults.refuseBlock && m_refused < m_faults.refuseTimes) {
    ++m_refused;
    return EngineReply::Error(kErrBadParameter);
  }
  // The answer to this command is the only word on the block sent before it. A wrong
  // block stays wrong: until the transfer starts again every block is refused, so a
  // tool cannot believe an image arrived that did not.
  if (m_fault) return EngineReply::Error(kErrBadParameter);
  EngineReply reply = EngineReply::Ok();
  reply.expectRaw = kBlockSize;
  return reply;
}

void FirmwareLoader::takeBlock(std::string_view block) {
  if (block.size() != kBlockSize) {
    m_fault = true;
    return;
  }
  const int number = static_cast<int>(Le(block, 0, 2));
  const int count = static_cast<int>(Le(block, 2, 2));
  const auto* bytes = reinterpret_cast<const Bytef*>(block.data());
  const bool crcGood = crc32(0, bytes, kCrcSpan) == Le(block, kCrcSpan, 4);
  const bool tailZero = std::all_of(block.begin() + kCrcSpan + 4, block.end(), [](char c) { return c == 0; });
  if (number == 0 && crcGood) {
    m_blockCount = count;
    m_nextBlock = 0;
    m_inProgress.clear();
  }
  if (!crcGood || !tailZero || number != m_nextBlock || count != m_blockCount || count == 0 || number >= count) {
    m_fault = true;
    return;
  }
  m_inProgress.append(block.substr(4, kPayload));
  ++m_nextBlock;
  ++m_blocksAccepted;
  // The count is taken from the whole file, header included, so the last payload
  // block may come one before the count is reached.
  if (m_nextBlock >= m_blockCount - 1) m_image = m_inProgress;
  if (number == m_faults.silentAfterBlock) m_silent = true;
}

void FirmwareLoader::install() {
  if (m_fault || m_blockCount == 0 || m_nextBlock < m_blockCount - 1) return;
  ++m_installs;
  if (std::string version = VersionOf(m_inProgress); !version.empty()) m_mainVersion = version;
}

}  // namespace kitsim
