#include "printer_setup/app/new_wiz_page.h"

#include "printer_setup/app/new_wiz_dialog.h"
#include "printer_setup/app/resource.h"

namespace kit::setup {

namespace {

ui::DialogTemplate AsChild(ui::DialogTemplate t) {
    t.flags |= ui::kChildWindow;
    return t;
}

}  // namespace

NewWizPage::NewWizPage(ui::Host& host, ui::DialogTemplate dialogTemplate)
    : ui::Dialog(host, AsChild(std::move(dialogTemplate))) {}

NewWizPage::~NewWizPage() {
    if (m_list) m_list->forgetPage(*this);
}

bool NewWizPage::OnInitDialog() {
    // The page background, the header frame and the text box are white; the
    // other texts are drawn on the page's white.
    setWhiteBackground(true);
    (void)setControlBackground(IDC_HEADER, true);
    (void)setControlBackground(IDC_TEXTBOX, true);
    return true;
}

}  // namespace kit::setup
