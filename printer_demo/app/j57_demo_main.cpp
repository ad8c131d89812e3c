// j57-demo: the J57 receipt printer demonstration with its three windows.
#include <CLI/CLI.hpp>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <unistd.h>

#include "platform/ui/drive/run_driven.h"
#include "platform/ui/qt/qt_host.h"
#include "platform/ui/qt/qt_process_setup.h"
#include "printer_demo/app/demo_forms.h"
#include "printer_demo/app/form1.h"
#include "printer_demo/app/form2.h"
#include "printer_demo/app/form3.h"
#include "printer_demo/app/resource.h"
#include "printer_demo/sysenv/locale_separators.h"
#include "printer_demo/sysenv/platform_serial_line.h"
#include "platform/cli/parse_command_line.h"

namespace {

std::string ProgramFolder() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path().string() : self.parent_path().string();
}

// Saves each form as the user first sees it: Form1, then Form2 after "Enter" with
// "Parallel", then Form3 after "Manual Test".
int SaveScreenshots(kit::ui::QtHost& host, j57::DemoForms& forms, const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error || !std::filesystem::is_directory(folder, error)) {
    std::cerr << "j57-demo: cannot use " << folder << " as the screenshot folder: "
              << (error ? error.message() : "not a directory") << "\n";
    return 1;
  }
  bool ok = host.saveScreenshot(forms.form1(), folder + "/j57-form1.png");
  forms.form1().userClick(j57::res::FORM1_OPTION2);
  forms.form1().userClick(j57::res::FORM1_COMMAND1);
  ok = host.saveScreenshot(forms.form2(), folder + "/j57-form2.png") && ok;
  forms.form2().userClick(j57::res::FORM2_COMMAND6);
  forms.form3().setText(j57::res::FORM3_TEXT1, "J57 manual test\r\nSecond line");
  ok = host.saveScreenshot(forms.form3(), folder + "/j57-form3.png") && ok;
  forms.form3().userClick(j57::res::FORM3_COMMAND4);
  forms.form2().userClick(j57::res::FORM2_COMMAND7);
  forms.form1().userClick(j57::res::FORM1_COMMAND2);
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  CLI::App app{"J57 receipt printer demonstration: choose the serial or parallel attachment, print sample "
               "receipts, barcode tests and text. Serial ports COMn are /dev/ttyS(n-1) unless J57_COMn names "
               "another device; LPTn is /dev/lp(n-1) unless J57_LPTn names a file or FIFO."};
  std::string screenshots;
  app.add_option("--screenshots", screenshots, "save the three windows as PNG files in this folder and exit");
  std::string driveScript;
  app.add_option("--drive", driveScript,
                 "run the windows without a display, apply the steps of this script (- for standard input) "
                 "and print a transcript")
      ->excludes("--screenshots");
  if (auto exitCode = kit::ParseCommandLine(app, argc, argv)) return *exitCode;
  if (auto problem = kit::ui::QtPlatformProblem()) {
    std::cerr << "j57-demo: " << *problem << "\n";
    return 1;
  }

  j57::DosDeviceTable devices;
  j57::SystemWallClock clock;
  j57::DemoEnvironment environment;
  environment.devices = &devices;
  environment.serialOpener = j57::PlatformSerialLineOpener();
  environment.clock = &clock;
  environment.separators = j57::UserDateSeparators();
  environment.programFolder = ProgramFolder();

  if (!driveScript.empty()) {
    return kit::ui::drive::RunDriven(
        driveScript,
        [&](kit::ui::Host& host) {
          j57::DemoForms forms(host, environment);
          if (!forms.start()) {
            std::cerr << "j57-demo: the first window could not be shown\n";
            return 1;
          }
          host.runMessageLoop();
          return 0;
        },
        std::cout, std::cerr);
  }

  kit::ui::QtHost host;
  j57::DemoForms forms(host, environment);
  if (!forms.start()) {
    std::cerr << "j57-demo: the first window could not be shown\n";
    return 1;
  }
  if (!screenshots.empty()) return SaveScreenshots(host, forms, screenshots);
  host.runMessageLoop();
  return 0;
}
