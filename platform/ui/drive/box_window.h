#pragma once
// A message box as the drive mode shows it: a top-most window whose buttons carry the
// standard ids (OK 1, Cancel 2, Abort 3, Retry 4, Ignore 5, Yes 6, No 7), with the
// first button focused. Enter and Space press the focused button, Tab moves along the
// buttons, Escape and the close box give Cancel, or OK in a box whose only button is
// OK; a box with neither has no close box and ignores Escape.
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/services.h"

namespace kit::ui::drive {

class BoxWindow {
 public:
  explicit BoxWindow(MessageBoxRequest request);

  const MessageBoxRequest& request() const { return m_request; }
  const std::vector<int>& buttons() const { return m_buttons; }
  bool hasButton(int id) const;
  // The caption of a standard button ("OK", "Cancel", ...); empty for other ids.
  static std::string buttonText(int id);

  // Each returns false when the box has no such button (or no close box) and then
  // changes nothing.
  bool click(int id);
  bool focus(int id);
  bool close();
  void key(Key key);

  // The first button, as the box's default answer.
  BoxResult defaultAnswer() const;
  const std::optional<BoxResult>& answer() const { return m_answer; }

 private:
  std::optional<int> escapeAnswer() const;

  MessageBoxRequest m_request;
  std::vector<int> m_buttons;
  int m_focus = 0;
  std::optional<BoxResult> m_answer;
};

}  // namespace kit::ui::drive
