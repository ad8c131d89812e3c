#pragma once
// The virtual dongle of sim/radio behind an emulated USB device node: a
// umockdev testbed holds a USB device with the dongle's descriptors, and the
// usbdevfs requests libusb makes on its node are answered here by passing
// every control and bulk transfer to the virtual dongle. A program linked
// with this re-executes itself under the umockdev preload library, which
// intercepts every ioctl of the process: keep it out of other programs.

#include <umockdev.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sim/radio/radio_medium.h"
#include "sim/radio/virtual_dongle.h"

namespace kirva::testing {

class UsbdevfsDongle {
public:
    static constexpr std::uint16_t kVendor = 0x1A2B;
    static constexpr std::uint16_t kProduct = 0x0700;

    explicit UsbdevfsDongle(std::shared_ptr<sim::radio::RadioMedium> medium);
    ~UsbdevfsDongle();

    // Plugs a fresh virtual dongle in (descriptors from `config`).
    bool plug(sim::radio::DongleConfig config = {});
    // Pulls it out: transfers in flight end with "no device", the node goes,
    // and listeners hear of the removal.
    void pull();
    sim::radio::VirtualDongle* dongle() { return m_dongle.get(); }
    // Ioctl requests answered so far (a measure of how busy libusb is).
    std::size_t ioctlCount() const;

private:
    struct Urb;
    static gboolean OnIoctl(UMockdevIoctlBase* base, UMockdevIoctlClient* client, gpointer self);
    void handle(UMockdevIoctlClient* client);
    void submit(UMockdevIoctlClient* client);
    void reap(UMockdevIoctlClient* client);
    void discard(UMockdevIoctlClient* client);
    void finish(std::shared_ptr<Urb> urb, int status, std::size_t length);
    void setNodeReadyLocked(bool ready);

    std::shared_ptr<sim::radio::RadioMedium> m_medium;
    UMockdevTestbed* m_testbed = nullptr;
    UMockdevIoctlBase* m_handler = nullptr;
    std::string m_syspath;
    std::string m_node;
    std::shared_ptr<sim::radio::VirtualDongle> m_dongle;

    mutable std::mutex m_mutex;
    bool m_present = false;
    int m_master = -1;  // the node's terminal: its other end is the node
    int m_slave = -1;
    bool m_nodeReady = false;
    std::size_t m_ioctls = 0;
    std::vector<std::shared_ptr<Urb>> m_inFlight;
    std::deque<std::shared_ptr<Urb>> m_done;
};

}  // namespace kirva::testing
