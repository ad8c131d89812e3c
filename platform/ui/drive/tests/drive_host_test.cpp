// The drive host: steps applied inside the program's own loops, nested modal runs,
// boxes, real timers and posts from worker threads, and the transcript they leave.
#include "platform/ui/drive/drive_host.h"

#include <gtest/gtest.h>

namespace kit::ui::drive {
namespace {
}  // namespace
}  // namespace kit::ui::drive
