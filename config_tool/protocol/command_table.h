#pragma once

// The module's command table: command id -> mnemonic, through the table index
// rule (ids 16-31: id - 8; 64-127: id - 22; 128-255: id - 112; others as they are).

#include <cstdint>
#include <optional>
#include <string_view>

namespace tarnwave {

namespace command {
inline constexpr int WJOIN = 0, WLEAV = 1, WSCAN = 2, SKCT = 3, SKSND = 4, SKRCV = 5, SKSTT = 6, SKCLS = 7;
inline constexpr int Attention = 16, Z = 17, E = 18, ENTS = 19, ENTM = 20, RSTF = 21, PMTF = 22, IOC = 23;
inline constexpr int SSID = 128, BSSID = 129, CHL = 130, CHLL = 131, ENCRY = 132, KEY = 133, WPRT = 134,
                     WBGR = 135, NIP = 136, UART = 137, ATM = 138, ATRM = 139, WATC = 140, ATPT = 141,
                     ATLT = 142, ESPC = 143, ESPT = 144, WEBS = 145, IOM = 146, CMDM = 147, WARM = 148,
                     WARC = 149, QMAC = 150, QVER = 151, LKSTT = 152, PASS = 153;
inline constexpr int UPDM = 64, UPDD = 65;
}  // namespace command

inline constexpr int kCommandTableSize = 44;

// Table index of a command id; nullopt when the rule leads outside the table.
std::optional<int> CommandIndex(std::int32_t id);
// Mnemonic of a command id ("" for the attention test); nullopt outside the table.
std::optional<std::string_view> CommandMnemonic(std::int32_t id);
// Mnemonic at a table index (0 to 43), for the module side that matches requests.
std::string_view MnemonicAtIndex(int index);

}  // namespace tarnwave
