#pragma once

#include <cstdint>

#include "printer_setup/app/dialog_strings.h"
#include "printer_setup/app/new_wiz_dialog.h"

namespace kit::setup {

// The installer's wizard frame (102): the page placeholder 1000, the buttons
// Back, Next, Finish and Cancel, and the about item (command 16) in the
// system menu. It is the program's main window: the installation's quit
// request (message 0x0012) closes it.
class setupDlg : public NewWizDialog {
public:
    // The text of string resource 101, the about item of the system menu.
    static constexpr const char* kAboutItem = "关于 安装向导(&A)...";
    static constexpr std::uint32_t kQuitRequest = 0x0012;
    // The end code of a frame closed by the quit request.
    static constexpr int kQuitResult = 0;

    setupDlg(ui::Host& host, const DialogStrings& strings);
    [[nodiscard]] static ui::DialogTemplate Template();

    bool OnInitDialog() override;
    const ui::MessageMap* messageMap() const override;

private:
    void OnAbout();
    std::intptr_t OnQuitRequest(std::uintptr_t, std::intptr_t);

    const DialogStrings& m_strings;
};

}  // namespace kit::setup
