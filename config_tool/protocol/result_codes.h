#pragma once

// Result codes of module operations. 1 to 13 and 100 come from the module after
// "+ERR=-"; the others are the tool's own.

namespace tarnwave {

inline constexpr int kResultOk = 0;
inline constexpr int kResultWorkerSetupFailed = 200;
inline constexpr int kResultNoResponse = 201;
inline constexpr int kResultInvalidHandle = 203;
inline constexpr int kResultSendFailed = 204;
inline constexpr int kResultRawDataFailed = 241;
inline constexpr int kResultUnexpectedReply = 255;

}  // namespace tarnwave
