#pragma once
// Writes every USB transfer on the bus as one line of hex, for --trace FILE.

#include <cstdio>
#include <mutex>
#include <string>

#include "dongle_driver/wdm/usb_request_block.h"

namespace kirva {

class TransferLog {
public:
    // Opens (truncates) the file; false when it cannot be written.
    bool open(const std::string& path);
    ~TransferLog();
    void record(const wdm::usb::Urb& urb, bool completed);

private:
    std::mutex m_mutex;
    std::FILE* m_file = nullptr;
};

// One transfer as text, e.g. "OUT bulk pipe 02 len 74 ok: 28 01 ...".
std::string DescribeTransfer(const wdm::usb::Urb& urb, bool completed);

}  // namespace kirva
