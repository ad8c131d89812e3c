#include "dongle_driver/host/transfer_log.h"

#include <cstdio>
#include <span>

namespace kirva {

using wdm::usb::Direction;
using wdm::usb::UrbFunction;

namespace {

std::string Hex(std::span<const std::uint8_t> bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t byte : bytes) {
        text += ' ';
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    return text;
}

}  // namespace

std::string DescribeTransfer(const wdm::usb::Urb& urb, bool completed) {
    char head[128];
    std::string statusText = completed ? std::string(wdm::usb::UsbdStatusName(urb.status)) : "submitted";
    std::span<const std::uint8_t> data;
    switch (urb.function) {
        case UrbFunction::GetDescriptor:
            std::snprintf(head, sizeof head, "IN  descriptor %d len %zu %s:", static_cast<int>(urb.descriptorType),
                          urb.transferred, statusText.c_str());
            if (completed) data = std::span<const std::uint8_t>(urb.buffer.data(), urb.transferred);
            break;
        case UrbFunction::SelectConfiguration:
            std::snprintf(head, sizeof head, "OUT select-configuration %s %s:",
                          urb.configurationDescriptor ? "set" : "none", statusText.c_str());
            break;
        case UrbFunction::VendorRequest: {
            const bool in = urb.direction == Direction::In;
            std::snprintf(head, sizeof head, "%s vendor %02x value %04x index %04x len %zu %s:", in ? "IN " : "OUT",
                          urb.request, urb.value, urb.index, urb.buffer.size(), statusText.c_str());
            if (!in && !completed) data = urb.buffer;
            if (in && completed) data = std::span<const std::uint8_t>(urb.buffer.data(), urb.transferred);
            break;
        }
        case UrbFunction::BulkTransfer: {
            const bool in = (urb.pipeHandle & 0x80) != 0;
            std::snprintf(head, sizeof head, "%s bulk pipe %02x len %zu %s:", in ? "IN " : "OUT", urb.pipeHandle & 0xFF,
                          in ? urb.transferred : urb.buffer.size(), statusText.c_str());
            if (!in && !completed) data = urb.buffer;
            if (in && completed) data = std::span<const std::uint8_t>(urb.buffer.data(), urb.transferred);
            break;
        }
        case UrbFunction::AbortPipe:
            std::snprintf(head, sizeof head, "OUT abort pipe %02x %s:", urb.pipeHandle & 0xFF, statusText.c_str());
            break;
    }
    return head + Hex(data);
}

bool TransferLog::open(const std::string& path) {
    m_file = std::fopen(path.c_str(), "w");
    return m_file != nullptr;
}

TransferLog::~TransferLog() {
    if (m_file) std::fclose(m_file);
}

void TransferLog::record(const wdm::usb::Urb& urb, bool completed) {
    // Bulk IN reads are logged when they return data; the rest when submitted.
    const bool bulkIn = urb.function == UrbFunction::BulkTransfer && (urb.pipeHandle & 0x80);
    const bool controlIn = urb.function != UrbFunction::BulkTransfer && urb.direction == Direction::In;
    if ((bulkIn || controlIn) != completed) return;
    const auto line = DescribeTransfer(urb, completed);
    std::lock_guard lock(m_mutex);
    if (!m_file) return;
    std::fprintf(m_file, "%s\n", line.c_str());
    std::fflush(m_file);
}

}  // namespace kirva
