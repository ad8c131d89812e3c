#pragma once

// The process-wide values of the dongle link: the wireless password written
// into every SendToModule and StartSearch frame, and the target module that
// requests go to and whose replies are accepted. Written by the window thread
// only.

#include "dongle_driver/interface/dongle_interface.h"

namespace tarnwave {

struct DongleLinkValues {
  kirva::WirelessPassword password{};
  kirva::RadioAddress targetModule{};
};

DongleLinkValues& ProcessDongleValues();
void SetWirelessPassword(const kirva::WirelessPassword& password);
void SetTargetModule(const kirva::RadioAddress& module);

}  // namespace tarnwave
