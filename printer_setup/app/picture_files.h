#pragma once

#include <string>
#include <string_view>

namespace kit::setup {

// The installer's pictures (program icon 128, welcome picture 144, header
// picture 145) are PNG files that the build places in "setup-pictures" next
// to the programs. A picture control's text names its file.
//
// The path of a picture: "<program folder>/setup-pictures/<name>" when that
// file exists, else the copy in the source tree the program was built from,
// else the bare name (the control then shows an empty frame).
[[nodiscard]] std::string PictureFile(std::string_view name);

inline constexpr std::string_view kIconPicture = "icon.png";
inline constexpr std::string_view kWelcomePicture = "welcome.png";
inline constexpr std::string_view kHeaderPicture = "header.png";

}  // namespace kit::setup
