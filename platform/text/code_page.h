#pragma once
// The two Chinese code pages the programs store their texts in, converted to and from
// UTF-8 for display and for the files we write.
#include <optional>
#include <string>
#include <string_view>

namespace kit {

enum class CodePage {
    Gbk936,    // Simplified Chinese
    Big5_950,  // Traditional Chinese
};

// nullopt when the input holds a sequence that the target cannot represent.
std::optional<std::string> ToUtf8(std::string_view bytes, CodePage page);
std::optional<std::string> FromUtf8(std::string_view utf8, CodePage page);

}  // namespace kit
