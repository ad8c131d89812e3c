// Tarnwave's configuration page, filled from a virtual module, and its advanced settings
// dialog in the gallery.
#include <memory>

#include "config_tool/app/c_advance.h"
#include "config_tool/app/config_page.h"
#include "config_tool/app/parameter_steps.h"
#include "gallery/gallery_registry.h"
#include "sim/module/serial_module_server.h"

namespace kit::gallery {

using kit::ui::Host;

namespace {

// The page draws without a main window: nothing here is asked for.
class NoMainWindow : public tarnwave::MainWindowServices {
 public:
  void ReportPage(int) override {}
  int DeviceCount() const override { return 1; }
  int CurrentRow() const override { return 0; }
  int SwitchToRow(int) override { return 255; }
  void Search() override {}
  bool ModifyAllChecked() const override { return false; }
  void LockControls(bool) override {}
  void EnableCloseCommand(bool) override {}
  int FirmwareDownloadFlag() const override { return 0; }
  bool SerialLinkOpen() const override { return true; }
  bool DongleLinkOpen() const override { return false; }
};

// A page that shows the parameters read before it was created.
class FilledConfigPage : public tarnwave::ConfigPage {
 public:
  FilledConfigPage(Host& host, tarnwave::MainWindowServices& services, const tarnwave::ModuleParameters& read)
      : ConfigPage(host, services), m_read(read) {}
  bool OnInitDialog() override {
    ConfigPage::OnInitDialog();
    m_current = m_read;
    m_advanced = m_read;
    ShowParameters();
    return true;
  }

 private:
  tarnwave::ModuleParameters m_read;
};

// The parameters of a virtual module, read as the page's Refresh reads them.
tarnwave::ModuleParameters ReadVirtualModule() {
  tarnwave::ModuleParameters current;
  kitsim::SerialModuleServer module(kitsim::VirtualModuleAddress(90), {}, false);
  tarnwave::ModuleLink link;
  if (!module.start() || link.openSerial(module.portPath(), {}) != 0 || link.startWorker() != 0) return current;
  tarnwave::ModuleParameters scratch;
  bool changed = false;
  (void)tarnwave::RunParameterSteps(link, tarnwave::CommandForm::Query, current, scratch, changed);
  return current;
}

struct PageWithCompanions {
  NoMainWindow services;
  std::unique_ptr<FilledConfigPage> page;
};

}  // namespace

void AddTarnwaveConfigPage(GalleryRegistry& registry) {
  registry.add("tarnwave-config-page", "Tarnwave ConfigPage (129) filled from a virtual module", [](Host& host) {
    auto bundle = std::make_shared<PageWithCompanions>();
    bundle->page = std::make_unique<FilledConfigPage>(host, bundle->services, ReadVirtualModule());
    kit::ui::Dialog* page = bundle->page.get();
    return std::shared_ptr<kit::ui::Dialog>(bundle, page);
  });
  registry.add("tarnwave-advance", "Tarnwave CAdvance (130) with a virtual module's advanced settings", [](Host& host) {
    auto dialog = std::make_shared<tarnwave::CAdvance>(host);
    dialog->m_block = ReadVirtualModule();
    return dialog;
  });
}

}  // namespace kit::gallery
