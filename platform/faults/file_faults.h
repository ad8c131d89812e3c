#pragma once
// A test seam for the kit's file replacement: every write, flush and rename that the
// platform makes while it replaces a file (profile and parameter files, the machine
// root's files) is one step. A test can make the Nth step from now fail with an error of
// its choice (ENOSPC: the disk is full; EIO: the medium fails), the way a full disk or a
// failing medium would, and so sweep a fault through every step of a write.
//
// Nothing is armed unless a test arms it; then each step costs one atomic load.
#include <atomic>

namespace kit::faults {

enum class FileStep { Write, Flush, Rename };

// The nth step from now (1 = the next one) fails with `error`; 0 disarms. Counting starts
// again from here.
void FailFileStep(int n, int error);
// Steps counted since the last FailFileStep.
int FileStepsCounted();
// True when a fault was armed and its step has come.
bool FileStepFaultFired();

// For the platform's file code: true (with errno set to the armed error) when this step
// must fail.
bool FileStepFails(FileStep step);

}  // namespace kit::faults
