#pragma once

// DongleTransport: a module reached over the air through the USB radio
// dongle. A request travels as a SendToModule frame followed by StartReceive;
// the driver signals the request event (handed over as its read event) when
// the module's reply is in the notify area, and the reply worker fetches it
// from there. The driver's remove event ends the link when the dongle is
// pulled out.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <optional>
#include <vector>

#include "config_tool/links/module_transport.h"
#include "config_tool/links/reply_worker.h"
#include "config_tool/protocol/command_request.h"
#include "dongle_driver/interface/dongle_interface.h"
#include "platform/devio/device_endpoint.h"
#include "platform/handles/handle_table.h"
#include "platform/ui/note_sink.h"

namespace tarnwave {

// What the user reads when the dongle was pulled out.
inline constexpr const char* kDongleRemovedNote = "无线连接设备已取消，请重新搜索！";

class DongleTransport final : public ModuleTransport {
 public:
  // Opens the dongle's device and hands the worker's request event (as read
  // event) and remove event to the driver. result: 0, 203 when the device
  // cannot be opened, 200 when a hand-over fails (the device is closed again).
  // The worker must be running. notes may be null. openError, when given, tells why the
  // device could not be opened (not found, the driver host busy or not answering).
  static std::unique_ptr<DongleTransport> open(CommandRequest& request, ReplyWorker& worker,
                                               kit::ui::NoteSink* notes, int& result,
                                               kit::devio::DevError* openError = nullptr);
  ~DongleTransport() override;

  ReplyFraming framing() const override { return ReplyFraming::Dongle; }
  bool isOpen() const override { return m_open.load(); }
  bool sendRequest(std::string_view text) override;
  bool writeText(std::string_view text) override;
  bool writeRaw(std::span<const std::byte> bytes) override;
  bool readText(std::span<char> buffer, std::size_t& got) override;
  int awaitReply(const ReplyWait& wait) override;
  std::optional<GatheredReply> gatherReply(std::uint32_t timeout, const std::function<bool()>& shouldStop) override;
  bool onRemoved() override;
  bool openExchange(int radioCommand) override;
  bool closeExchange() override;

  // Dongle operations of the link; false when the link is closed or the
  // write failed.
  bool switchChannel(int channel);
  bool startSearch(int channel, const kirva::RadioAddress& searchAddress);
  bool stopSearch();
  bool stopReceive();
  // The 2048 bytes of the notify area.
  std::optional<std::vector<std::uint8_t>> readNotify();
  // The whole text of the last reply the worker gathered (from "+OK" or
  // "+ERR" on), for showing a reply as the module sent it.
  std::string lastReplyText() const;

 private:
  DongleTransport(std::unique_ptr<kit::devio::DeviceEndpoint> device, CommandRequest& request, ReplyWorker& worker,
                  kit::ui::NoteSink* notes);
  bool write(const std::vector<std::uint8_t>& frame);
  bool sendToModule(kirva::PayloadType type, std::span<const std::uint8_t> payload);
  bool handOver(std::uint32_t code, const std::shared_ptr<kit::Event>& event, kit::ScopedHandle& handle);
  void closeDevice();

  std::unique_ptr<kit::devio::DeviceEndpoint> m_device;
  CommandRequest& m_request;
  ReplyWorker& m_worker;
  kit::ui::NoteSink* m_notes;
  std::atomic<bool> m_open{true};
  mutable std::mutex m_lastReplyMutex;
  std::string m_lastReply;
  kit::ScopedHandle m_readHandle;
  kit::ScopedHandle m_removeHandle;
};

}  // namespace tarnwave
