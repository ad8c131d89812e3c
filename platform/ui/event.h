#pragma once
#include <cstdint>

#include "platform/ui/dialog_template.h"

namespace kit::ui {

enum class EventKind : std::uint8_t {
  Click,
  DoubleClick,
  SelectionChange,
  TextChange,
  SetFocus,       // controlId gains the focus; otherId lost it (0 none)
  KillFocus,      // controlId loses the focus; otherId takes it (0 none)
  SliderMoved,
  Timer,          // controlId is the timer number
  Close,          // the window's close box (or a posted kMessageClose)
  Enter,          // the Enter key when no default button takes it
  Escape,
  ContextMenu,    // controlId under the pointer or with the focus; point in dialog units
  Message,        // numbered window message: message, wParam, lParam
  SystemCommand,  // an item added to the system menu; controlId is its command number
};

struct Event {
  EventKind kind = EventKind::Click;
  int controlId = 0;
  int otherId = 0;
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  Point point;
};

// Window message numbers the programs use by number.
constexpr std::uint32_t kMessageClose = 0x0010;  // asks the window to close, as its close box
constexpr std::uint32_t kMessageUser = 0x0400;   // first private message number

// End codes of the standard buttons.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

}  // namespace kit::ui
