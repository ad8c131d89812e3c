#include "sim/radio/virtual_dongle.h"

#include <algorithm>

#include "dongle_driver/driver/vendor_requests.h"

namespace sim::radio {

using wdm::usb::UsbdStatus;

namespace {
constexpr std::size_t kRecentFrames = 64;
constexpr std::size_t kRegisterLimit = 4096;  // a register file, not a memory: bounded
}  // namespace

DongleConfig WithInterruptThirdEndpoint(DongleConfig config) {
    if (config.endpoints.size() >= 3) config.endpoints[2].type = wdm::usb::EndpointType::Interrupt;
    return config;
}

VirtualDongle::VirtualDongle(DongleConfig config, std::shared_ptr<RadioMedium> medium)
    : m_config(std::move(config)), m_medium(std::move(medium)) {
    m_delivery = std::thread([this] { deliveryLoop(); });
}

VirtualDongle::~VirtualDongle() {
    {
        std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_wake.notify_all();
    m_delivery.join();
    // Reads still queued end as cancelled; their owners are waiting for them.
    std::deque<PendingRead> reads;
    {
        std::lock_guard lock(m_mutex);
        reads.swap(m_reads);
    }
    for (auto& read : reads) read.done(UsbdStatus::Cancelled, 0);
}

std::vector<std::uint8_t> VirtualDongle::deviceDescriptor() { return wdm::usb::BuildDeviceDescriptor(0x1A2B, 0x0700); }

std::vector<std::uint8_t> VirtualDongle::configurationDescriptor() {
    wdm::usb::ConfigurationDescriptor configuration;
    configuration.configurationValue = 1;
    configuration.interfaces.push_back({0, 0, m_config.endpoints});
    return wdm::usb::BuildConfigurationDescriptor(configuration);
}

UsbdStatus VirtualDongle::setConfiguration(std::uint8_t value) {
    std::lock_guard lock(m_mutex);
    if (m_gone) return UsbdStatus::DeviceGone;
    m_configuration = value;
    return UsbdStatus::Success;
}

UsbdStatus VirtualDongle::controlTransfer(const wdm::usb::ControlSetup& setup, std::span<std::uint8_t> data,
                                          std::size_t& transferred) {
    std::lock_guard lock(m_mutex);
    transferred = 0;
    if (m_gone) return UsbdStatus::DeviceGone;
    const bool in = setup.direction == wdm::usb::Direction::In;
    switch (setup.request) {
        case kirva::vendor::kWriteRegister: {
            if (in || data.size() < 8) return UsbdStatus::Stall;
            const std::uint32_t address = kirva::GetU32(data.data());
            const std::uint32_t value = kirva::GetU32(data.data() + 4);
            if (m_registers.size() >= kRegisterLimit && !m_registers.count(address)) return UsbdStatus::Stall;
            m_registers[address] = value;
            m_registerWrites.emplace_back(address, value);
            if (m_registerWrites.size() > kRegisterLimit) m_registerWrites.erase(m_registerWrites.begin());
            transferred = 8;
            return UsbdStatus::Success;
        }
        case kirva::vendor::kSetChannel:
            if (in || setup.value < 1 || setup.value > 14) return UsbdStatus::Stall;
            m_channel = setup.value;
            return UsbdStatus::Success;
        case kirva::vendor::kReadRegister: {
            if (!in || data.size() < 4) return UsbdStatus::Stall;
            const std::uint32_t address = static_cast<std::uint32_t>(setup.value) | (setup.index << 16);
            auto found = m_registers.find(address);
            kirva::PutU32(data.data(), found == m_registers.end() ? 0 : found->second);
            transferred = 4;
            return UsbdStatus::Success;
        }
        case kirva::vendor::kReadOwnAddress:
            if (!in || data.size() < 6) return UsbdStatus::Stall;
            std::copy(m_config.ownAddress.begin(), m_config.ownAddress.end(), data.begin());
            transferred = 6;
            return UsbdStatus::Success;
    }
    return UsbdStatus::Stall;
}

UsbdStatus VirtualDongle::bulkOut(std::uint8_t endpoint, std::span<const std::uint8_t> data) {
    std::uint16_t channel = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_gone) return UsbdStatus::DeviceGone;
        if (m_configuration == 0) return UsbdStatus::InvalidPipe;
        if (endpoint != 0x02 && endpoint != 0x03) return UsbdStatus::InvalidPipe;
        if (endpoint == 0x03) return UsbdStatus::Success;  // configured, unused by the radio
        if (m_faults.failedWrites > 0) {
            --m_faults.failedWrites;
            return m_faults.status;
        }
        ++m_sent;
        m_recent.emplace_back(data.begin(), data.end());
        if (m_recent.size() > kRecentFrames) m_recent.pop_front();
        channel = m_channel;
    }
    auto replies = m_medium ? m_medium->transmit(channel, data) : std::vector<std::vector<std::uint8_t>>{};
    {
        std::lock_guard lock(m_mutex);
        auto due = std::chrono::steady_clock::now() + m_config.replyDelay;
        for (auto& reply : replies) m_scheduled.push_back({due, std::move(reply)});
    }
    m_wake.notify_all();
    return UsbdStatus::Success;
}

