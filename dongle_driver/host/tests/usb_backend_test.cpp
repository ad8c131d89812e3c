// The libusb backend of the driver host on an emulated USB dongle: libusb
// finds the device through udev, the driver starts on it unchanged, and
// search, exchange, removal and replug go through libusb's usbdevfs path to
// the virtual dongle. The umockdev preload library intercepts every ioctl of
// the process, so these tests live in a binary of their own that re-executes
// itself with the preload in place (see usbdevfs_dongle.cpp).

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "dongle_driver/host/driver_host.h"
#include "dongle_driver/host/libusb_backend.h"
#include "dongle_driver/host/simulation_plan.h"
#include "dongle_driver/host/tests/usbdevfs_dongle.h"
#include "dongle_driver/interface/dongle_interface.h"
#include "platform/handles/handle_table.h"
#include "platform/sync/event.h"
#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"
#ifdef KIT_RADIO_HAS_MODULE_ENGINE
#include "sim/radio/engine_answerer.h"
#endif
#include "sim/radio/module_answerer.h"
#include "sim/radio/radio_module.h"


namespace kirva::testing {
namespace {

using namespace std::chrono_literals;
using wdm::Status;

constexpr auto kLong = 10s;
const RadioAddress kModuleA{0x00, 0x1E, 0xC0, 0x00, 0x00, 0x0A};
const RadioAddress kModuleB{0x00, 0x1E, 0xC0, 0x00, 0x00, 0x0B};
const WirelessPassword kPassword{'1', '2', '3', '4', '5', '6'};

class EchoAnswerer : public sim::radio::ModuleAnswerer {
public:
    std::optional<std::string> answer(sim::radio::HeardKind, std::string_view bytes) override {
        std::string text(bytes);
        const auto end = text.find_first_of("=\r");
        return "+OK=" + text.substr(3, end - 3) + "\r\n\r\n";
    }
    std::string wirelessPassword() const override { return ""; }
};

struct Event {
    std::shared_ptr<kit::Event> event = std::make_shared<kit::Event>(kit::EventReset::Auto);
    kit::ScopedHandle handle{kit::HandleTable::process().insert(event)};
    std::vector<std::uint8_t> input() const {
        std::vector<std::uint8_t> bytes(4);
        PutU32(bytes.data(), handle.value());
        return bytes;
    }
};

class UsbBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(host.load(), Status::Success);
        medium->add(std::make_shared<sim::radio::RadioModule>(kModuleA, 6, std::make_shared<EchoAnswerer>()));
        medium->add(std::make_shared<sim::radio::RadioModule>(kModuleB, 6, std::make_shared<EchoAnswerer>()));
        std::string error;
        ASSERT_TRUE(backend.start({UsbdevfsDongle::kVendor, UsbdevfsDongle::kProduct}, error)) << error;
    }
    void TearDown() override {
        if (host.devicePresent()) host.removeOrderly();
    }

    // Plays the host's main loop for arrivals and departures until the
    // dongle is (or is no longer) served.
    void FollowChanges(bool wantPresent) {
        for (int i = 0; i < 1000 && host.devicePresent() != wantPresent; ++i) {
            LibusbBackend::Change change;
            while (backend.nextChange(change)) {
                if (change == LibusbBackend::Change::Arrived && !host.devicePresent()) {
                    std::string error;
                    if (auto port = backend.open(error)) lastPlug = host.plugIn(port);
                    else lastError = error;
                } else if (change == LibusbBackend::Change::Left && host.devicePresent()) {
                    host.pullOut();
                }
            }
            if (host.devicePresent() != wantPresent) std::this_thread::sleep_for(10ms);
        }
    }

