#include "printer_demo/app/standalone_form.h"

#include <filesystem>

#include "printer_demo/app/demo_forms.h"
#include "printer_demo/app/form1.h"
#include "printer_demo/app/form2.h"
#include "printer_demo/app/form3.h"
#include "printer_demo/sysenv/locale_separators.h"
#include "printer_demo/sysenv/platform_serial_line.h"

namespace j57 {

namespace {

// Everything a form points to; members are destroyed in reverse order, so the forms go
// before the device table and the clock.
struct FormSet {
  DosDeviceTable devices;
  SystemWallClock clock;
  std::unique_ptr<DemoForms> forms;
};

}  // namespace

std::shared_ptr<kit::ui::Dialog> MakeStandaloneForm(kit::ui::Host& host, int formNumber) {
  if (formNumber < 1 || formNumber > 3) return nullptr;
  auto set = std::make_shared<FormSet>();
  DemoEnvironment environment;
  environment.devices = &set->devices;
  environment.serialOpener = PlatformSerialLineOpener();
  environment.clock = &set->clock;
  environment.separators = UserDateSeparators();
  std::error_code error;
  environment.programFolder = std::filesystem::current_path(error).string();
  set->forms = std::make_unique<DemoForms>(host, std::move(environment));
  DemoForms& forms = *set->forms;
  kit::ui::Dialog* form = formNumber == 1   ? static_cast<kit::ui::Dialog*>(&forms.form1())
                          : formNumber == 2 ? static_cast<kit::ui::Dialog*>(&forms.form2())
                                            : static_cast<kit::ui::Dialog*>(&forms.form3());
  // Shares ownership of the whole set while pointing at the one form.
  return std::shared_ptr<kit::ui::Dialog>(set, form);
}

}  // namespace j57
