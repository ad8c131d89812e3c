// Tarnwave's pages and the function test console's dialogs in the gallery, each shown as
// a user sees it mid-work: the firmware page during an update, the information page and
// the console after their module answered, the socket dialogs with sample input.
#include <cstring>
#include <memory>
#include <vector>

#include "config_tool/app/c_fw_page.h"
#include "config_tool/app/c_info_page.h"
#include "config_tool/app/c_scan.h"
#include "config_tool/app/c_set_page.h"
#include "config_tool/app/c_socket_recv.h"
#include "config_tool/app/c_socket_relative.h"
#include "config_tool/app/c_socket_send.h"
#include "config_tool/app/c_socket_set.h"
#include "config_tool/app/console_text.h"
#include "config_tool/app/main_window_services.h"
#include "config_tool/app/resource.h"
#include "gallery/gallery_registry.h"

namespace kit::gallery {

using kit::ui::Dialog;
using kit::ui::Host;

namespace {

// What the pages ask of a main window, answered with a serial link open.
class SampleServices : public tarnwave::MainWindowServices {
 public:
  void ReportPage(int) override {}
  int DeviceCount() const override { return 1; }
  int CurrentRow() const override { return 0; }
  int SwitchToRow(int) override { return 0; }
  void Search() override {}
  bool ModifyAllChecked() const override { return false; }
  void LockControls(bool) override {}
  void EnableCloseCommand(bool) override {}
  int FirmwareDownloadFlag() const override { return 1; }
  bool SerialLinkOpen() const override { return true; }
  bool DongleLinkOpen() const override { return false; }
};

// A page and the services it keeps a reference to, alive together.
template <class Page>
std::shared_ptr<Dialog> WithServices(Host& host) {
  struct Holder {
    SampleServices services;
    Page page;
    explicit Holder(Host& h) : page(h, services) {}
  };
  auto holder = std::make_shared<Holder>(host);
  return std::shared_ptr<Dialog>(holder, &holder->page);
}

class FirmwarePageMidUpdate : public tarnwave::CFwPage {
 public:
  FirmwarePageMidUpdate(Host& host, tarnwave::MainWindowServices& services) : CFwPage(host, services) {}
  bool OnInitDialog() override {
    CFwPage::OnInitDialog();
    setText(tarnwave::IDC_FW_PATH, "/home/shop/firmware/QTM42RB08-4.2.1.IMG");
    setRange(tarnwave::IDC_FW_PROGRESS, 0, 129);
    send(tarnwave::WM_FW_STARTED);
    for (int block = 0; block < 57; ++block) send(tarnwave::WM_FW_BLOCK_SENT);
    return true;
  }
};

class InfoPageShown : public tarnwave::CInfoPage {
 public:
  InfoPageShown(Host& host, tarnwave::MainWindowServices& services) : CInfoPage(host, services) {}
  bool OnInitDialog() override {
    setText(tarnwave::IDC_INFO_MAC, "02-4B-00-1E-C0-06");
    setText(tarnwave::IDC_INFO_HARDWARE, "1.2.0");
    setText(tarnwave::IDC_INFO_FIRMWARE, "3.0.7");
    setText(tarnwave::IDC_INFO_RELEASE, "2026-12-11");
    return true;
  }
};

tarnwave::ScanEntry Network(std::uint8_t last, int mode, int channel, int encryption, const char* ssid, int signal) {
  tarnwave::ScanEntry e;
  const std::uint8_t bssid[6] = {0x0A, 0x1B, 0x2C, 0x3D, 0x4E, last};
  std::memcpy(e.bssid, bssid, sizeof bssid);
  e.networkMode = static_cast<std::uint8_t>(mode);
  e.channel = static_cast<std::uint8_t>(channel);
  e.encryption = static_cast<std::uint8_t>(encryption);
  std::strncpy(e.ssid, ssid, sizeof e.ssid - 1);
  e.signal = static_cast<std::uint8_t>(signal);
  return e;
}

class ConsoleAfterScan : public tarnwave::CSetPage {
 public:
  ConsoleAfterScan(Host& host, tarnwave::MainWindowServices& services) : CSetPage(host, services) {}
  bool OnInitDialog() override {
    CSetPage::OnInitDialog();
    AppendOutput("Scanning.\r\n");
    AppendOutput(tarnwave::ScanResultText({Network(1, 0, 6, 0, "KitNet", 42), Network(2, 0, 1, 1, "Shop-Guest", 67),
                                           Network(3, 1, 11, 1, "Backoffice", 80)}));
    return true;
  }
};

class ScanHalfway : public tarnwave::CScan {
 public:
  using CScan::CScan;
  bool OnInitDialog() override {
    setRange(tarnwave::IDC_SCAN_PROGRESS, 0, 10);
    setPosition(tarnwave::IDC_SCAN_PROGRESS, 6);
    return true;
  }
};

class SendWithHex : public tarnwave::CSocketSend {
 public:
  using CSocketSend::CSocketSend;
  bool OnInitDialog() override {
    CSocketSend::OnInitDialog();
    setCheck(tarnwave::IDC_SOCK_SEND_HEX, true);
    setText(tarnwave::IDC_SOCK_SEND_DATA, "41 42 0D 0A 9C");
    return true;
  }
};

class ReceivedInHex : public tarnwave::CSocketRecv {
 public:
  explicit ReceivedInHex(Host& host) : CSocketRecv(host, nullptr) {}
  bool OnInitDialog() override {
    CSocketRecv::OnInitDialog();
    setText(tarnwave::IDC_SOCK_RECV_COUNT, "100");
    setCheck(tarnwave::IDC_SOCK_RECV_HEX, true);
    const std::string text = "Order 17: 2 x coffee, 1 x cake\r\n";
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    setText(tarnwave::IDC_SOCK_RECV_DISPLAY, tarnwave::ReceiveDisplayText(bytes, true));
    return true;
  }
};

}  // namespace

void AddTarnwavePages(GalleryRegistry& registry) {
  registry.add("tarnwave-fw-page", "Tarnwave CFwPage (134) during an update",
               [](Host& host) { return WithServices<FirmwarePageMidUpdate>(host); });
  registry.add("tarnwave-info-page", "Tarnwave CInfoPage (140) showing a module",
               [](Host& host) { return WithServices<InfoPageShown>(host); });
  registry.add("tarnwave-set-page", "Tarnwave CSetPage (133) after a scan",
               [](Host& host) { return WithServices<ConsoleAfterScan>(host); });
  registry.add("tarnwave-scan", "Tarnwave CScan (159) halfway",
               [](Host& host) { return std::make_shared<ScanHalfway>(host); });
  registry.add("tarnwave-socket-set", "Tarnwave CSocketSet (136) for a client socket", [](Host& host) {
    auto d = std::make_shared<tarnwave::CSocketSet>(host);
    std::strcpy(d->m_spec.serverAddress, "192.168.1.10");
    d->m_spec.Port = 8080;
    return d;
  });
  registry.add("tarnwave-socket-relative", "Tarnwave CSocketRelative (137)",
               [](Host& host) { return std::make_shared<tarnwave::CSocketRelative>(host); });
  registry.add("tarnwave-socket-send", "Tarnwave CSocketSend (138) with hexadecimal data",
               [](Host& host) { return std::make_shared<SendWithHex>(host); });
  registry.add("tarnwave-socket-recv", "Tarnwave CSocketRecv (139) after a reception in hexadecimal",
               [](Host& host) { return std::make_shared<ReceivedInHex>(host); });
}

}  // namespace kit::gallery
