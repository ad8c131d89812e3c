#include "config_tool/protocol/error_text.h"

namespace tarnwave {
namespace {

struct ErrorEntry {
  int code;
  std::string_view text;
};

constexpr ErrorEntry kErrorTexts[] = {
    {1, "command is not available!"},
    {2, "command not support!"},
    {3, "operators is invalid!"},
    {4, "parameters is invalid!"},
    {5, "using a forbidden operators!"},
    {6, "memory is out!"},
    {7, "flash error!"},
    {10, "connect to the network failure!"},
    {11, "no valid socket!"},
    {12, "invalid socket number!"},
    {13, "connection failure!"},
    {100, "undefined error!"},
    {201, "no response!"},
    {203, "invalid handle!"},
    {204, "serial send failed!"},
    {255, "command returns error!"},
};

}  // namespace

std::string_view ErrorText(int code) {
  for (const ErrorEntry& entry : kErrorTexts)
    if (entry.code == code) return entry.text;
  return {};
}

}  // namespace tarnwave
