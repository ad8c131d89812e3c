#pragma once

#include "printer_setup/app/dialog_strings.h"
#include "printer_setup/app/installer_values.h"
#include "printer_setup/app/new_wiz_page.h"

namespace kit::setup {

// The system and language page (137): shows the detected system in the
// system radios (1070-1074, for the system codes 6 to 10; any other code
// leaves them clear) and asks for the language of the printer files and of
// the final message (1037 Chinese, 1038 English), which becomes
// g_LanguageChoice. The system radios only show: the driver files follow the
// detected system whatever is selected there.
class LanguageDlg : public NewWizPage {
public:
    LanguageDlg(ui::Host& host, const DialogStrings& strings, InstallerValues& values);
    [[nodiscard]] static ui::DialogTemplate Template();

    bool OnInitDialog() override;
    void OnShowWindow(bool show) override;
    const ui::MessageMap* messageMap() const override;

    // The radio index of a system code, -1 for codes outside 6 to 10.
    [[nodiscard]] static int SystemIndex(int systemCode);

    [[nodiscard]] int languageIndex() const { return m_nLanguage; }
    [[nodiscard]] int systemIndex() const { return m_nSystem; }

private:
    void OnLanguage();
    void ShowMembers();
    void ReadMembers();

    const DialogStrings& m_strings;
    InstallerValues& m_values;
    int m_nLanguage = -1;  // 0 = 1037, 1 = 1038
    int m_nSystem = -1;    // 0..4 = 1070..1074
};

}  // namespace kit::setup
