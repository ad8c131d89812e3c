#pragma once

// ModuleSearch: finds modules on the serial ports (each port probed with the attention
// request) and over the air (a radio search per channel through the dongle), keeps the
// device list, and switches the link between the modules listed.
//
// It works on the caller's thread and blocks for the whole search (at least 14 x 205 ms
// for all radio channels). The waits the probing needs go through SearchListener::pause,
// so a window can keep painting meanwhile. It shows nothing itself: outcomes come back as
// values and the caller shows the texts below.
//
// The link's process-wide dongle values (wireless password) must be set before a search;
// the search sets the target module address when it finds a module over the air.

#include <chrono>
#include <string>
#include <vector>

#include "config_tool/links/serial_port.h"
#include "dongle_driver/interface/dongle_interface.h"

namespace kit::ui {
class NoteSink;
}

namespace tarnwave {

class ModuleLink;
class DongleTransport;

inline constexpr const char* kNoSearchChosenText =
    "Plesase select the device type, com setting or wireless setting！";
inline constexpr const char* kNothingFoundText =
    "Can not find the device！The possible reasons are as follows :\r\n1.Com is invalid;The device is not connected.  ";
inline constexpr const char* kSwitchFailedText = "Switch failed，please search the device again!";
inline constexpr const char* kSwitchForAllFailedText = "Get device response failed,please search the device again!";
// "%d" is the row number from 1.
inline constexpr const char* kSwitchQuestionFormat = "Are you sure to switch to the device  %d?";

// At most this many names of the port list are probed.
inline constexpr int kMaxSearchPorts = 16;
// A notify area that claims this many modules or more for one channel is not believed.
inline constexpr std::uint32_t kMaxModulesPerChannel = 85;

// One row of the device list: "No.", "Port", "Device ID".
struct DeviceRow {
  std::string number;    // "%d " with the row number from 1
  std::string port;      // port name, or "CHL%d" with the radio channel
  std::string deviceId;  // twelve upper-case hexadecimal digits

  bool isWireless() const { return port.starts_with("CHL"); }
  bool operator==(const DeviceRow&) const = default;
};

struct SearchRequest {
  // 0: no serial search; 1: every port of the list; n >= 2: the (n - 2)th port listed.
  int portChoice = 1;
  // Below 0: no radio search; 0: channels 1 to 14; 1 to 14: that channel only.
  int channelChoice = -1;
  SerialSettings settings;
  kirva::RadioAddress searchAddress = kirva::kSearchAllAddress;
  // The ports as SerialPort::EnumeratePorts lists them: every name followed by ";".
  std::string portList;
};

// What the caller does after a search.
enum class SearchOutcome {
  NoChoice,      // neither kind of search was chosen: show kNoSearchChosenText
  NothingFound,  // show kNothingFoundText and clear the configuration page
  Found,         // see SearchResult
};

struct SearchResult {
  SearchOutcome outcome = SearchOutcome::NothingFound;
  // The firmware kind check said "main programme": the configuration page refreshes.
  bool refreshConfiguration = false;
  // The page area may be used (false when the link to the first module could not be
  // made ready).
  bool enablePages = false;
  // "Modify All" is offered (two or more modules listed); only meaningful with
  // enablePages.
  bool enableModifyAll = false;
};

enum class SwitchOutcome {
  Unchanged,    // no such row, or it is the current row: nothing was done
  Switched,     // the row is now the current row
  NotMainCode,  // the link now talks to the row's module, whose firmware is not the
                // main programme: the current row stays as it was
  Failed,       // show kSwitchFailedText
  FailedSearchAgain,  // show kSwitchFailedText, then run the whole search again
};

class SearchListener {
 public:
  virtual ~SearchListener() = default;
  // The waits of the probing; a window keeps painting during them.
  virtual void pause(std::chrono::milliseconds duration) = 0;
  // A row was added to the list (index from 0).
  virtual void rowAdded(int /*index*/, const DeviceRow& /*row*/) {}
};

// A listener that only sleeps (command-line use).
class SleepingListener : public SearchListener {
 public:
  void pause(std::chrono::milliseconds duration) override;
};

class ModuleSearch {
 public:
  // notes: where the dongle link sends its note when the dongle is pulled (may be null).
  ModuleSearch(ModuleLink& link, SearchListener& listener, kit::ui::NoteSink* notes);

  SearchResult search(const SearchRequest& request);

  // Switches to the module of `row` (the double-click, after the user confirmed).
  SwitchOutcome switchTo(int row, const SerialSettings& settings);
  // Switches to the module of `row` without the firmware check ("Modify All"): 0, 1 when
  // the radio channel could not be set, 255 when the link could not be opened (show
  // kSwitchForAllFailedText).
  int switchToRow(int row, const SerialSettings& settings);

  // Closes the link and stops the reply worker (the window closes).
  void shutDown();

  const std::vector<DeviceRow>& rows() const { return m_rows; }
  int currentRow() const { return m_currentRow; }
  int serialCount() const { return m_serialCount; }
  int wirelessCount() const { return m_wirelessCount; }
  bool serialLinkOpen() const { return m_serialLinkOpen; }
  bool dongleLinkOpen() const { return m_dongleLinkOpen; }

  // The port names of a port list ("A;B;"), at most kMaxSearchPorts.
  static std::vector<std::string> SplitPortList(const std::string& portList);
  static std::string FormatAddress(const kirva::RadioAddress& address);

 private:
  void searchSerial(const SearchRequest& request);
  bool probePort(const std::string& port, const SerialSettings& settings, kirva::RadioAddress& address);
  void searchWireless(const SearchRequest& request);
  bool searchChannel(DongleTransport& dongle, int channel, const kirva::RadioAddress& searchAddress);
  SearchResult finishFound(const SearchRequest& request);
  DongleTransport* openDongle();
  void addRow(std::string port, const kirva::RadioAddress& address);
  void closeLink();
  int firmwareKindCheck(int& kind);

  ModuleLink& m_link;
  SearchListener& m_listener;
  kit::ui::NoteSink* m_notes;

  std::vector<DeviceRow> m_rows;
  int m_serialCount = 0;
  int m_wirelessCount = 0;
  int m_currentRow = -1;
  bool m_serialLinkOpen = false;
  bool m_dongleLinkOpen = false;
  // Per search:
  int m_portsProbed = 0;
  bool m_dongleUsed = false;
  std::string m_firstPort;
  int m_firstChannel = 0;
};

}  // namespace tarnwave
