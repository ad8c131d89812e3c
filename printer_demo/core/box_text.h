#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace j57 {

// The demo's text box holds UTF-8; the printer reads code page 936 (ASCII unchanged).

// A file's bytes as text for the box: UTF-8 files as they are, other files read as
// code page 936. nullopt when the bytes are neither.
std::optional<std::string> FileBytesToBoxText(std::string_view bytes);

// The box's text as printer bytes: line breaks as CR LF, characters in code page 936.
// nullopt when the text holds a character the code page does not have.
std::optional<std::string> BoxTextToPrinterBytes(std::string_view text);

// A text file's bytes as printer bytes, as the manual text form sends a file it
// opened: FileBytesToBoxText, then BoxTextToPrinterBytes.
std::optional<std::string> FileBytesToPrinterBytes(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

}  // namespace j57
