#include "printer_setup/app/language_dlg.h"

#include "printer_setup/app/driver_set.h"
#include "printer_setup/app/header_layout.h"
#include "printer_setup/app/picture_files.h"
#include "printer_setup/app/resource.h"
#include "printer_setup/app/wizard_layout.h"

namespace kit::setup {

LanguageDlg::LanguageDlg(ui::Host& host, const DialogStrings& strings, InstallerValues& values)
    : NewWizPage(host, Template()), m_strings(strings), m_values(values) {}

ui::DialogTemplate LanguageDlg::Template() {
    ui::DialogTemplate t = HeaderPageTemplate(IDD_LANGUAGE);
    t.controls.insert(t.controls.end(), {
        ui::Label(IDC_LANGUAGE_TITLE, "请选择安装系统", {10, 8, 250, 10}),
        ui::Label(IDC_LANGUAGE_SUBTITLE, "请选择您的安装系统", {20, 22, 240, 10}, ui::kHidden),
        ui::GroupBox(IDC_SYSTEM_GROUP, "可选安装系统", {12, 52, 140, 92}),
        ui::GroupBox(IDC_LANGUAGE_GROUP, "可选安装语言", {166, 52, 140, 92}),
        ui::RadioButton(IDC_CHINESE, "中文", {178, 68, 110, 10}, ui::kGroupStart),
        ui::RadioButton(IDC_ENGLISH, "英文", {178, 84, 110, 10}),
        ui::RadioButton(IDC_WIN2000, "Windows 2000", {24, 66, 110, 10}, ui::kGroupStart),
        ui::RadioButton(IDC_WINXP, "Windows XP", {24, 80, 110, 10}),
        ui::RadioButton(IDC_WIN2003, "Windows 2003", {24, 94, 110, 10}),
        ui::RadioButton(IDC_VISTA, "Vista", {24, 108, 110, 10}),
        ui::RadioButton(IDC_WIN7, "Windows 7", {24, 122, 110, 10}),
    });
    return t;
}

const ui::MessageMap* LanguageDlg::messageMap() const {
    static const auto map = ui::MessageMapBuilder<LanguageDlg>()
                                .on(ui::EventKind::Click, IDC_CHINESE, &LanguageDlg::OnLanguage)
                                .on(ui::EventKind::Click, IDC_ENGLISH, &LanguageDlg::OnLanguage)
                                .build();
    return &map;
}

int LanguageDlg::SystemIndex(int systemCode) { return systemCode >= 6 && systemCode <= 10 ? systemCode - 6 : -1; }

bool LanguageDlg::OnInitDialog() {
    NewWizPage::OnInitDialog();
    m_nLanguage = IsChineseSystem(m_strings.languageId) ? 0 : 1;
    m_values.g_LanguageChoice = static_cast<std::uint16_t>(m_nLanguage);
    m_nSystem = SystemIndex(m_values.g_SystemCode);
    (void)setFont(IDC_LANGUAGE_TITLE, WizardTitleFont());
    g_SetDialogStrings(m_strings, *this, IDD_LANGUAGE);
    if (parentWindow()) LayoutHeader(*this, *parentWindow());
    ShowMembers();
    return true;
}

void LanguageDlg::OnShowWindow(bool show) {
    if (show && parentWindow()) LayoutHeader(*this, *parentWindow());
}

void LanguageDlg::ShowMembers() {
    if (m_nLanguage >= 0) (void)checkRadioButton(IDC_CHINESE, IDC_ENGLISH, IDC_CHINESE + m_nLanguage);
    (void)checkRadioButton(IDC_WIN2000, IDC_WIN7, m_nSystem >= 0 ? IDC_WIN2000 + m_nSystem : 0);
}

void LanguageDlg::ReadMembers() {
    const int language = checkedRadioButton(IDC_CHINESE, IDC_ENGLISH);
    m_nLanguage = language ? language - IDC_CHINESE : -1;
    const int system = checkedRadioButton(IDC_WIN2000, IDC_WIN7);
    m_nSystem = system ? system - IDC_WIN2000 : -1;
}

void LanguageDlg::OnLanguage() {
    ReadMembers();
    if (m_nLanguage >= 0) m_values.g_LanguageChoice = static_cast<std::uint16_t>(m_nLanguage);
}

}  // namespace kit::setup
