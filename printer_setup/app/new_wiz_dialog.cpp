#include "printer_setup/app/new_wiz_dialog.h"

#include <algorithm>

#include "printer_setup/app/resource.h"

namespace kit::setup {

NewWizDialog::NewWizDialog(ui::Host& host, ui::DialogTemplate dialogTemplate, int placeholderId)
    : ui::Dialog(host, std::move(dialogTemplate)), m_placeholderId(placeholderId) {}

NewWizDialog::~NewWizDialog() {
    destroyPages();
    for (auto* page : m_pages) page->m_list = nullptr;
}

void NewWizDialog::forgetPage(NewWizPage& page) {
    if (page.m_bCreated) {
        page.destroyWindow();
        page.m_bCreated = false;
    }
    std::erase(m_pages, &page);
}

const ui::MessageMap* NewWizDialog::messageMap() const {
    static const auto map = ui::MessageMapBuilder<NewWizDialog>()
                                .on(ui::EventKind::Click, ID_WIZBACK, &NewWizDialog::OnWizardBack)
                                .on(ui::EventKind::Click, ID_WIZNEXT, &NewWizDialog::OnWizardNext)
                                .on(ui::EventKind::Click, ID_WIZFINISH, &NewWizDialog::OnWizardFinish)
                                .on(ui::EventKind::Click, IDC_CANCEL, &NewWizDialog::OnCancel)
                                .build();
    return &map;
}

void NewWizDialog::AddPage(NewWizPage& page, int number) {
    if (page.m_list) page.m_list->forgetPage(page);
    page.m_nDialogID = number;
    page.m_list = this;
    m_pages.push_back(&page);
}

int NewWizDialog::indexOf(const NewWizPage* page) const {
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i] == page) return static_cast<int>(i);
    }
    return -1;
}

NewWizPage* NewWizDialog::pageByNumber(int number) const {
    for (auto* page : m_pages) {
        if (page->m_nDialogID == number) return page;
    }
    return nullptr;
}

NewWizPage* NewWizDialog::activePage() const {
    for (auto* page : m_pages) {
        if (page->m_bActive) return page;
    }
    return nullptr;
}

bool NewWizDialog::SetActivePage(NewWizPage& page) {
    if (!page.m_bCreated) {
        if (!page.create(this)) return false;
        page.enableWindow(false);
        page.m_bCreated = true;
        page.m_pParent = this;
        if (!page.OnCreatePage()) return false;
    }
    if (NewWizPage* current = activePage(); current && current != &page) {
        if (!current->OnKillActive()) return false;
        current->showWindow(false);
        current->OnShowWindow(false);
        current->m_bActive = false;
    }
    const ui::Rect placeholder = controlRect(m_placeholderId);
    page.moveTo(ui::Point{placeholder.x, placeholder.y});
    page.enableWindow(true);
    page.showWindow(true);
    page.OnShowWindow(true);
    page.OnSetActive();
    page.m_bActive = true;
    return true;
}

void NewWizDialog::EnableBack(bool enable) { (void)this->enable(ID_WIZBACK, enable); }
void NewWizDialog::EnableNext(bool enable) { (void)this->enable(ID_WIZNEXT, enable); }
void NewWizDialog::EnableFinish(bool enable) { (void)this->enable(ID_WIZFINISH, enable); }

bool NewWizDialog::OnInitDialog() {
    EnableBack(false);
    if (m_pages.size() < 2) {
        EnableFinish(true);
        EnableNext(false);
    } else {
        EnableFinish(false);
        EnableNext(true);
    }
    // As the system's dialog manager does after initialisation: the focus goes
    // to the first button that can take it, so Enter never lands on a
    // disabled Back.
    if (!isEnabled(focusedControl())) {
        for (int id : {ID_WIZNEXT, ID_WIZFINISH, IDC_CANCEL}) {
            if (isEnabled(id)) {
                (void)setFocus(id);
                break;
            }
        }
    }
    if (!m_pages.empty()) (void)SetActivePage(*m_pages.front());
    return true;
}

void NewWizDialog::OnWizardNext() {
    NewWizPage* current = activePage();
    if (!current) return;
    const int answer = current->OnWizardNext();
    NewWizPage* target = nullptr;
    if (answer == -1) return;
    if (answer != 0) {
        target = pageByNumber(answer);
    } else {
        const int index = indexOf(current);
        if (index + 1 < static_cast<int>(m_pages.size())) target = m_pages[static_cast<std::size_t>(index) + 1];
    }
    if (!target || !SetActivePage(*target)) return;
    if (target == m_pages.back()) {
        EnableNext(false);
        EnableFinish(true);
    }
    EnableBack(true);
}

void NewWizDialog::OnWizardBack() {
    NewWizPage* current = activePage();
    if (!current) return;
    const int answer = current->OnWizardBack();
    NewWizPage* target = nullptr;
    if (answer == -1) return;
    if (answer != 0) {
        target = pageByNumber(answer);
    } else {
        const int index = indexOf(current);
        if (index > 0) target = m_pages[static_cast<std::size_t>(index) - 1];
    }
    if (!target || !SetActivePage(*target)) return;
    if (target == m_pages.front()) {
        EnableBack(false);
        EnableFinish(false);
    }
    g_Installed = false;
    EnableNext(true);
}

void NewWizDialog::OnWizardFinish() {
    NewWizPage* current = activePage();
    if (current && !current->OnKillActive()) return;
    for (auto* page : m_pages) {
        if (page->m_bCreated && !page->OnWizardFinish()) return;
    }
    EndWizard(kFinishResult);
}

void NewWizDialog::OnCancel() {
    for (auto* page : m_pages) {
        if (page->m_bCreated && !page->OnQueryCancel()) return;
    }
    EndWizard(ui::kIdCancel);
}

void NewWizDialog::EndWizard(int result) {
    // The pages go before the frame's window, whose child windows they are.
    destroyPages();
    endDialog(result);
}

void NewWizDialog::destroyPages() {
    for (auto* page : m_pages) {
        if (!page->m_bCreated) continue;
        (void)page->OnKillActive();
        page->OnDestroyPage();
        page->destroyWindow();
        page->m_bCreated = false;
        page->m_bActive = false;
    }
}

}  // namespace kit::setup
