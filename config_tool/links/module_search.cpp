#include "config_tool/links/module_search.h"

#include <array>
#include <cstdio>
#include <string_view>
#include <thread>

#include "config_tool/links/dongle_link_values.h"
#include "config_tool/links/dongle_transport.h"
#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/result_codes.h"

namespace tarnwave {
namespace {

using std::chrono::milliseconds;

constexpr std::string_view kAttention = "AT+\r";
constexpr std::string_view kEchoOff = "AT+E\r";
constexpr int kProbeReads = 5;
constexpr std::size_t kProbeReadSize = 20;
constexpr std::size_t kEchoOffReadSize = 10;
constexpr milliseconds kAfterWrite{100};
constexpr milliseconds kBetweenReads{100};
constexpr milliseconds kEchoOffSettle{2000};
constexpr milliseconds kSearchWindow{200};
constexpr milliseconds kStopSettle{5};

// Radio command numbers of the exchanges the search and the switch open.
constexpr int kSearchExchange = 10;
constexpr int kCheckExchange = 20;
constexpr int kSwitchExchange = 241;

constexpr int kFirmwareMain = 1;

std::string RowNumber(std::size_t index) { return std::to_string(index + 1) + " "; }

// The channel after "CHL"; 0 when there is none in range.
int ChannelOf(const std::string& port) {
  int channel = 0;
  for (std::size_t i = 3; i < port.size() && i < 6; ++i) {
    if (port[i] < '0' || port[i] > '9') return 0;
    channel = channel * 10 + (port[i] - '0');
  }
  return channel >= 1 && channel <= 14 ? channel : 0;
}

std::optional<kirva::RadioAddress> ParseDeviceId(const std::string& text) {
  if (text.size() != 12) return std::nullopt;
  kirva::RadioAddress address{};
  for (std::size_t i = 0; i < 12; ++i) {
    const char c = text[i];
    int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return std::nullopt;
    address[i / 2] = static_cast<std::uint8_t>(address[i / 2] * 16 + digit);
  }
  return address;
}

}  // namespace

void SleepingListener::pause(milliseconds duration) { std::this_thread::sleep_for(duration); }

ModuleSearch::ModuleSearch(ModuleLink& link, SearchListener& listener, kit::ui::NoteSink* notes)
    : m_link(link), m_listener(listener), m_notes(notes) {}

std::vector<std::string> ModuleSearch::SplitPortList(const std::string& portList) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < portList.size() && static_cast<int>(names.size()) < kMaxSearchPorts) {
    std::size_t end = portList.find(';', start);
    if (end == std::string::npos) end = portList.size();
    if (end > start) names.push_back(portList.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

std::string ModuleSearch::FormatAddress(const kirva::RadioAddress& address) {
  char text[13];
  std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X", address[0], address[1], address[2], address[3],
                address[4], address[5]);
  return text;
}

void ModuleSearch::closeLink() {
  m_link.close();
  m_serialLinkOpen = false;
  m_dongleLinkOpen = false;
}

void ModuleSearch::shutDown() {
  closeLink();
  m_link.stopWorker();
}

void ModuleSearch::addRow(std::string port, const kirva::RadioAddress& address) {
  m_rows.push_back({RowNumber(m_rows.size()), std::move(port), FormatAddress(address)});
  m_listener.rowAdded(static_cast<int>(m_rows.size()) - 1, m_rows.back());
}

int ModuleSearch::firmwareKindCheck(int& kind) { return m_link.firmwareKind(kind); }

SearchResult ModuleSearch::search(const SearchRequest& request) {
  m_rows.clear();
  m_serialCount = 0;
  m_wirelessCount = 0;
  m_currentRow = -1;
  m_portsProbed = 0;
  m_dongleUsed = false;
  m_firstPort.clear();
  m_firstChannel = 0;
  // A worker that a pulled dongle ended is still counted as started; starting afresh
  // makes every search begin with a live worker.
  closeLink();
  m_link.stopWorker();

  const bool serial = request.portChoice != 0;
  const bool wireless = request.channelChoice >= 0 && request.channelChoice <= 14;
  if (!serial && !wireless) return {SearchOutcome::NoChoice};

  if (serial) searchSerial(request);
  if (wireless) searchWireless(request);

  if (m_serialCount + m_wirelessCount > 0) return finishFound(request);
  shutDown();
  return {SearchOutcome::NothingFound};
}

// --- serial ports ---------------------------------------------------------------------

void ModuleSearch::searchSerial(const SearchRequest& request) {
  std::vector<std::string> ports = SplitPortList(request.portList);
  if (request.portChoice >= 2) {
    const auto index = static_cast<std::size_t>(request.portChoice - 2);
    ports = index < ports.size() ? std::vector<std::string>{ports[index]} : std::vector<std::string>{};
  }
  for (const std::string& port : ports) {
    ++m_portsProbed;
    kirva::RadioAddress address{};
    if (!probePort(port, request.settings, address)) continue;
    if (m_serialCount == 0) {
      m_currentRow = static_cast<int>(m_rows.size());
      m_firstPort = port;
    }
    addRow(port, address);
    ++m_serialCount;
  }
}

bool ModuleSearch::probePort(const std::string& port, const SerialSettings& settings, kirva::RadioAddress& address) {
  closeLink();
  if (m_link.openSerial(port, settings) != kResultOk) return false;
  if (m_link.startWorker() != kResultOk) return false;
  // The write purges the port first, so stale input is gone.
  if (!m_link.WriteText(kAttention)) return false;
  m_listener.pause(kAfterWrite);

  std::array<char, kProbeReadSize> answer{};
  std::size_t got = 0;
  for (int read = 0; read < kProbeReads; ++read) {
    if (!m_link.ReadText(answer, got)) return false;  // the port went away
    if (got > 0) break;
    m_listener.pause(kBetweenReads);
  }
  if (got == 0) return false;

  if (std::string_view(answer.data(), got).starts_with(kAttention)) {
    // The module echoes what it gets: switch that off, or every reply would start with
    // the request.
    if (!m_link.WriteText(kEchoOff)) return false;
    m_listener.pause(kEchoOffSettle);
    std::array<char, kEchoOffReadSize> discarded{};
    if (!m_link.ReadText(discarded, got)) return false;
  }

  std::uint8_t mac[6] = {};
  if (m_link.moduleAddress(mac) != kResultOk) return false;
  std::copy(std::begin(mac), std::end(mac), address.begin());
  return true;
}

// --- over the air -----------------------------------------------------------------------

DongleTransport* ModuleSearch::openDongle() {
  closeLink();
  if (m_link.startWorker() != kResultOk) return nullptr;
  int result = 0;
  auto opened = DongleTransport::open(m_link.request(), m_link.worker(), m_notes, result);
  if (!opened) return nullptr;
  DongleTransport* dongle = opened.get();
  if (m_link.openTransport(std::move(opened)) != kResultOk) return nullptr;
  m_dongleLinkOpen = true;
  return dongle;
}

void ModuleSearch::searchWireless(const SearchRequest& request) {
  DongleTransport* dongle = openDongle();
  if (dongle == nullptr) return;
  m_dongleUsed = true;
  const int first = request.channelChoice == 0 ? 1 : request.channelChoice;
  const int last = request.channelChoice == 0 ? 14 : request.channelChoice;
  (void)dongle->openExchange(kSearchExchange);
  for (int channel = first; channel <= last; ++channel) {
    // A dongle that stops answering ends the channel loop. The serial modules found
    // before stay listed and counted: they are still reachable.
    if (!searchChannel(*dongle, channel, request.searchAddress)) break;
  }
  (void)dongle->closeExchange();
}

bool ModuleSearch::searchChannel(DongleTransport& dongle, int channel, const kirva::RadioAddress& searchAddress) {
  if (!dongle.startSearch(channel, searchAddress)) return false;
  m_listener.pause(kSearchWindow);
  if (!dongle.stopSearch()) return false;
  m_listener.pause(kStopSettle);
  const auto area = dongle.readNotify();
  if (!area || area->size() < 8) return false;

  const std::uint32_t length = kirva::GetU32(area->data());
  const std::uint32_t count = kirva::GetU32(area->data() + 4);
  if (length == 0 || count >= kMaxModulesPerChannel) return true;
  for (std::uint32_t i = 0; i < count; ++i) {
    kirva::RadioAddress address{};
    std::copy_n(area->begin() + 8 + 6 * i, 6, address.begin());
    if (m_rows.empty()) {
      SetTargetModule(address);
      m_firstChannel = channel;
      m_currentRow = 0;
    }
    addRow("CHL" + std::to_string(channel), address);
    ++m_wirelessCount;
  }
  return true;
}

// --- end steps --------------------------------------------------------------------------

SearchResult ModuleSearch::finishFound(const SearchRequest& request) {
  SearchResult result{SearchOutcome::Found};
  m_currentRow = 0;
  int kind = 0;
  if (m_serialCount > 0) {
    if (m_portsProbed > 1 || m_dongleUsed || !m_link.isOpen() || m_link.isDongleMode()) {
      closeLink();
      // A dongle pulled during the radio search ends the reply worker with it.
      if (m_dongleUsed) m_link.stopWorker();
      (void)m_link.startWorker();
      (void)m_link.openSerial(m_firstPort, request.settings);
    }
    m_serialLinkOpen = m_link.isOpen() && !m_link.isDongleMode();
    m_dongleLinkOpen = false;
    result.refreshConfiguration = firmwareKindCheck(kind) == kResultOk && kind == kFirmwareMain;
  } else {
    DongleTransport* dongle = dynamic_cast<DongleTransport*>(m_link.transport());
    if (dongle == nullptr || !dongle->openExchange(kCheckExchange) || !dongle->switchChannel(m_firstChannel)) {
      return result;  // the page area stays disabled
    }
    result.refreshConfiguration = firmwareKindCheck(kind) == kResultOk && kind == kFirmwareMain;
    (void)dongle->closeExchange();
  }
  result.enablePages = true;
  result.enableModifyAll = m_rows.size() >= 2;
  return result;
}

// --- switching --------------------------------------------------------------------------

SwitchOutcome ModuleSearch::switchTo(int row, const SerialSettings& settings) {
  if (row < 0 || row >= static_cast<int>(m_rows.size()) || row == m_currentRow) return SwitchOutcome::Unchanged;
  const DeviceRow& target = m_rows[static_cast<std::size_t>(row)];
  closeLink();
  int kind = 0;
  if (!target.isWireless()) {
    if (m_link.startWorker() != kResultOk || m_link.openSerial(target.port, settings) != kResultOk)
      return SwitchOutcome::FailedSearchAgain;
    if (firmwareKindCheck(kind) != kResultOk) return SwitchOutcome::FailedSearchAgain;
    m_serialLinkOpen = true;
    if (kind != kFirmwareMain) return SwitchOutcome::NotMainCode;
    m_currentRow = row;
    return SwitchOutcome::Switched;
  }

  const int channel = ChannelOf(target.port);
  const auto address = ParseDeviceId(target.deviceId);
  DongleTransport* dongle = openDongle();
  if (dongle == nullptr || channel == 0 || !address) return SwitchOutcome::Failed;
  if (!dongle->switchChannel(channel) || !dongle->openExchange(kSwitchExchange)) return SwitchOutcome::Failed;
  SetTargetModule(*address);
  if (firmwareKindCheck(kind) != kResultOk) {
    (void)dongle->closeExchange();
    return SwitchOutcome::Failed;
  }
  (void)dongle->closeExchange();
  if (kind != kFirmwareMain) return SwitchOutcome::NotMainCode;
  m_currentRow = row;
  return SwitchOutcome::Switched;
}

int ModuleSearch::switchToRow(int row, const SerialSettings& settings) {
  if (row < 0 || row >= static_cast<int>(m_rows.size())) return kResultUnexpectedReply;
  const DeviceRow& target = m_rows[static_cast<std::size_t>(row)];
  closeLink();
  if (!target.isWireless()) {
    if (m_link.startWorker() != kResultOk || m_link.openSerial(target.port, settings) != kResultOk)
      return kResultUnexpectedReply;
    m_serialLinkOpen = true;
    return kResultOk;
  }
  const auto address = ParseDeviceId(target.deviceId);
  DongleTransport* dongle = openDongle();
  if (dongle == nullptr || !address) return kResultUnexpectedReply;
  SetTargetModule(*address);
  return dongle->switchChannel(ChannelOf(target.port)) ? kResultOk : 1;
}

}  // namespace tarnwave
