#include "config_tool/app/parameter_steps.h"

#include <cstring>
#include <type_traits>

#include "config_tool/protocol/command_table.h"
#include "config_tool/protocol/result_codes.h"

namespace tarnwave {
namespace {

using namespace command;
using Record = ModuleParameters;

template <std::size_t N>
bool Equal(const char (&a)[N], const char (&b)[N]) {
  return std::strncmp(a, b, N) == 0;
}
bool Equal(std::int32_t a, std::int32_t b) { return a == b; }
bool Equal(std::uint32_t a, std::uint32_t b) { return a == b; }
bool Equal(const KeySetting& a, const KeySetting& b) {
  return a.KeyType == b.KeyType && a.KeyId == b.KeyId && Equal(a.Key, b.Key);
}
bool Equal(const NetSetting& a, const NetSetting& b) {
  return a.addressMode == b.addressMode && Equal(a.IpAddr, b.IpAddr) && Equal(a.Mask, b.Mask) &&
         Equal(a.NetGate, b.NetGate) && Equal(a.Dns, b.Dns);
}
bool Equal(const AutoModeSetting& a, const AutoModeSetting& b) {
  if (a.Protocol != b.Protocol || a.CsMode != b.CsMode || a.Port != b.Port) return false;
  return a.CsMode == 0 ? Equal(a.Host, b.Host) : a.PassTime == b.PassTime;
}
bool Equal(const BssidSetting& a, const BssidSetting& b) {
  return a.enable == b.enable && std::memcmp(a.address, b.address, sizeof a.address) == 0;
}
bool Equal(const ChannelSetting& a, const ChannelSetting& b) { return a.enable == b.enable && a.channel == b.channel; }
bool Equal(const RateSetting& a, const RateSetting& b) { return a.BgMode == b.BgMode && a.MaxRate == b.MaxRate; }
bool Equal(const UartSetting& a, const UartSetting& b) {
  return a.BaudRate == b.BaudRate && a.DataBit == b.DataBit && a.StopBit == b.StopBit && a.Parity == b.Parity;
}
bool Equal(const WebSetting& a, const WebSetting& b) { return a.WebsEn == b.WebsEn && a.WebsPort == b.WebsPort; }

template <auto Member>
bool Same(const Record& a, const Record& b) {
  return Equal(a.*Member, b.*Member);
}

template <auto Member>
void Take(Record& to, const Record& from) {
  if constexpr (std::is_array_v<std::remove_reference_t<decltype(to.*Member)>>)
    std::memcpy(to.*Member, from.*Member, sizeof(to.*Member));
  else
    to.*Member = from.*Member;
}

template <auto Member>
void Zero(Record& r) {
  if constexpr (std::is_array_v<std::remove_reference_t<decltype(r.*Member)>>)
    std::memset(r.*Member, 0, sizeof(r.*Member));
  else
    r.*Member = {};
}

struct Step {
  int command;
  bool (*same)(const Record&, const Record&);
  void (*take)(Record&, const Record&);
  // Mode steps: when the condition on the current record fails, zero instead of send.
  bool (*runs)(const Record&) = nullptr;
  void (*zero)(Record&) = nullptr;
};

template <auto Member>
constexpr Step Plain(int command) {
  return {command, &Same<Member>, &Take<Member>};
}

template <auto Member>
constexpr Step InMode(int command, bool (*runs)(const Record&)) {
  return {command, &Same<Member>, &Take<Member>, runs, &Zero<Member>};
}

const Step kSteps[] = {
    Plain<&Record::Ssid>(SSID),
    Plain<&Record::Encry>(ENCRY),
    InMode<&Record::KeySetting>(KEY, [](const Record& r) { return r.Encry != 0; }),
    Plain<&Record::NetSetting>(NIP),
    Plain<&Record::EscapeLength>(ATLT),
    Plain<&Record::EscapePeriod>(ATPT),
    Plain<&Record::BssidSetting>(BSSID),
    Plain<&Record::ChannelSetting>(CHL),
    Plain<&Record::ChList>(CHLL),
    Plain<&Record::NetType>(WPRT),
    InMode<&Record::AdhocAutoBuild>(WATC, [](const Record& r) { return r.NetType != 0; }),
    Plain<&Record::RateSetting>(WBGR),
    Plain<&Record::RoamEn>(WARM),
    Plain<&Record::ReConNum>(WARC),
    Plain<&Record::ModeEn>(ATM),
    InMode<&Record::AutoModeSetting>(ATRM, [](const Record& r) { return r.ModeEn == 0; }),
    Plain<&Record::Escape>(ESPC),
    Plain<&Record::EscapeTime>(ESPT),
    Plain<&Record::WebSetting>(WEBS),
    Plain<&Record::Gpio1Mode>(IOM),
    Plain<&Record::ComMode>(CMDM),
    Plain<&Record::UartSetting>(UART),
    Plain<&Record::Password>(PASS),
};
static_assert(std::size(kSteps) == kParameterStepCount);

}  // namespace

int RunParameterSteps(ModuleLink& link, CommandForm form, Record& current, Record& edited, bool& changed,
                      const std::function<void(int)>& onSent) {
  changed = false;
  ModuleTransport* transport = link.transport();
  if (transport == nullptr || !link.isOpen() || !transport->openExchange(0)) return kResultWorkerSetupFailed;
  const bool query = form == CommandForm::Query;
  int result = kResultOk;
  for (const Step& step : kSteps) {
    if (step.runs != nullptr && !step.runs(current)) {
      step.zero(current);
      continue;
    }
    if (!query && step.same(current, edited)) continue;
    result = link.parameter(step.command, form, edited);
    if (result != kResultOk) break;
    step.take(current, edited);
    changed = true;
    if (onSent) onSent(step.command);
  }
  transport->closeExchange();
  return result;
}

}  // namespace tarnwave
