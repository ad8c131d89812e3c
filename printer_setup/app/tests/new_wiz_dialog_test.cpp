// The wizard frame with pages that record what they are asked: page order,
// button states, refusals, targets by number, finish, cancel and the end.
#include "printer_setup/app/new_wiz_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/headless/headless_host.h"
#include "printer_setup/app/resource.h"

namespace kit::setup {
namespace {

using Log = std::vector<std::string>;

ui::DialogTemplate FrameTemplate() {
    ui::DialogTemplate t;
    t.id = 102;
    t.width = 200;
    t.height = 120;
    t.controls = {
        ui::Label(IDC_SHEETRECT, "", {4, 6, 190, 90}),
        ui::Button(ID_WIZBACK, "Back", {10, 100, 40, 14}),
        ui::Button(ID_WIZNEXT, "Next", {55, 100, 40, 14}),
        ui::Button(ID_WIZFINISH, "Finish", {100, 100, 40, 14}),
        ui::Button(IDC_CANCEL, "Cancel", {145, 100, 40, 14}),
    };
    return t;
}

class TestPage : public NewWizPage {
public:
    TestPage(ui::Host& host, int number, Log& log) : NewWizPage(host, Template(number)), m_log(log) {}
    static ui::DialogTemplate Template(int number) {
        ui::DialogTemplate t;
        t.id = number;
        t.width = 190;
        t.height = 90;
        return t;
    }
    bool OnCreatePage() override { return note("create", createAnswer); }
    void OnDestroyPage() override { note("destroy"); }
    bool OnKillActive() override { return note("kill", killAnswer); }
    void OnSetActive() override { note("set"); }
    bool OnQueryCancel() override { return note("querycancel", cancelAnswer); }
    int OnWizardBack() override {
        note("back");
        return backAnswer;
    }
    int OnWizardNext() override {
        note("next");
        return nextAnswer;
    }
    bool OnWizardFinish() override { return note("finish", finishAnswer); }

    bool createAnswer = true, killAnswer = true, cancelAnswer = true, finishAnswer = true;
    int backAnswer = 0, nextAnswer = 0;

private:
    bool note(const char* what, bool answer = true) {
        m_log.push_back(std::to_string(id()) + " " + what);
        return answer;
    }
    Log& m_log;
};

struct Wizard {
    explicit Wizard(int pageCount) : frame(host, FrameTemplate(), IDC_SHEETRECT) {
        for (int i = 0; i < pageCount; ++i) pages.push_back(std::make_unique<TestPage>(host, 200 + i, log));
        for (auto& page : pages) frame.AddPage(*page, page->id());
    }
    // "BNF": Back, Next, Finish enabled (upper case) or not (lower case).
    std::string buttons() const {
        return std::string(1, frame.isEnabled(ID_WIZBACK) ? 'B' : 'b') + (frame.isEnabled(ID_WIZNEXT) ? 'N' : 'n') +
               (frame.isEnabled(ID_WIZFINISH) ? 'F' : 'f');
    }
    int active() const { return frame.activePage() ? frame.activePage()->id() : 0; }

