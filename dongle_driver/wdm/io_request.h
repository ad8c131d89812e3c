#pragma once
// I/O request of the kernel model: one request travels down a device stack,
// each level may add a completion routine, and it is completed exactly once.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "dongle_driver/wdm/kernel_event.h"
#include "dongle_driver/wdm/status.h"

namespace wdm {

namespace usb {
struct Urb;
}
class DeviceObject;

enum class MajorFunction {
    Create,
    Close,
    Cleanup,
    Read,
    Write,
    DeviceControl,
    InternalDeviceControl,
    SystemControl,
    Power,
    Pnp,
};
inline constexpr std::size_t kMajorFunctionCount = 10;

enum class PnpMinor {
    StartDevice,
    QueryRemoveDevice,
    RemoveDevice,
    CancelRemoveDevice,
    StopDevice,
    QueryStopDevice,
    CancelStopDevice,
    QueryCapabilities,
    SurpriseRemoval,
    QueryDeviceRelations,
};

enum class PowerMinor { SetPower, QueryPower, WaitWake };
enum class PowerType { System, Device };
enum class SystemPowerState { Working, Sleeping, Hibernate, Shutdown };
enum class DevicePowerState { D0, D3 };

struct DeviceCapabilities {
    bool surpriseRemovalOk = false;
    bool removable = true;
};

// The internal device-control code that carries a USB request block.
inline constexpr std::uint32_t kSubmitUrb = 0x220003;

// What a completion routine tells the completing code.
enum class CompletionAction { Continue, StopCompletion };

class IoRequest {
public:
    using CompletionRoutine = std::function<CompletionAction(IoRequest&)>;
    using CancelRoutine = std::function<void(IoRequest&)>;

    explicit IoRequest(MajorFunction major) : m_major(major) {}
    IoRequest(const IoRequest&) = delete;
    IoRequest& operator=(const IoRequest&) = delete;

    MajorFunction major() const { return m_major; }

    // Per-request parameters of the current stack level.
    PnpMinor pnpMinor = PnpMinor::StartDevice;
    PowerMinor powerMinor = PowerMinor::SetPower;
    PowerType powerType = PowerType::System;
    SystemPowerState systemState = SystemPowerState::Working;
    DevicePowerState deviceState = DevicePowerState::D0;
    DeviceCapabilities* capabilities = nullptr;
    std::uint32_t ioControlCode = 0;
    std::size_t inputLength = 0;   // device control
    std::size_t outputLength = 0;  // device control
    std::size_t length = 0;        // read, write
    usb::Urb* urb = nullptr;       // internal device control
    std::uint64_t fileId = 0;      // the open handle the request came through

    // Buffered transfer: the input is copied here before the request is sent;
    // the driver writes its output here, `information` bytes of it count.
    std::vector<std::uint8_t> systemBuffer;

    Status status = Status::Pending;
    std::size_t information = 0;

    // The routine runs when a lower level completes the request.
    void pushCompletion(CompletionRoutine routine);

    // Marks the request pending at this level (the caller will see Pending).
    void markPending() { m_pending = true; }
    bool pending() const { return m_pending; }

    // Cancellation: the routine is called at most once, outside the driver's
    // locks; setting none means the request can no longer be cancelled.
    void setCancelRoutine(CancelRoutine routine);
    CancelRoutine takeCancelRoutine();
    bool cancelled() const;
    // Flags the request cancelled and calls its cancel routine if one is set.
    // Returns whether a routine ran.
    bool cancel();

    // Completes the request: runs the completion routines from the lowest
    // level up. A routine that stops completion takes the request back; it
    // completes it again later with complete(). Returns false when the request
    // was already completed (the caller made a mistake; nothing happens).
    bool complete(Status finalStatus, std::size_t info);
    bool complete(Status finalStatus) { return complete(finalStatus, information); }
    bool completed() const;
    // Blocks until the request has fully completed.
    void waitCompleted() { m_done.wait(); }
    // Makes the request reusable (driver-owned requests such as the bulk reads).
    void reuse();

private:
    const MajorFunction m_major;
    std::vector<CompletionRoutine> m_completions;
    bool m_pending = false;
    mutable std::mutex m_mutex;
    CancelRoutine m_cancelRoutine;
    bool m_cancelled = false;
    bool m_completed = false;
    KernelEvent m_done{EventType::Notification};
};

}  // namespace wdm
