#pragma once
// The radio command engine: tunes the dongle, sends radio request frames to
// the modules, keeps one bulk IN read outstanding in a receive loop or a
// search loop and filters the replies into the notify area.
//
// Frames of the tool run in the tool's thread (one writer). The loops run in
// their own threads and block on their stop and submit events; the reply
// filters run in the completion of the bulk IN read.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>

#include "dongle_driver/driver/driver_trace.h"
#include "dongle_driver/driver/radio_frame.h"
#include "dongle_driver/driver/usb_channel.h"
#include "dongle_driver/driver/vendor_requests.h"
#include "dongle_driver/interface/dongle_interface.h"
#include "dongle_driver/wdm/kernel_event.h"
#include "dongle_driver/wdm/pool.h"
#include "dongle_driver/wdm/spin_lock.h"
#include "dongle_driver/wdm/system_thread.h"
#include "dongle_driver/wdm/usb_request_block.h"
#include "platform/sync/event.h"

namespace kirva {

// Register writes that prepare the radio at device start, in order.
struct RegisterWrite {
    std::uint32_t address;
    std::uint32_t value;
};
extern const std::array<RegisterWrite, 11> kRadioSetUp;

class RadioEngine {
public:
    RadioEngine(UsbChannel& usb, wdm::Pool& pool, DriverTrace& trace);
    ~RadioEngine();
    RadioEngine(const RadioEngine&) = delete;
    RadioEngine& operator=(const RadioEngine&) = delete;

    // Device start: register set-up, own address, counters; then the buffers
    // once the pipes are known.
    wdm::Status setUpRadio();
    wdm::Status allocateBuffers(std::uint32_t bulkInPipe, std::uint32_t bulkOutPipe);
    // Stops both loops (waiting for their threads and reads) and frees the buffers.
    void stopLoopsAndFree();

    // One frame of the tool, already copied into the work buffer.
    wdm::Status execute(const FrameView& frame);
    // Fills the 2048-byte output with the notify area; returns the area length.
    std::uint32_t readNotify(std::span<std::uint8_t> out);

    void setReadEvent(std::shared_ptr<kit::Event> event);

    // Engine operations (public for tests of the engine alone).
    wdm::Status switchChannel(std::uint16_t channel);
    wdm::Status transmit(const RadioAddress& destination, const WirelessPassword& password, std::uint8_t type,
                         std::span<const std::uint8_t> payload);
    void startReceive(std::uint16_t channel, const RadioAddress& module);
    void stopReceive();
    void startSearch(std::uint16_t channel, const WirelessPassword& password, const RadioAddress& searchAddress);
    void stopSearch();
    wdm::Status openExchange(std::uint8_t number);
    wdm::Status closeExchange();

    RadioAddress ownAddress() const { return m_ownAddress; }
    std::uint16_t currentChannel() const { return m_channel.load(); }
    std::uint8_t commandNumber() const { return m_commandNumber.load(); }
    bool receiveRunning() const { return m_receive.running.load(); }
    bool searchRunning() const { return m_search.running.load(); }

private:
    enum class LoopKind { Receive, Search };
    struct Loop {
        LoopKind kind;
        std::atomic<bool> running{false};
        // The last read failed: the next one waits a moment, so a dongle that
        // keeps failing cannot spin the loop.
        std::atomic<bool> pauseBeforeRead{false};
        wdm::KernelEvent stop{wdm::EventType::Synchronization};
        wdm::KernelEvent submit{wdm::EventType::Synchronization};
        wdm::SystemThread thread;
        // Reads of this loop whose completion has not returned yet; guarded
        // by m_slotLock. Both loops share slot 0, so a program that runs the
        // two at once has each stop wait only for its own read.
        int pendingReads = 0;
        wdm::KernelEvent idle{wdm::EventType::Notification, true};
    };
    struct ReceiveSlot {
        std::unique_ptr<std::uint8_t[]> buffer;
        std::unique_ptr<wdm::IoRequest> request;
        wdm::usb::Urb urb;
        bool busy = false;      // a read is queued; guarded by m_slotLock
    };

    wdm::Status setChannel(std::uint16_t channel);
    wdm::Status writeRegister(std::uint32_t address, std::uint32_t value);
    wdm::Status readRegister(std::uint32_t address, std::uint32_t& value);
    wdm::Status changeExchangeBit(bool set);

    void startLoop(Loop& loop);
    // Returns whether the loop was running.
    bool stopLoop(Loop& loop);
    void loopThread(Loop& loop);
    void submitRead(Loop& loop);
    void onReadComplete(Loop& loop);
    void filterReceive(const RadioReplyView& reply);
    void filterSearch(const RadioReplyView& reply);
    void clearNotifyArea();

    UsbChannel& m_usb;
    wdm::Pool& m_pool;
    DriverTrace& m_trace;

    RadioAddress m_ownAddress{};
    RadioAddress m_acceptedModule{};
    std::atomic<std::uint16_t> m_channel{0};
    std::atomic<std::uint8_t> m_commandNumber{0};
    std::uint16_t m_sequenceCounter = 0;
    std::uint16_t m_descriptorCounter = 0;

    // Notify area, duplicate filter and read event: written by completions,
    // read by the tool's requests.
    wdm::SpinLock m_notifyLock;
    std::array<std::uint8_t, kNotifyAreaSize> m_notify{};
    std::uint32_t m_lastReplyLength = 0;
    std::array<std::uint8_t, kNotifyAreaSize - 4> m_lastReply{};
    std::uint32_t m_lastReplySequence = 0;
    std::shared_ptr<kit::Event> m_readEvent;

    std::uint32_t m_bulkInPipe = 0;
    std::uint32_t m_bulkOutPipe = 0;
    std::unique_ptr<std::uint8_t[]> m_transmitBuffer;
    wdm::SpinLock m_slotLock;
    std::array<ReceiveSlot, 20> m_slots;
    bool m_buffersReady = false;

    Loop m_receive{LoopKind::Receive};
    Loop m_search{LoopKind::Search};
};

}  // namespace kirva
