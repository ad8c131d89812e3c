// The installer's frame and pages on the headless host, with the language
// files the program writes: texts, the detected system, the language choice,
// the series list and the progress page's timer.
#include <gtest/gtest.h>

#include <string>

#include "platform/ui/headless/headless_host.h"
#include "printer_setup/app/about_dlg.h"
#include "printer_setup/app/resource.h"
#include "printer_setup/app/setup_start.h"
#include "printer_setup/app/setup_wizard.h"
#include "printer_setup/app/tests/temp_folder.h"

namespace kit::setup {
namespace {

using testing::TempFolder;

// A wizard whose installation only counts and notes the time.
struct Pages {
    explicit Pages(std::uint16_t languageId, int systemCode = 10, bool languageFiles = true) {
        values.g_SystemCode = systemCode;
        values.g_LanguageChoice = 7;  // set by the system and language page
        std::string languageFile = (dir / "Language" / "none.dll").string();
        if (languageFiles) {
            // The second run finds the files of the first and uses the system's language.
            SetupStart(dir.path(), languageId).InitInstance(values);
            SetupStart start(dir.path(), languageId);
            start.InitInstance(values);
            languageFile = start.g_LanguageFile();
        }
        strings = DialogStrings{languageFile, languageId};
        wizard = std::make_unique<SetupWizard>(host, strings, values, [this] {
            ++installs;
            installedAt = host.now();
            progressDuring = wizard->copy.position(IDC_PROGRESS);
            shownDuring = wizard->copy.isWindowShown();
        });
    }
    setupDlg& frame() { return wizard->frame; }
    std::string buttons() {
        return std::string(1, frame().isEnabled(ID_WIZBACK) ? 'B' : 'b') + (frame().isEnabled(ID_WIZNEXT) ? 'N' : 'n') +
               (frame().isEnabled(ID_WIZFINISH) ? 'F' : 'f');
    }

