// kit-gallery: draws the programs' dialogs.
//   kit-gallery --list
//   kit-gallery DIALOG --out file.png     (works without a display)
//   kit-gallery DIALOG --show             (a real window on the desktop)
#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>

#include "gallery/gallery_registry.h"
#include "gallery/gallery_renderer.h"
#include "platform/ui/qt/qt_host.h"
#include "platform/ui/qt/qt_process_setup.h"
#include "platform/cli/parse_command_line.h"

namespace {
constexpr const char* kDialogFont = "DejaVu Sans";

bool HasDesktop() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && std::string(platform).rfind("offscreen", 0) == 0) return false;
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}
}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Draws the dialogs of the kit's programs, to PNG or on the desktop."};
  bool list = false;
  bool show = false;
  std::string dialogName;
  std::string out;
  app.add_flag("--list", list, "List the dialogs that can be drawn");
  app.add_option("DIALOG", dialogName, "Name of the dialog (see --list)");
  app.add_option("--out", out, "Write the dialog as PNG to this file");
  app.add_flag("--show", show, "Open the dialog as a window on the desktop");
  if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;

  const auto registry = kit::gallery::AllDialogs();
  if (list) {
    for (const auto& e : registry.entries()) std::cout << e.name << "  " << e.description << "\n";
    return 0;
  }
  if (dialogName.empty() || (out.empty() == !show)) {
    std::cerr << "kit-gallery: give a DIALOG and either --out FILE or --show (see --help)\n";
    return 2;
  }
  const auto* entry = registry.find(dialogName);
  if (!entry) {
    std::cerr << "kit-gallery: no dialog named \"" << dialogName << "\" (see --list)\n";
    return 2;
  }
  if (show && !HasDesktop()) {
    std::cerr << "kit-gallery: --show needs a desktop (DISPLAY or WAYLAND_DISPLAY); use --out\n";
    return 1;
  }
  if (auto problem = kit::ui::QtPlatformProblem()) {
    std::cerr << "kit-gallery: " << *problem << "\n";
    return 1;
  }
  kit::ui::QtHost host;
  // Qt draws empty boxes when a font is missing, so refuse rather than write blank text.
  if (!kit::ui::QtHost::fontResolves(kDialogFont)) {
    std::cerr << "kit-gallery: the font family \"" << kDialogFont << "\" is not installed (fonts-dejavu-core)\n";
    return 1;
  }
  if (show) {
    kit::gallery::ShowOnDesktop(host, *entry);
    return 0;
  }
  std::string error;
  if (!kit::gallery::RenderToPng(host, *entry, out, error)) {
    std::cerr << "kit-gallery: " << error << "\n";
    return 1;
  }
  return 0;
}
