#include "printer_setup/app/outcome_messages.h"

#include "platform/text/code_page.h"

namespace kit::setup {

namespace {

struct MessageRow {
    std::string_view success;
    std::string_view failure;
};

// Stored as the program stores its texts: code page bytes.
// "打印机驱动程序安装成功!" / "打印机驱动程序安装失败!" in code page 936.
constexpr MessageRow kSimplified{"\xB4\xF2\xD3\xA1\xBB\xFA\xC7\xFD\xB6\xAF\xB3\xCC\xD0\xF2\xB0\xB2\xD7\xB0\xB3\xC9\xB9\xA6\x21",
                                 "\xB4\xF2\xD3\xA1\xBB\xFA\xC7\xFD\xB6\xAF\xB3\xCC\xD0\xF2\xB0\xB2\xD7\xB0\xCA\xA7\xB0\xDC\x21"};
// "打印機驅動程序安裝成功!" / "打印機驅動程序安裝失敗!" in code page 950.
constexpr MessageRow kTraditional{"\xA5\xB4\xA6\x4C\xBE\xF7\xC5\x58\xB0\xCA\xB5\x7B\xA7\xC7\xA6\x77\xB8\xCB\xA6\xA8\xA5\x5C\x21",
                                  "\xA5\xB4\xA6\x4C\xBE\xF7\xC5\x58\xB0\xCA\xB5\x7B\xA7\xC7\xA6\x77\xB8\xCB\xA5\xA2\xB1\xD1\x21"};
constexpr MessageRow kEnglish{"The Printer Driver has been installed successfully!",
                              "The Printer Driver installation has been failed!"};

}  // namespace

MessageLanguage OutcomeLanguage(std::uint16_t languageChoice, std::uint16_t languageId) {
    if (languageChoice == 1) return MessageLanguage::English;
    if (languageId == 0x0804) return MessageLanguage::SimplifiedChinese;
    return MessageLanguage::TraditionalChinese;
}

std::string_view OutcomeMessageBytes(bool installed, MessageLanguage language) {
    const MessageRow& row = language == MessageLanguage::SimplifiedChinese    ? kSimplified
                            : language == MessageLanguage::TraditionalChinese ? kTraditional
                                                                              : kEnglish;
    return installed ? row.success : row.failure;
}

std::string OutcomeMessageText(bool installed, MessageLanguage language) {
    std::string_view bytes = OutcomeMessageBytes(installed, language);
    if (language == MessageLanguage::English) return std::string(bytes);
    auto page = language == MessageLanguage::SimplifiedChinese ? CodePage::Gbk936 : CodePage::Big5_950;
    // The table is ours and converts; should it ever not, show the English text.
    return ToUtf8(bytes, page).value_or(std::string(OutcomeMessageBytes(installed, MessageLanguage::English)));
}

}  // namespace kit::setup
