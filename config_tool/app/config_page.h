#pragma once
// ConfigPage: the configuration page (dialog 129), the first page of the main window's
// page area. It reads the current module's parameters ("Refresh"), sends what the user
// changed and saves it in the module's flash ("Modify", for one module or, with the main
// window's "Modify All" ticked, for every listed module), restores the factory settings
// ("Recovery"), moves parameters through a parameter file ("Import", "Export") and opens
// the advanced settings dialog ("Advance").
//
// The page gets the ModuleLink from its parent window (WM_GET_MODULE_LINK) when it is
// created and does not own it. Every operation runs on the window thread and blocks on
// the module; the button of a running operation stays disabled until it ends. Every
// message is a CMess note or confirmation.
#include <string>

#include "config_tool/app/main_window_services.h"
#include "config_tool/protocol/command_request.h"
#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/parameter_record.h"
#include "platform/ui/property_page.h"

namespace tarnwave {

// Values of Encry, KeyType, address mode and CsMode that mark a field as not read.
inline constexpr std::int32_t kBlankMarker = 255;

class ConfigPage : public kit::ui::PropertyPage {
 public:
  ConfigPage(kit::ui::Host& host, MainWindowServices& services);

  static kit::ui::DialogTemplate Template();

  // Queries every parameter (query form) or sends every changed one (set form); 0 or the
  // first error code (200 when the exchange cannot be opened).
  int ApplyParameters(CommandForm form);
  // Builds and checks the edited record from the controls. True when it was rejected
  // (one note has then been shown).
  bool CollectPage();
  // The key rules for the shown encryption and key type; false (after its note) refuses.
  bool CheckKey(const std::string& key);
  // Fills the controls from the current record.
  void ShowParameters();
  // Blanks every field (the main window's search found no module).
  void ClearPage();
  // Reads every parameter from the module and shows them ("Refresh").
  void Refresh();

  bool OnInitDialog() override;
  bool OnSetActive() override;
  const kit::ui::MessageMap* messageMap() const override;

  // The records: as last read from or written to the module; as built from the controls;
  // the page's own copy of the advanced block (BssidSetting to the wireless password).
  ModuleParameters m_current;
  ModuleParameters m_edited;
  ModuleParameters m_advanced;
  CommandForm m_form = CommandForm::Query;
  bool m_changed = false;
  int m_keyIndex = 0;
  int m_keyLengthLimit = 64;
  std::string m_importPath = ".\\Config.cfg";
  std::string m_exportPath = ".\\Config.cfg";

 private:
  void OnRefresh();
  void OnModify();
  void OnRecovery();
  void OnImport();
  void OnExport();
  void OnAdvance();
  void OnDhcp();
  void OnAutoWorkmode();
  void OnCsModeChange();
  void OnEncryChange();
  void OnKeyTypeChange();

  void ModifyOne();
  void ModifyAll();
  void ResetModule();
  void SetKeyLengthLimit();
  void EnableKeyIndexGroup(bool enable);
  int Note(const std::string& text);
  int Confirm(const std::string& text);

  MainWindowServices& m_services;
  ModuleLink* m_link = nullptr;
};

}  // namespace tarnwave