    std::vector<RadioAddress> Search(HostFile& file, std::uint32_t channel, std::size_t expected) {
        EXPECT_EQ(file.write(BuildStartSearch(channel, kPassword, kSearchAllAddress)), Status::Success);
        std::vector<RadioAddress> found;
        for (int i = 0; i < 500 && found.size() < expected; ++i) {
            std::this_thread::sleep_for(10ms);
            std::vector<std::uint8_t> area;
            if (file.control(IOCTL_UDX_GET_NOTIFY, {}, kNotifyBufferSize, area) != Status::Success) break;
            if (auto list = ParseSearchNotify(area)) found = list->addresses;
        }
        EXPECT_EQ(file.write(BuildStopSearch()), Status::Success);
        return found;
    }

    std::string Ask(HostFile& file, Event& read, std::string_view text) {
        const std::vector<std::uint8_t> bytes(text.begin(), text.end());
        EXPECT_EQ(file.write(BuildStartReceive(6, kModuleA)), Status::Success);
        EXPECT_EQ(file.write(BuildSendToModule(kModuleA, kPassword, PayloadType::RequestText, bytes)), Status::Success);
        const bool answered = read.event->wait(kLong);
        EXPECT_EQ(file.write(BuildStopReceive()), Status::Success);
        if (!answered) return "(no answer)";
        std::vector<std::uint8_t> area;
        EXPECT_EQ(file.control(IOCTL_UDX_GET_NOTIFY, {}, kNotifyBufferSize, area), Status::Success);
        const auto length = std::min<std::uint32_t>(GetU32(area.data()), kNotifyBufferSize - 4);
        return std::string(area.begin() + 4, area.begin() + 4 + length);
    }

    std::unique_ptr<HostFile> Open(Event& read, Event& remove) {
        Status status;
        auto file = host.open(kDevicePath, status);
        if (!file) return nullptr;
        std::vector<std::uint8_t> out;
        EXPECT_EQ(file->control(IOCTL_UDX_SET_READ_EVENT, read.input(), 0, out), Status::Success);
        EXPECT_EQ(file->control(IOCTL_UDX_SET_REMOVE_EVENT, remove.input(), 0, out), Status::Success);
        return file;
    }

    std::shared_ptr<sim::radio::RadioMedium> medium = std::make_shared<sim::radio::RadioMedium>();
    UsbdevfsDongle emulated{medium};
    LibusbBackend backend;  // after the emulated device: it ends first
    DriverHost host;
    Status lastPlug = Status::Unsuccessful;
    std::string lastError;
};

TEST_F(UsbBackendTest, DriverStartsOnTheEmulatedDongleAndSearchesAndExchanges) {
    ASSERT_TRUE(emulated.plug());
    FollowChanges(true);
    ASSERT_TRUE(host.devicePresent()) << lastError;
    ASSERT_EQ(lastPlug, Status::Success);
    EXPECT_EQ(emulated.dongle()->registerWrites().size(), 11u) << "the radio set-up went through libusb";

    Event read, remove;
    auto file = Open(read, remove);
    ASSERT_TRUE(file);
    const auto found = Search(*file, 6, 2);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(emulated.dongle()->channel(), 6);
    EXPECT_EQ(Ask(*file, read, "AT+SSID=?\r").rfind("+OK=SSID", 0), 0u);
}

