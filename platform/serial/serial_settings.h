#pragma once

#include <cstdint>

namespace kit {

enum class SerialParity { None, Odd, Even };

// Line settings of a port. The service always sets raw mode, no modem hang-up on
// close (HUPCL off) and no hardware or software flow control.
struct SerialLineSettings {
  int baudRate = 115200;
  int dataBits = 8;  // 5 to 8
  int stopBits = 1;  // 1 or 2
  SerialParity parity = SerialParity::None;
};

// Read and write time-outs in milliseconds, with the meaning callers of a
// Windows-style comm layer expect:
// - a read waits at most readTotalMultiplier * count + readTotalConstant for the
//   whole request; once bytes have arrived it also returns when the line stays
//   quiet for readInterval;
// - all three read values 0 means: wait until at least one byte arrived;
// - a write waits at most writeTotalMultiplier * count + writeTotalConstant
//   (both 0: no limit).
struct SerialTimeouts {
  std::uint32_t readInterval = 0;
  std::uint32_t readTotalMultiplier = 0;
  std::uint32_t readTotalConstant = 0;
  std::uint32_t writeTotalMultiplier = 0;
  std::uint32_t writeTotalConstant = 0;
};

enum class SerialPurge { Input, Output, Both };

}  // namespace kit
