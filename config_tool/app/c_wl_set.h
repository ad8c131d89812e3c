#pragma once
// CWlSet: edits the wireless password (six characters) and the search address, the
// optional fixed MAC address of the radio link. Six bytes 0xFF mean "no fixed address".
// The caller copies both in, runs the dialog, and on result 1 takes both back.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/dialog.h"

namespace tarnwave {

using RadioAddress = std::array<std::uint8_t, 6>;
constexpr RadioAddress kNoFixedAddress{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

// Twelve upper-case hexadecimal digits.
std::string FormatRadioAddress(const RadioAddress& address);
// Exactly twelve hexadecimal digits (either case), each pair one byte; else nothing.
std::optional<RadioAddress> ParseRadioAddress(std::string_view text);

class CWlSet : public kit::ui::Dialog {
 public:
  explicit CWlSet(kit::ui::Host& host, kit::ui::Dialog* owner = nullptr);
  static kit::ui::DialogTemplate Template();

  std::string m_password;
  RadioAddress m_searchAddress = kNoFixedAddress;

  bool OnInitDialog() override;
  void OnOK() override;
  const kit::ui::MessageMap* messageMap() const override;

 private:
  void OnFixMac();
};

}  // namespace tarnwave