    ui::HeadlessHost host;
    Log log;
    NewWizDialog frame;
    std::vector<std::unique_ptr<TestPage>> pages;
};

TEST(NewWizDialog, ButtonStatesFollowThePageThroughTheList) {
    Wizard w(4);
    ASSERT_TRUE(w.frame.create());
    struct Step {
        void (NewWizDialog::*press)();
        int page;
        const char* buttons;
    };
    const Step steps[] = {
        {nullptr, 200, "bNf"},
        {&NewWizDialog::OnWizardNext, 201, "BNf"},
        {&NewWizDialog::OnWizardNext, 202, "BNf"},
        {&NewWizDialog::OnWizardNext, 203, "BnF"},
        {&NewWizDialog::OnWizardNext, 203, "BnF"},  // no page after the last
        {&NewWizDialog::OnWizardBack, 202, "BNF"},  // Back leaves Finish as it was
        {&NewWizDialog::OnWizardBack, 201, "BNF"},
        {&NewWizDialog::OnWizardBack, 200, "bNf"},
        {&NewWizDialog::OnWizardBack, 200, "bNf"},
    };
    for (const auto& step : steps) {
        if (step.press) (w.frame.*step.press)();
        EXPECT_EQ(w.active(), step.page);
        EXPECT_EQ(w.buttons(), step.buttons) << "on page " << step.page;
        for (auto& page : w.pages) {
            EXPECT_EQ(page->isWindowShown(), page->id() == step.page) << page->id();
        }
    }
}

TEST(NewWizDialog, SinglePageStartsWithFinishOnAndNextOff) {
    Wizard w(1);
    ASSERT_TRUE(w.frame.create());
    EXPECT_EQ(w.buttons(), "bnF");
    EXPECT_EQ(w.active(), 200);
}

TEST(NewWizDialog, PagesAreCreatedOnceAtThePlaceholderAndToldInOrder) {
    Wizard w(2);
    ASSERT_TRUE(w.frame.create());
    w.frame.OnWizardNext();
    w.frame.OnWizardBack();
    w.frame.OnWizardNext();
    const Log expected = {"200 create", "200 set", "200 next", "201 create", "200 kill", "201 set", "201 back",
                          "201 kill",   "200 set", "200 next", "200 kill",   "201 set"};
    EXPECT_EQ(w.log, expected);
    EXPECT_EQ(w.pages[1]->position().x, 4);
    EXPECT_EQ(w.pages[1]->position().y, 6);
    EXPECT_TRUE(w.pages[1]->isWindowEnabled());
    EXPECT_EQ(w.pages[1]->parentFrame(), &w.frame);
    EXPECT_EQ(w.pages[1]->dialogNumber(), 201);
}

TEST(NewWizDialog, PagesChooseWhereNextAndBackGo) {
    Wizard w(4);
    ASSERT_TRUE(w.frame.create());
    w.pages[0]->nextAnswer = -1;
    w.frame.OnWizardNext();
    EXPECT_EQ(w.active(), 200) << "-1 stays";
    w.pages[0]->nextAnswer = 999;
    w.frame.OnWizardNext();
    EXPECT_EQ(w.active(), 200) << "an unknown number stays";
    w.pages[0]->nextAnswer = 203;
    w.frame.OnWizardNext();
    EXPECT_EQ(w.active(), 203) << "a number jumps";
    EXPECT_EQ(w.buttons(), "BnF");
    w.pages[3]->backAnswer = 200;
    w.frame.OnWizardBack();
    EXPECT_EQ(w.active(), 200);
    EXPECT_EQ(w.buttons(), "bNf");
}

TEST(NewWizDialog, RefusalsKeepTheWizardWhereItIs) {
    Wizard w(3);
    ASSERT_TRUE(w.frame.create());
    w.pages[0]->killAnswer = false;
    w.frame.OnWizardNext();
    EXPECT_EQ(w.active(), 200);
    EXPECT_EQ(w.buttons(), "bNf");

    Wizard fresh(3);
    ASSERT_TRUE(fresh.frame.create());
    fresh.pages[1]->createAnswer = false;  // the page is made but refuses to be shown
    fresh.frame.OnWizardNext();
    EXPECT_EQ(fresh.active(), 200);
    EXPECT_EQ(fresh.buttons(), "bNf");
}

TEST(NewWizDialog, BackClearsTheInstalledMark) {
    Wizard w(2);
    ASSERT_TRUE(w.frame.create());
    w.frame.OnWizardNext();
    w.frame.g_Installed = true;
    w.frame.OnWizardNext();  // nowhere to go: unchanged
    EXPECT_TRUE(w.frame.g_Installed);
    w.frame.OnWizardBack();
    EXPECT_FALSE(w.frame.g_Installed);
}

TEST(NewWizDialog, FinishAsksTheActivePageThenEveryCreatedPage) {
    Wizard w(3);
    w.host.onModal(102, [&](ui::ModalScript& s) {
        auto& frame = static_cast<NewWizDialog&>(s.dialog);
        frame.OnWizardNext();
        w.pages[0]->finishAnswer = false;
        w.log.clear();
        EXPECT_FALSE(frame.userClick(ID_WIZFINISH)) << "Finish is off before the last page";
        frame.OnWizardFinish();
        EXPECT_FALSE(frame.isEnded());
        EXPECT_EQ(w.log, (Log{"201 kill", "200 finish"}));
        w.pages[0]->finishAnswer = true;
        w.log.clear();
        frame.OnWizardFinish();
    });
    EXPECT_EQ(w.frame.runModal(), NewWizDialog::kFinishResult);
    // Page 202 was never created: not asked. The pages go when the frame closes.
    EXPECT_EQ(w.log, (Log{"201 kill", "200 finish", "201 finish", "200 kill", "200 destroy", "201 kill",
                          "201 destroy"}));
    EXPECT_FALSE(w.pages[0]->isCreated());
    EXPECT_FALSE(w.pages[1]->isPageCreated());
}

TEST(NewWizDialog, CancelAsksEveryCreatedPageAndEndsWithTheCancelResult) {
    Wizard w(3);
    w.host.onModal(102, [&](ui::ModalScript& s) {
        auto& frame = static_cast<NewWizDialog&>(s.dialog);
        frame.OnWizardNext();
        w.pages[1]->cancelAnswer = false;
        EXPECT_TRUE(frame.userClick(IDC_CANCEL));
        EXPECT_FALSE(frame.isEnded());
        EXPECT_TRUE(frame.userKey(ui::Key::Escape));
        EXPECT_FALSE(frame.isEnded());
        w.pages[1]->cancelAnswer = true;
        EXPECT_TRUE(frame.userKey(ui::Key::Escape));
    });
    EXPECT_EQ(w.frame.runModal(), ui::kIdCancel);
}

TEST(NewWizDialog, EnterNeverEndsTheWizardAndEscapeInAPageCancelsIt) {
    Wizard w(2);
    w.host.onModal(102, [&](ui::ModalScript& s) {
        EXPECT_EQ(s.dialog.focusedControl(), ID_WIZNEXT) << "the focus skips the disabled Back";
        EXPECT_TRUE(s.dialog.userKey(ui::Key::Enter));
        EXPECT_EQ(w.active(), 201);
        // Next is now off and the frame has no default button: OnOK does nothing.
        EXPECT_TRUE(s.dialog.userKey(ui::Key::Enter));
        EXPECT_FALSE(s.dialog.isEnded());
        // The page itself stays; the frame takes Escape and asks the pages.
        w.pages[1]->cancelAnswer = false;
        EXPECT_TRUE(w.pages[1]->userKey(ui::Key::Escape));
        EXPECT_FALSE(s.dialog.isEnded());
        EXPECT_TRUE(w.pages[1]->isCreated());
        w.pages[1]->cancelAnswer = true;
        EXPECT_TRUE(w.pages[1]->userKey(ui::Key::Escape));
    });
    EXPECT_EQ(w.frame.runModal(), ui::kIdCancel);
}

TEST(NewWizDialog, PagesAndFrameMayGoInEitherOrder) {
    ui::HeadlessHost host;
    Log log;
    {
        auto page = std::make_unique<TestPage>(host, 200, log);
        NewWizDialog frame(host, FrameTemplate(), IDC_SHEETRECT);
        frame.AddPage(*page, 200);
        ASSERT_TRUE(frame.create());
        page.reset();  // leaves the frame's list
        EXPECT_TRUE(frame.pages().empty());
        frame.OnWizardNext();
    }
    {
        auto frame = std::make_unique<NewWizDialog>(host, FrameTemplate(), IDC_SHEETRECT);
        TestPage page(host, 200, log);
        frame->AddPage(page, 200);
        ASSERT_TRUE(frame->create());
        frame.reset();  // the page is told and destroyed with the frame
        EXPECT_FALSE(page.isCreated());
    }
}

}  // namespace
}  // namespace kit::setup
