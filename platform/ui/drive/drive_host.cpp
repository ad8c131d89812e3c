#include "platform/ui/drive/drive_host.h"

#include <algorithm>
#include <filesystem>
#include <thread>
#include <utility>

#include "platform/ui/property_page.h"

namespace kit::ui::drive {

namespace {

bool IsList(ControlKind k) {
  return k == ControlKind::ListBox || k == ControlKind::DropDownList || k == ControlKind::EditableDropDown;
}

bool IsTextEntry(ControlKind k) {
  return k == ControlKind::Edit || k == ControlKind::EditableDropDown || k == ControlKind::IpAddress;
}

// What a click reaches: buttons, and static texts and pictures that notify their window.
bool IsClickable(ControlKind k) {
  return k == ControlKind::PushButton || k == ControlKind::CheckBox || k == ControlKind::RadioButton ||
         k == ControlKind::StaticText || k == ControlKind::Picture;
}

bool IsChild(const Dialog& d) { return (d.dialogTemplate().flags & kChildWindow) != 0; }

// A control can be used only when its window and every window it sits in are enabled.
bool WindowsEnabled(const Dialog& window) {
  for (const Dialog* d = &window; d; d = IsChild(*d) ? d->parentWindow() : nullptr) {
    if (!d->isWindowEnabled()) return false;
  }
  return true;
}

constexpr auto kCloseRetry = std::chrono::milliseconds(100);
// A handler that keeps posting to itself must not starve the steps: after this many
// messages and timers in a row the next step gets its turn.
constexpr int kMaxBurst = 10000;

}  // namespace

DriveHost::DriveHost(Script script, std::ostream& transcript, std::ostream& errors)
    : m_script(std::move(script)), m_transcript(transcript), m_errors(errors) {}

DriveHost::~DriveHost() = default;

// --- Loop -------------------------------------------------------------------------------

std::chrono::milliseconds DriveHost::elapsed() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_start);
}

template <class Done>
void DriveHost::drive(const Done& done) {
  flushOpens();
  int burst = 0;
  while (!done()) {
    if (burst < kMaxBurst && handleOne()) {
      ++burst;
      continue;
    }
    burst = 0;
    if (m_waitUntil) {
      if (Clock::now() >= *m_waitUntil) {
        m_waitUntil.reset();
      } else {
        idleUntil(*m_waitUntil);
      }
      continue;
    }
    if (m_next < m_script.steps.size()) {
      applyNextStep();
      continue;
    }
    closeAtEnd();
  }
}

bool DriveHost::handleOne() {
  if (auto message = m_queue.take()) {
    deliver(*message);
    return true;
  }
  const auto now = elapsed();
  if (auto due = m_timers.takeDue(now, now)) {
    if (Dialog* d = find(due->window)) {
      Event e;
      e.kind = EventKind::Timer;
      e.controlId = due->id;
      d->dispatch(e);
    }
    return true;
  }
  return false;
}

void DriveHost::idleUntil(Clock::time_point deadline) {
  if (const auto due = m_timers.nextDue()) deadline = std::min(deadline, m_start + *due);
  m_queue.waitUntil(deadline);
}

void DriveHost::closeAtEnd() {
  const auto now = Clock::now();
  std::optional<Layer> top = topMost();
  if (!top) {
    // Only hidden windows are left: close the newest as its close box would.
    if (Dialog* hidden = newestTopLevel(false)) top = Layer{hidden, nullptr, 0};
  }
  if (!top) {
    idleUntil(now + kCloseRetry);  // whatever ends this loop comes from elsewhere
    return;
  }
  const bool again = top->key() == m_closing;
  if (!again) {
    m_closing = top->key();
    m_closingSince = now;
    m_closeAccepted = false;
  }
  if (top->box) {
    top->box->click(static_cast<int>(top->box->defaultAnswer()));
    return;
  }
  Dialog& window = *top->dialog;
  const bool modal = !m_layers.empty();  // the top-most window is a modal run's
  if (again && now - m_closingSince >= m_closeGrace) {
    m_errors << "drive: window " << window.id() << " stayed open after its close box; the driver ends it\n";
    m_closing = 0;
    if (modal) {
      window.endDialog(kIdCancel);
    } else {
      window.destroyWindow();
    }
    return;
  }
  if (!m_closeAccepted && (!again || now - m_closeTried >= kCloseRetry)) {
    // A disabled window refuses its close box; it is tried again until the grace ends.
    m_closeTried = now;
    m_closeAccepted = window.userClose();
    return;
  }
  idleUntil(std::min(m_closingSince + m_closeGrace, m_closeAccepted ? m_closingSince + m_closeGrace : now + kCloseRetry));
}

