#include "config_tool/protocol/command_table.h"

namespace tarnwave {
namespace {

constexpr std::string_view kMnemonics[kCommandTableSize] = {
    "WJOIN", "WLEAV", "WSCAN", "SKCT",  "SKSND", "SKRCV", "SKSTT", "SKCLS",  // 0-7
    "",      "Z",     "E",     "ENTS",  "ENTM",  "RSTF",  "PMTF",  "IOC",    // 8-15
    "SSID",  "BSSID", "CHL",   "CHLL",  "ENCRY", "KEY",   "WPRT",  "WBGR",   // 16-23
    "NIP",   "UART",  "ATM",   "ATRM",  "WATC",  "ATPT",  "ATLT",  "ESPC",   // 24-31
    "ESPT",  "WEBS",  "IOM",   "CMDM",  "WARM",  "WARC",  "QMAC",  "QVER",   // 32-39
    "LKSTT", "PASS",  "&UPDM", "&UPDD",                                      // 40-43
};

}  // namespace

std::optional<int> CommandIndex(std::int32_t id) {
  std::int64_t index = id;
  if (id >= 16 && id <= 31)
    index = id - 8;
  else if (id >= 128 && id <= 255)
    index = id - 112;
  else if (id >= 64 && id <= 127)
    index = id - 22;
  if (index < 0 || index >= kCommandTableSize) return std::nullopt;
  return static_cast<int>(index);
}

std::optional<std::string_view> CommandMnemonic(std::int32_t id) {
  std::optional<int> index = CommandIndex(id);
  if (!index) return std::nullopt;
  return kMnemonics[*index];
}

std::string_view MnemonicAtIndex(int index) {
  if (index < 0 || index >= kCommandTableSize) return {};
  return kMnemonics[index];
}

}  // namespace tarnwave
