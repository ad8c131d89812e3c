#pragma once
// Sweeps a failing file step (see platform/faults/file_faults.h) through an operation
// that replaces files: the operation runs with a fault at step 1, 2, ... until a run
// meets no fault. After each run `check(fired, succeeded)` looks at what is on disk.
// Returns how many runs it took (the steps of the operation + 1).
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "platform/faults/file_faults.h"

namespace kit::test_support {

inline int SweepFileFaults(const std::function<void()>& prepare, const std::function<bool()>& operation,
                           const std::function<void(bool fired, bool succeeded)>& check, int error = ENOSPC,
                           int limit = 1000) {
  int n = 1;
  for (; n <= limit; ++n) {
    SCOPED_TRACE(::testing::Message() << "fault at file step " << n);
    prepare();
    kit::faults::FailFileStep(n, error);
    const bool succeeded = operation();
    const bool fired = kit::faults::FileStepFaultFired();
    kit::faults::FailFileStep(0, 0);
    check(fired, succeeded);
    if (!fired) break;
  }
  return n;
}

}  // namespace kit::test_support
