#pragma once

#include "platform/ui/dialog.h"

namespace kit::setup {

class NewWizDialog;

// The base of every wizard page: a child dialog without border shown inside
// the frame (NewWizDialog), created hidden and disabled the first time it is
// shown and kept until the frame goes. Pages paint on white.
//
// The eight operations below are what the frame asks a page; their defaults
// let the user move freely. Escape inside a page does not close it.
class NewWizPage : public ui::Dialog {
public:
    // `dialogTemplate` is made a child window.
    NewWizPage(ui::Host& host, ui::DialogTemplate dialogTemplate);
    // A page that goes before its frame leaves the frame's list.
    ~NewWizPage() override;

    // After the page's window was created; false gives up showing the page.
    virtual bool OnCreatePage() { return true; }
    // Before the page's window is destroyed.
    virtual void OnDestroyPage() {}
    // Before the page is left; false keeps it.
    virtual bool OnKillActive() { return true; }
    // After the page was shown as the active page.
    virtual void OnSetActive() {}
    // Before the wizard is cancelled; false keeps it open.
    virtual bool OnQueryCancel() { return true; }
    // Where Back and Next go: 0 the page before or after, -1 stay, another
    // value the dialog number of the target page.
    virtual int OnWizardBack() { return 0; }
    virtual int OnWizardNext() { return 0; }
    // Before the wizard finishes; false keeps it open.
    virtual bool OnWizardFinish() { return true; }
    // Each time the frame shows or hides the page.
    virtual void OnShowWindow(bool /*show*/) {}

    void OnCancel() override {}
    bool OnInitDialog() override;

    [[nodiscard]] NewWizDialog* parentFrame() const { return m_pParent; }
    [[nodiscard]] bool isPageCreated() const { return m_bCreated; }
    [[nodiscard]] bool isActive() const { return m_bActive; }
    [[nodiscard]] int dialogNumber() const { return m_nDialogID; }

private:
    friend class NewWizDialog;

    NewWizDialog* m_list = nullptr;  // the frame whose list holds the page
    NewWizDialog* m_pParent = nullptr;
    bool m_bCreated = false;
    bool m_bActive = false;
    int m_nDialogID = 0;
};

}  // namespace kit::setup