    TempFolder dir;
    ui::HeadlessHost host;
    InstallerValues values;
    DialogStrings strings;
    std::unique_ptr<SetupWizard> wizard;
    int installs = 0;
    std::chrono::milliseconds installedAt{-1};
    int progressDuring = -1;
    bool shownDuring = false;
};

TEST(WizardPages, EnglishMachineShowsTheEnglishTextsInArial) {
    Pages p(0x0409);
    ASSERT_TRUE(p.frame().create());
    EXPECT_EQ(p.frame().caption(), "");
    EXPECT_EQ(p.frame().text(ID_WIZBACK), "&Back");
    EXPECT_EQ(p.frame().text(ID_WIZNEXT), "&Next");
    EXPECT_EQ(p.frame().text(ID_WIZFINISH), "Finish");
    EXPECT_EQ(p.frame().text(IDC_CANCEL), "Cancel");
    auto& welcome = p.wizard->welcome;
    EXPECT_EQ(welcome.text(IDC_WELCOME_TITLE), "Welcome to the Printer Driver Setup Wizard");
    EXPECT_EQ(welcome.text(IDC_WELCOME_TEXT1), "This will install Printer Driver on your computer.");
    EXPECT_EQ(welcome.text(IDC_WELCOME_TEXT2),
              "It is recommended that you close all other applications before continuing.");
    EXPECT_EQ(welcome.text(IDC_WELCOME_TEXT3), "Click Next to continue,or Cancel to exit Setup.");
    p.frame().OnWizardNext();
    auto& language = p.wizard->language;
    EXPECT_EQ(language.text(IDC_LANGUAGE_TITLE), "Please select the operation system");
    EXPECT_EQ(language.text(IDC_SYSTEM_GROUP), "operation system");
    EXPECT_EQ(language.text(IDC_LANGUAGE_GROUP), "language");
    EXPECT_EQ(language.text(IDC_CHINESE), "Chinese");
    EXPECT_EQ(language.text(IDC_ENGLISH), "English");
    EXPECT_EQ(language.text(IDC_WIN7), "Windows 7");
    EXPECT_FALSE(language.isVisible(IDC_LANGUAGE_SUBTITLE));
    p.frame().OnWizardNext();
    auto& setting = p.wizard->setting;
    EXPECT_EQ(setting.text(IDC_SERIES_LABEL), "Printer Series");
    EXPECT_EQ(setting.text(IDC_DEFAULT_PRINTER), "Default Printer");
    EXPECT_EQ(setting.text(IDC_NAME_LABEL), "Name:");
    for (ui::Dialog* d : {static_cast<ui::Dialog*>(&p.frame()), static_cast<ui::Dialog*>(&welcome),
                          static_cast<ui::Dialog*>(&language), static_cast<ui::Dialog*>(&setting)}) {
        for (int id : d->controlIds()) {
            ASSERT_TRUE(d->control(id)->font) << d->id() << "/" << id;
            EXPECT_EQ(d->control(id)->font->family, "Arial") << d->id() << "/" << id;
        }
    }
}

TEST(WizardPages, ChineseMachinesShowTheirOwnTextsWithTheTemplateFont) {
    Pages simplified(0x0804);
    ASSERT_TRUE(simplified.frame().create());
    EXPECT_EQ(simplified.frame().text(ID_WIZNEXT), "下一步");
    EXPECT_EQ(simplified.wizard->welcome.text(IDC_WELCOME_TITLE), "欢迎使用ZEL58系列打印机驱动安装程序向导");
    EXPECT_FALSE(simplified.frame().control(ID_WIZNEXT)->font);

    Pages traditional(0x0404);
    ASSERT_TRUE(traditional.frame().create());
    EXPECT_EQ(traditional.frame().text(ID_WIZBACK), "後退");
    EXPECT_EQ(traditional.wizard->welcome.text(IDC_WELCOME_TITLE), "歡迎使用ZEL58系列打印機驅動安裝程序向導");

    // Without language files every dialog keeps its template texts.
    Pages none(0x0404, 10, false);
    ASSERT_TRUE(none.frame().create());
    EXPECT_EQ(none.frame().text(ID_WIZBACK), "后退");
    EXPECT_EQ(none.wizard->welcome.text(IDC_WELCOME_TEXT3), "点击 下一步 继续，或者 取消 退出安装程序");
}

TEST(WizardPages, SystemRadiosShowTheDetectedSystemOnly) {
    const struct {
        int code;
        int radio;  // 0: none
    } cases[] = {{0, 0}, {2, 0}, {5, 0}, {6, IDC_WIN2000}, {7, IDC_WINXP}, {8, IDC_WIN2003},
                 {9, IDC_VISTA}, {10, IDC_WIN7}, {11, 0}, {4, 0}};
    for (const auto& c : cases) {
        Pages p(0x0409, c.code);
        ASSERT_TRUE(p.frame().create());
        p.frame().OnWizardNext();
        EXPECT_EQ(p.wizard->language.checkedRadioButton(IDC_WIN2000, IDC_WIN7), c.radio) << "code " << c.code;
        EXPECT_EQ(p.wizard->language.systemIndex(), c.radio ? c.radio - IDC_WIN2000 : -1) << "code " << c.code;
    }
}

TEST(WizardPages, LanguageChoiceStartsFromTheSystemAndFollowsTheRadios) {
    Pages chinese(0x0404);
    ASSERT_TRUE(chinese.frame().create());
    EXPECT_EQ(chinese.values.g_LanguageChoice, 7) << "set when the page is first shown";
    chinese.frame().OnWizardNext();
    EXPECT_EQ(chinese.values.g_LanguageChoice, 0);
    EXPECT_TRUE(chinese.wizard->language.isChecked(IDC_CHINESE));
    ASSERT_TRUE(chinese.wizard->language.userClick(IDC_ENGLISH));
    EXPECT_EQ(chinese.values.g_LanguageChoice, 1);
    EXPECT_FALSE(chinese.wizard->language.isChecked(IDC_CHINESE));
    ASSERT_TRUE(chinese.wizard->language.userClick(IDC_WINXP));  // shown only: the choice stays
    EXPECT_EQ(chinese.values.g_LanguageChoice, 1);
    ASSERT_TRUE(chinese.wizard->language.userClick(IDC_CHINESE));
    EXPECT_EQ(chinese.values.g_LanguageChoice, 0);

    Pages english(0x0409);
    ASSERT_TRUE(english.frame().create());
    english.frame().OnWizardNext();
    EXPECT_EQ(english.values.g_LanguageChoice, 1);
    EXPECT_TRUE(english.wizard->language.isChecked(IDC_ENGLISH));
}

TEST(WizardPages, SeriesPageNeedsASelectionBeforeNext) {
    Pages p(0x0409);
    ASSERT_TRUE(p.frame().create());
    p.frame().OnWizardNext();
    p.frame().OnWizardNext();
    auto& setting = p.wizard->setting;
    EXPECT_EQ(p.buttons(), "Bnf");
    EXPECT_EQ(setting.itemCount(IDC_SERIES_LIST), 1);
    EXPECT_EQ(setting.itemText(IDC_SERIES_LIST, 0), "80mm series");
    EXPECT_TRUE(setting.isChecked(IDC_DEFAULT_PRINTER));
    EXPECT_EQ(setting.text(IDC_TEXTBOX), "");
    EXPECT_FALSE(p.frame().userClick(ID_WIZNEXT));

    // Back and Next again: still no series, still no way on.
    ASSERT_TRUE(p.frame().userClick(ID_WIZBACK));
    EXPECT_EQ(p.buttons(), "BNf");
    ASSERT_TRUE(p.frame().userClick(ID_WIZNEXT));
    EXPECT_EQ(p.buttons(), "Bnf");

    ASSERT_TRUE(setting.userSelect(IDC_SERIES_LIST, 0));
    EXPECT_EQ(p.buttons(), "BNf");
    EXPECT_EQ(setting.text(IDC_TEXTBOX), "80mm series");
    EXPECT_FALSE(setting.userType(IDC_TEXTBOX, "mine")) << "the name box is read-only";
    ASSERT_TRUE(p.frame().userClick(ID_WIZNEXT));
    EXPECT_EQ(p.buttons(), "BnF");
    EXPECT_EQ(p.frame().activePage(), &p.wizard->copy);
}

TEST(WizardPages, EnterPressesNextWhereNextIsOn) {
    Pages p(0x0409);
    ASSERT_TRUE(p.frame().create());
    ASSERT_TRUE(p.wizard->welcome.userKey(ui::Key::Enter));
    EXPECT_EQ(p.frame().activePage(), &p.wizard->language);
    ASSERT_TRUE(p.frame().userKey(ui::Key::Enter));
    EXPECT_EQ(p.frame().activePage(), &p.wizard->setting);
    ASSERT_TRUE(p.wizard->setting.userKey(ui::Key::Enter));
    EXPECT_EQ(p.frame().activePage(), &p.wizard->setting) << "no series yet";
    EXPECT_FALSE(p.frame().isEnded());
}

// Drives the frame to the progress page inside its modal run.
void ToProgressPage(setupDlg& frame, SettingDlg& setting) {
    ASSERT_TRUE(frame.userClick(ID_WIZNEXT));
    ASSERT_TRUE(frame.userClick(ID_WIZNEXT));
    ASSERT_TRUE(setting.userSelect(IDC_SERIES_LIST, 0));
    ASSERT_TRUE(frame.userClick(ID_WIZNEXT));
}

TEST(WizardPages, ProgressPageInstallsOnceAfterHalfASecond) {
    Pages p(0x0409);
    p.host.onModal(IDD_SETUP_DIALOG, [&](ui::ModalScript& s) {
        ToProgressPage(p.frame(), p.wizard->setting);
        EXPECT_EQ(p.wizard->copy.text(IDC_COPY_TITLE), "Please wait while Setup installs Printer Driver on your computer");
        EXPECT_EQ(p.wizard->copy.text(IDC_COPY_TEXT), "Installing the driver...");
        EXPECT_EQ(p.wizard->copy.position(IDC_PROGRESS), 0);
        const auto start = s.host.now();
        s.host.advance(std::chrono::milliseconds(499));
        EXPECT_EQ(p.installs, 0);
        s.host.advance(std::chrono::milliseconds(1));
        EXPECT_EQ(p.installs, 1);
        EXPECT_EQ(p.installedAt - start, std::chrono::milliseconds(500));
        EXPECT_EQ(p.progressDuring, 50);
        EXPECT_EQ(p.wizard->copy.position(IDC_PROGRESS), 100);
        EXPECT_TRUE(p.frame().g_Installed);
        EXPECT_EQ(s.host.waitCursorDepth(), 0);
        s.host.advance(std::chrono::seconds(5));
        EXPECT_EQ(p.installs, 1) << "the timer was stopped";
        EXPECT_TRUE(p.frame().userClick(ID_WIZFINISH));
    });
    EXPECT_EQ(p.frame().runModal(), NewWizDialog::kFinishResult);
    EXPECT_EQ(p.installs, 1);
}

TEST(WizardPages, BackBeforeTheTimerStillInstallsFromTheHiddenPage) {
    Pages p(0x0409);
    p.host.onModal(IDD_SETUP_DIALOG, [&](ui::ModalScript& s) {
        ToProgressPage(p.frame(), p.wizard->setting);
        s.host.advance(std::chrono::milliseconds(200));
        ASSERT_TRUE(p.frame().userClick(ID_WIZBACK));
        s.host.advance(std::chrono::milliseconds(300));
        EXPECT_EQ(p.installs, 1);
        EXPECT_FALSE(p.shownDuring);
        EXPECT_EQ(p.frame().activePage(), &p.wizard->setting);
        ASSERT_TRUE(p.frame().userClick(IDC_CANCEL));
    });
    EXPECT_EQ(p.frame().runModal(), ui::kIdCancel);
    EXPECT_EQ(p.installs, 1);
}

TEST(WizardPages, QuitRequestClosesTheFrame) {
    Pages p(0x0409);
    p.host.onModal(IDD_SETUP_DIALOG, [&](ui::ModalScript& s) { EXPECT_TRUE(s.dialog.post(setupDlg::kQuitRequest)); });
    EXPECT_EQ(p.frame().runModal(), setupDlg::kQuitResult);
    EXPECT_FALSE(p.wizard->welcome.isCreated());
}

TEST(WizardPages, SystemMenuOpensTheAboutBox) {
    Pages p(0x0409);
    p.host.onModal(IDD_ABOUTBOX, [](ui::ModalScript& s) {
        EXPECT_EQ(s.dialog.caption(), "About Setup");
        EXPECT_EQ(s.dialog.text(IDC_ABOUT_VERSION), "Driver Setup Wizard Version 1.0");
        EXPECT_TRUE(s.dialog.userKey(ui::Key::Enter));
    });
    p.host.onModal(IDD_SETUP_DIALOG, [&](ui::ModalScript& s) {
        ASSERT_EQ(s.dialog.systemMenu().size(), 2u);
        EXPECT_EQ(s.dialog.systemMenu()[0].command, 0);
        EXPECT_EQ(s.dialog.systemMenu()[1].text, "关于 安装向导(&A)...");
        EXPECT_TRUE(s.dialog.userSystemCommand(IDM_ABOUTBOX));
        EXPECT_FALSE(s.dialog.isEnded());
        EXPECT_TRUE(s.dialog.userClose());
    });
    EXPECT_EQ(p.frame().runModal(), ui::kIdCancel);
    ASSERT_EQ(p.host.modalsOf(IDD_ABOUTBOX).size(), 1u);
    EXPECT_EQ(p.host.modalsOf(IDD_ABOUTBOX)[0].result, ui::kIdOk);
}

TEST(WizardPages, HeaderStretchesOverTheFrameAndThePictureSitsAtItsRight) {
    Pages p(0x0804);
    ASSERT_TRUE(p.frame().create());
    p.frame().OnWizardNext();
    const ui::Rect header = p.wizard->language.controlRect(IDC_HEADER);
    const ui::Rect picture = p.wizard->language.controlRect(IDC_HEADER_PICTURE);
    EXPECT_LT(header.x, 0);
    EXPECT_LT(header.y, 0);
    EXPECT_GT(header.x + header.width, p.frame().dialogTemplate().width);
    EXPECT_EQ(header.y + header.height, LanguageDlg::Template().controls[0].rect.height) << "bottom kept";
    EXPECT_EQ(picture.x + picture.width, header.x + header.width - 5);
    EXPECT_EQ(picture.y, 18);
    EXPECT_EQ(picture.width, 22);
}

}  // namespace
}  // namespace kit::setup
