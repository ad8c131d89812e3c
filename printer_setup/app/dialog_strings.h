#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/dialog.h"

namespace kit::setup {

// Where the dialogs of the installer take their texts from: the language file
// chosen at start-up and the machine's system default language identifier,
// which decides the code page of the file's texts and the English font rule.
struct DialogStrings {
    std::string g_LanguageFile;
    std::uint16_t languageId = 0x0409;
};

// The longest value the installer takes from a language file (a buffer of 1000).
inline constexpr std::size_t kMaxDialogStringLength = 999;

// "IDD<number>_Title" and "IDD<number>_<control>", the control number read as
// an unsigned 16-bit value (a static text without its own number ends "_65535").
[[nodiscard]] std::string DialogTitleKey(int number);
[[nodiscard]] std::string DialogStringKey(int number, std::uint16_t controlId);

// The font every control gets on an English system: Arial, 13 pixels high,
// normal weight.
[[nodiscard]] ui::Font EnglishDialogFont();

// Applies the language file to a dialog: a non-empty "IDD<number>_Title"
// becomes the caption; for every control, first to last, an English system
// gives it the Arial font, and a non-empty "IDD<number>_<id>" becomes its text
// (control 1019 never takes one). Texts are converted from the system's code
// page (936 on 0x0804, 950 on other Chinese systems, single bytes elsewhere);
// a text that does not convert, a missing file, section or key leaves the
// dialog's own text. Controls without a number cannot be addressed through the
// dialog kit and keep their texts (the installer's templates give every
// control that shows a text its own number).
void g_SetDialogStrings(const DialogStrings& strings, ui::Dialog& dialog, int number);

// A language file value as the dialog shows it (UTF-8), or nothing when the
// bytes do not form a text of the system's code page.
[[nodiscard]] std::optional<std::string> LanguageTextToUtf8(std::string_view bytes, std::uint16_t languageId);

}  // namespace kit::setup