// --- Windows ----------------------------------------------------------------------------

std::optional<DriveHost::Layer> DriveHost::topMost() const {
  if (!m_layers.empty()) return m_layers.back();
  if (Dialog* d = newestTopLevel(true)) return Layer{d, nullptr, 0};
  return std::nullopt;
}

Dialog* DriveHost::newestTopLevel(bool shownOnly) const {
  for (auto it = m_topLevel.rbegin(); it != m_topLevel.rend(); ++it) {
    Dialog* d = find(*it);
    if (d && d->isCreated() && (!shownOnly || d->isWindowShown())) return d;
  }
  return nullptr;
}

Dialog* DriveHost::windowWithControl(Dialog& top, int id) const {
  if (const auto children = m_children.find(top.handle()); children != m_children.end()) {
    for (WindowHandle h : children->second) {
      Dialog* child = find(h);
      if (!child || !child->isCreated() || !child->isWindowShown()) continue;
      if (Dialog* found = windowWithControl(*child, id)) return found;
    }
  }
  return top.control(id) ? &top : nullptr;
}

bool DriveHost::isWithin(const Dialog& window, const Dialog& top) const {
  for (const Dialog* d = &window; d; d = IsChild(*d) ? d->parentWindow() : nullptr) {
    if (d == &top) return true;
    if (!d->isWindowShown()) return false;
  }
  return false;
}

Dialog* DriveHost::keyWindow(Dialog& top) const {
  Dialog* last = find(m_keyWindow);
  return last && last->isCreated() && isWithin(*last, top) ? last : &top;
}

int DriveHost::runModal(Dialog& dialog) {
  if (dialog.isCreated()) return -1;
  dialog.beginWindow(dialog.owner(), true);
  m_layers.push_back(Layer{&dialog, nullptr, 0});
  m_shown.insert(dialog.handle());
  m_pendingOpens.push_back(dialog.handle());
  ++m_initialising;
  dialog.initialise();
  --m_initialising;
  drive([&] { return dialog.isEnded(); });
  m_layers.pop_back();
  m_timers.killAllOf(dialog.handle());
  dialog.endWindow();
  noteClosed(dialog);
  return dialog.endCode();
}

bool DriveHost::createWindow(Dialog& dialog, Dialog* parent) {
  const bool child = (dialog.dialogTemplate().flags & kChildWindow) != 0;
  if (child && !parent) return false;
  dialog.beginWindow(child ? parent : dialog.owner(), false);
  if (child) {
    m_children[parent->handle()].push_back(dialog.handle());
  } else {
    m_topLevel.push_back(dialog.handle());
  }
  if (dialog.isWindowShown()) {
    m_shown.insert(dialog.handle());
    m_pendingOpens.push_back(dialog.handle());
  }
  ++m_initialising;
  dialog.initialise();
  --m_initialising;
  if (m_initialising == 0) flushOpens();
  return true;
}

void DriveHost::destroyWindow(Dialog& dialog) {
  const WindowHandle h = dialog.handle();
  m_timers.killAllOf(h);
  m_topLevel.erase(std::remove(m_topLevel.begin(), m_topLevel.end(), h), m_topLevel.end());
  for (auto& [parent, children] : m_children) children.erase(std::remove(children.begin(), children.end(), h), children.end());
  dialog.endWindow();  // its pages close first
  m_children.erase(h);
  noteClosed(dialog);
}

void DriveHost::runMessageLoop() {
  drive([&] { return m_topLevel.empty(); });
}

void DriveHost::windowChanged(Dialog& dialog) {
  if (!dialog.isCreated()) return;
  const WindowHandle h = dialog.handle();
  const bool shown = dialog.isWindowShown();
  if (shown && m_shown.insert(h).second) {
    noteShown(dialog);
  } else if (!shown) {
    m_shown.erase(h);
  }
}

// --- Transcript of windows ----------------------------------------------------------------

void DriveHost::noteShown(Dialog& dialog) {
  // Windows shown while another is being made (pages added in OnInitDialog) are written
  // after it, so that every window opens before what it holds.
  if (std::find(m_pendingOpens.begin(), m_pendingOpens.end(), dialog.handle()) == m_pendingOpens.end())
    m_pendingOpens.push_back(dialog.handle());
  if (m_initialising == 0) flushOpens();
}

void DriveHost::flushOpens() {
  const auto pending = std::exchange(m_pendingOpens, {});
  for (WindowHandle h : pending) {
    Dialog* d = find(h);
    if (!d || !d->isCreated() || !m_shown.count(h)) continue;
    m_transcript.open(d->id(), d->caption());
    m_opened.insert(h);
  }
}

