#include "printer_setup/app/copy_dlg.h"

#include "platform/ui/wait_cursor.h"
#include "printer_setup/app/header_layout.h"
#include "printer_setup/app/new_wiz_dialog.h"
#include "printer_setup/app/picture_files.h"
#include "printer_setup/app/resource.h"
#include "printer_setup/app/wizard_layout.h"

namespace kit::setup {

CopyDlg::CopyDlg(ui::Host& host, const DialogStrings& strings, std::function<void()> installDriver)
    : NewWizPage(host, Template()), m_strings(strings), m_installDriver(std::move(installDriver)) {}

ui::DialogTemplate CopyDlg::Template() {
    ui::DialogTemplate t = HeaderPageTemplate(IDD_COPY);
    t.controls.insert(t.controls.end(), {
        ui::Label(IDC_COPY_TITLE, "正在安装驱动，请稍候 ...", {10, 8, 260, 20}),
        ui::Label(IDC_COPY_SUBTITLE, "目前正在您的计算机上安装打印机驱动", {20, 24, 240, 10}, ui::kHidden),
        ui::Label(IDC_COPY_TEXT, "正在安装...", {20, 66, 277, 10}),
        ui::Control(IDC_PROGRESS, ui::ControlKind::ProgressBar, {20, 80, 277, 12}),
    });
    return t;
}

const ui::MessageMap* CopyDlg::messageMap() const {
    static const auto map =
        ui::MessageMapBuilder<CopyDlg>().on(ui::EventKind::Timer, kInstallTimer, &CopyDlg::OnTimer).build();
    return &map;
}

bool CopyDlg::OnInitDialog() {
    NewWizPage::OnInitDialog();
    (void)setRange(IDC_PROGRESS, 0, 100);
    (void)setFont(IDC_COPY_TITLE, WizardTitleFont());
    g_SetDialogStrings(m_strings, *this, IDD_COPY);
    if (parentWindow()) LayoutHeader(*this, *parentWindow());
    return true;
}

void CopyDlg::OnShowWindow(bool show) {
    if (!show) return;
    auto* frame = dynamic_cast<NewWizDialog*>(parentWindow());
    if (frame && !frame->g_Installed) (void)setTimer(kInstallTimer, std::chrono::milliseconds(kTimerPeriodMs));
    if (frame) LayoutHeader(*this, *frame);
}

void CopyDlg::OnTimer() {
    ui::WaitCursor wait(host());
    (void)killTimer(kInstallTimer);
    (void)setPosition(IDC_PROGRESS, 50);
    if (m_installDriver) m_installDriver();
    // The installation may have closed the wizard already (the frame then
    // destroyed this page); only a page still alive shows the end.
    if (!isCreated()) return;
    (void)setPosition(IDC_PROGRESS, 100);
    if (auto* frame = dynamic_cast<NewWizDialog*>(parentWindow())) frame->g_Installed = true;
}

}  // namespace kit::setup
