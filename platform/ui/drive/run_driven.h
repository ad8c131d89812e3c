#pragma once
// The drive mode of a windowed program: `PROGRAM --drive SCRIPT`.
//
//   int main(int argc, char** argv) {
//     ...
//     if (!drivePath.empty()) {
//       return kit::ui::drive::RunDriven(drivePath, [&](kit::ui::Host& host) {
//         MainWindow window(host);             // a modal main window ...
//         window.runModal();
//         return 0;
//       }, std::cout, std::cerr);
//     }
//
// or, for modeless forms, create them on `host` and call host.runMessageLoop() inside
// the function. The function runs the program's windows on a DriveHost (see
// drive_host.h) that applies the script's steps from inside the program's own loops and
// writes the transcript to `transcript`; it returns the program's exit code.
//
// Returns 2 when the script cannot be read or parsed (nothing runs; the message on
// `errors` names the script and line), else the program's exit code when it is not 0,
// else 3 when a step was refused, else 0. Steps left when the program has ended are
// refused ("no window"); blocks until the program function returns. The transcript is
// flushed line by line; a program whose reader may go away ignores SIGPIPE first (as
// j57-demo does), so that a closed pipe does not end it.
#include <functional>
#include <ostream>
#include <string>

#include "platform/ui/host.h"

namespace kit::ui::drive {

using DrivenProgram = std::function<int(Host& host)>;

int RunDriven(const std::string& scriptPath, const DrivenProgram& program, std::ostream& transcript,
              std::ostream& errors);

}  // namespace kit::ui::drive
