#pragma once

#include <vector>

#include "platform/ui/dialog.h"
#include "printer_setup/app/new_wiz_page.h"

namespace kit::setup {

// The wizard frame: an ordered list of pages shown one at a time at the
// top-left corner of a placeholder control, with the buttons Back (12323),
// Next (12324), Finish (12325) and Cancel (1061).
//
// Button states: Back is off on the first page; Next is off on the last page
// and Finish on only there (a single page starts with Finish on and Next
// off). Pages decide through their operations (NewWizPage) whether the user
// may leave, go on, finish or cancel. The frame closes with 12325 (Finish) or
// the cancel result (2), and destroys its pages when it closes.
class NewWizDialog : public ui::Dialog {
public:
    static constexpr int kFinishResult = 12325;

    NewWizDialog(ui::Host& host, ui::DialogTemplate dialogTemplate, int placeholderId);
    ~NewWizDialog() override;

    // Appends a page; `number` is its dialog number, the target that
    // OnWizardNext and OnWizardBack may name.
    void AddPage(NewWizPage& page, int number);
    // Creates the page when needed, lets the active page refuse to be left,
    // then places and shows the page. True when the page is now shown.
    bool SetActivePage(NewWizPage& page);

    void EnableBack(bool enable);
    void EnableNext(bool enable);
    void EnableFinish(bool enable);

    // The button handlers.
    void OnWizardBack();
    void OnWizardNext();
    void OnWizardFinish();
    // Asks every created page, then closes the frame with the cancel result.
    void OnCancel() override;
    // Enter without an enabled default button does not end a wizard.
    void OnOK() override {}

    bool OnInitDialog() override;
    const ui::MessageMap* messageMap() const override;

    [[nodiscard]] NewWizPage* activePage() const;
    [[nodiscard]] const std::vector<NewWizPage*>& pages() const { return m_pages; }

    // Set once the progress page has installed; Back clears it, so that a
    // new visit of the progress page installs again.
    bool g_Installed = false;

protected:
    // Closes the frame: every created page is told and destroyed first.
    void EndWizard(int result);

private:
    friend class NewWizPage;
    void forgetPage(NewWizPage& page);
    [[nodiscard]] int indexOf(const NewWizPage* page) const;
    [[nodiscard]] NewWizPage* pageByNumber(int number) const;
    void destroyPages();

    int m_placeholderId;
    std::vector<NewWizPage*> m_pages;
};

}  // namespace kit::setup
