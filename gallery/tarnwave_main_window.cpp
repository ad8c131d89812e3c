// Tarnwave's main window in the gallery, after a search that found two virtual modules.
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "config_tool/app/c_qtm42rb08_dlg.h"
#include "gallery/gallery_registry.h"
#include "sim/module/serial_module_server.h"

namespace kit::gallery {

namespace {

// The window, with the two modules it found and a settings file of its own, all kept
// alive as long as the window.
class SearchedMainWindow : public tarnwave::CQTM42RB08Dlg {
 public:
  SearchedMainWindow(kit::ui::Host& host, Options options,
                     std::vector<std::unique_ptr<kitsim::SerialModuleServer>> modules, std::filesystem::path folder)
      : CQTM42RB08Dlg(host, std::move(options)), m_modules(std::move(modules)), m_folder(std::move(folder)) {}
  ~SearchedMainWindow() override {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }
  bool OnInitDialog() override {
    CQTM42RB08Dlg::OnInitDialog();
    Search();
    return true;
  }

 private:
  std::vector<std::unique_ptr<kitsim::SerialModuleServer>> m_modules;
  std::filesystem::path m_folder;
};

}  // namespace

void AddTarnwaveMainWindow(GalleryRegistry& registry) {
  registry.add("tarnwave-main-window", "Tarnwave main window (102) after a search over two virtual modules",
               [](kit::ui::Host& host) -> std::shared_ptr<kit::ui::Dialog> {
                 std::vector<std::unique_ptr<kitsim::SerialModuleServer>> modules;
                 std::string ports;
                 for (int i = 0; i < 2; ++i) {
                   auto module = std::make_unique<kitsim::SerialModuleServer>(kitsim::VirtualModuleAddress(i),
                                                                              kitsim::ModuleFaults{}, false);
                   if (!module->start()) return nullptr;
                   ports += module->portPath() + ";";
                   modules.push_back(std::move(module));
                 }
                 const auto folder = std::filesystem::temp_directory_path() /
                                     ("tarnwave-gallery-" + std::to_string(::getpid()));
                 std::filesystem::create_directories(folder);
                 tarnwave::CQTM42RB08Dlg::Options options;
                 options.settingsPath = (folder / "user.ini").string();
                 options.listPorts = [ports] { return ports; };
                 options.probeDongle = [] { return true; };
                 return std::make_shared<SearchedMainWindow>(host, options, std::move(modules), folder);
               });
}

}  // namespace kit::gallery
