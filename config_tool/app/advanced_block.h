#pragma once
// The advanced block of the module parameter record (BssidSetting up to the wireless
// password): what the advanced settings dialog edits as one unit and the configuration
// page keeps as its advanced part.
#include <cstring>

#include "config_tool/protocol/parameter_record.h"

namespace tarnwave {

inline void CopyAdvancedBlock(const ModuleParameters& from, ModuleParameters& to) {
  to.BssidSetting = from.BssidSetting;
  to.ChannelSetting = from.ChannelSetting;
  to.ChList = from.ChList;
  to.NetType = from.NetType;
  to.AdhocAutoBuild = from.AdhocAutoBuild;
  to.RateSetting = from.RateSetting;
  to.UartSetting = from.UartSetting;
  to.EscapePeriod = from.EscapePeriod;
  to.EscapeLength = from.EscapeLength;
  to.Escape = from.Escape;
  to.EscapeTime = from.EscapeTime;
  to.WebSetting = from.WebSetting;
  to.Gpio1Mode = from.Gpio1Mode;
  to.ComMode = from.ComMode;
  to.RoamEn = from.RoamEn;
  to.ReConNum = from.ReConNum;
  std::memcpy(to.Password, from.Password, sizeof to.Password);
}

}  // namespace tarnwave
