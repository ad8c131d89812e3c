#include "dongle_driver/host/tests/usbdevfs_dongle.h"

#include <fcntl.h>
#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Runs the whole binary under the umockdev preload (as umockdev-wrapper
// would), in a temporary folder of its own so that a killed run leaves its
// testbed where the next run does not look.
constexpr const char* kOwnTemporary = "KIRVA_USB_TEST_TMPDIR";

__attribute__((constructor)) void RunUnderPreload() {
    const char* preload = std::getenv("LD_PRELOAD");
    if (preload && std::strstr(preload, "libumockdev-preload")) {
        // The folder made for this run goes with it (a killed run leaves only its own).
        if (std::getenv(kOwnTemporary))
            std::atexit([] {
                if (const char* own = std::getenv(kOwnTemporary)) std::filesystem::remove_all(own);
            });
        return;
    }
    std::ifstream commandLine("/proc/self/cmdline", std::ios::binary);
    std::vector<std::string> words;
    for (std::string word; std::getline(commandLine, word, '\0');) words.push_back(word);
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::string value = "libumockdev-preload.so.0";
    if (preload && *preload) value += std::string(":") + preload;
    ::setenv("LD_PRELOAD", value.c_str(), 1);
    // The address sanitizer wants to come first; the preload is checked by hand above.
    const char* asan = std::getenv("ASAN_OPTIONS");
    ::setenv("ASAN_OPTIONS", (std::string(asan ? asan : "") + (asan && *asan ? ":" : "") + "verify_asan_link_order=0").c_str(), 1);
    // GLib, libudev and umockdev are not built for the thread sanitizer: what
    // it reports between their threads is theirs (their locks are invisible).
    if (const char* source = std::getenv("KIT_SOURCE_DIR")) {
        const char* tsan = std::getenv("TSAN_OPTIONS");
        ::setenv("TSAN_OPTIONS",
                 (std::string(tsan ? tsan : "") + (tsan && *tsan ? ":" : "") + "suppressions=" + source +
                  "/dongle_driver/host/tests/usb_tsan.supp")
                     .c_str(),
                 1);
    }
    char temporary[] = "/tmp/kirva-usb-test.XXXXXX";
    if (::mkdtemp(temporary)) {
        ::setenv("TMPDIR", temporary, 1);
        ::setenv(kOwnTemporary, temporary, 1);
    }
    ::execv("/proc/self/exe", argv.data());
}

}  // namespace

