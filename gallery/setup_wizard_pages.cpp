// The setup installer's wizard in the gallery: each page inside its frame and
// the about box, on English, Simplified Chinese and Traditional Chinese
// machines, with the language files the installer writes.
#include <unistd.h>

#include <filesystem>
#include <string>

#include "gallery/gallery_registry.h"
#include "printer_setup/app/about_dlg.h"
#include "printer_setup/app/copy_dlg.h"
#include "printer_setup/app/language_dlg.h"
#include "printer_setup/app/resource.h"
#include "printer_setup/app/setting_dlg.h"
#include "printer_setup/app/setup_dlg.h"
#include "printer_setup/app/setup_start.h"
#include "printer_setup/app/welcome_dlg.h"

namespace kit::gallery {

namespace {

using namespace kit::setup;

// The language files of the installer, written once per process into a
// folder of their own that goes when the program ends.
class LanguageFolder {
public:
    LanguageFolder() {
        m_folder = std::filesystem::temp_directory_path() / ("kit-gallery-setup." + std::to_string(::getpid()));
        std::error_code ec;
        std::filesystem::create_directories(m_folder, ec);
        (void)ExtractPayloadToFile(SetupStart::kEnglishPayload, (m_folder / SetupStart::kEnglishFile).string());
        (void)ExtractPayloadToFile(SetupStart::kSimplifiedPayload, (m_folder / SetupStart::kSimplifiedFile).string());
        (void)ExtractPayloadToFile(SetupStart::kTraditionalPayload,
                                   (m_folder / SetupStart::kTraditionalFile).string());
    }
    ~LanguageFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }
    [[nodiscard]] DialogStrings stringsFor(std::uint16_t languageId) const {
        const char* file = languageId == 0x0804   ? SetupStart::kSimplifiedFile
                           : languageId == 0x0404 ? SetupStart::kTraditionalFile
                                                  : SetupStart::kEnglishFile;
        return DialogStrings{(m_folder / file).string(), languageId};
    }

private:
    std::filesystem::path m_folder;
};

const LanguageFolder& Languages() {
    static const LanguageFolder folder;
    return folder;
}

// The strings and values a gallery dialog keeps for its whole life.
struct Machine {
    explicit Machine(std::uint16_t languageId) : strings(Languages().stringsFor(languageId)) {
        values.g_SystemCode = 7;  // Windows XP, so that a system radio is ticked
    }
    DialogStrings strings;
    InstallerValues values;
};

// The frame with its four pages, opened at one of them as a user would get
// there (the series selected).
class WizardAtPage : private Machine, public setupDlg {
public:
    WizardAtPage(ui::Host& host, std::uint16_t languageId, int page)
        : Machine(languageId),
          setupDlg(host, strings),
          m_welcome(host, strings),
          m_language(host, strings, values),
          m_setting(host, strings),
          m_copy(host, strings, [] {}),
          m_page(page) {
        AddPage(m_welcome, IDD_WELCOME);
        AddPage(m_language, IDD_LANGUAGE);
        AddPage(m_setting, IDD_SETTING);
        AddPage(m_copy, IDD_COPY);
    }

    bool OnInitDialog() override {
        setupDlg::OnInitDialog();
        while (activePage() && activePage()->dialogNumber() != m_page) {
            if (activePage() == &m_setting) (void)m_setting.userSelect(IDC_SERIES_LIST, 0);
            OnWizardNext();
        }
        if (activePage() == &m_setting) (void)m_setting.userSelect(IDC_SERIES_LIST, 0);
        return true;
    }

private:
    WelcomeDlg m_welcome;
    LanguageDlg m_language;
    SettingDlg m_setting;
    CopyDlg m_copy;
    int m_page;
};

class AboutOn : private Machine, public AboutDlg {
public:
    AboutOn(ui::Host& host, std::uint16_t languageId) : Machine(languageId), AboutDlg(host, strings) {}
};

struct MachineLanguage {
    const char* suffix;
    const char* label;
    std::uint16_t languageId;
};

}  // namespace

void AddSetupWizardPages(GalleryRegistry& registry) {
    const MachineLanguage languages[] = {
        {"en", "English", 0x0409},
        {"zh-cn", "Simplified Chinese", 0x0804},
        {"zh-tw", "Traditional Chinese", 0x0404},
    };
    const struct {
        const char* name;
        const char* label;
        int page;
    } pages[] = {
        {"welcome", "welcome page", IDD_WELCOME},
        {"system", "system and language page", IDD_LANGUAGE},
        {"series", "printer series page", IDD_SETTING},
        {"progress", "progress page", IDD_COPY},
    };
    for (const auto& language : languages) {
        for (const auto& page : pages) {
            registry.add(std::string("setup-wizard-") + page.name + "-" + language.suffix,
                         std::string("setup: the wizard's ") + page.label + " (" + language.label + " machine)",
                         [id = language.languageId, number = page.page](ui::Host& host) {
                             return std::make_shared<WizardAtPage>(host, id, number);
                         });
        }
        registry.add(std::string("setup-about-") + language.suffix,
                     std::string("setup: the about box (") + language.label + " machine)",
                     [id = language.languageId](ui::Host& host) { return std::make_shared<AboutOn>(host, id); });
    }
}

}  // namespace kit::gallery
