#pragma once

#include "platform/ui/dialog.h"

namespace kit::setup {

// The frame window's outer rectangle in its client coordinates (dialog
// units): the border and the caption lie left of and above the client area,
// so left and top are negative and the right edge lies beyond the client area.
[[nodiscard]] ui::Rect FrameOuterRect(const ui::Dialog& frame);

// Stretches a page's header frame (1040) over the frame window's outer
// rectangle (left, top and right; its bottom stays) and moves the header
// picture (1065), size unchanged, so that its right edge lies 5 units left of
// that rectangle's right edge and its top at 18.
void LayoutHeader(ui::Dialog& page, const ui::Dialog& frame);

// The template of a page under the white header: the page's size and font, the
// header frame (1040) and the header picture (1065); the page adds its own controls.
[[nodiscard]] ui::DialogTemplate HeaderPageTemplate(int dialogId);

}  // namespace kit::setup
