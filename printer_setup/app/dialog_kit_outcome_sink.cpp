#include "printer_setup/app/dialog_kit_outcome_sink.h"

#include <string>

namespace kit::setup {

void DialogKitOutcomeSink::showMessage(std::string_view title, std::string_view text, MessageIcon icon) {
    ui::BoxIcon boxIcon = icon == MessageIcon::Information ? ui::BoxIcon::Information
                          : icon == MessageIcon::Error     ? ui::BoxIcon::Error
                                                           : ui::BoxIcon::None;
    (void)m_wizard.messageBox(std::string(text), std::string(title), ui::BoxButtons::Ok, boxIcon);
}

void DialogKitOutcomeSink::postQuit() { (void)m_wizard.post(m_quitMessage); }

}  // namespace kit::setup
