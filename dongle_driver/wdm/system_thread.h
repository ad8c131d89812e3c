#pragma once
// System thread of the kernel model. The thread's owner waits for its end
// with join(); the destructor joins as well, so no thread outlives its owner.

#include <functional>
#include <thread>

namespace wdm {

class SystemThread {
public:
    SystemThread() = default;
    ~SystemThread() { join(); }
    SystemThread(const SystemThread&) = delete;
    SystemThread& operator=(const SystemThread&) = delete;

    // Starts the routine; false when the thread could not be created.
    bool start(std::function<void()> routine);
    void join();
    bool running() const { return m_thread.joinable(); }

private:
    std::thread m_thread;
};

}  // namespace wdm
