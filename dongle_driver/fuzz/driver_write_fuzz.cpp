// Frames of any length and content written to the driver, one after another
// on the same open handle, with loops started and stopped as the frames say.
// Input: a sequence of frames, each a 16-bit length (up to 2100, beyond the
// 2048 bytes the driver reads) and that many bytes.
// What must hold: nothing but SendToModule fails a write; a refused
// SendToModule sends nothing; afterwards the device still answers and both
// loops stop.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "dongle_driver/fuzz/fuzz_host.h"
#include "dongle_driver/fuzz/fuzz_input.h"

using namespace kirva;
using namespace kirva::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzHost* rig = new FuzzHost();
    FuzzInput in(data, size);
    for (int frames = 0; !in.empty() && frames < 32; ++frames) {
        const std::size_t length = in.u16() % 2101;
        const auto bytes = in.take(length);
        const std::vector<std::uint8_t> frame(bytes.begin(), bytes.end());
        // The driver reads the code from a zeroed work buffer: a short frame's
        // missing bytes count as zero.
        std::uint8_t codeBytes[4] = {};
        std::copy_n(frame.begin(), std::min<std::size_t>(4, frame.size()), codeBytes);
        const std::uint32_t code = GetU32(codeBytes);
        const std::size_t sentBefore = rig->dongle->sentCount();
        const wdm::Status status = rig->file->write(frame);
        if (status != wdm::Status::Success) {
            if (code != static_cast<std::uint32_t>(DongleCommand::SendToModule))
                Finding("a write other than SendToModule failed");
            if (rig->dongle->sentCount() != sentBefore) Finding("a refused SendToModule was sent anyway");
        }
    }
    // The loops the frames started end, and the device still serves.
    rig->write(BuildStopReceive());
    rig->write(BuildStopSearch());
    if (rig->host.functionDevice() == nullptr) Finding("the device vanished");
    (void)rig->notify();
    return 0;
}
