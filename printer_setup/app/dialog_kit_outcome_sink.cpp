#include "printer_setup/app/dialog_kit_outcome_sink.h"

#include <string>

namespace kit::setup {

ui::MessageBoxRequest DialogKitOutcomeSink::BoxRequest(std::string_view title, std::string_view text,
                                                       MessageIcon icon) {
    ui::MessageBoxRequest request;
    request.text = std::string(text);
    request.title = std::string(title);
    request.buttons = ui::BoxButtons::Ok;
    request.icon = icon == MessageIcon::Information ? ui::BoxIcon::Information
                   : icon == MessageIcon::Error     ? ui::BoxIcon::Error
                                                    : ui::BoxIcon::None;
    return request;
}

void DialogKitOutcomeSink::showMessage(std::string_view title, std::string_view text, MessageIcon icon) {
    const ui::MessageBoxRequest request = BoxRequest(title, text, icon);
    (void)m_wizard.messageBox(request.text, request.title, request.buttons, request.icon);
}

void DialogKitOutcomeSink::postQuit() { (void)m_wizard.post(m_quitMessage); }

}  // namespace kit::setup
