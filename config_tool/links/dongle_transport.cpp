#include "config_tool/links/dongle_transport.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "config_tool/protocol/reply_codec.h"
#include "config_tool/protocol/result_codes.h"
#include "config_tool/links/dongle_link_values.h"
#include "platform/devio/device_registry.h"
#include "platform/sync/event.h"

namespace tarnwave {

using kit::devio::DevError;

namespace {

constexpr std::uint32_t kReadTextTimeout = 2000;
constexpr int kSlices = 10;

std::span<const std::uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

std::unique_ptr<DongleTransport> DongleTransport::open(CommandRequest& request, ReplyWorker& worker,
                                                       kit::ui::NoteSink* notes, int& result) {
  DevError error;
  auto device = kit::devio::OpenDevice(kirva::kDevicePath, error);
  if (!device) {
    result = kResultInvalidHandle;
    return nullptr;
  }
  std::unique_ptr<DongleTransport> transport(new DongleTransport(std::move(device), request, worker, notes));
  if (!worker.running() ||
      !transport->handOver(kirva::IOCTL_UDX_SET_READ_EVENT, worker.sharedRequestEvent(), transport->m_readHandle) ||
      !transport->handOver(kirva::IOCTL_UDX_SET_REMOVE_EVENT, worker.sharedRemoveEvent(), transport->m_removeHandle)) {
    result = kResultWorkerSetupFailed;
    return nullptr;  // the destructor closes the device
  }
  result = kResultOk;
  return transport;
}

DongleTransport::DongleTransport(std::unique_ptr<kit::devio::DeviceEndpoint> device, CommandRequest& request,
                                 ReplyWorker& worker, kit::ui::NoteSink* notes)
    : m_device(std::move(device)), m_request(request), m_worker(worker), m_notes(notes) {}

DongleTransport::~DongleTransport() { closeDevice(); }

void DongleTransport::closeDevice() {
  m_open = false;
  if (m_device) m_device->close();
}

bool DongleTransport::handOver(std::uint32_t code, const std::shared_ptr<kit::Event>& event,
                               kit::ScopedHandle& handle) {
  if (!event) return false;
  handle = kit::ScopedHandle(kit::HandleTable::process().insert(event));
  const kit::HandleValue remote = m_device->exportEvent(handle.value());
  if (remote == kit::kInvalidHandleValue) return false;
  std::vector<std::uint8_t> input(4);
  kirva::PutU32(input.data(), remote);
  return m_device->control(code, input, 0).error == DevError::None;
}

bool DongleTransport::write(const std::vector<std::uint8_t>& frame) {
  if (!m_open.load()) return false;
  return m_device->write(frame) == DevError::None;
}

bool DongleTransport::sendToModule(kirva::PayloadType type, std::span<const std::uint8_t> payload) {
  const auto& values = ProcessDongleValues();
  return write(kirva::BuildSendToModule(values.targetModule, values.password, type, payload));
}

bool DongleTransport::sendRequest(std::string_view text) {
  if (!sendToModule(kirva::PayloadType::RequestText, Bytes(text))) return false;
  return write(kirva::BuildStartReceive(0, ProcessDongleValues().targetModule));
}

bool DongleTransport::writeText(std::string_view text) { return sendToModule(kirva::PayloadType::RequestText, Bytes(text)); }

bool DongleTransport::writeRaw(std::span<const std::byte> bytes) {
  return sendToModule(kirva::PayloadType::RawData,
                      {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

bool DongleTransport::readText(std::span<char> buffer, std::size_t& got) {
  got = 0;
  m_request.timeout = kReadTextTimeout;
  m_worker.beginCommand(kReadTextTimeout);
  if (!write(kirva::BuildStartReceive(0, ProcessDongleValues().targetModule)) ||
      !m_worker.replyEvent().wait(std::chrono::milliseconds(kReadTextTimeout))) {
    m_worker.abandonCommand();
    return false;
  }
  const auto length = static_cast<std::size_t>(std::clamp(m_request.replyLength, 0, kReplyCapacity));
  got = std::min(length, buffer.size());
  std::memcpy(buffer.data(), m_request.replyText, got);
  return true;
}

int DongleTransport::awaitReply(const ReplyWait& wait) {
  // Ten slices of a tenth of the time-out; after each empty one the driver's
  // loop is stopped and the request goes out again (eleven writes in all).
  const auto slice = std::chrono::milliseconds(wait.timeout / kSlices);
  for (int miss = 0; miss < kSlices; ++miss) {
    if (wait.replyEvent.wait(slice)) return kResultOk;
    (void)stopReceive();
    if (!wait.resendRequest()) return kResultSendFailed;
  }
  return kResultNoResponse;
}

std::optional<GatheredReply> DongleTransport::gatherReply(std::uint32_t, const std::function<bool()>& shouldStop) {
  // A read event while no command waits (a duplicate frame, a command given up)
  // leaves the driver's loop and the area alone: nobody takes that reply.
  if (shouldStop && shouldStop()) return std::nullopt;
  // The reply is in: the driver's loop is no longer needed, and it must be
  // stopped before the area is read.
  (void)stopReceive();
  const auto area = readNotify();
  if (!area) return std::nullopt;
  const std::uint32_t length = std::min<std::uint32_t>(kirva::NotifyAreaLength(*area), kirva::kNotifyBufferSize);
  // Only an empty area means no signal; an area too short to hold any text is an
  // empty reply, which the classification turns into 255.
  if (length == 0) return std::nullopt;
  GatheredReply reply;
  const std::uint32_t textLength = length > 4 ? length - 4 : 0;
  reply.text.assign(reinterpret_cast<const char*>(area->data()) + 4, textLength);
  reply.replyLength = static_cast<int>(textLength);
  {
    std::lock_guard lock(m_lastReplyMutex);
    m_lastReply = reply.text;
  }
  return reply;
}

std::string DongleTransport::lastReplyText() const {
  std::lock_guard lock(m_lastReplyMutex);
  return m_lastReply;
}

bool DongleTransport::onRemoved() {
  closeDevice();
  if (m_notes) m_notes->showNote(kDongleRemovedNote);
  return false;  // the worker ends
}

bool DongleTransport::openExchange(int radioCommand) {
  return write(kirva::BuildOpenExchange(static_cast<std::uint8_t>(radioCommand)));
}

bool DongleTransport::closeExchange() { return write(kirva::BuildCloseExchange()); }

bool DongleTransport::switchChannel(int channel) { return write(kirva::BuildSwitchChannel(static_cast<std::uint16_t>(channel))); }

bool DongleTransport::startSearch(int channel, const kirva::RadioAddress& searchAddress) {
  return write(kirva::BuildStartSearch(static_cast<std::uint32_t>(channel), ProcessDongleValues().password, searchAddress));
}

bool DongleTransport::stopSearch() { return write(kirva::BuildStopSearch()); }

bool DongleTransport::stopReceive() { return write(kirva::BuildStopReceive()); }

std::optional<std::vector<std::uint8_t>> DongleTransport::readNotify() {
  if (!m_open.load()) return std::nullopt;
  auto result = m_device->control(kirva::IOCTL_UDX_GET_NOTIFY, {}, kirva::kNotifyBufferSize);
  if (result.error != DevError::None) return std::nullopt;
  result.output.resize(kirva::kNotifyBufferSize, 0);
  return std::move(result.output);
}

}  // namespace tarnwave
