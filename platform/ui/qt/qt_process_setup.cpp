#include "platform/ui/qt/qt_process_setup.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <mutex>

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

}  // namespace kit::ui
