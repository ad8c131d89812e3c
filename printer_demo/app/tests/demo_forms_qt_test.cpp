// The forms as real Qt widgets on the offscreen platform.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ui/qt/qt_host.h"
#include "printer_demo/app/demo_forms.h"
#include "printer_demo/app/form1.h"
#include "printer_demo/app/form2.h"
#include "printer_demo/app/form3.h"
#include "printer_demo/app/resource.h"
#include "printer_demo/sysenv/platform_serial_line.h"

namespace j57 {
namespace {

namespace fs = std::filesystem;

TEST(DemoFormsQt, WindowsShowAndNavigateAndSaveAsPng) {
  kit::ui::QtHost host;
  DosDeviceTable devices;
  FixedWallClock clock(LocalTime{2026, 3, 7, 9, 5, 4});
  DemoEnvironment environment;
  environment.devices = &devices;
  environment.serialOpener = PlatformSerialLineOpener();
  environment.clock = &clock;
  char pattern[] = "/tmp/j57-forms-qt.XXXXXX";
  const fs::path dir = mkdtemp(pattern);
  ::setenv("J57_LPT1", (dir / "lpt1").c_str(), 1);
  {
    DemoForms forms(host, environment);
    ASSERT_TRUE(forms.start());
    host.processEvents();
    EXPECT_TRUE(host.saveScreenshot(forms.form1(), (dir / "form1.png").string()));
    ASSERT_TRUE(forms.form1().userClick(res::FORM1_OPTION2));
    ASSERT_TRUE(forms.form1().userClick(res::FORM1_COMMAND1));
    host.processEvents();
    EXPECT_TRUE(host.saveScreenshot(forms.form2(), (dir / "form2.png").string()));
    ASSERT_TRUE(forms.form2().userClick(res::FORM2_COMMAND1));
    ASSERT_TRUE(forms.form2().userClick(res::FORM2_COMMAND6));
    host.processEvents();
    EXPECT_TRUE(host.saveScreenshot(forms.form3(), (dir / "form3.png").string()));
    ASSERT_TRUE(forms.form3().userClick(res::FORM3_COMMAND4));
    ASSERT_TRUE(forms.form2().userClick(res::FORM2_COMMAND7));
    ASSERT_TRUE(forms.form1().userClick(res::FORM1_COMMAND2));
    host.processEvents();
    EXPECT_FALSE(forms.anyLoaded());
  }
  for (const char* png : {"form1.png", "form2.png", "form3.png"}) EXPECT_GT(fs::file_size(dir / png), 1000u) << png;
  EXPECT_GT(fs::file_size(dir / "lpt1"), 50u);
  ::unsetenv("J57_LPT1");
  fs::remove_all(dir);
}

}  // namespace
}  // namespace j57
