#pragma once

// FirmwareLoader: the virtual module's load programme as far as firmware transfer goes.
//
// In the load programme the module takes "&UPDD=528" commands, each followed by 528
// raw bytes: block number and count (little-endian), 512 payload bytes and a CRC-32
// over the first 516 bytes. The module checks each block (number in order, the count
// of block 0 kept for the rest, the CRC recomputed) and answers the next "&UPDD"
// command with "+ERR=-4" while a block was wrong. Once a transfer is complete, setting
// the update mode back to 0 installs the image: a version text at the start of its
// payload becomes the version the main programme reports after the next reset.

#include <string>
#include <string_view>

#include "sim/module/engine_reply.h"

namespace kitsim {

// Knobs that make the load programme misbehave for tests.
struct UpdateFaults {
  int refuseBlock = -1;       // refuse the "&UPDD" command that would carry this block ...
  int refuseTimes = 0;        // ... this many times
  int silentAfterBlock = -1;  // answer nothing at all once this block was taken
  bool noLoadProgramme = false;  // a reset never starts the load programme
};

class FirmwareLoader {
 public:
  static constexpr std::size_t kBlockSize = 528;

  void setFaults(const UpdateFaults& faults) { m_faults = faults; }
  const UpdateFaults& faults() const { return m_faults; }

  // The load programme starts: a transfer begins anew.
  void restart();
  // Answer to "&UPDD=<argument>"; expectRaw tells the caller to hand in the block.
  EngineReply command(std::string_view argument);
  // The 528 bytes announced by the last good command.
  void takeBlock(std::string_view block);
  // "&UPDM=0": a complete, faultless transfer becomes the module's firmware.
  void install();
  // True once the module has stopped answering (fault knob).
  bool silent() const { return m_silent; }

  // The version text "QVER" answers in the main and in the load programme.
  std::string mainVersion() const { return m_mainVersion; }
  static std::string loadVersion() { return "H1.2.0,B1.0.2@ 2026-12-11"; }

  // Payload of the last complete transfer (empty before one).
  const std::string& receivedImage() const { return m_image; }
  int blocksAccepted() const { return m_blocksAccepted; }
  // The block count of the transfer under way (taken from its block 0).
  int blockCount() const { return m_blockCount; }
  int installs() const { return m_installs; }

 private:
  UpdateFaults m_faults;
  int m_refused = 0;
  bool m_silent = false;
  int m_nextBlock = 0;
  int m_blockCount = 0;
  bool m_fault = false;
  int m_blocksAccepted = 0;
  int m_installs = 0;
  std::string m_inProgress;
  std::string m_image;
  std::string m_mainVersion = "H1.2.0,F3.0.7@ 2026-12-11";
};

}  // namespace kitsim
