#include "printer_setup/app/setup_dlg.h"

#include <string>

#include "printer_setup/app/about_dlg.h"
#include "printer_setup/app/resource.h"
#include "printer_setup/app/wizard_layout.h"

namespace kit::setup {

setupDlg::setupDlg(ui::Host& host, const DialogStrings& strings)
    : NewWizDialog(host, Template(), IDC_SHEETRECT), m_strings(strings) {}

ui::DialogTemplate setupDlg::Template() {
    ui::DialogTemplate t;
    t.id = IDD_SETUP_DIALOG;
    t.caption = "";
    t.width = kWizardWidth;
    t.height = kWizardHeight;
    t.font = WizardFont();
    const int buttons = kPageHeight + 12;
    t.controls = {
        ui::Label(IDC_SHEETRECT, "", {0, 0, kWizardWidth, kPageHeight}, ui::kSunken),
        ui::Control(ui::kNoId, ui::ControlKind::EtchedLine, {0, kPageHeight + 3, kWizardWidth, 1}),
        ui::Button(ID_WIZBACK, "后退", {102, buttons, 50, 14}, ui::kGroupStart),
        ui::Button(ID_WIZNEXT, "下一步", {153, buttons, 50, 14}, ui::kDefaultButton),
        ui::Button(ID_WIZFINISH, "完成", {208, buttons, 50, 14}),
        ui::Button(IDC_CANCEL, "取消", {261, buttons, 50, 14}),
    };
    return t;
}

const ui::MessageMap* setupDlg::messageMap() const {
    static const auto map = ui::MessageMapBuilder<setupDlg>()
                                .on(ui::EventKind::SystemCommand, IDM_ABOUTBOX, &setupDlg::OnAbout)
                                .onMessage(kQuitRequest, &setupDlg::OnQuitRequest)
                                .inherit(NewWizDialog::messageMap())
                                .build();
    return &map;
}

bool setupDlg::OnInitDialog() {
    NewWizDialog::OnInitDialog();
    const std::string about = kAboutItem;
    if (!about.empty()) addSystemMenuItem(IDM_ABOUTBOX, about);
    g_SetDialogStrings(m_strings, *this, IDD_SETUP_DIALOG);
    return true;
}

void setupDlg::OnAbout() {
    AboutDlg about(host(), m_strings, this);
    (void)about.runModal();
}

std::intptr_t setupDlg::OnQuitRequest(std::uintptr_t, std::intptr_t) {
    EndWizard(kQuitResult);
    return 0;
}

}  // namespace kit::setup
