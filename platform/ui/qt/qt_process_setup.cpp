#include "platform/ui/qt/qt_process_setup.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QGuiApplication>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <chrono>
#include <mutex>
#include <thread>

namespace kit::ui {

namespace {

QtMessageHandler g_previousHandler = nullptr;

bool IsRuntimeFolderWarning(const QString& message) {
  return message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"));
}

void FilterMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && IsRuntimeFolderWarning(message)) return;
  if (g_previousHandler) {
    g_previousHandler(type, context, message);
    return;
  }
  std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, message).toLocal8Bit().constData());
}

}  // namespace

void PrepareQtProcess() {
  static std::once_flag once;
  std::call_once(once, [] {
    g_previousHandler = qInstallMessageHandler(FilterMessage);
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
      ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  });
}

std::optional<std::string> QtPlatformProblem() {
  PrepareQtProcess();
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  const std::string platform = chosen ? chosen : "";
  if (platform.rfind("offscreen", 0) == 0 || platform.rfind("minimal", 0) == 0) return std::nullopt;

  const pid_t child = ::fork();
  if (child < 0) return std::nullopt;  // cannot probe: let Qt try
  if (child == 0) {
    // Qt's own complaints belong to the probe, not to the program's output.
    const int quiet = ::open("/dev/null", O_WRONLY);
    if (quiet >= 0) ::dup2(quiet, 2);
    static int argc = 1;
    static char name[] = "qt-platform-probe";
    static char* argv[] = {name, nullptr};
    { QGuiApplication probe(argc, argv); }
    ::_exit(0);
  }
  // A display that accepts the connection and never answers must not hold the
  // program either.
  int status = 0;
  bool ended = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    const pid_t done = ::waitpid(child, &status, WNOHANG);
    if (done == child) {
      ended = true;
      break;
    }
    if (done < 0) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (!ended) {
    ::kill(child, SIGKILL);
    (void)::waitpid(child, &status, 0);
  } else if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    return std::nullopt;
  }
  std::string where;
  if (platform.empty() || platform.rfind("xcb", 0) == 0) {
    const char* display = std::getenv("DISPLAY");
    if (display) where = " for DISPLAY=" + std::string(display);
  }
  if (platform.rfind("wayland", 0) == 0 || (platform.empty() && where.empty())) {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland) where = " for WAYLAND_DISPLAY=" + std::string(wayland);
  }
  return "the windows cannot be shown: Qt's platform plugin" + (platform.empty() ? "" : " \"" + platform + "\"") +
         " does not start" + where + (ended ? "" : " (no answer in 20 s)") +
         "; to run without a display, set QT_QPA_PLATFORM=offscreen";
}

}  // namespace kit::ui
