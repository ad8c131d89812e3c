// The kirva_udxd program itself: it comes up with its virtual modules, serves
// the device to another process's connection, survives --unplug and --replug,
// and ends cleanly on SIGTERM.

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "dongle_driver/interface/dongle_interface.h"
#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"
#include "platform/devio/device_registry.h"

namespace {

using namespace std::chrono_literals;
using kit::devio::DevError;

std::string Program() { return kit::test_support::ProgramPath("kirva_udxd").string(); }

int RunAndWait(const std::vector<std::string>& arguments) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs the program and gives it a few seconds to end by itself; one still
// running then is killed and reads as -1.
int RunWithin(const std::vector<std::string>& arguments, int seconds = 5) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    for (int i = 0; i < seconds * 100; ++i) {
        if (::waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(10ms);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    return -1;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool WaitFor(const std::string& path, bool present) {
    struct stat info {};
    for (int i = 0; i < 1000; ++i) {
        if ((::stat(path.c_str(), &info) == 0) == present) return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

// Opens the device; while the host plugs its dongle in again the device may
// still be missing, so a few tries are allowed.
std::unique_ptr<kit::devio::DeviceEndpoint> OpenWhenPresent() {
    for (int i = 0; i < 500; ++i) {
        DevError error;
        if (auto device = kit::devio::OpenDevice(kirva::kDevicePath, error)) return device;
        std::this_thread::sleep_for(10ms);
    }
    return nullptr;
}

std::size_t Search(kit::devio::DeviceEndpoint& device, std::uint32_t channel) {
    const kirva::WirelessPassword password{};
    EXPECT_EQ(device.write(kirva::BuildStartSearch(channel, password, kirva::kSearchAllAddress)), DevError::None);
    std::size_t found = 0;
    for (int i = 0; i < 500 && found < 2; ++i) {
        std::this_thread::sleep_for(10ms);
        auto area = device.control(kirva::IOCTL_UDX_GET_NOTIFY, {}, kirva::kNotifyBufferSize);
        if (auto list = kirva::ParseSearchNotify(area.output)) found = list->addresses.size();
    }
    EXPECT_EQ(device.write(kirva::BuildStopSearch()), DevError::None);
    return found;
}

TEST(KirvaUdxdProgram, UsageErrorsExitWithTwo) {
    EXPECT_EQ(RunAndWait({Program(), "--help"}), 0);
    EXPECT_EQ(RunAndWait({Program(), "--no-such-option"}), 2);
    EXPECT_EQ(RunAndWait({Program(), "--simulate", "0:1"}), 2);
    EXPECT_EQ(RunAndWait({Program(), "--module-password", "short"}), 2);
    EXPECT_EQ(RunAndWait({Program(), "--usb", "1a2b"}), 2);
    EXPECT_EQ(RunAndWait({Program(), "--usb", "1a2b:3c4d", "--simulate", "6:1"}), 2) << "one dongle or the other";
    ::setenv("KIRVA_UDX_USB", "not-an-id", 1);
    EXPECT_EQ(RunAndWait({Program(), "--log", "/dev/null"}), 2);
    ::unsetenv("KIRVA_UDX_USB");
}

TEST(KirvaUdxdProgram, RuntimeFolderAndPidFileAreNotTrusted) {
    char base[] = "/tmp/kirva-trust-test.XXXXXX";
    ASSERT_TRUE(::mkdtemp(base));
    const std::string open = std::string(base) + "/open";
    ASSERT_EQ(::mkdir(open.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(open.c_str(), 0777), 0);
    ::setenv("KIT_RUNTIME_DIR", open.c_str(), 1);
    EXPECT_EQ(RunWithin({Program(), "--simulate", "6:1", "--log", "/dev/null"}), 1)
        << "a folder anyone can write to is refused";

    // --unplug never signals the process a stale pid file names.
    const std::string dir = std::string(base) + "/run";
    ::setenv("KIT_RUNTIME_DIR", dir.c_str(), 1);
    ASSERT_EQ(::mkdir(dir.c_str(), 0700), 0);
    const pid_t bystander = ::fork();
    if (bystander == 0) {
        ::execl("/bin/sleep", "sleep", "30", nullptr);
        ::_exit(127);
    }
    { std::ofstream(dir + "/kirva_udxd.pid") << bystander << "\n"; }
    EXPECT_EQ(RunWithin({Program(), "--unplug"}), 1) << "no host runs";
    int status = 0;
    EXPECT_EQ(::waitpid(bystander, &status, WNOHANG), 0) << "an unrelated process was signalled";
    ::kill(bystander, SIGKILL);
    ::waitpid(bystander, &status, 0);

    // A link planted as the pid file is replaced, not written through.
    const std::string victim = std::string(base) + "/victim";
    { std::ofstream(victim) << "untouched"; }
    ::unlink((dir + "/kirva_udxd.pid").c_str());
    ASSERT_EQ(::symlink(victim.c_str(), (dir + "/kirva_udxd.pid").c_str()), 0);
    const pid_t host = ::fork();
    if (host == 0) {
        ::execl(Program().c_str(), "kirva_udxd", "--simulate", "6:1", "--log", "/dev/null", nullptr);
        ::_exit(127);
    }
    ASSERT_TRUE(WaitFor(dir + "/MERVO_QTM31RB07_TEST.sock", true));
    for (int i = 0; i < 500 && ReadAll(dir + "/kirva_udxd.pid") != std::to_string(host) + "\n"; ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(ReadAll(victim), "untouched");
    struct stat info {};
    ASSERT_EQ(::lstat((dir + "/kirva_udxd.pid").c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(ReadAll(dir + "/kirva_udxd.pid"), std::to_string(host) + "\n");
    ::kill(host, SIGTERM);
    ::waitpid(host, &status, 0);

    ::unsetenv("KIT_RUNTIME_DIR");
    RunAndWait({"/bin/rm", "-rf", base});
}

// kirva_udxd --simulate 6:1 serving in a runtime folder of its own; ended (even when
// stopped) and its folder removed when the test leaves, also on a failed assertion.
class SimulatedHost {
public:
    explicit SimulatedHost(const char* name) {
        std::string pattern = std::string("/tmp/") + name + ".XXXXXX";
        if (!::mkdtemp(pattern.data())) return;
        m_dir = pattern;
        ::setenv("KIT_RUNTIME_DIR", m_dir.c_str(), 1);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::execl(Program().c_str(), "kirva_udxd", "--simulate", "6:1", "--log", "/dev/null", nullptr);
            ::_exit(127);
        }
    }
    ~SimulatedHost() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGCONT);
            ::kill(m_pid, SIGTERM);
            int status = 0;
            ::waitpid(m_pid, &status, 0);
        }
        ::unsetenv("KIT_RUNTIME_DIR");
        if (!m_dir.empty()) RunAndWait({"/bin/rm", "-rf", m_dir});
    }
    bool serving() const { return m_pid > 0 && WaitFor(m_dir + "/MERVO_QTM31RB07_TEST.sock", true); }
    pid_t pid() const { return m_pid; }

private:
    std::string m_dir;
    pid_t m_pid = -1;
};

TEST(KirvaUdxdProgram, AStoppedHostDoesNotHangTheTool) {
    const auto tool = kit::test_support::ProgramPath("tarnwave-cli");
    if (!std::filesystem::exists(tool)) GTEST_SKIP() << "tarnwave-cli is not built";
    SimulatedHost host("kirva-stopped-test");
    ASSERT_TRUE(host.serving());
    ASSERT_EQ(::kill(host.pid(), SIGSTOP), 0);
    // The tool gives up after its own limit (seconds); the run is bounded.
    const auto run = kit::test_support::RunProgram(tool, "--dongle radio-search --channel 6");
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("cannot open the radio dongle"), std::string::npos) << run.output;
}

// A host whose every slot is taken: the tool says the host is busy (not that it is not
// running), and ends with a link error.
TEST(KirvaUdxdProgram, AFullHostMakesTheToolSayBusy) {
    const auto tool = kit::test_support::ProgramPath("tarnwave-cli");
    if (!std::filesystem::exists(tool)) GTEST_SKIP() << "tarnwave-cli is not built";
    SimulatedHost host("kirva-busy-test");
    ASSERT_TRUE(host.serving());
    std::vector<std::unique_ptr<kit::devio::DeviceEndpoint>> taken;
    for (int i = 0; i < 16; ++i) {
        auto device = OpenWhenPresent();
        ASSERT_TRUE(device) << "slot " << i;
        taken.push_back(std::move(device));
    }
    const auto run = kit::test_support::RunProgram(tool, "--dongle --channel 6 --module 020000000000 get Ssid");
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("the driver host is busy"), std::string::npos) << run.output;
}

TEST(KirvaUdxdProgram, ServesUnplugsReplugsAndEnds) {
    char dir[] = "/tmp/kirva-udxd-test.XXXXXX";
    ASSERT_TRUE(::mkdtemp(dir));
    ::setenv("KIT_RUNTIME_DIR", dir, 1);
    const std::string socket = std::string(dir) + "/MERVO_QTM31RB07_TEST.sock";

    const pid_t host = ::fork();
    if (host == 0) {
        ::execl(Program().c_str(), "kirva_udxd", "--simulate", "6:2", "--log", "/dev/null", nullptr);
        ::_exit(127);
    }
    ASSERT_TRUE(WaitFor(socket, true));
    {
        auto device = OpenWhenPresent();
        ASSERT_TRUE(device);
        EXPECT_EQ(Search(*device, 6), 2u);

        EXPECT_EQ(RunAndWait({Program(), "--unplug"}), 0);
        // The open handle now reports the dongle gone.
        DevError last = DevError::None;
        for (int i = 0; i < 500 && last != DevError::Removed; ++i) {
            last = device->write(kirva::BuildStopReceive());
            if (last != DevError::Removed) std::this_thread::sleep_for(10ms);
        }
        EXPECT_EQ(last, DevError::Removed);
    }
    EXPECT_EQ(RunAndWait({Program(), "--replug"}), 0);
    {
        auto device = OpenWhenPresent();
        ASSERT_TRUE(device);
        EXPECT_EQ(Search(*device, 6), 2u);
    }
    ASSERT_EQ(::kill(host, SIGTERM), 0);
    int status = 0;
    ::waitpid(host, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(WaitFor(socket, false)) << "the socket is removed at the end";
    EXPECT_NE(RunAndWait({Program(), "--simulate", "0:1"}), 0) << "a bad placement is refused";
    ::unsetenv("KIT_RUNTIME_DIR");
    ::rmdir(dir);
}

}  // namespace