void DriveHost::noteClosed(Dialog& dialog) {
  const WindowHandle h = dialog.handle();
  flushOpens();
  m_shown.erase(h);
  if (m_opened.erase(h)) m_transcript.close(dialog.id(), dialog.endCode());
}

// --- Timers, posts and services -----------------------------------------------------------------

void DriveHost::enqueue(const PostedMessage& message) { m_queue.put(message); }

bool DriveHost::setTimer(Dialog& dialog, int timerId, std::chrono::milliseconds period) {
  m_timers.set(dialog.handle(), timerId, period, elapsed());
  return true;
}

bool DriveHost::killTimer(Dialog& dialog, int timerId) { return m_timers.kill(dialog.handle(), timerId); }

BoxResult DriveHost::messageBox(Dialog* /*owner*/, const MessageBoxRequest& request) {
  flushOpens();
  BoxWindow box(request);
  m_layers.push_back(Layer{nullptr, &box, ++m_boxSerial});
  m_transcript.openBox(request.title, request.text);
  drive([&] { return box.answer().has_value(); });
  m_layers.pop_back();
  m_transcript.closeBox(static_cast<int>(*box.answer()));
  return *box.answer();
}

std::optional<std::string> DriveHost::chooseFile(Dialog* /*owner*/, const FileChooserRequest& request) {
  flushOpens();
  const auto answer = std::exchange(m_fileAnswer, std::nullopt);
  if (!answer || answer->cancel) return std::nullopt;
  std::string path = WithDefaultExtension(answer->path, request.defaultExtension);
  std::error_code error;
  if (request.mustExist && !std::filesystem::exists(path, error)) {
    // The chooser would not let a user pick it.
    refuse(answer->line, "no such file: " + path);
    return std::nullopt;
  }
  return path;
}

int DriveHost::popupMenu(Dialog& /*owner*/, const std::vector<MenuItem>& /*items*/, Point /*at*/) { return 0; }

void DriveHost::setWaitCursor(bool /*on*/) {}

// --- Steps ------------------------------------------------------------------------------

void DriveHost::refuse(int line, const std::string& why) {
  m_refused = true;
  m_transcript.refused(line, why);
}

void DriveHost::applyNextStep() {
  const Step step = m_script.steps[m_next++];
  applyStep(step);
}

void DriveHost::applyStep(const Step& step) {
  switch (step.kind) {
    case StepKind::Wait:
      m_waitUntil = Clock::now() + std::chrono::milliseconds(step.number);
      return;
    case StepKind::File:
      m_fileAnswer = FileAnswer{step.line, step.cancel, step.text};
      return;
    default:
      break;
  }
  const auto top = topMost();
  std::optional<std::string> why;
  if (!top) {
    why = "no window";
  } else if (top->box) {
    why = applyToBox(step, *top->box);
  } else {
    why = applyToWindow(step, *top->dialog);
  }
  if (why) refuse(step.line, *why);
}

std::optional<std::string> DriveHost::applyToBox(const Step& step, BoxWindow& box) {
  switch (step.kind) {
    case StepKind::Click:
      if (!box.click(step.id)) return "no such control";
      return std::nullopt;
    case StepKind::Focus:
      if (!box.focus(step.id)) return "no such control";
      return std::nullopt;
    case StepKind::Key:
      box.key(step.key);
      return std::nullopt;
    case StepKind::Close:
      if (!box.close()) return "no close box";
      return std::nullopt;
    case StepKind::Show:
      if (!box.hasButton(step.id)) return "no such control";
      m_transcript.show(step.id, BoxWindow::buttonText(step.id), {"enabled"});
      return std::nullopt;
    case StepKind::Page:
      return "no page area";
    default:
      return box.hasButton(step.id) ? "not an edit or list" : "no such control";
  }
}

