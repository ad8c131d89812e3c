#include "config_tool/links/dongle_link_values.h"

namespace tarnwave {

DongleLinkValues& ProcessDongleValues() {
  static DongleLinkValues values;
  return values;
}

void SetWirelessPassword(const kirva::WirelessPassword& password) { ProcessDongleValues().password = password; }

void SetTargetModule(const kirva::RadioAddress& module) { ProcessDongleValues().targetModule = module; }

}  // namespace tarnwave
