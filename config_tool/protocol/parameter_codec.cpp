#include "config_tool/protocol/parameter_codec.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "config_tool/protocol/command_table.h"
#include "config_tool/protocol/value_text_check.h"
#include "platform/text/number_reader.h"

namespace tarnwave {
namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char buffer[kArgumentCapacity];
  va_list args;
  va_start(args, format);
  int length = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (length < 0) return {};
  return std::string(buffer, std::min<std::size_t>(static_cast<std::size_t>(length), sizeof buffer - 1));
}

std::string Quoted(const char* text, std::size_t capacity) {
  return "\"" + std::string(text, strnlen(text, capacity)) + "\"";
}

int Decimal(const std::string& text) { return kit::ReadLeadingInt(text); }

bool SafeQuoted(const char* text, std::size_t capacity) {
  return !CheckValueText(std::string_view(text, strnlen(text, capacity)), ValueQuoting::Quoted);
}

// A quoted text that would end its quotes or the request early is never sent: it
// could carry further arguments or a whole command of its own.
bool QuotedTextsSafe(int commandId, const ModuleParameters& r) {
  using namespace command;
  switch (commandId) {
    case SSID: return SafeQuoted(r.Ssid, sizeof r.Ssid);
    case KEY: return SafeQuoted(r.KeySetting.Key, sizeof r.KeySetting.Key);
    case NIP: {
      const NetSetting& n = r.NetSetting;
      return n.addressMode == 0 || (SafeQuoted(n.IpAddr, sizeof n.IpAddr) && SafeQuoted(n.Mask, sizeof n.Mask) &&
                                    SafeQuoted(n.NetGate, sizeof n.NetGate) && SafeQuoted(n.Dns, sizeof n.Dns));
    }
    // The host area holds the pass time, a number, in server mode.
    case ATRM: return r.AutoModeSetting.CsMode != 0 || SafeQuoted(r.AutoModeSetting.Host, sizeof r.AutoModeSetting.Host);
    case PASS: return SafeQuoted(r.Password, kPasswordCapacity - 1);
    default: return true;
  }
}

// Six address bytes from twelve hex digits, two per byte, left to right.
void ReadAddress(std::string_view hex, std::uint8_t (&address)[6]) {
  for (std::size_t i = 0; i < 6; ++i) {
    std::string_view pair = hex.size() > 2 * i ? hex.substr(2 * i, 2) : std::string_view{};
    address[i] = static_cast<std::uint8_t>(kit::ReadLeadingUnsigned(std::string(pair), 16));
  }
}

// Decoding of the commands whose payload is one value.
template <typename T>
void DecodeSingle(ReplyFieldReader& reader, T& field, int base = 10) {
  field = 0;
  if (auto value = reader.last()) field = static_cast<T>(kit::ReadLeadingUnsigned(*value, base) & 0xFFFFFFFFul);
}

void DecodeSignedSingle(ReplyFieldReader& reader, std::int32_t& field) {
  field = 0;
  if (auto value = reader.last()) field = Decimal(*value);
}

// "NIP", "BSSID", "CHL" and "WEBS" stop on a reply that holds nothing.
bool TooShort(const CommandRequest& reply) { return reply.replyLength - 2 <= 0; }

}  // namespace

bool IsParameterCommand(int commandId) {
  return std::find(std::begin(kParameterCommands), std::end(kParameterCommands), commandId) !=
         std::end(kParameterCommands);
}

std::uint32_t ParameterTimeout(int commandId) { return commandId == command::SSID ? 5000 : 3000; }

