#include "printer_setup/app/setting_dlg.h"

#include "printer_setup/app/new_wiz_dialog.h"
#include "printer_setup/app/resource.h"
#include "printer_setup/app/wizard_layout.h"

namespace kit::setup {

SettingDlg::SettingDlg(ui::Host& host, const DialogStrings& strings) : NewWizPage(host, Template()), m_strings(strings) {}

ui::DialogTemplate SettingDlg::Template() {
    ui::DialogTemplate t;
    t.id = IDD_SETTING;
    t.width = kWizardWidth;
    t.height = kPageHeight;
    t.font = WizardFont();
    t.controls = {
        ui::Label(IDC_SERIES_LABEL, "可安装打印机系列", {12, 12, 140, 10}),
        ui::Control(IDC_SERIES_LIST, ui::ControlKind::ListBox, {12, 24, 140, 118}, ui::kSorted),
        ui::GroupBox(IDC_SETTING_GROUP, "打印机设置", {166, 12, 140, 74}),
        ui::CheckBox(IDC_DEFAULT_PRINTER, "设置默认打印机", {176, 28, 124, 10}),
        ui::Label(IDC_NAME_LABEL, "名称:", {176, 48, 124, 10}),
        ui::EditBox(IDC_TEXTBOX, {176, 60, 120, 12}, ui::kReadOnly),
    };
    return t;
}

const ui::MessageMap* SettingDlg::messageMap() const {
    static const auto map = ui::MessageMapBuilder<SettingDlg>()
                                .on(ui::EventKind::SelectionChange, IDC_SERIES_LIST, &SettingDlg::OnSelectSeries)
                                .build();
    return &map;
}

bool SettingDlg::OnInitDialog() {
    NewWizPage::OnInitDialog();
    ShowMembers();  // the template starts with the members' values
    ReadMembers();
    (void)addItem(IDC_SERIES_LIST, kSeries);
    EnableNextBySelection();
    g_SetDialogStrings(m_strings, *this, IDD_SETTING);
    return true;
}

void SettingDlg::EnableNextBySelection() {
    if (auto* frame = dynamic_cast<NewWizDialog*>(parentWindow())) frame->EnableNext(selection(IDC_SERIES_LIST) >= 0);
}

void SettingDlg::OnShowWindow(bool show) {
    ReadMembers();
    // Coming back to the page through Back and Next enables Next again;
    // it follows the list here too, so no series means no way on.
    if (show) EnableNextBySelection();
}

void SettingDlg::OnSelectSeries() {
    EnableNextBySelection();
    if (selection(IDC_SERIES_LIST) == 0) m_strName = kSeries;
    ShowMembers();
}

void SettingDlg::ShowMembers() {
    (void)setCheck(IDC_DEFAULT_PRINTER, m_bDefault);
    (void)setText(IDC_TEXTBOX, m_strName);
}

void SettingDlg::ReadMembers() {
    m_bDefault = isChecked(IDC_DEFAULT_PRINTER);
    m_strName = text(IDC_TEXTBOX);
}

}  // namespace kit::setup