TEST_F(UsbBackendTest, PullingTheDongleIsASurpriseRemovalAndAReplugWorksAgain) {
    ASSERT_TRUE(emulated.plug());
    FollowChanges(true);
    ASSERT_TRUE(host.devicePresent()) << lastError;
    {
        // Pulled while a search loop keeps a read outstanding.
        Event read, remove;
        auto file = Open(read, remove);
        ASSERT_TRUE(file);
        ASSERT_EQ(file->write(BuildStartSearch(6, kPassword, kSearchAllAddress)), Status::Success);
        emulated.pull();
        FollowChanges(false);
        EXPECT_FALSE(host.devicePresent());
        EXPECT_TRUE(remove.event->wait(kLong)) << "the program is told of the removal";
        EXPECT_EQ(file->write(BuildStopSearch()), Status::NoSuchDevice);
    }
    ASSERT_TRUE(emulated.plug());
    FollowChanges(true);
    ASSERT_TRUE(host.devicePresent()) << lastError;
    {
        Event read, remove;
        auto file = Open(read, remove);
        ASSERT_TRUE(file);
        EXPECT_EQ(Search(*file, 6, 2).size(), 2u);
        // Pulled while a command waits for its answer.
        ASSERT_EQ(file->write(BuildStartReceive(6, kModuleA)), Status::Success);
        emulated.pull();
        FollowChanges(false);
        EXPECT_TRUE(remove.event->wait(kLong));
        const std::vector<std::uint8_t> text = {'A', 'T', '+', '\r'};
        EXPECT_EQ(file->write(BuildSendToModule(kModuleA, kPassword, PayloadType::RequestText, text)),
                  Status::NoSuchDevice);
    }
    ASSERT_TRUE(emulated.plug());
    FollowChanges(true);
    Event read, remove;
    auto file = Open(read, remove);
    ASSERT_TRUE(file);
    EXPECT_EQ(Ask(*file, read, "AT+QVER=?\r").rfind("+OK=QVER", 0), 0u);
}

TEST_F(UsbBackendTest, AnIdleDongleMakesLibusbAskNothing) {
    // libusb waits in poll for the node instead of asking it again and again:
    // no request reaches the device while nothing happens, also with a read
    // outstanding.
    ASSERT_TRUE(emulated.plug());
    FollowChanges(true);
    ASSERT_TRUE(host.devicePresent()) << lastError;
    Event read, remove;
    auto file = Open(read, remove);
    ASSERT_TRUE(file);
    for (bool reading : {false, true}) {
        if (reading) ASSERT_EQ(file->write(BuildStartSearch(9, kPassword, kSearchAllAddress)), Status::Success);
        std::this_thread::sleep_for(100ms);
        const auto before = emulated.ioctlCount();
        std::this_thread::sleep_for(500ms);
        EXPECT_EQ(emulated.ioctlCount(), before) << (reading ? "with a read outstanding" : "without a read");
    }
    ASSERT_EQ(file->write(BuildStopSearch()), Status::Success);
}

TEST_F(UsbBackendTest, ADeviceWithAnotherEndpointLayoutIsRefused) {
    ASSERT_TRUE(emulated.plug(sim::radio::WithInterruptThirdEndpoint({})));
    LibusbBackend::Change change;
    for (int i = 0; i < 500 && !backend.nextChange(change); ++i) std::this_thread::sleep_for(10ms);
    std::string error;
    auto port = backend.open(error);
    ASSERT_TRUE(port) << error;
    EXPECT_EQ(host.plugIn(port), Status::DeviceConfigurationError);
    EXPECT_EQ(emulated.dongle()->sentCount(), 0u) << "nothing was sent to it";
}

TEST_F(UsbBackendTest, StalledAndFailedReadsDoNotStopTheLoop) {
    ASSERT_TRUE(emulated.plug());
    FollowChanges(true);
    ASSERT_TRUE(host.devicePresent()) << lastError;
    Event read, remove;
    auto file = Open(read, remove);
    ASSERT_TRUE(file);
    emulated.dongle()->setTransferFaults({.failedReads = 2, .status = wdm::usb::UsbdStatus::Stall});
    EXPECT_EQ(Search(*file, 6, 2).size(), 2u);
    emulated.dongle()->setTransferFaults({.failedReads = 1, .status = wdm::usb::UsbdStatus::Timeout});
    EXPECT_EQ(Ask(*file, read, "AT+SSID=?\r").rfind("+OK=SSID", 0), 0u);
    EXPECT_EQ(emulated.dongle()->failedReadCount(), 3u);
    // A bulk OUT that fails reaches the writer as a failed transmission.
    emulated.dongle()->setTransferFaults({.failedWrites = 1, .status = wdm::usb::UsbdStatus::Stall});
    const std::vector<std::uint8_t> text = {'A', 'T', '+', '\r'};
    EXPECT_EQ(file->write(BuildSendToModule(kModuleA, kPassword, PayloadType::RequestText, text)), Status::Unsuccessful);
}