std::optional<std::string> ParameterSetText(int commandId, ModuleParameters& r) {
  using namespace command;
  if (!QuotedTextsSafe(commandId, r)) return std::nullopt;
  switch (commandId) {
    case SSID: return Quoted(r.Ssid, sizeof r.Ssid);
    case ENCRY: return Format("%d", r.Encry);
    case KEY:
      return Format("%d,%d,", r.KeySetting.KeyType, r.KeySetting.KeyId) +
             Quoted(r.KeySetting.Key, sizeof r.KeySetting.Key);
    case NIP: {
      const NetSetting& n = r.NetSetting;
      if (n.addressMode == 0) return "0";
      return Format("%d,", n.addressMode) + Quoted(n.IpAddr, sizeof n.IpAddr) + "," + Quoted(n.Mask, sizeof n.Mask) +
             "," + Quoted(n.NetGate, sizeof n.NetGate) + "," + Quoted(n.Dns, sizeof n.Dns);
    }
    case ATM: return Format("%d", r.ModeEn);
    case ATRM: {
      const AutoModeSetting& a = r.AutoModeSetting;
      if (a.CsMode != 0) return Format("%d,%d,%d,%d", a.Protocol, a.CsMode, a.PassTime, a.Port);
      return Format("%d,%d,", a.Protocol, a.CsMode) + Quoted(a.Host, sizeof a.Host) + Format(",%d", a.Port);
    }
    case BSSID: {
      const BssidSetting& b = r.BssidSetting;
      if (b.enable == 0) return "0";
      return Format("1,%02x%02x%02x%02x%02x%02x", b.address[0], b.address[1], b.address[2], b.address[3],
                    b.address[4], b.address[5]);
    }
    case CHL:
      if (r.ChannelSetting.enable == 0) return "0";
      return Format("1,%d", r.ChannelSetting.channel);
    case CHLL: return Format("%04x", r.ChList);
    case WPRT: return Format("%d", static_cast<int>(r.NetType));
    case WATC: return Format("%d", static_cast<int>(r.AdhocAutoBuild));
    case WBGR: return Format("%d,%d", r.RateSetting.BgMode, r.RateSetting.MaxRate);
    case UART: {
      const UartSetting& u = r.UartSetting;
      return Format("%d,%d,%d,%d", u.BaudRate, u.DataBit, u.StopBit, u.Parity);
    }
    case ATPT: return Format("%d", static_cast<int>(r.EscapePeriod));
    case ATLT: return Format("%d", static_cast<int>(r.EscapeLength));
    // Only one byte of the escape value is used.
    case ESPC: return Format("%02X", r.Escape & 0xFFu);
    case ESPT: return Format("%d", static_cast<int>(r.EscapeTime));
    case WEBS: {
      WebSetting& w = r.WebSetting;
      if (w.WebsEn == 1 && w.WebsPort == 0) w.WebsPort = 80;
      if (w.WebsEn == 0) return "0";
      return Format("%d,%d", w.WebsEn, w.WebsPort);
    }
    case IOM: return Format("%d", static_cast<int>(r.Gpio1Mode));
    case CMDM: return Format("%d", r.ComMode);
    case WARM: return Format("%d", static_cast<int>(r.RoamEn));
    case WARC: return Format("%d", static_cast<int>(r.ReConNum));
    case PASS: return Quoted(r.Password, kPasswordCapacity - 1);
    default: return std::nullopt;
  }
}

std::optional<std::string> ParameterArgument(int commandId, CommandForm form, ModuleParameters& record) {
  if (!IsParameterCommand(commandId)) return std::nullopt;
  if (form == CommandForm::Query) return "?";
  std::optional<std::string> text = ParameterSetText(commandId, record);
  if (!text) return std::nullopt;
  std::string argument = form == CommandForm::SetAndSave ? "!" + *text : *text;
  if (argument.size() >= kArgumentCapacity) argument.resize(kArgumentCapacity - 1);
  return argument;
}

