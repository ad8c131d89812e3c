#pragma once
// Where code that is not a window (a module link, a worker) sends a note for the user.
// An implementation shows it on the window thread; showNote() may be called from any
// thread and may return before the note is shown.
#include <string>

namespace kit::ui {

class NoteSink {
 public:
  virtual ~NoteSink() = default;
  virtual void showNote(std::string text) = 0;
};

}  // namespace kit::ui
