#pragma once
// What every program that draws with Qt does before it creates its Qt application object
// (QApplication for windows, QGuiApplication for pictures only):
//  - without a display (no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM) Qt draws on its
//    offscreen platform, where fonts and painting still work;
//  - Qt's warning that XDG_RUNTIME_DIR is not set is dropped. Programs started from a
//    service, a container or a test runner often have no runtime folder, none of our
//    programs uses Qt's, and the warning would only clutter their output. Every other Qt
//    message still reaches the handler that was installed before.
// Safe to call more than once and from several threads; it changes the process's
// environment, so call it before other threads read it.

#include <optional>
#include <string>

namespace kit::ui {

void PrepareQtProcess();

// Whether Qt's platform plugin can start here. Qt ends the whole process when it
// cannot (a DISPLAY naming no X server, a missing plugin), so a child process
// tries it first; nothing is probed for the offscreen and minimal platforms.
// Call it before the program starts any thread. Empty when Qt can start;
// otherwise the message to show, which names QT_QPA_PLATFORM=offscreen.
[[nodiscard]] std::optional<std::string> QtPlatformProblem();

}  // namespace kit::ui
