// The driver's control entry with any code, any input and any output size.
// Input: a sequence of requests, each
//   code (32-bit), output size (16-bit, plus 64 KiB when the flag byte's bit 7
//   is set), flag byte, input: bit 6 of the flag names one of the process's
//   live handles as the 4-byte input (bits 0-1 choose which), else bits 0-5 give
//   the input's length.
// What must hold: only the three codes are accepted; an accepted request
// gives exactly min(2048, output size) bytes; GET_NOTIFY needs room for the
// whole area; an event hand-over needs a handle of an event.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "dongle_driver/fuzz/fuzz_host.h"
#include "dongle_driver/fuzz/fuzz_input.h"
#include "platform/handles/handle_table.h"
#include "platform/sync/event.h"

using namespace kirva;
using namespace kirva::fuzz;

namespace {

struct Handles {
    std::shared_ptr<kit::Event> autoEvent = std::make_shared<kit::Event>(kit::EventReset::Auto);
    std::shared_ptr<kit::Event> manualEvent = std::make_shared<kit::Event>(kit::EventReset::Manual);
    // A live handle of another kind: must not pass for an event.
    std::shared_ptr<int> notAnEvent = std::make_shared<int>(7);
    kit::HandleValue values[4] = {
        kit::HandleTable::process().insert(autoEvent),
        kit::HandleTable::process().insert(manualEvent),
        kit::HandleTable::process().insert(notAnEvent),
        kit::kInvalidHandleValue,
    };
    bool isEvent(kit::HandleValue value) const { return value == values[0] || value == values[1]; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzHost* rig = new FuzzHost();
    static Handles* handles = new Handles();
    FuzzInput in(data, size);
    for (int requests = 0; !in.empty() && requests < 64; ++requests) {
        const std::uint32_t code = in.u32();
        std::size_t outputSize = in.u16();
        const std::uint8_t flags = in.u8();
        if (flags & 0x80) outputSize += 0x10000;
        std::vector<std::uint8_t> input;
        kit::HandleValue named = kit::kInvalidHandleValue;
        if (flags & 0x40) {
            named = handles->values[flags & 0x03];
            input.resize(4);
            PutU32(input.data(), named);
        } else {
            const auto bytes = in.take(flags & 0x3F);
            input.assign(bytes.begin(), bytes.end());
            if (input.size() >= 4) named = GetU32(input.data());
        }

        std::vector<std::uint8_t> output;
        const wdm::Status status = rig->file->control(code, input, outputSize, output);

        bool accepted = false;
        switch (code) {
            case IOCTL_UDX_GET_NOTIFY: accepted = outputSize >= kNotifyBufferSize; break;
            case IOCTL_UDX_SET_REMOVE_EVENT:
            case IOCTL_UDX_SET_READ_EVENT: accepted = input.size() >= 4 && handles->isEvent(named); break;
            default: break;
        }
        if ((status == wdm::Status::Success) != accepted) Finding("a control request was judged wrongly");
        if (accepted && output.size() != std::min(kNotifyBufferSize, outputSize))
            Finding("an accepted request gave the wrong amount of output");
        if (!accepted && !output.empty()) Finding("a refused request gave output");
        if (code != IOCTL_UDX_GET_NOTIFY && code != IOCTL_UDX_SET_REMOVE_EVENT && code != IOCTL_UDX_SET_READ_EVENT &&
            status != wdm::Status::InvalidDeviceRequest)
            Finding("an unknown code was not refused as an invalid request");
    }
    return 0;
}
