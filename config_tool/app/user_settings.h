#pragma once
// The main window's settings file "user.ini": read once when the window opens (every
// value that is missing or out of range takes its default) and written when it closes.
#include <string>

#include "config_tool/app/c_wl_set.h"
#include "config_tool/links/serial_port.h"

namespace tarnwave {

// The wireless password when the file gives none of six characters.
std::string DefaultWirelessPassword();

struct UserSettings {
  int firmwareDownload = 0;  // [Manufacturer] "Fw Down"; read, never written
  int comEn = 1;             // entry of the port box: 0 "Close", 1 "Auto", 2.. a port
  SerialSettings serial;
  int channel = -1;          // -1 wireless off, 0 all channels, 1 to 14 that channel
  std::string password = DefaultWirelessPassword();
  RadioAddress searchAddress = kNoFixedAddress;
};

UserSettings ReadUserSettings(const std::string& path);

// What the window writes back: the entries chosen in the port and channel boxes and the
// values of the settings dialogs. False when the file could not be written.
bool WriteUserSettings(const std::string& path, int portIndex, int channelIndex, const UserSettings& settings);

}  // namespace tarnwave
