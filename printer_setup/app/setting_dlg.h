#pragma once

#include <string>

#include "printer_setup/app/dialog_strings.h"
#include "printer_setup/app/new_wiz_page.h"

namespace kit::setup {

// The printer series page (143): a list with the one series "80mm series";
// Next stays off until an entry is selected, and the selection fills the
// name box (1019). The default-printer box is shown but not read: the
// installed printer always becomes the default printer.
class SettingDlg : public NewWizPage {
public:
    static constexpr const char* kSeries = "80mm series";

    SettingDlg(ui::Host& host, const DialogStrings& strings);
    [[nodiscard]] static ui::DialogTemplate Template();

    bool OnInitDialog() override;
    void OnShowWindow(bool show) override;
    const ui::MessageMap* messageMap() const override;

    [[nodiscard]] bool defaultPrinter() const { return m_bDefault; }
    [[nodiscard]] const std::string& name() const { return m_strName; }

private:
    void OnSelectSeries();
    void ShowMembers();
    void ReadMembers();
    void EnableNextBySelection();

    const DialogStrings& m_strings;
    bool m_bDefault = true;
    std::string m_strName;
};

}  // namespace kit::setup
