#pragma once
// What this process holds right now, read from /proc: open descriptors,
// threads and resident memory. For tests that run something many times and
// expect to end where they began.

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

namespace kirva::testing {

inline std::size_t CountEntries(const char* folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}
inline std::size_t OpenDescriptorCount() { return CountEntries("/proc/self/fd"); }
inline std::size_t ThreadCount() { return CountEntries("/proc/self/task"); }

// VmRSS in KiB; 0 when it cannot be read.
inline std::size_t ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stoul(line.substr(6));
    return 0;
}

// A joined thread may linger in /proc/self/task for a moment after it has
// ended: the count is looked at until it holds or a second has passed.
inline bool Settles(const std::function<bool()>& holds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (!holds()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace kirva::testing
