#include "printer_setup/app/welcome_dlg.h"

#include "printer_setup/app/picture_files.h"
#include "printer_setup/app/resource.h"
#include "printer_setup/app/wizard_layout.h"

namespace kit::setup {

WelcomeDlg::WelcomeDlg(ui::Host& host, const DialogStrings& strings) : NewWizPage(host, Template()), m_strings(strings) {}

ui::DialogTemplate WelcomeDlg::Template() {
    ui::DialogTemplate t;
    t.id = IDD_WELCOME;
    t.width = kWizardWidth;
    t.height = kPageHeight;
    t.font = WizardFont();
    auto picture = ui::Control(ui::kNoId, ui::ControlKind::Picture, {0, 0, 110, kPageHeight});
    picture.text = PictureFile(kWelcomePicture);
    t.controls = {
        picture,
        ui::Label(IDC_WELCOME_TITLE, "欢迎使用ZEL58系列打印机驱动安装程序向导", {122, 10, 186, 26}),
        ui::Label(IDC_WELCOME_TEXT1, "这将会在您的计算机上安装ZEL58系列打印机驱动程序", {122, 46, 186, 20}),
        ui::Label(IDC_WELCOME_TEXT2, "推荐在继续安装前关闭所有其他应用程序", {122, 72, 186, 20}),
        ui::Label(IDC_WELCOME_TEXT3, "点击 下一步 继续，或者 取消 退出安装程序", {122, 126, 186, 20}),
    };
    return t;
}

bool WelcomeDlg::OnInitDialog() {
    NewWizPage::OnInitDialog();
    (void)setFont(IDC_WELCOME_TITLE, WizardTitleFont());
    g_SetDialogStrings(m_strings, *this, IDD_WELCOME);
    return true;
}

}  // namespace kit::setup
