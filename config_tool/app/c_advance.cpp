#include "config_tool/app/c_advance.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "config_tool/app/advanced_block.h"
#include "config_tool/app/c_mess.h"
#include "config_tool/app/parameter_checks.h"
#include "config_tool/app/resource.h"
#include "config_tool/protocol/reply_codec.h"
#include "platform/text/number_reader.h"

namespace tarnwave {

using namespace kit::ui;

namespace {

const std::vector<std::string> kBgMixedRates = {"1M", "2M", "5.5M", "11M", "6M", "9M", "12M", "18M", "24M", "36M", "48M", "54M"};
const std::vector<std::string> kOnlyBRates = {"1M", "2M", "5.5M", "11M"};
constexpr int kBaudRates[] = {115200, 57600, 38400, 19200, 9600, 4800, 2400, 1200};
constexpr int kRetryNever = 0, kRetryForever = 1, kRetryFix = 2;

// A framing edit, its slider, the slider's range and how a position maps to the value.
struct Framing {
  std::uint16_t edit;
  std::uint16_t slider;
  int low;  // slider range
  int high;
  int scale;  // value = position * scale
  unsigned long minimum;  // values the edit may move the slider with
  unsigned long maximum;
};
constexpr Framing kFramings[] = {
    {IDC_ADV_FRAME_CYCLE, IDC_ADV_FRAME_CYCLE_SLIDER, 1, 100, 100, 100, 10000},
    {IDC_ADV_ESCAPE_TIME, IDC_ADV_ESCAPE_TIME_SLIDER, 1, 100, 100, 100, 10000},
    {IDC_ADV_FRAME_LENGTH, IDC_ADV_FRAME_LENGTH_SLIDER, 64, 1024, 1, 64, 1024},
};

const Framing* FramingOf(int id) {
  for (const Framing& f : kFramings)
    if (f.edit == id || f.slider == id) return &f;
  return nullptr;
}

bool IsHexText(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

unsigned long Decimal(const std::string& text) {
  const long value = kit::ReadLeadingLong(text);
  return value < 0 ? static_cast<unsigned long>(-1) : static_cast<unsigned long>(value);
}

}  // namespace

CAdvance::CAdvance(Host& host, Dialog* owner) : Dialog(host, Template(), owner) {}

DialogTemplate CAdvance::Template() {
  DialogTemplate t;
  t.id = IDD_ADVANCE;
  t.caption = "Advanced Setting";
  t.width = 372;
  t.height = 262;
  std::vector<ControlTemplate>& c = t.controls;
  c = {
      GroupBox(kNoId, "Wireless Setting", {5, 4, 362, 112}),
      Label(kNoId, "NetMode:", {12, 18, 44, 10}),
      DropDownList(IDC_ADV_NET_MODE, {58, 16, 60, 40}, {"BSS", "Adhoc"}),
      CheckBox(IDC_ADV_ADHOC_BUILD, "Created when Net doesn't exist", {124, 17, 130, 10}),
      Label(kNoId, "BG Mode:", {12, 34, 44, 10}),
      DropDownList(IDC_ADV_BG_MODE, {58, 32, 60, 40}, {"BG Mixed", "Only B"}),
      Label(kNoId, "Max Rate:", {124, 34, 40, 10}),
      DropDownList(IDC_ADV_MAX_RATE, {166, 32, 50, 120}, kBgMixedRates),
      Label(kNoId, "Bssid:", {12, 50, 44, 10}),
      DropDownList(IDC_ADV_BSSID_MODE, {58, 48, 60, 40}, {"Auto", "Fix"}),
      Label(kNoId, "0x", {124, 50, 10, 10}),
      EditBox(IDC_ADV_BSSID, {136, 48, 80, 12}, 0, 12),
      Label(kNoId, "Channel:", {12, 66, 44, 10}),
      DropDownList(IDC_ADV_CHANNEL_MODE, {58, 64, 60, 40}, {"Auto", "Fixed"}),
      DropDownList(IDC_ADV_CHANNEL, {124, 64, 70, 150},
                   {"1 / 2412M", "2 / 2417M", "3 / 2422M", "4 / 2427M", "5 / 2432M", "6 / 2437M", "7 / 2442M",
                    "8 / 2447M", "9 / 2452M", "10 / 2457M", "11 / 2462M", "12 / 2467M", "13 / 2472M", "14 / 2484M"}),
      Label(kNoId, "Auto-Retry:", {258, 18, 40, 10}),
      DropDownList(IDC_ADV_RETRY_MODE, {300, 16, 60, 50}, {"Never", "Forever", "Fix"}),
      EditBox(IDC_ADV_RETRY, {300, 32, 28, 12}, kNumberOnly, 3),
      Label(kNoId, "(1-254)", {332, 34, 30, 10}),
      Label(kNoId, "Roaming:", {258, 50, 40, 10}),
      DropDownList(IDC_ADV_ROAMING, {300, 48, 60, 40}, {"Close", "Enable"}),
      Label(kNoId, "Channel List:", {12, 82, 60, 10}),
  };
  for (int i = 0; i < 14; ++i)
    c.push_back(CheckBox(IDC_ADV_CHANNEL_BOXES[i], std::to_string(i + 1), {12 + (i % 7) * 30, 94 + (i / 7) * 11, 28, 10}));
  const std::vector<ControlTemplate> rest = {
      GroupBox(kNoId, "Serial Setting", {5, 119, 120, 74}),
      Label(kNoId, "Baud Rate:", {12, 133, 44, 10}),
      DropDownList(IDC_ADV_BAUD, {58, 131, 60, 100}, {"115200", "57600", "38400", "19200", "9600", "4800", "2400", "1200"}),
      Label(kNoId, "Data Bit:", {12, 149, 44, 10}),
      DropDownList(IDC_ADV_DATA_BIT, {58, 147, 60, 40}, {"8", "7"}),
      Label(kNoId, "Parity Bit:", {12, 165, 44, 10}),
      DropDownList(IDC_ADV_PARITY, {58, 163, 60, 50}, {"None", "Odd", "Even"}),
      Label(kNoId, "Stop Bit:", {12, 181, 44, 10}),
      DropDownList(IDC_ADV_STOP_BIT, {58, 179, 60, 40}, {"1", "2"}),

      GroupBox(kNoId, "Transparent mode Setting", {130, 119, 237, 74}),
      Label(kNoId, "Framing Cyclist:", {136, 133, 58, 10}),
      Control(IDC_ADV_FRAME_CYCLE_SLIDER, ControlKind::Slider, {194, 131, 70, 12}),
      EditBox(IDC_ADV_FRAME_CYCLE, {266, 131, 34, 12}, kNumberOnly, 5),
      Label(kNoId, "(ms)", {303, 133, 28, 10}),
      Label(kNoId, "Framing Length:", {136, 149, 58, 10}),
      Control(IDC_ADV_FRAME_LENGTH_SLIDER, ControlKind::Slider, {194, 147, 70, 12}),
      EditBox(IDC_ADV_FRAME_LENGTH, {266, 147, 34, 12}, kNumberOnly, 4),
      Label(kNoId, "(Byte)", {303, 149, 28, 10}),
      Label(kNoId, "Escape Time :", {136, 165, 58, 10}),
      Control(IDC_ADV_ESCAPE_TIME_SLIDER, ControlKind::Slider, {194, 163, 70, 12}),
      EditBox(IDC_ADV_ESCAPE_TIME, {266, 163, 34, 12}, kNumberOnly, 5),
      Label(kNoId, "(ms)", {303, 165, 28, 10}),
      Label(kNoId, "Escape Character(0X):", {136, 181, 80, 10}),
      EditBox(IDC_ADV_ESCAPE, {218, 179, 24, 12}, 0, 2),

      GroupBox(kNoId, "Other Settings", {5, 196, 362, 42}),
      CheckBox(IDC_ADV_WEB, "Enable internal WEB server", {12, 208, 110, 10}),
      Label(kNoId, "Port:", {126, 208, 20, 10}),
      EditBox(IDC_ADV_WEB_PORT, {148, 206, 34, 12}, kNumberOnly, 5),
      Label(kNoId, "Password:", {196, 208, 40, 10}),
      EditBox(IDC_ADV_PASSWORD, {238, 206, 50, 12}, 0, 6),
      Label(kNoId, "GPIO1 Mode:", {12, 224, 48, 10}),
      DropDownList(IDC_ADV_GPIO1_MODE, {62, 222, 74, 50}, {"System Function", "Input", "Output"}),
      Label(kNoId, "Commond Mode:", {146, 224, 56, 10}),
      DropDownList(IDC_ADV_COM_MODE, {204, 222, 84, 40}, {"AT+Cmd Mode", "Compatible Mode"}),

      Button(IDOK, "OK", {232, 243, 50, 14}, kDefaultButton),
      Button(IDC_ADV_CANCEL, "Cancel", {292, 243, 50, 14}),
  };
  c.insert(c.end(), rest.begin(), rest.end());
  return t;
}

const MessageMap* CAdvance::messageMap() const {
  static const MessageMap map =
      MessageMapBuilder<CAdvance>()
          .on(EventKind::SelectionChange, IDC_ADV_NET_MODE, &CAdvance::OnNetModeChange)
          .on(EventKind::SelectionChange, IDC_ADV_BG_MODE, &CAdvance::OnBgModeChange)
          .on(EventKind::Click, IDC_ADV_WEB, &CAdvance::OnWebClick)
          .on(EventKind::SelectionChange, IDC_ADV_BSSID_MODE, &CAdvance::OnBssidModeChange)
          .on(EventKind::SelectionChange, IDC_ADV_CHANNEL_MODE, &CAdvance::OnChannelModeChange)
          .on(EventKind::SelectionChange, IDC_ADV_RETRY_MODE, &CAdvance::OnRetryModeChange)
          .on(EventKind::SliderMoved, IDC_ADV_FRAME_CYCLE_SLIDER, &CAdvance::OnSlider)
          .on(EventKind::SliderMoved, IDC_ADV_ESCAPE_TIME_SLIDER, &CAdvance::OnSlider)
          .on(EventKind::SliderMoved, IDC_ADV_FRAME_LENGTH_SLIDER, &CAdvance::OnSlider)
          .on(EventKind::KillFocus, IDC_ADV_FRAME_CYCLE, &CAdvance::OnFramingKillFocus)
          .on(EventKind::KillFocus, IDC_ADV_ESCAPE_TIME, &CAdvance::OnFramingKillFocus)
          .on(EventKind::KillFocus, IDC_ADV_FRAME_LENGTH, &CAdvance::OnFramingKillFocus)
          .on(EventKind::Click, IDC_ADV_CANCEL, &CAdvance::OnCancelButton)
          .build();
  return &map;
}

bool CAdvance::OnInitDialog() {
  m_opened = m_block;
  const ModuleParameters& b = m_block;
  // 1. Channel list.
  for (int i = 0; i < 14; ++i) setCheck(IDC_ADV_CHANNEL_BOXES[i], (b.ChList >> i) & 1u);
  // 2. Serial line.
  const int* baud = std::find(std::begin(kBaudRates), std::end(kBaudRates), b.UartSetting.BaudRate);
  setSelection(IDC_ADV_BAUD, baud == std::end(kBaudRates) ? 0 : static_cast<int>(baud - std::begin(kBaudRates)));
  setSelection(IDC_ADV_PARITY, b.UartSetting.Parity);
  setSelection(IDC_ADV_DATA_BIT, b.UartSetting.DataBit);
  setSelection(IDC_ADV_STOP_BIT, b.UartSetting.StopBit != 0 ? 1 : 0);
  // 3. Network type.
  setSelection(IDC_ADV_NET_MODE, static_cast<int>(b.NetType));
  if (b.NetType != 0) setCheck(IDC_ADV_ADHOC_BUILD, b.AdhocAutoBuild != 0);
  else enable(IDC_ADV_ADHOC_BUILD, false);
  // 4. Rates: a stored rate the list does not hold leaves it without a selection.
  setSelection(IDC_ADV_BG_MODE, b.RateSetting.BgMode);
  FillRates(b.RateSetting.BgMode);
  setSelection(IDC_ADV_MAX_RATE, b.RateSetting.MaxRate);
  // 5. BSSID.
  if (b.BssidSetting.enable != 0) {
    setSelection(IDC_ADV_BSSID_MODE, 1);
    char hex[13];
    const std::uint8_t* a = b.BssidSetting.address;
    std::snprintf(hex, sizeof hex, "%02x%02x%02x%02x%02x%02x", a[0], a[1], a[2], a[3], a[4], a[5]);
    setText(IDC_ADV_BSSID, hex);
    enable(IDC_ADV_BSSID, true);
  } else {
    enable(IDC_ADV_BSSID, false);
    setSelection(IDC_ADV_BSSID_MODE, 0);
  }
  // 6. Channel.
  if (b.ChannelSetting.enable != 0) {
    setSelection(IDC_ADV_CHANNEL_MODE, 1);
    setSelection(IDC_ADV_CHANNEL, b.ChannelSetting.channel - 1);
    enable(IDC_ADV_CHANNEL, true);
  } else {
    enable(IDC_ADV_CHANNEL, false);
    setSelection(IDC_ADV_CHANNEL_MODE, 0);
    setSelection(IDC_ADV_CHANNEL, 0);
  }
  // 7. Slider ranges, web server.
  for (const Framing& f : kFramings) setRange(f.slider, f.low, f.high);
  setCheck(IDC_ADV_WEB, b.WebSetting.WebsEn != 0);
  if (b.WebSetting.WebsEn != 0) setText(IDC_ADV_WEB_PORT, std::to_string(b.WebSetting.WebsPort));
  enable(IDC_ADV_WEB_PORT, b.WebSetting.WebsEn != 0);
  // 8. Escape and framing.
  char escape[8];
  std::snprintf(escape, sizeof escape, "%02X", b.Escape & 0xFFu);
  setText(IDC_ADV_ESCAPE, escape);
  setText(IDC_ADV_ESCAPE_TIME, std::to_string(b.EscapeTime));
  setText(IDC_ADV_FRAME_CYCLE, std::to_string(b.EscapePeriod));
  setText(IDC_ADV_FRAME_LENGTH, std::to_string(b.EscapeLength));
  setPosition(IDC_ADV_ESCAPE_TIME_SLIDER, static_cast<int>(std::min(b.EscapeTime / 100, 100u)));
  setPosition(IDC_ADV_FRAME_CYCLE_SLIDER, static_cast<int>(std::min(b.EscapePeriod / 100, 100u)));
  setPosition(IDC_ADV_FRAME_LENGTH_SLIDER, static_cast<int>(std::min(b.EscapeLength, 1024u)));
  // 9. GPIO1, command mode, roaming.
  setSelection(IDC_ADV_GPIO1_MODE, static_cast<int>(b.Gpio1Mode));
  setSelection(IDC_ADV_COM_MODE, b.ComMode);
  setSelection(IDC_ADV_ROAMING, b.RoamEn != 0 ? 1 : 0);
  // 10. Auto-retry.
  setText(IDC_ADV_RETRY, "");
  enable(IDC_ADV_RETRY, false);
  if (b.ReConNum == 0) {
    setSelection(IDC_ADV_RETRY_MODE, kRetryNever);
  } else if (b.ReConNum == 255) {
    setSelection(IDC_ADV_RETRY_MODE, kRetryForever);
  } else {
    setSelection(IDC_ADV_RETRY_MODE, kRetryFix);
    setText(IDC_ADV_RETRY, std::to_string(b.ReConNum));
    enable(IDC_ADV_RETRY, true);
  }
  // 11. Text limits, password.
  setTextLimit(IDC_ADV_ESCAPE, 2);
  setTextLimit(IDC_ADV_BSSID, 12);
  setTextLimit(IDC_ADV_WEB_PORT, 5);
  setTextLimit(IDC_ADV_RETRY, 3);
  setTextLimit(IDC_ADV_PASSWORD, 6);
  setText(IDC_ADV_PASSWORD, std::string(b.Password, strnlen(b.Password, sizeof b.Password)));
  return true;
}

void CAdvance::FillRates(int bgMode) {
  clearItems(IDC_ADV_MAX_RATE);
  for (const std::string& rate : bgMode == 1 ? kOnlyBRates : kBgMixedRates) addItem(IDC_ADV_MAX_RATE, rate);
}

// --- Editing ----------------------------------------------------------------------------

void CAdvance::OnNetModeChange() {
  const bool adhoc = selection(IDC_ADV_NET_MODE) == 1;
  enable(IDC_ADV_ADHOC_BUILD, adhoc);
  if (!adhoc) setCheck(IDC_ADV_ADHOC_BUILD, false);
}

void CAdvance::OnBgModeChange() {
  const int bgMode = selection(IDC_ADV_BG_MODE);
  FillRates(bgMode);
  setSelection(IDC_ADV_MAX_RATE, bgMode == 1 ? 3 : 11);  // "11M" or "54M"
}

void CAdvance::OnWebClick() { enable(IDC_ADV_WEB_PORT, isChecked(IDC_ADV_WEB)); }

void CAdvance::OnBssidModeChange() { enable(IDC_ADV_BSSID, selection(IDC_ADV_BSSID_MODE) == 1); }

void CAdvance::OnChannelModeChange() {
  if (selection(IDC_ADV_CHANNEL_MODE) == 1) {
    enable(IDC_ADV_CHANNEL, true);
    setSelection(IDC_ADV_CHANNEL, 0);
  } else {
    enable(IDC_ADV_CHANNEL, false);
  }
}

void CAdvance::OnRetryModeChange() {
  if (selection(IDC_ADV_RETRY_MODE) == kRetryFix) {
    enable(IDC_ADV_RETRY, true);
    setText(IDC_ADV_RETRY, "");
  } else {
    enable(IDC_ADV_RETRY, false);
  }
}

void CAdvance::OnSlider(const Event& event) {
  if (const Framing* f = FramingOf(event.controlId))
    setText(f->edit, std::to_string(position(f->slider) * f->scale));
}

void CAdvance::OnFramingKillFocus(const Event& event) {
  if (event.otherId == IDC_ADV_CANCEL) return;
  const Framing* f = FramingOf(event.controlId);
  if (f == nullptr) return;
  const unsigned long value = Decimal(text(f->edit));
  if (value >= f->minimum && value <= f->maximum) setPosition(f->slider, static_cast<int>(value / f->scale));
}

void CAdvance::OnCancelButton() { endDialog(IDCANCEL); }

// --- OK ---------------------------------------------------------------------------------

void CAdvance::OnOK() {
  const int focus = focusedControl();
  setFocus(IDOK);
  if (FramingOf(focus) != nullptr && focus != IDC_ADV_FRAME_CYCLE_SLIDER && focus != IDC_ADV_ESCAPE_TIME_SLIDER &&
      focus != IDC_ADV_FRAME_LENGTH_SLIDER)
    return;  // moving the focus has synchronised the slider; the next "OK" commits
  if (Rebuild()) endDialog(IDOK);
}

int CAdvance::ListValue(int id, int kept) const {
  const int index = selection(id);
  return index < 0 ? kept : index;
}

bool CAdvance::Refuse(const char* note, int focus) {
  CMess::Note(host(), this, note);
  if (focus != 0) setFocus(focus);
  return false;
}

bool CAdvance::Rebuild() {
  const ModuleParameters& o = m_opened;
  ModuleParameters b;
  // 1.
  for (int i = 0; i < 14; ++i)
    if (isChecked(IDC_ADV_CHANNEL_BOXES[i])) b.ChList |= 1u << i;
  // 2.
  const int baud = selection(IDC_ADV_BAUD);
  b.UartSetting.BaudRate = baud < 0 ? 115200 : kBaudRates[baud];
  b.UartSetting.Parity = ListValue(IDC_ADV_PARITY, o.UartSetting.Parity);
  b.UartSetting.DataBit = ListValue(IDC_ADV_DATA_BIT, o.UartSetting.DataBit);
  b.UartSetting.StopBit = selection(IDC_ADV_STOP_BIT) == 1 ? 2 : 0;
  // 3.
  b.NetType = static_cast<std::uint32_t>(ListValue(IDC_ADV_NET_MODE, static_cast<int>(o.NetType)));
  b.AdhocAutoBuild = isChecked(IDC_ADV_ADHOC_BUILD) ? 1 : 0;
  // 4. A stored rate the list could not show is kept as it was.
  b.RateSetting.BgMode = ListValue(IDC_ADV_BG_MODE, o.RateSetting.BgMode);
  b.RateSetting.MaxRate = ListValue(IDC_ADV_MAX_RATE, o.RateSetting.MaxRate);
  // 5.
  if (selection(IDC_ADV_BSSID_MODE) == 1) {
    b.BssidSetting.enable = 1;
    const std::string hex = text(IDC_ADV_BSSID);
    if (hex.size() != 12 || !IsHexText(hex)) return Refuse("Please input the right BSSID！");
    for (std::size_t i = 0; i < 6; ++i)
      b.BssidSetting.address[i] = static_cast<std::uint8_t>(kit::ReadLeadingUnsigned(std::string_view(hex).substr(2 * i, 2), 16));
  }
  // 6.
  if (selection(IDC_ADV_CHANNEL_MODE) == 1) b.ChannelSetting = {1, selection(IDC_ADV_CHANNEL) + 1};
  // 7.
  if (isChecked(IDC_ADV_WEB)) {
    b.WebSetting.WebsEn = 1;
    const unsigned long port = Decimal(text(IDC_ADV_WEB_PORT));
    b.WebSetting.WebsPort = static_cast<std::int32_t>(port);
    if (port < 1 || port > 65535) return Refuse("Please input the right internal WEB server socket(1-65535)！");
  }
  // 8.
  const std::string escape = text(IDC_ADV_ESCAPE);
  if (escape.size() != 2 || !IsHexText(escape)) return Refuse("Escape character is two hexadecimal number！");
  b.Escape = static_cast<std::uint32_t>(kit::ReadLeadingUnsigned(escape, 16));
  // 9. to 12.
  const unsigned long escapeTime = Decimal(text(IDC_ADV_ESCAPE_TIME));
  if (escapeTime < 100 || escapeTime > 10000)
    return Refuse("Escape time size is between 100ms and 10000ms！", IDC_ADV_ESCAPE_TIME);
  b.EscapeTime = static_cast<std::uint32_t>(escapeTime);
  const unsigned long period = Decimal(text(IDC_ADV_FRAME_CYCLE));
  if (period < 100 || period > 10000)
    return Refuse("Automatic group frame cycle size is between 100ms and 10000ms!", IDC_ADV_FRAME_CYCLE);
  b.EscapePeriod = static_cast<std::uint32_t>(period);
  if (b.EscapePeriod >= b.EscapeTime)
    return Refuse("Automatic group frame cycle size is less than the escape time！", IDC_ADV_FRAME_CYCLE);
  const unsigned long length = Decimal(text(IDC_ADV_FRAME_LENGTH));
  if (length < 64 || length > 1024)
    return Refuse("Automatic group frame length size is between 64 and 1024!", IDC_ADV_FRAME_LENGTH);
  b.EscapeLength = static_cast<std::uint32_t>(length);
  // 13.
  b.ComMode = ListValue(IDC_ADV_COM_MODE, o.ComMode);
  b.Gpio1Mode = static_cast<std::uint32_t>(ListValue(IDC_ADV_GPIO1_MODE, static_cast<int>(o.Gpio1Mode)));
  b.RoamEn = selection(IDC_ADV_ROAMING) == 1 ? 1 : 0;
  // 14.
  const int retry = selection(IDC_ADV_RETRY_MODE);
  if (retry == kRetryFix) {
    const unsigned long count = Decimal(text(IDC_ADV_RETRY));
    if (count < 1 || count > 254) return Refuse("Reconnection frequency is between 1 to 254 times！");
    b.ReConNum = static_cast<std::uint32_t>(count);
  } else {
    b.ReConNum = retry == kRetryForever ? 255 : 0;
  }
  // 15. The password travels to the module in double quotes.
  const std::string password = text(IDC_ADV_PASSWORD);
  if (password.size() != 6) return Refuse("The system password length must be six!");
  if (!IsSendableText(password)) return Refuse(kNoteUnsendableText.data());
  CopyText(password, b.Password, sizeof b.Password);
  CopyAdvancedBlock(b, m_block);
  return true;
}

}  // namespace tarnwave