namespace kirva::testing {

using wdm::usb::UsbdStatus;

namespace {

constexpr const char* kNode = "/dev/bus/usb/001/002";

int UrbStatusFor(UsbdStatus status) {
    switch (status) {
        case UsbdStatus::Success: return 0;
        case UsbdStatus::Stall: return -EPIPE;
        case UsbdStatus::Cancelled: return -ENOENT;
        case UsbdStatus::DeviceGone: return -ENODEV;
        case UsbdStatus::BufferOverrun: return -EOVERFLOW;
        case UsbdStatus::Timeout: return -ETIMEDOUT;
        default: return -EPROTO;
    }
}

}  // namespace

// One URB of the client: its copy of the request block and of its buffer
// (kept until reaped), and where the answer goes.
struct UsbdevfsDongle::Urb {
    UMockdevIoctlData* block = nullptr;   // the usbdevfs_urb in the client
    UMockdevIoctlData* buffer = nullptr;  // its data buffer in the client
    std::vector<std::uint8_t> inData;     // bulk IN bytes until reaped
    unsigned long clientAddress = 0;
    ~Urb() {
        if (buffer) g_object_unref(buffer);
        if (block) g_object_unref(block);
    }
};

UsbdevfsDongle::UsbdevfsDongle(std::shared_ptr<sim::radio::RadioMedium> medium) : m_medium(std::move(medium)) {
    m_testbed = umockdev_testbed_new();
    m_handler = umockdev_ioctl_base_new();
    g_signal_connect(m_handler, "handle-ioctl", G_CALLBACK(OnIoctl), this);
}

UsbdevfsDongle::~UsbdevfsDongle() {
    pull();
    g_object_unref(m_handler);
    g_object_unref(m_testbed);
}

std::size_t UsbdevfsDongle::ioctlCount() const {
    std::lock_guard lock(m_mutex);
    return m_ioctls;
}

bool UsbdevfsDongle::plug(sim::radio::DongleConfig config) {
    auto dongle = std::make_shared<sim::radio::VirtualDongle>(std::move(config), m_medium);
    dongle->setConfiguration(1);  // as the system configures a device it enumerates
    auto descriptors = dongle->deviceDescriptor();
    const auto configuration = dongle->configurationDescriptor();
    descriptors.insert(descriptors.end(), configuration.begin(), configuration.end());
    {
        std::lock_guard lock(m_mutex);
        m_dongle = std::move(dongle);
    }
    gchar* syspath = umockdev_testbed_add_device(
        m_testbed, "usb", "1-1", nullptr, "busnum", "1", "devnum", "2", "speed", "480", "bConfigurationValue", "1",
        "idVendor", "1a2b", "idProduct", "0700", "dev", "189:1", nullptr, "DEVTYPE", "usb_device", "DEVNAME", kNode,
        "BUSNUM", "001", "DEVNUM", "002", nullptr);
    if (!syspath) return false;
    m_syspath = syspath;
    g_free(syspath);
    umockdev_testbed_set_attribute_binary(m_testbed, m_syspath.c_str(), "descriptors", descriptors.data(),
                                          static_cast<gssize>(descriptors.size()));
    // The node is a pseudo-terminal, writable only while a completed request
    // waits to be reaped: libusb waits for that in poll, as on a real usbfs
    // node, instead of spinning on a plain file. Requests on it come here.
    gchar* root = umockdev_testbed_get_root_dir(m_testbed);
    m_node = std::string(root) + kNode;
    g_free(root);
    std::filesystem::create_directories(std::filesystem::path(m_node).parent_path());
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) return false;
    const char* slavePath = ::ptsname(m_master);
    if (!slavePath) return false;
    m_slave = ::open(slavePath, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_slave < 0) return false;
    termios raw{};
    ::tcgetattr(m_slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_slave, TCSANOW, &raw);
    ::unlink(m_node.c_str());
    if (::symlink(slavePath, m_node.c_str()) != 0) return false;
    {
        std::lock_guard lock(m_mutex);
        m_nodeReady = true;
        setNodeReadyLocked(false);
    }
    GError* error = nullptr;
    if (!umockdev_testbed_attach_ioctl(m_testbed, kNode, m_handler, &error)) {
        if (error) g_error_free(error);
        return false;
    }
    {
        std::lock_guard lock(m_mutex);
        m_present = true;
    }
    umockdev_testbed_uevent(m_testbed, m_syspath.c_str(), "add");
    return true;
}

void UsbdevfsDongle::pull() {
    std::shared_ptr<sim::radio::VirtualDongle> dongle;
    {
        std::lock_guard lock(m_mutex);
        if (!m_present) return;
        m_present = false;
        dongle = m_dongle;
    }
    // Reads in flight end with "no device"; libusb reaps them, then learns
    // that the device is gone from the next reap.
    dongle->pull();
    umockdev_testbed_uevent(m_testbed, m_syspath.c_str(), "remove");
    umockdev_testbed_remove_device(m_testbed, m_syspath.c_str());
    GError* error = nullptr;
    umockdev_testbed_detach_ioctl(m_testbed, kNode, &error);
    if (error) g_error_free(error);
    ::unlink(m_node.c_str());
    // The node hangs up: libusb takes its error as the device's departure.
    std::lock_guard lock(m_mutex);
    if (m_slave >= 0) ::close(m_slave);
    if (m_master >= 0) ::close(m_master);
    m_slave = m_master = -1;
}

void UsbdevfsDongle::setNodeReadyLocked(bool ready) {
    if (ready == m_nodeReady || m_slave < 0) return;
    m_nodeReady = ready;
    // A terminal whose output is stopped is not writable; starting it wakes
    // whoever polls for writing.
    ::tcflow(m_slave, ready ? TCOON : TCOOFF);
}