void VirtualDongle::bulkIn(std::uint8_t endpoint, std::span<std::uint8_t> buffer, BulkInCompletion done) {
    {
        std::unique_lock lock(m_mutex);
        if (!m_gone && endpoint == 0x81 && m_configuration != 0) {
            m_reads.push_back({buffer, std::move(done)});
            lock.unlock();
            m_wake.notify_all();
            return;
        }
    }
    done(m_gone ? UsbdStatus::DeviceGone : UsbdStatus::InvalidPipe, 0);
}

void VirtualDongle::abortPipe(std::uint8_t endpoint) {
    if (endpoint != 0x81) return;
    std::deque<PendingRead> reads;
    bool gone = false;
    {
        std::lock_guard lock(m_mutex);
        reads.swap(m_reads);
        gone = m_gone;
    }
    for (auto& read : reads) read.done(gone ? UsbdStatus::DeviceGone : UsbdStatus::Cancelled, 0);
}

void VirtualDongle::pull() {
    {
        std::lock_guard lock(m_mutex);
        m_gone = true;
        m_scheduled.clear();
        m_arrived.clear();
    }
    abortPipe(0x81);
}

void VirtualDongle::inject(std::vector<std::uint8_t> frame) {
    {
        std::lock_guard lock(m_mutex);
        m_scheduled.push_back({std::chrono::steady_clock::now(), std::move(frame)});
    }
    m_wake.notify_all();
}

void VirtualDongle::setTransferFaults(TransferFaults faults) {
    {
        std::lock_guard lock(m_mutex);
        m_faults = faults;
    }
    m_wake.notify_all();
}

std::size_t VirtualDongle::failedReadCount() const {
    std::lock_guard lock(m_mutex);
    return m_failedReads;
}

void VirtualDongle::deliveryLoop() {
    std::unique_lock lock(m_mutex);
    while (!m_ending) {
        const auto now = std::chrono::steady_clock::now();
        while (!m_scheduled.empty() && m_scheduled.front().due <= now) {
            m_arrived.push_back(std::move(m_scheduled.front().frame));
            m_scheduled.pop_front();
            if (m_arrived.size() > m_config.receiveFifo) m_arrived.pop_front();
        }
        if (m_faults.failedReads > 0 && !m_reads.empty()) {
            --m_faults.failedReads;
            PendingRead read = std::move(m_reads.front());
            m_reads.pop_front();
            const UsbdStatus status = m_faults.status;
            ++m_failedReads;
            lock.unlock();
            read.done(status, 0);
            lock.lock();
            m_deliveredChanged.notify_all();
            continue;
        }
        if (!m_arrived.empty() && !m_reads.empty()) {
            deliverLocked(lock);
            continue;
        }
        if (!m_scheduled.empty())
            m_wake.wait_until(lock, m_scheduled.front().due);
        else
            m_wake.wait(lock);
    }
}

void VirtualDongle::deliverLocked(std::unique_lock<std::mutex>& lock) {
    PendingRead read = std::move(m_reads.front());
    m_reads.pop_front();
    std::vector<std::uint8_t> frame = std::move(m_arrived.front());
    m_arrived.pop_front();
    const std::size_t count = std::min(frame.size(), read.buffer.size());
    std::copy_n(frame.begin(), count, read.buffer.begin());
    lock.unlock();
    read.done(UsbdStatus::Success, count);
    lock.lock();
    ++m_delivered;
    m_deliveredChanged.notify_all();
}

bool VirtualDongle::waitDelivered(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_deliveredChanged.wait_for(lock, timeout, [&] { return m_delivered >= count; });
}

std::uint16_t VirtualDongle::channel() const {
    std::lock_guard lock(m_mutex);
    return m_channel;
}

std::uint32_t VirtualDongle::registerValue(std::uint32_t address) const {
    std::lock_guard lock(m_mutex);
    auto found = m_registers.find(address);
    return found == m_registers.end() ? 0 : found->second;
}

std::uint8_t VirtualDongle::configurationValue() const {
    std::lock_guard lock(m_mutex);
    return m_configuration;
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> VirtualDongle::registerWrites() const {
    std::lock_guard lock(m_mutex);
    return m_registerWrites;
}

std::size_t VirtualDongle::sentCount() const {
    std::lock_guard lock(m_mutex);
    return m_sent;
}

std::vector<std::vector<std::uint8_t>> VirtualDongle::recentFrames() const {
    std::lock_guard lock(m_mutex);
    return {m_recent.begin(), m_recent.end()};
}

}  // namespace sim::radio
