#pragma once

#include "platform/ui/dialog_template.h"

namespace kit::setup {

// Sizes shared by the frame and its pages (dialog units): every page fills
// the frame's placeholder, which lies above the button row.
inline constexpr int kWizardWidth = 317;
inline constexpr int kWizardHeight = 186;
inline constexpr int kPageHeight = 155;
inline constexpr int kHeaderHeight = 40;

// The font of the installer's dialog templates.
[[nodiscard]] inline ui::Font WizardFont() {
    ui::Font font;
    font.family = "DejaVu Sans";
    font.pointSize = 8;
    return font;
}

// A bold variant for titles.
[[nodiscard]] inline ui::Font WizardTitleFont() {
    ui::Font font = WizardFont();
    font.weight = 700;
    return font;
}

}  // namespace kit::setup