std::optional<std::string> DriveHost::applyToWindow(const Step& step, Dialog& top) {
  switch (step.kind) {
    case StepKind::Close:
      if (top.userClose()) return std::nullopt;
      return WindowsEnabled(top) ? "no close box" : "disabled";
    case StepKind::Key: {
      Dialog* window = keyWindow(top);
      if (!WindowsEnabled(*window) || !window->userKey(step.key)) return "disabled";
      return std::nullopt;
    }
    case StepKind::Page: {
      const auto& controls = top.controls();
      const auto area = std::find_if(controls.begin(), controls.end(),
                                     [](const ControlState& c) { return c.kind == ControlKind::PageArea; });
      if (area == controls.end()) return "no page area";
      if (!area->visible) return "hidden";
      if (!area->enabled || !WindowsEnabled(top)) return "disabled";
      const int areaId = area->id;
      if (step.number >= static_cast<int>(area->pages.size())) return "no page " + std::to_string(step.number);
      if (!top.userSelectPage(areaId, step.number)) return "the page refused";
      return std::nullopt;
    }
    default:
      break;
  }
  Dialog* window = windowWithControl(top, step.id);
  if (!window) return "no such control";
  if (step.kind == StepKind::Show) {
    if (!window->control(step.id)->visible) return "hidden";
    show(*window, step.id);
    return std::nullopt;
  }
  return applyToControl(step, *window);
}

std::optional<std::string> DriveHost::applyToControl(const Step& step, Dialog& window) {
  const ControlState* c = window.control(step.id);
  if (!c->visible) return "hidden";
  if (!c->enabled || !WindowsEnabled(window)) return "disabled";
  m_keyWindow = window.handle();
  const int id = step.id;
  const int count = static_cast<int>(c->kind == ControlKind::ListView ? c->rows.size() : c->items.size());
  switch (step.kind) {
    case StepKind::Click:
      if (!IsClickable(c->kind)) return "not a button";
      if (!window.userClick(id)) return "refused by the control";
      return std::nullopt;
    case StepKind::Text:
      if (!IsTextEntry(c->kind)) return "not an edit";
      if (c->readOnly) return "read-only";
      if (!window.userType(id, step.text)) return "refused by the control";
      // The user leaves the edit: its kill-focus handler runs, as on a click elsewhere.
      if (window.isCreated() && window.focusedControl() == id) window.setFocus(0);
      return std::nullopt;
    case StepKind::Select:
      if (!IsList(c->kind) && c->kind != ControlKind::ListView) return "not a list";
      if (step.number >= count) return (c->kind == ControlKind::ListView ? "no row " : "no entry ") + std::to_string(step.number);
      if (!window.userSelect(id, step.number)) return "refused by the control";
      return std::nullopt;
    case StepKind::DoubleClick:
      if (c->kind != ControlKind::ListView && c->kind != ControlKind::ListBox) return "not a list";
      if (step.number >= count) return (c->kind == ControlKind::ListView ? "no row " : "no entry ") + std::to_string(step.number);
      if (!window.userDoubleClick(id, step.number)) return "refused by the control";
      return std::nullopt;
    case StepKind::Focus:
      if (!window.userFocus(id)) return "cannot take the focus";
      return std::nullopt;
    default:
      return "not applicable";
  }
}

void DriveHost::show(Dialog& window, int id) {
  const ControlState& c = *window.control(id);
  std::vector<std::string> attributes{c.enabled ? "enabled" : "disabled"};
  if (c.kind == ControlKind::CheckBox || c.kind == ControlKind::RadioButton)
    attributes.emplace_back(c.checked ? "checked" : "unchecked");
  const bool listLike = IsList(c.kind) || c.kind == ControlKind::ListView || c.kind == ControlKind::PageArea;
  if (listLike) attributes.push_back("sel=" + std::to_string(c.selection));
  if (c.kind == ControlKind::Slider || c.kind == ControlKind::ProgressBar)
    attributes.push_back("pos=" + std::to_string(c.position));
  m_transcript.show(id, c.text, attributes);
  if (IsList(c.kind)) {
    for (std::size_t i = 0; i < c.items.size(); ++i) m_transcript.entry(static_cast<int>(i), {c.items[i]});
  } else if (c.kind == ControlKind::ListView) {
    for (std::size_t i = 0; i < c.rows.size(); ++i) m_transcript.entry(static_cast<int>(i), c.rows[i].cells);
  } else if (c.kind == ControlKind::PageArea) {
    for (std::size_t i = 0; i < c.pages.size(); ++i) m_transcript.entry(static_cast<int>(i), {c.pages[i].caption});
  }
}

void DriveHost::finishSteps() {
  flushOpens();
  m_waitUntil.reset();
  while (m_next < m_script.steps.size()) {
    const Step step = m_script.steps[m_next++];
    if (step.kind == StepKind::Wait) {
      // Nothing is left to run, but a script may time what happens outside.
      std::this_thread::sleep_for(std::chrono::milliseconds(step.number));
    } else if (step.kind == StepKind::File) {
      m_fileAnswer = FileAnswer{step.line, step.cancel, step.text};
    } else {
      refuse(step.line, "no window");
    }
  }
}

}  // namespace kit::ui::drive
