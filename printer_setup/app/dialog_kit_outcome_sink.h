#pragma once

#include <cstdint>

#include "platform/ui/dialog.h"
#include "printer_setup/app/outcome_sink.h"

namespace kit::setup {

// Shows the installation's messages as message boxes of the dialog kit, owned
// by the wizard frame, and posts the quit request to the frame, whose message
// map ends the modal run when it reaches it.
class DialogKitOutcomeSink : public OutcomeSink {
public:
    // The number of the system's quit request.
    static constexpr std::uint32_t kQuitMessage = 0x0012;

    explicit DialogKitOutcomeSink(ui::Dialog& wizard, std::uint32_t quitMessage = kQuitMessage)
        : m_wizard(wizard), m_quitMessage(quitMessage) {}

    void showMessage(std::string_view title, std::string_view text, MessageIcon icon) override;
    // The box showMessage() asks the kit for (also drawn by kit-gallery).
    static ui::MessageBoxRequest BoxRequest(std::string_view title, std::string_view text, MessageIcon icon);
    void postQuit() override;

private:
    ui::Dialog& m_wizard;
    std::uint32_t m_quitMessage;
};

}  // namespace kit::setup
