// The setup installer's outcome boxes in the gallery, with the program's own texts.
#include "gallery/gallery_registry.h"
#include "printer_setup/app/dialog_kit_outcome_sink.h"
#include "printer_setup/app/outcome_messages.h"
#include "printer_setup/app/setup_app.h"

namespace kit::gallery {

namespace {

BoxMaker OutcomeBox(bool installed, setup::MessageLanguage language) {
  return [installed, language] {
    return setup::DialogKitOutcomeSink::BoxRequest(
        setup::SetupApp::kProgramName, setup::OutcomeMessageText(installed, language),
        installed ? setup::MessageIcon::Information : setup::MessageIcon::Error);
  };
}

}  // namespace

void AddSetupDialogs(GalleryRegistry& registry) {
  using setup::MessageLanguage;
  registry.addBox("setup-installed", "setup: the driver was installed (English)",
                  OutcomeBox(true, MessageLanguage::English));
  registry.addBox("setup-failed", "setup: the installation failed (English)",
                  OutcomeBox(false, MessageLanguage::English));
  registry.addBox("setup-installed-zh-cn", "setup: the driver was installed (Simplified Chinese)",
                  OutcomeBox(true, MessageLanguage::SimplifiedChinese));
  registry.addBox("setup-installed-zh-tw", "setup: the driver was installed (Traditional Chinese)",
                  OutcomeBox(true, MessageLanguage::TraditionalChinese));
}

}  // namespace kit::gallery
