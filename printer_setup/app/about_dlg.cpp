#include "printer_setup/app/about_dlg.h"

#include "printer_setup/app/picture_files.h"
#include "printer_setup/app/resource.h"
#include "printer_setup/app/wizard_layout.h"

namespace kit::setup {

AboutDlg::AboutDlg(ui::Host& host, const DialogStrings& strings, ui::Dialog* owner)
    : ui::Dialog(host, Template(), owner), m_strings(strings) {}

ui::DialogTemplate AboutDlg::Template() {
    ui::DialogTemplate t;
    t.id = IDD_ABOUTBOX;
    t.caption = "关于 安装向导";
    t.width = 235;
    t.height = 62;
    t.font = WizardFont();
    auto icon = ui::Control(ui::kNoId, ui::ControlKind::Picture, {11, 12, 22, 22});
    icon.text = PictureFile(kIconPicture);
    t.controls = {
        icon,
        ui::Label(IDC_ABOUT_VERSION, "驱动安装向导 1.0 版", {42, 12, 186, 10}),
        ui::Label(IDC_ABOUT_LINE2, "票据打印机驱动安装程序", {42, 26, 186, 10}),
        ui::Button(ui::kIdOk, "确定", {178, 42, 50, 14}, ui::kDefaultButton | ui::kGroupStart),
    };
    return t;
}

bool AboutDlg::OnInitDialog() {
    g_SetDialogStrings(m_strings, *this, IDD_ABOUTBOX);
    return true;
}

}  // namespace kit::setup
