#include "dongle_driver/driver/radio_engine.h"

#include <algorithm>
#include <chrono>
#include <mutex>

namespace kirva {

using wdm::Status;
using wdm::usb::Direction;

const std::array<RegisterWrite, 11> kRadioSetUp = {{
    {0xC014, 0},
    {0x4000, 0x1F11},
    {0x4050, 0x30},
    {0x4040, 0x10052C},
    {0x4030, 0x19C0070},
    {0xC010, 0},
    {0x4044, 0xFFFFFFFF},
    {0x4048, 0xFFFFFFFF},
    {0x4034, 0x322237},
    {0x4058, 0xF0},
    {0x404C, 0x27},
}};

namespace {
constexpr std::size_t kTransmitCapacity = kRadioBufferSize - kRadioHeaderLength - kRadioContentHeader;  // 1536
constexpr std::uint8_t kSearchContent[] = {'A', 'T', '+', '\r', 0};
constexpr std::size_t kSearchListOffset = 8;  // length, count, then the addresses
constexpr std::chrono::milliseconds kPauseAfterFailedRead{20};

bool DeviceGone(Status status) {
    return status == Status::DeviceNotConnected || status == Status::NoSuchDevice || status == Status::DeviceRemoved;
}
}  // namespace

RadioEngine::RadioEngine(UsbChannel& usb, wdm::Pool& pool, DriverTrace& trace)
    : m_usb(usb), m_pool(pool), m_trace(trace) {}

RadioEngine::~RadioEngine() { stopLoopsAndFree(); }

Status RadioEngine::writeRegister(std::uint32_t address, std::uint32_t value) {
    std::uint8_t data[8];
    PutU32(data, address);
    PutU32(data + 4, value);
    return m_usb.vendorRequest(Direction::Out, vendor::kWriteRegister, 0, 0, data);
}

Status RadioEngine::readRegister(std::uint32_t address, std::uint32_t& value) {
    std::uint8_t data[4] = {};
    const Status status = m_usb.vendorRequest(Direction::In, vendor::kReadRegister,
                                              static_cast<std::uint16_t>(address & 0xFFFF),
                                              static_cast<std::uint16_t>(address >> 16), data);
    value = GetU32(data);
    return status;
}

Status RadioEngine::setUpRadio() {
    for (const auto& write : kRadioSetUp) {
        const Status status = writeRegister(write.address, write.value);
        if (status != Status::Success) return status;
    }
    std::uint8_t own[6] = {};
    const Status status = m_usb.vendorRequest(Direction::In, vendor::kReadOwnAddress, 0, 0, own);
    if (status != Status::Success) return status;
    std::copy(std::begin(own), std::end(own), m_ownAddress.begin());
    m_trace(TraceComponent::Radio, "mac:%02x%02x%02x%02x%02x%02x", own[0], own[1], own[2], own[3], own[4], own[5]);
    m_commandNumber = 0;
    m_sequenceCounter = 0;
    m_descriptorCounter = 0;
    return Status::Success;
}

Status RadioEngine::allocateBuffers(std::uint32_t bulkInPipe, std::uint32_t bulkOutPipe) {
    m_bulkInPipe = bulkInPipe;
    m_bulkOutPipe = bulkOutPipe;
    m_sequenceCounter = 0;
    m_descriptorCounter = 0;
    m_transmitBuffer = m_pool.allocate(kRadioBufferSize);
    if (!m_transmitBuffer) return Status::InsufficientResources;
    for (auto& slot : m_slots) {
        slot.buffer = m_pool.allocate(kRadioBufferSize);
        slot.request = m_pool.make<wdm::IoRequest>(wdm::MajorFunction::InternalDeviceControl);
        if (!slot.buffer || !slot.request) return Status::InsufficientResources;
    }
    m_buffersReady = true;
    return Status::Success;
}

void RadioEngine::stopLoopsAndFree() {
    for (Loop* loop : {&m_receive, &m_search}) {
        if (stopLoop(*loop)) m_trace(TraceComponent::Radio, "Wait for recv block completed...\n");
    }
    m_buffersReady = false;
    m_transmitBuffer.reset();
    for (auto& slot : m_slots) {
        slot.buffer.reset();
        slot.request.reset();
    }
}

Status RadioEngine::execute(const FrameView& frame) {
    switch (static_cast<DongleCommand>(frame.code())) {
        case DongleCommand::SwitchChannel:
            m_trace(TraceComponent::Radio, "switch channal\n");
            m_trace(TraceComponent::Radio, "channel=%d", frame.u16(frame::kChannel));
            switchChannel(frame.u16(frame::kChannel));
            m_trace(TraceComponent::Radio, "switch channal OK!\n");
            return Status::Success;
        case DongleCommand::SendToModule: {
            const std::uint16_t lengthField = frame.u16(frame::kSendLength);
            // A length field below the fixed part would make a negative text
            // length; such a frame is refused instead of being sent.
            if (lengthField < 7) return Status::InvalidParameter;
            const std::size_t n = lengthField - 7u;
            return transmit(frame.address(frame::kSendDestination), frame.address(frame::kSendPassword),
                            frame.u8(frame::kSendType), frame.bytes(frame::kSendPayload, n));
        }
        case DongleCommand::StartReceive:
            startReceive(frame.u16(frame::kChannel), frame.address(frame::kReceiveModule));
            return Status::Success;
        case DongleCommand::StopReceive:
            stopReceive();
            return Status::Success;
        case DongleCommand::StartSearch:
            startSearch(static_cast<std::uint16_t>(frame.u32(frame::kChannel) & 0xFFFF),
                        frame.address(frame::kSearchPassword), frame.address(frame::kSearchAddress));
            return Status::Success;
        case DongleCommand::StopSearch:
            stopSearch();
            return Status::Success;
        case DongleCommand::OpenExchange:
            openExchange(frame.u8(frame::kExchangeNumber));
            return Status::Success;
        case DongleCommand::CloseExchange:
            closeExchange();
            return Status::Success;
    }
    m_trace(TraceComponent::Io, "it is wrong ioctl%x\n", frame.code());
    return Status::Success;
}

std::uint32_t RadioEngine::readNotify(std::span<std::uint8_t> out) {
    std::fill(out.begin(), out.end(), 0);
    std::lock_guard lock(m_notifyLock);
    const std::uint32_t length = GetU32(m_notify.data());
    m_trace(TraceComponent::Io, "notify len:%d", static_cast<int>(length));
    const std::size_t count = std::min<std::size_t>({length, m_notify.size(), out.size()});
    std::copy_n(m_notify.begin(), count, out.begin());
    return length;
}

void RadioEngine::setReadEvent(std::shared_ptr<kit::Event> event) {
    std::lock_guard lock(m_notifyLock);
    m_readEvent = std::move(event);
}

Status RadioEngine::setChannel(std::uint16_t channel) {
    m_trace(TraceComponent::Radio, " SetChannel %d!\n", channel);
    const Status status = m_usb.vendorRequest(Direction::Out, vendor::kSetChannel, channel, 0, {});
    m_channel = channel;  // kept even when the dongle refused
    return status;
}

Status RadioEngine::switchChannel(std::uint16_t channel) { return setChannel(channel); }

Status RadioEngine::transmit(const RadioAddress& destination, const WirelessPassword& password, std::uint8_t type,
                             std::span<const std::uint8_t> payload) {
    m_trace(TraceComponent::Radio, "SendComData\n");
    if (!m_buffersReady) return Status::DeviceNotConnected;
    if (payload.size() > kTransmitCapacity) return Status::InvalidParameter;
    RadioRequest request;
    request.destination = destination;
    request.source = m_ownAddress;
    request.password = password;
    request.commandNumber = ++m_commandNumber;
    request.type = type;
    request.sequenceNumber = ++m_sequenceCounter;
    request.descriptorCounter = m_descriptorCounter;
    m_descriptorCounter = static_cast<std::uint16_t>((m_descriptorCounter + 1) % 4096);
    request.payload = payload;
    const std::size_t length =
        BuildRadioRequest(request, std::span<std::uint8_t>(m_transmitBuffer.get(), kRadioBufferSize));
    const Status status = m_usb.bulkOut(m_bulkOutPipe, std::span<std::uint8_t>(m_transmitBuffer.get(), length));
    if (status != Status::Success) m_trace(TraceComponent::Radio, "TX FAIL!!\n");
    return status;
}

Status RadioEngine::changeExchangeBit(bool set) {
    std::uint32_t value = 0;
    const Status read = readRegister(vendor::kExchangeRegister, value);
    if (read != Status::Success) return read;
    value = set ? (value | vendor::kExchangeBit) : (value & ~vendor::kExchangeBit);
    return writeRegister(vendor::kExchangeRegister, value);
}

Status RadioEngine::openExchange(std::uint8_t number) {
    const Status status = changeExchangeBit(true);
    m_commandNumber = number;
    m_trace(TraceComponent::Radio, "cmd no:%d", number);
    return status;
}

Status RadioEngine::closeExchange() {
    const Status status = changeExchangeBit(false);
    m_commandNumber = 0;
    return status;
}

void RadioEngine::startReceive(std::uint16_t channel, const RadioAddress& module) {
    m_trace(TraceComponent::Radio, "com rx order\n");
    if (channel != 0) setChannel(channel);
    stopLoop(m_receive);
    {
        std::lock_guard lock(m_notifyLock);
        m_acceptedModule = module;
    }
    startLoop(m_receive);
}

void RadioEngine::stopReceive() {
    m_trace(TraceComponent::Radio, "rx stop\n");
    stopLoop(m_receive);
}

void RadioEngine::startSearch(std::uint16_t channel, const WirelessPassword& password,
                              const RadioAddress& searchAddress) {
    m_trace(TraceComponent::Radio, "com search order\n");
    // The previous search's list goes now: should this search fail to go out,
    // its channel must not seem to hold the last channel's modules.
    clearNotifyArea();
    if (channel != 0) setChannel(channel);
    if (transmit(searchAddress, password, 0, kSearchContent) != Status::Success) {
        m_trace(TraceComponent::Radio, "transfer not ok!");
        return;
    }
    stopLoop(m_search);
    startLoop(m_search);
}

void RadioEngine::stopSearch() {
    m_trace(TraceComponent::Radio, "search stop\n");
    stopLoop(m_search);
}

void RadioEngine::clearNotifyArea() {
    std::lock_guard lock(m_notifyLock);
    m_notify.fill(0);
}

void RadioEngine::startLoop(Loop& loop) {
    if (!m_buffersReady) return;
    loop.stop.reset();
    loop.submit.reset();
    // The area is cleared before the first read can complete, so a reply can
    // never be wiped by the loop that received it.
    clearNotifyArea();
    loop.running = true;
    if (!loop.thread.start([this, &loop] { loopThread(loop); })) {
        loop.running = false;
        m_trace(TraceComponent::Radio, " START_TX sCreateSystemThrea fail \n");
        return;
    }
    loop.submit.set();
    m_trace(TraceComponent::Radio, " START_RX  CreateSystemThread  OKOKOK\n");
}

bool RadioEngine::stopLoop(Loop& loop) {
    if (!loop.running && !loop.thread.running()) return false;
    // The thread ends first, so it cannot submit a new read behind the abort;
    // then the outstanding read is cancelled and its completion waited for
    // before the slot is reused.
    loop.stop.set();
    loop.thread.join();
    // Only a read of this loop is aborted and waited for: the other loop's
    // read, should a program run both, goes on (nothing else would end it).
    bool reading = false;
    {
        std::lock_guard lock(m_slotLock);
        reading = loop.pendingReads > 0;
    }
    if (reading) m_usb.abortPipe(m_bulkInPipe);
    loop.idle.wait();
    loop.running = false;
    return true;
}

void RadioEngine::loopThread(Loop& loop) {
    for (;;) {
        if (wdm::WaitForEither(loop.stop, loop.submit) == 0) {
            m_trace(TraceComponent::Radio, " thread stop!!!\n");
            loop.running = false;
            return;
        }
        if (loop.pauseBeforeRead.exchange(false) && loop.stop.wait(kPauseAfterFailedRead)) {
            m_trace(TraceComponent::Radio, " thread stop!!!\n");
            loop.running = false;
            return;
        }
        submitRead(loop);
    }
}

void RadioEngine::submitRead(Loop& loop) {
    auto& slot = m_slots[0];
    {
        std::lock_guard lock(m_slotLock);
        if (slot.busy) return;
        slot.busy = true;
        ++loop.pendingReads;
        loop.idle.reset();
    }
    slot.request->reuse();
    slot.urb = wdm::usb::BuildBulkTransfer(m_bulkInPipe, std::span<std::uint8_t>(slot.buffer.get(), kRadioBufferSize),
                                           true);
    slot.urb.direction = Direction::In;
    slot.request->pushCompletion([this, &loop](wdm::IoRequest&) {
        onReadComplete(loop);
        return wdm::CompletionAction::StopCompletion;
    });
    const Status status = m_usb.submitAsync(*slot.request, slot.urb);
    if (status != Status::Pending && status != Status::Success)
        m_trace(TraceComponent::Usb, " Tx Submit IoCALL-ERR is %x \n", static_cast<unsigned>(status));
}

void RadioEngine::onReadComplete(Loop& loop) {
    auto& slot = m_slots[0];
    const bool failed = slot.request->status != Status::Success;
    if (failed)
        m_trace(TraceComponent::Usb, " Irperr %x urberr %x \n", static_cast<unsigned>(slot.request->status),
                static_cast<unsigned>(slot.urb.status));
    m_trace(TraceComponent::Usb, " Complete\n");
    {
        // Free before filtering, so the resubmission a filter asks for is not
        // dropped as "slot busy".
        std::lock_guard lock(m_slotLock);
        slot.busy = false;
    }
    // A failed read delivered nothing: its buffer still holds the previous
    // frame, which must not be filtered again. Unless it was cancelled (the
    // loop is stopping) or the dongle is gone, the loop reads on: one
    // transient USB error must not idle it until the next start.
    const Status status = slot.request->status;
    if (failed && status != Status::Cancelled && !DeviceGone(status)) {
        loop.pauseBeforeRead = true;
        loop.submit.set();
    }
    if (!failed) {
        const RadioReplyView reply(
            std::span<const std::uint8_t>(slot.buffer.get(), std::min(slot.urb.transferred, kRadioBufferSize)));
        if (loop.kind == LoopKind::Receive)
            filterReceive(reply);
        else
            filterSearch(reply);
    }
    std::lock_guard lock(m_slotLock);
    if (--loop.pendingReads == 0) loop.idle.set();
}

void RadioEngine::filterReceive(const RadioReplyView& reply) {
    auto resubmit = [this] { m_receive.submit.set(); };
    if (!reply.holdsHeader()) {
        resubmit();
        return;
    }
    RadioAddress accepted;
    {
        std::lock_guard lock(m_notifyLock);
        accepted = m_acceptedModule;
    }
    if (reply.address2() != accepted) {
        m_trace(TraceComponent::Radio, "Mac unequal\n");
        return resubmit();
    }
    if (reply.subtype() != 1) {
        m_trace(TraceComponent::Radio, "Type unequal\n");
        return resubmit();
    }
    if (reply.channel() != (m_channel.load() & 0xFF) || m_channel.load() > 0xFF) {
        m_trace(TraceComponent::Radio, "Channel unequal\n");
        return resubmit();
    }
    const std::uint32_t length = reply.elementLength() + 1u;
    std::array<std::uint8_t, 256> text{};
    reply.copyText(std::span(text).first(length));
    std::shared_ptr<kit::Event> readEvent;
    {
        std::lock_guard lock(m_notifyLock);
        if (reply.retry() && length == m_lastReplyLength && reply.sequenceNumber() == m_lastReplySequence &&
            std::equal(text.begin(), text.begin() + length, m_lastReply.begin())) {
            m_trace(TraceComponent::Radio, "Retry\n");
            resubmit();
            return;
        }
        if (reply.commandNumber() != m_commandNumber.load()) {
            m_trace(TraceComponent::Radio, "g_cmd_num:%d,%d\n", m_commandNumber.load(), reply.commandNumber());
            m_trace(TraceComponent::Radio, "Cmd unequal\n");
            m_trace(TraceComponent::Radio, "Type unequal\n");
            resubmit();
            return;
        }
        m_trace(TraceComponent::Radio, "Type equal\n");
        PutU32(m_notify.data(), length);
        std::copy_n(text.begin(), length, m_notify.begin() + 4);
        m_lastReplyLength = length;
        std::copy_n(text.begin(), length, m_lastReply.begin());
        m_lastReplySequence = reply.sequenceNumber();
        readEvent = m_readEvent;
    }
    if (readEvent) readEvent->set();
}

void RadioEngine::filterSearch(const RadioReplyView& reply) {
    if (!reply.holdsHeader()) {
    } else if (reply.address1() != m_ownAddress) {
        m_trace(TraceComponent::Radio, "Mac disMatch\n");
    } else if (reply.subtype() != 1) {
        m_trace(TraceComponent::Radio, "Type disMatch\n");
    } else if (!reply.textBeginsWith("+OK\n\n")) {
        m_trace(TraceComponent::Radio, "Reply disMatch\n");
    } else if (reply.channel() != (m_channel.load() & 0xFF) || m_channel.load() > 0xFF) {
        m_trace(TraceComponent::Radio, "Channel unequal\n");
    } else {
        std::lock_guard lock(m_notifyLock);
        const std::uint32_t count = GetU32(m_notify.data() + 4);
        const RadioAddress module = reply.address2();
        bool listed = false;
        for (std::uint32_t i = 0; i < count && !listed; ++i)
            listed = std::equal(module.begin(), module.end(), m_notify.begin() + kSearchListOffset + 6 * i);
        if (listed) {
            m_trace(TraceComponent::Radio, "Mac retry\n");
        } else if (count < kMaxSearchAddresses) {
            m_trace(TraceComponent::Radio, "Reply Match\n");
            std::copy(module.begin(), module.end(), m_notify.begin() + kSearchListOffset + 6 * count);
            PutU32(m_notify.data() + 4, count + 1);
            PutU32(m_notify.data(), static_cast<std::uint32_t>(kSearchListOffset + 6 * (count + 1)));
        }
    }
    m_search.submit.set();
}

}  // namespace kirva
