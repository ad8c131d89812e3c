#include "platform/faults/file_faults.h"

#include <cerrno>

namespace kit::faults {

namespace {
// A test's process-wide plan: which step fails, with which error, and the count so far.
std::atomic<bool> g_armed{false};
std::atomic<int> g_failAt{0};
std::atomic<int> g_error{0};
std::atomic<int> g_counted{0};
std::atomic<bool> g_fired{false};
}  // namespace

void FailFileStep(int n, int error) {
  g_counted = 0;
  g_fired = false;
  g_failAt = n;
  g_error = error;
  g_armed = n > 0;
}

int FileStepsCounted() { return g_counted.load(); }

bool FileStepFaultFired() { return g_fired.load(); }

bool FileStepFails(FileStep) {
  if (!g_armed.load(std::memory_order_relaxed)) return false;
  const int step = ++g_counted;
  if (step != g_failAt.load()) return false;
  g_fired = true;
  errno = g_error.load();
  return true;
}

}  // namespace kit::faults
