#include "platform/ui/drive/box_window.h"

#include <algorithm>
#include <utility>

namespace kit::ui::drive {

namespace {

std::vector<int> ButtonsOf(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::Ok: return {1};
    case BoxButtons::OkCancel: return {1, 2};
    case BoxButtons::YesNo: return {6, 7};
    case BoxButtons::YesNoCancel: return {6, 7, 2};
    case BoxButtons::RetryCancel: return {4, 2};
  }
  return {1};
}

}  // namespace

BoxWindow::BoxWindow(MessageBoxRequest request)
    : m_request(std::move(request)), m_buttons(ButtonsOf(m_request.buttons)), m_focus(m_buttons.front()) {}

bool BoxWindow::hasButton(int id) const { return std::find(m_buttons.begin(), m_buttons.end(), id) != m_buttons.end(); }

std::string BoxWindow::buttonText(int id) {
  static const char* const texts[] = {"", "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"};
  return id >= 1 && id <= 7 ? texts[id] : "";
}

bool BoxWindow::click(int id) {
  if (!hasButton(id)) return false;
  m_answer = static_cast<BoxResult>(id);
  return true;
}

bool BoxWindow::focus(int id) {
  if (!hasButton(id)) return false;
  m_focus = id;
  return true;
}

std::optional<int> BoxWindow::escapeAnswer() const {
  if (hasButton(2)) return 2;
  if (m_buttons.size() == 1 && m_buttons.front() == 1) return 1;
  return std::nullopt;
}

bool BoxWindow::close() {
  const auto answer = escapeAnswer();
  if (!answer) return false;
  m_answer = static_cast<BoxResult>(*answer);
  return true;
}

void BoxWindow::key(Key key) {
  switch (key) {
    case Key::Enter:
    case Key::Space:
      m_answer = static_cast<BoxResult>(m_focus);
      break;
    case Key::Escape:
      close();
      break;
    case Key::Tab: {
      const auto at = std::find(m_buttons.begin(), m_buttons.end(), m_focus);
      m_focus = std::next(at) == m_buttons.end() ? m_buttons.front() : *std::next(at);
      break;
    }
  }
}

BoxResult BoxWindow::defaultAnswer() const { return static_cast<BoxResult>(m_buttons.front()); }

}  // namespace kit::ui::drive
