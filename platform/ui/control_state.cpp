#include "platform/ui/control_state.h"

#include <algorithm>

#include "platform/ui/text_order.h"

namespace kit::ui {

ControlState::ControlState(const ControlTemplate& t)
    : id(t.id),
      kind(t.kind),
      name(t.name),
      rect(t.rect),
      style(t.style),
      text(t.text),
      enabled((t.style & kDisabled) == 0),
      visible((t.style & kHidden) == 0),
      readOnly((t.style & kReadOnly) != 0),
      textLimit(t.textLimit),
      items(t.items),
      whiteBackground((t.style & kWhiteBackground) != 0) {
  if (style & kSorted) std::stable_sort(items.begin(), items.end(), TextLess);
  if (kind == ControlKind::Slider || kind == ControlKind::ProgressBar) rangeMax = 100;
  // A drop-down list's text is the selected entry; the template text is not shown.
  if (kind == ControlKind::DropDownList || kind == ControlKind::ListBox) text.clear();
}

}  // namespace kit::ui