void DecodeParameterReply(int commandId, const CommandRequest& reply, ReplyFraming framing, ModuleParameters& r) {
  using namespace command;
  ReplyFieldReader reader(reply, framing);
  switch (commandId) {
    case SSID:
      std::memset(r.Ssid, 0, sizeof r.Ssid);
      if (auto value = reader.last()) CopyText(UnquoteText(*value, sizeof r.Ssid), r.Ssid, sizeof r.Ssid);
      return;
    case ENCRY: DecodeSignedSingle(reader, r.Encry); return;
    case KEY: {
      KeySetting& k = r.KeySetting = KeySetting{};
      auto type = reader.next();
      if (!type) return;
      k.KeyType = Decimal(*type);
      auto id = reader.next();
      if (!id) return;
      k.KeyId = Decimal(*id);
      if (auto key = reader.last()) CopyText(UnquoteText(*key, sizeof k.Key), k.Key, sizeof k.Key);
      return;
    }
    case NIP: {
      NetSetting& n = r.NetSetting = NetSetting{};
      if (TooShort(reply) || IsLoneZero(reply, framing)) return;
      auto mode = reader.next();
      if (!mode) return;
      n.addressMode = Decimal(*mode);
      char* texts[] = {n.IpAddr, n.Mask, n.NetGate};
      for (char* text : texts) {
        auto value = reader.next();
        if (!value) return;
        CopyText(UnquoteText(*value, sizeof n.IpAddr), text, sizeof n.IpAddr);
      }
      if (auto dns = reader.last()) CopyText(UnquoteText(*dns, sizeof n.Dns), n.Dns, sizeof n.Dns);
      return;
    }
    case ATM:
      r.ModeEn = 0;
      if (auto value = reader.last()) r.ModeEn = static_cast<std::uint8_t>(Decimal(*value));
      return;
    case ATRM: {
      AutoModeSetting& a = r.AutoModeSetting = AutoModeSetting{};
      auto protocol = reader.next();
      if (!protocol) return;
      a.Protocol = Decimal(*protocol);
      auto csMode = reader.next();
      if (!csMode) return;
      a.CsMode = Decimal(*csMode);
      auto third = reader.next();
      if (!third) return;
      if (a.CsMode != 0)
        a.PassTime = Decimal(UnquoteText(*third, kArgumentCapacity));
      else
        CopyText(UnquoteText(*third, sizeof a.Host), a.Host, sizeof a.Host);
      if (auto port = reader.last()) a.Port = Decimal(*port);
      return;
    }
    case BSSID: {
      BssidSetting& b = r.BssidSetting = BssidSetting{};
      if (TooShort(reply) || IsLoneZero(reply, framing)) return;
      auto enable = reader.next();
      if (!enable || Decimal(*enable) == 0) return;
      b.enable = 1;
      if (auto hex = reader.last()) ReadAddress(*hex, b.address);
      return;
    }
    case CHL: {
      ChannelSetting& c = r.ChannelSetting = ChannelSetting{};
      if (TooShort(reply) || IsLoneZero(reply, framing)) return;
      auto enable = reader.next();
      if (!enable || Decimal(*enable) == 0) return;
      c.enable = 1;
      if (auto channel = reader.last()) c.channel = Decimal(*channel);
      return;
    }
    case CHLL: DecodeSingle(reader, r.ChList, 16); return;
    case WPRT: DecodeSingle(reader, r.NetType); return;
    case WATC: DecodeSingle(reader, r.AdhocAutoBuild); return;
    case WBGR: {
      RateSetting& s = r.RateSetting = RateSetting{};
      auto bg = reader.next();
      if (!bg) return;
      s.BgMode = Decimal(*bg);
      if (auto rate = reader.last()) s.MaxRate = Decimal(*rate);
      return;
    }
    case UART: {
      UartSetting& u = r.UartSetting = UartSetting{};
      std::int32_t* fields[] = {&u.BaudRate, &u.DataBit, &u.StopBit};
      for (std::int32_t* field : fields) {
        auto value = reader.next();
        if (!value) return;
        *field = Decimal(*value);
      }
      if (auto parity = reader.last()) u.Parity = Decimal(*parity);
      return;
    }
    case ATPT: DecodeSingle(reader, r.EscapePeriod); return;
    case ATLT: DecodeSingle(reader, r.EscapeLength); return;
    case ESPC: DecodeSingle(reader, r.Escape, 16); return;
    case ESPT: DecodeSingle(reader, r.EscapeTime); return;
    case WEBS: {
      WebSetting& w = r.WebSetting = WebSetting{};
      if (TooShort(reply) || IsLoneZero(reply, framing)) return;
      auto enable = reader.next();
      if (!enable) return;
      w.WebsEn = Decimal(*enable);
      if (auto port = reader.last()) w.WebsPort = Decimal(*port);
      return;
    }
    case IOM: DecodeSingle(reader, r.Gpio1Mode); return;
    case CMDM: DecodeSignedSingle(reader, r.ComMode); return;
    case WARM: DecodeSingle(reader, r.RoamEn); return;
    case WARC: DecodeSingle(reader, r.ReConNum); return;
    case PASS:
      std::memset(r.Password, 0, sizeof r.Password);
      if (auto value = reader.last()) CopyText(UnquoteText(*value, sizeof r.Password), r.Password, sizeof r.Password);
      return;
    default: return;
  }
}

}  // namespace tarnwave