gboolean UsbdevfsDongle::OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self) {
    static_cast<UsbdevfsDongle*>(self)->handle(client);
    return TRUE;
}

void UsbdevfsDongle::handle(UMockdevIoctlClient* client) {
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    bool present;
    {
        std::lock_guard lock(m_mutex);
        ++m_ioctls;
        present = m_present;
    }
    switch (request) {
        case USBDEVFS_GET_CAPABILITIES: {
            // The argument is the caller's pointer; what it points to is resolved.
            const std::uint32_t caps = USBDEVFS_CAP_NO_PACKET_SIZE_LIM;
            GError* error = nullptr;
            UMockdevIoctlData* value = umockdev_ioctl_data_resolve(arg, 0, sizeof caps, &error);
            if (!value) {
                if (error) g_error_free(error);
                umockdev_ioctl_client_complete(client, -1, EFAULT);
                return;
            }
            std::memcpy(value->data, &caps, sizeof caps);
            g_object_unref(value);
            umockdev_ioctl_client_complete(client, 0, 0);
            return;
        }
        case USBDEVFS_REAPURB:
        case USBDEVFS_REAPURBNDELAY:
            reap(client);
            return;
        case USBDEVFS_SUBMITURB:
            if (!present) break;
            submit(client);
            return;
        case USBDEVFS_DISCARDURB:
            discard(client);
            return;
        case USBDEVFS_GETDRIVER:
            umockdev_ioctl_client_complete(client, -1, ENODATA);
            return;
        case USBDEVFS_SETCONFIGURATION: {
            unsigned int value = 0;
            GError* error = nullptr;
            if (UMockdevIoctlData* pointed = umockdev_ioctl_data_resolve(arg, 0, sizeof value, &error)) {
                std::memcpy(&value, pointed->data, sizeof value);
                g_object_unref(pointed);
            } else if (error) {
                g_error_free(error);
            }
            if (present) m_dongle->setConfiguration(static_cast<std::uint8_t>(value));
            umockdev_ioctl_client_complete(client, present ? 0 : -1, present ? 0 : ENODEV);
            return;
        }
        case USBDEVFS_CLAIMINTERFACE:
        case USBDEVFS_RELEASEINTERFACE:
        case USBDEVFS_DISCONNECT_CLAIM:
        case USBDEVFS_CLEAR_HALT:
        case USBDEVFS_RESETEP:
        case USBDEVFS_SETINTERFACE:
            umockdev_ioctl_client_complete(client, present ? 0 : -1, present ? 0 : ENODEV);
            return;
        default:
            umockdev_ioctl_client_complete(client, -1, present ? ENOTTY : ENODEV);
            return;
    }
    umockdev_ioctl_client_complete(client, -1, ENODEV);
}

void UsbdevfsDongle::submit(UMockdevIoctlClient* client) {
    // The argument is the pointer to the caller's request block.
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    auto urb = std::make_shared<Urb>();
    GError* error = nullptr;
    urb->block = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), &error);
    if (!urb->block) {
        if (error) g_error_free(error);
        umockdev_ioctl_client_complete(client, -1, EFAULT);
        return;
    }
    urb->clientAddress = urb->block->client_addr;
    usbdevfs_urb block{};
    std::memcpy(&block, urb->block->data, std::min<std::size_t>(sizeof block, urb->block->data_len));
    if (block.buffer_length > 0) {
        urb->buffer = umockdev_ioctl_data_resolve(urb->block, offsetof(usbdevfs_urb, buffer),
                                                  static_cast<gsize>(block.buffer_length), &error);
        if (!urb->buffer) {
            if (error) g_error_free(error);
            umockdev_ioctl_client_complete(client, -1, EFAULT);
            return;
        }
    }
    std::span<std::uint8_t> data = urb->buffer ? std::span<std::uint8_t>(urb->buffer->data, urb->buffer->data_len)
                                               : std::span<std::uint8_t>();
    {
        std::lock_guard lock(m_mutex);
        m_inFlight.push_back(urb);
    }
    umockdev_ioctl_client_complete(client, 0, 0);

    if (block.type == USBDEVFS_URB_TYPE_CONTROL) {
        if (data.size() < 8) return finish(urb, -EPIPE, 0);
        const std::uint8_t requestType = data[0];
        wdm::usb::ControlSetup setup;
        setup.direction = (requestType & 0x80) ? wdm::usb::Direction::In : wdm::usb::Direction::Out;
        setup.request = data[1];
        setup.value = static_cast<std::uint16_t>(data[2] | (data[3] << 8));
        setup.index = static_cast<std::uint16_t>(data[4] | (data[5] << 8));
        const std::size_t length = std::min<std::size_t>(data[6] | (data[7] << 8), data.size() - 8);
        std::size_t transferred = 0;
        const auto status = (requestType & 0x60) == 0x40
                                ? m_dongle->controlTransfer(setup, data.subspan(8, length), transferred)
                                : UsbdStatus::Stall;  // the dongle's firmware knows vendor requests only
        return finish(urb, UrbStatusFor(status), transferred);
    }
    if (block.type != USBDEVFS_URB_TYPE_BULK) return finish(urb, -EINVAL, 0);
    if ((block.endpoint & 0x80) == 0) {
        const auto status = m_dongle->bulkOut(block.endpoint, data);
        return finish(urb, UrbStatusFor(status), status == UsbdStatus::Success ? data.size() : 0);
    }
    urb->inData.resize(data.size());
    m_dongle->bulkIn(block.endpoint, urb->inData, [this, urb](UsbdStatus status, std::size_t got) {
        finish(urb, UrbStatusFor(status), got);
    });
}

