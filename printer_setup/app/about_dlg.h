#pragma once

#include "platform/ui/dialog.h"
#include "printer_setup/app/dialog_strings.h"

namespace kit::setup {

// The about box (100): the program icon, the version line (1062), a second
// line (1063) and OK.
class AboutDlg : public ui::Dialog {
public:
    AboutDlg(ui::Host& host, const DialogStrings& strings, ui::Dialog* owner = nullptr);
    [[nodiscard]] static ui::DialogTemplate Template();

    bool OnInitDialog() override;

private:
    const DialogStrings& m_strings;
};

}  // namespace kit::setup