// The programs themselves: kirva_udxd --usb drives the emulated dongle (the
// preload and the testbed reach it through the environment), tarnwave-cli
// talks to it as to any driver host.
class UsbProgramsTest : public ::testing::Test {
protected:
    void SetUp() override {
        tool = kit::test_support::ProgramPath("tarnwave-cli");
        if (!std::filesystem::exists(tool)) GTEST_SKIP() << "tarnwave-cli is not built";
        char dir[] = "/tmp/kirva-usb-run.XXXXXX";
        ASSERT_TRUE(::mkdtemp(dir));
        runtime = dir;
        ::setenv("KIT_RUNTIME_DIR", dir, 1);
        for (int i = 0; i < 2; ++i) {
            const auto address = SimulatedModuleAddress(6, i);
#ifdef KIT_RADIO_HAS_MODULE_ENGINE
            auto answerer = std::make_shared<sim::radio::EngineAnswerer>(address, "");
#else
            auto answerer = std::make_shared<EchoAnswerer>();
#endif
            medium->add(std::make_shared<sim::radio::RadioModule>(address, 6, answerer));
        }
    }
    void TearDown() override {
        if (host > 0) {
            ::kill(host, SIGTERM);
            int status = 0;
            ::waitpid(host, &status, 0);
        }
        if (!runtime.empty()) {
            std::filesystem::remove_all(runtime);
            ::unsetenv("KIT_RUNTIME_DIR");
        }
    }
    void StartHost() {
        host = ::fork();
        if (host == 0) {
            const auto program = kit::test_support::ProgramPath("kirva_udxd").string();
            ::execl(program.c_str(), "kirva_udxd", "--usb", "1a2b:0700", "--log", "/dev/null", nullptr);
            ::_exit(127);
        }
    }
    // Runs the tool until it succeeds (the host may still be taking the dongle).
    kit::test_support::ProgramRun Tool(const std::string& arguments, int tries = 200) {
        kit::test_support::ProgramRun run;
        for (int i = 0; i < tries; ++i) {
            run = kit::test_support::RunProgram(tool, arguments);
            if (run.exitCode == 0) break;
            std::this_thread::sleep_for(50ms);
        }
        return run;
    }

    std::filesystem::path tool;
    std::string runtime;
    pid_t host = -1;
    std::shared_ptr<sim::radio::RadioMedium> medium = std::make_shared<sim::radio::RadioMedium>();
    UsbdevfsDongle emulated{medium};
};

TEST_F(UsbProgramsTest, SearchAndReadThroughTheRealDongleBackend) {
    ASSERT_TRUE(emulated.plug());
    StartHost();
    const auto search = Tool("--dongle radio-search --channel 6");
    EXPECT_EQ(search.exitCode, 0) << search.output;
    EXPECT_NE(search.output.find("001EC0060001 001EC0060002"), std::string::npos) << search.output;
#ifdef KIT_RADIO_HAS_MODULE_ENGINE
    const auto read = Tool("--dongle --channel 6 --module 001EC0060001 get Ssid");
    EXPECT_EQ(read.exitCode, 0) << read.output;
    EXPECT_EQ(read.output.rfind("Ssid=", 0), 0u) << read.output;
#endif
    // Pulled and plugged in again: the host keeps running and serves it again.
    emulated.pull();
    const auto gone = kit::test_support::RunProgram(tool, "--dongle radio-search --channel 6");
    EXPECT_EQ(gone.exitCode, 1) << gone.output;
    EXPECT_EQ(::waitpid(host, nullptr, WNOHANG), 0) << "the host ended";
    ASSERT_TRUE(emulated.plug());
    const auto again = Tool("--dongle radio-search --channel 6");
    EXPECT_NE(again.output.find("001EC0060001 001EC0060002"), std::string::npos) << again.output;
}

}  // namespace
}  // namespace kirva::testing