void UsbdevfsDongle::finish(std::shared_ptr<Urb> urb, int status, std::size_t length) {
    std::lock_guard lock(m_mutex);
    auto found = std::find(m_inFlight.begin(), m_inFlight.end(), urb);
    if (found == m_inFlight.end()) return;
    m_inFlight.erase(found);
    auto* block = reinterpret_cast<usbdevfs_urb*>(urb->block->data);
    block->status = status;
    block->actual_length = static_cast<int>(length);
    if (!urb->inData.empty() && urb->buffer)
        std::copy_n(urb->inData.begin(), std::min<std::size_t>(length, urb->buffer->data_len), urb->buffer->data);
    m_done.push_back(std::move(urb));
    setNodeReadyLocked(true);
}

void UsbdevfsDongle::reap(UMockdevIoctlClient* client) {
    std::shared_ptr<Urb> urb;
    bool present;
    {
        std::lock_guard lock(m_mutex);
        present = m_present;
        if (!m_done.empty()) {
            urb = std::move(m_done.front());
            m_done.pop_front();
        }
        if (m_done.empty()) setNodeReadyLocked(false);
    }
    if (!urb) {
        umockdev_ioctl_client_complete(client, -1, present ? EAGAIN : ENODEV);
        return;
    }
    // The argument points at the caller's variable that receives the
    // address of the reaped block; the block and its buffer go back with it.
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    GError* error = nullptr;
    UMockdevIoctlData* variable = umockdev_ioctl_data_resolve(arg, 0, sizeof(void*), &error);
    if (!variable) {
        if (error) g_error_free(error);
        umockdev_ioctl_client_complete(client, -1, EFAULT);
        return;
    }
    umockdev_ioctl_data_set_ptr(variable, 0, urb->block);
    g_object_unref(variable);
    umockdev_ioctl_client_complete(client, 0, 0);
}

void UsbdevfsDongle::discard(UMockdevIoctlClient* client) {
    // The argument is the address of the request block itself.
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    unsigned long address = 0;
    if (arg && arg->data_len >= static_cast<gint>(sizeof address)) std::memcpy(&address, arg->data, sizeof address);
    std::shared_ptr<Urb> urb;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& candidate : m_inFlight)
            if (candidate->clientAddress == address) urb = candidate;
    }
    if (!urb) {
        umockdev_ioctl_client_complete(client, -1, EINVAL);
        return;
    }
    // Only reads stay in flight; the dongle ends them as cancelled.
    auto* block = reinterpret_cast<usbdevfs_urb*>(urb->block->data);
    m_dongle->abortPipe(block->endpoint);
    umockdev_ioctl_client_complete(client, 0, 0);
}


}  // namespace kirva::testing
