// Bulk IN completions of any content, handed by the virtual dongle to the
// driver's receive loop or search loop, whose filters read them.
// Input: mode byte (bit 0: search, else receive), radio command number for
// the exchange, then frames, each a 16-bit length (up to 2000, beyond the
// 1600 bytes of a read) and that many bytes. The dongle sits on channel 6,
// the receive loop accepts module 00 1E C0 00 00 0A.
// What must hold: every frame is read (the loop never stalls); a receive
// accepts at most one frame, stops reading after it, and the notify area then
// holds that frame's reply text (as much as the area length
// hands over); a search lists distinct addresses of
// frames sent to the dongle that carry "+OK\n\n", in a consistent area.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "dongle_driver/fuzz/fuzz_host.h"
#include "dongle_driver/fuzz/fuzz_input.h"
#include "platform/handles/handle_table.h"
#include "platform/sync/event.h"

using namespace kirva;
using namespace kirva::fuzz;

namespace {

constexpr std::uint16_t kChannel = 6;
const RadioAddress kModule{0x00, 0x1E, 0xC0, 0x00, 0x00, 0x0A};
const WirelessPassword kPassword{'1', '2', '3', '4', '5', '6'};
constexpr std::size_t kMaxFrame = 2000;
constexpr std::size_t kReadSize = 1600;
// Generous: a frame is normally read within microseconds; only a stalled
// loop reaches this.
constexpr std::chrono::seconds kDeliveryLimit{10};

struct ReceiveRig {
    ReceiveRig() {
        std::vector<std::uint8_t> handle(4), out;
        PutU32(handle.data(), readHandle.value());
        if (rig.file->control(IOCTL_UDX_SET_READ_EVENT, handle, 0, out) != wdm::Status::Success)
            Finding("the read event was not taken");
        rig.write(BuildSwitchChannel(kChannel));
    }
    FuzzHost rig;
    std::shared_ptr<kit::Event> readEvent = std::make_shared<kit::Event>(kit::EventReset::Auto);
    kit::ScopedHandle readHandle{kit::HandleTable::process().insert(readEvent)};
    std::size_t delivered = 0;
    bool exchangeOpen = false;
    std::uint8_t number = 0;
};

RadioAddress AddressAt(const std::vector<std::uint8_t>& frame, std::size_t offset) {
    RadioAddress address{};
    for (std::size_t i = 0; i < address.size() && offset + i < frame.size(); ++i) address[i] = frame[offset + i];
    return address;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ReceiveRig* receiveRig = new ReceiveRig();
    ReceiveRig& r = *receiveRig;
    FuzzInput in(data, size);
    const bool search = in.u8() & 1;
    // The exchange stays open between inputs; only a new number is sent.
    const std::uint8_t number = in.u8();
    if (!r.exchangeOpen || number != r.number) r.rig.write(BuildOpenExchange(number));
    r.exchangeOpen = true;
    r.number = number;
    (void)r.readEvent->isSet();
    if (search)
        r.rig.write(BuildStartSearch(0, kPassword, kSearchAllAddress));
    else
        r.rig.write(BuildStartReceive(0, kModule));

    std::vector<std::vector<std::uint8_t>> frames;
    bool accepted = false;
    while (!in.empty() && frames.size() < 16 && !accepted) {
        const std::size_t length = in.u16() % (kMaxFrame + 1);
        const auto bytes = in.take(length);
        frames.emplace_back(bytes.begin(), bytes.end());
        r.rig.dongle->inject(frames.back());
        if (!r.rig.dongle->waitDelivered(++r.delivered, kDeliveryLimit)) Finding("the loop stopped reading");
        // The completion (and with it the filter) has run once the frame counts as delivered.
        accepted = !search && r.readEvent->isSet();
    }
    r.rig.write(search ? BuildStopSearch() : BuildStopReceive());
    const auto area = r.rig.notify();
    const std::uint32_t length = GetU32(area.data());

    if (!search) {
        if (!accepted) {
            if (length != 0) Finding("the notify area holds a reply nobody accepted");
            return 0;
        }
        const auto& frame = frames.back();
        if (frame.size() < 43 || AddressAt(frame, 18) != kModule || frame[40] != kChannel)
            Finding("a frame of another module or channel was accepted");
        if (length != frame[39] + 1u) Finding("the area length is not the reply length byte + 1");
        // The area is handed over as long as its length word says, from the
        // word on: the text's last four bytes stay behind.
        for (std::size_t i = 0; i + 4 < kNotifyBufferSize; ++i) {
            const std::size_t at = 43 + i;
            const bool delivered = i + 4 < length;
            const std::uint8_t expected = delivered && at < std::min(frame.size(), kReadSize) ? frame[at] : 0;
            if (area[4 + i] != expected) Finding("the notify area differs from the accepted reply");
        }
        return 0;
    }

    if (length == 0) return 0;  // nothing listed
    const auto result = ParseSearchNotify(area);
    if (!result) Finding("the search area is inconsistent");
    if (result->addresses.size() > kMaxSearchAddresses) Finding("the search list overflows");
    const std::set<RadioAddress> distinct(result->addresses.begin(), result->addresses.end());
    if (distinct.size() != result->addresses.size()) Finding("a module is listed twice");
    for (const auto& address : result->addresses) {
        const bool answered = std::any_of(frames.begin(), frames.end(), [&](const auto& frame) {
            static const std::uint8_t ok[] = {'+', 'O', 'K', '\n', '\n'};
            return frame.size() >= 48 && AddressAt(frame, 18) == address &&
                   AddressAt(frame, 12) == sim::radio::DongleConfig{}.ownAddress &&
                   frame[40] == kChannel && std::equal(std::begin(ok), std::end(ok), frame.begin() + 43);
        });
        if (!answered) Finding("a module is listed that did not answer the search");
    }
    return 0;
}
