// tarnwave: the configuration tool for serial-to-WiFi modules, as a desktop program.
//
// Exit codes: 0 when the main window was closed, 1 when it could not be shown, 2 for a
// usage error.
#include <CLI/CLI.hpp>

#include <csignal>
#include <iostream>

#include "config_tool/app/c_qtm42rb08_app.h"
#include "platform/cli/parse_command_line.h"
#include "platform/ui/drive/run_driven.h"
#include "platform/ui/qt/qt_host.h"

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  CLI::App app{"Tarnwave: find serial-to-WiFi modules on the serial ports and over the USB radio dongle, "
               "and configure them. Settings are kept in ./user.ini.",
               "tarnwave"};
  tarnwave::CQTM42RB08Dlg::Options options;
  app.add_option("--settings", options.settingsPath, "Settings file instead of ./user.ini");
  std::string driveScript;
  app.add_option("--drive", driveScript,
                 "run the windows without a display, apply the steps of this script (- for standard input) "
                 "and print a transcript");
  if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;

  if (!driveScript.empty()) {
    // The drive host applies the script's steps whenever the window thread is idle, so
    // nothing is pumped during a search: its steps come after it, as a user's clicks
    // queued behind a busy window would.
    return kit::ui::drive::RunDriven(
        driveScript,
        [&](kit::ui::Host& host) {
          tarnwave::CQTM42RB08App application(host, options);
          if (application.InitInstance() < 0) {
            std::cerr << "tarnwave: the main window could not be shown\n";
            return 1;
          }
          return 0;
        },
        std::cout, std::cerr);
  }

  kit::ui::QtHost host;
  options.pumpEvents = [&host] { host.processEvents(); };
  tarnwave::CQTM42RB08App application(host, options);
  if (application.InitInstance() < 0) {
    std::cerr << "tarnwave: the main window could not be shown\n";
    return 1;
  }
  return 0;
}
