#pragma once

#include "printer_setup/app/dialog_strings.h"
#include "printer_setup/app/new_wiz_page.h"

namespace kit::setup {

// The welcome page (138): the side picture and four lines of text.
class WelcomeDlg : public NewWizPage {
public:
    WelcomeDlg(ui::Host& host, const DialogStrings& strings);
    [[nodiscard]] static ui::DialogTemplate Template();

    bool OnInitDialog() override;

private:
    const DialogStrings& m_strings;
};

}  // namespace kit::setup
