#include "printer_setup/app/dialog_strings.h"

#include <optional>

#include "platform/profile/atomic_file.h"
#include "platform/profile/ini_document.h"
#include "platform/text/code_page.h"
#include "printer_setup/app/driver_set.h"
#include "printer_setup/app/resource.h"

namespace kit::setup {

namespace {

constexpr std::uint16_t kLangEnglish = 0x09;
constexpr std::uint16_t kLangSimplifiedChinese = 0x0804;

// A value as the profile functions hand it over with a 1000-byte buffer: cut
// to 999 bytes, and ending at a NUL as a C string does.
std::string AsReadValue(std::string value) {
    if (auto nul = value.find('\0'); nul != std::string::npos) value.resize(nul);
    if (value.size() > kMaxDialogStringLength) value.resize(kMaxDialogStringLength);
    return value;
}

// Single-byte texts of a non-Chinese system, read as Latin-1.
std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

}  // namespace

std::string DialogTitleKey(int number) { return "IDD" + std::to_string(number) + "_Title"; }

std::string DialogStringKey(int number, std::uint16_t controlId) {
    return "IDD" + std::to_string(number) + "_" + std::to_string(static_cast<unsigned>(controlId));
}

ui::Font EnglishDialogFont() {
    ui::Font font;
    font.family = "Arial";
    font.pixelHeight = 13;
    font.weight = 400;
    return font;
}

std::optional<std::string> LanguageTextToUtf8(std::string_view bytes, std::uint16_t languageId) {
    if (!IsChineseSystem(languageId)) return Latin1ToUtf8(bytes);
    return ToUtf8(bytes, languageId == kLangSimplifiedChinese ? CodePage::Gbk936 : CodePage::Big5_950);
}

void g_SetDialogStrings(const DialogStrings& strings, ui::Dialog& dialog, int number) {
    // The file is read once per dialog; a missing, unreadable or oversized
    // file reads as one without keys.
    std::string content;
    if (!profile::ReadWholeFile(strings.g_LanguageFile, content)) content.clear();
    const profile::IniDocument document(std::move(content));
    auto lookup = [&](const std::string& key) -> std::optional<std::string> {
        auto value = document.value("String", key);
        if (!value) return std::nullopt;
        std::string read = AsReadValue(std::move(*value));
        if (read.empty()) return std::nullopt;
        return LanguageTextToUtf8(read, strings.languageId);
    };

    if (auto title = lookup(DialogTitleKey(number))) dialog.setCaption(*title);

    const bool english = (strings.languageId & 0xFF) == kLangEnglish;
    for (int id : dialog.controlIds()) {
        if (english) (void)dialog.setFont(id, EnglishDialogFont());
        if (id == IDC_TEXTBOX) continue;
        if (auto text = lookup(DialogStringKey(number, static_cast<std::uint16_t>(id)))) {
            (void)dialog.setText(id, *text);
        }
    }
}

}  // namespace kit::setup
