#include "platform/ui/headless/headless_host.h"

#include <algorithm>
#include <utility>

namespace kit::ui {

namespace {
// A periodic timer nobody stops would keep a run alive for ever; after this many timer
// firings without an end the run is treated as left open.
constexpr int kMaxTimerFiringsPerRun = 100000;

BoxResult FirstButton(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::YesNo:
    case BoxButtons::YesNoCancel:
      return BoxResult::Yes;
    case BoxButtons::RetryCancel:
      return BoxResult::Retry;
    default:
      return BoxResult::Ok;
  }
}
}  // namespace

HeadlessHost::HeadlessHost() = default;
HeadlessHost::~HeadlessHost() = default;

void HeadlessHost::onModal(int dialogId, Responder responder) { m_responders[dialogId] = std::move(responder); }
void HeadlessHost::onBox(BoxResponder responder) { m_boxResponder = std::move(responder); }
void HeadlessHost::onFileChooser(ChooserResponder responder) { m_chooserResponder = std::move(responder); }
void HeadlessHost::onPopupMenu(MenuResponder responder) { m_menuResponder = std::move(responder); }

std::vector<ModalRecord> HeadlessHost::modalsOf(int dialogId) const {
  std::vector<ModalRecord> out;
  for (const auto& r : m_modals) {
    if (r.dialogId == dialogId) out.push_back(r);
  }
  return out;
}

void HeadlessHost::clearRecords() {
  m_modals.clear();
  m_boxes.clear();
  m_choosers.clear();
  m_menus.clear();
}

ModalRecord HeadlessHost::recordOf(const Dialog& dialog) const {
  ModalRecord r;
  r.dialogId = dialog.id();
  r.caption = dialog.caption();
  for (const auto& c : dialog.controls()) {
    if (!c.visible) continue;
    if (c.kind == ControlKind::StaticText) r.texts.push_back(c.text);
    if (c.kind == ControlKind::PushButton) r.buttons.push_back(c.text);
  }
  return r;
}

// --- Queue ------------------------------------------------------------------------------

void HeadlessHost::enqueue(const PostedMessage& message) { m_queue.put(message); }

std::optional<PostedMessage> HeadlessHost::takePosted() { return m_queue.take(); }

int HeadlessHost::pumpPosted() {
  int count = 0;
  while (auto m = takePosted()) {
    deliver(*m);
    ++count;
  }
  return count;
}

bool HeadlessHost::waitForPosted(std::chrono::milliseconds timeout) {
  if (!m_queue.waitFor(timeout)) return false;
  pumpPosted();
  return true;
}

// --- Timers -----------------------------------------------------------------------------

bool HeadlessHost::setTimer(Dialog& dialog, int timerId, std::chrono::milliseconds period) {
  m_timers.set(dialog.handle(), timerId, period, m_now);
  return true;
}

bool HeadlessHost::killTimer(Dialog& dialog, int timerId) { return m_timers.kill(dialog.handle(), timerId); }

bool HeadlessHost::hasTimer(const Dialog& dialog, int timerId) const {
  return m_timers.has(dialog.handle(), timerId);
}

bool HeadlessHost::fireNextTimer(std::optional<std::chrono::milliseconds> limit) {
  const auto due = m_timers.takeDue(limit.value_or(std::chrono::milliseconds::max()), m_now);
  if (!due) return false;
  m_now = std::max(m_now, due->at);
  if (Dialog* d = find(due->window)) {
    Event e;
    e.kind = EventKind::Timer;
    e.controlId = due->id;
    d->dispatch(e);
  }
  return true;
}

void HeadlessHost::advance(std::chrono::milliseconds by) {
  const auto target = m_now + by;
  pumpPosted();
  while (fireNextTimer(target)) pumpPosted();
  m_now = target;
}

// --- Windows ----------------------------------------------------------------------------

int HeadlessHost::runModal(Dialog& dialog) {
  if (dialog.isCreated()) return -1;
  dialog.beginWindow(dialog.owner(), true);
  dialog.initialise();
  const std::size_t recordIndex = m_modals.size();
  m_modals.push_back(recordOf(dialog));

  const auto responder = m_responders.find(dialog.id());
  const int run = m_runs[dialog.id()]++;
  if (responder != m_responders.end() && !dialog.isEnded()) {
    ModalScript script{*this, dialog, run};
    if (responder->second) responder->second(script);
  }

  const bool scripted = responder != m_responders.end();
  int firings = 0;
  while (!dialog.isEnded()) {
    if (takePostedAndDeliver()) continue;
    if (scripted && firings < kMaxTimerFiringsPerRun && fireNextTimer(std::nullopt)) {
      ++firings;
      continue;
    }
    if (scripted && firings < kMaxTimerFiringsPerRun && waitForPosted(m_idleWait)) continue;
    // Nobody is going to end it: close it as a user would.
    if (scripted) {
      m_modals[recordIndex].leftOpen = true;
    } else {
      m_modals[recordIndex].closedByHost = true;
    }
    dialog.userClose();
    if (!dialog.isEnded()) dialog.endDialog(kIdCancel);
  }
  m_modals[recordIndex].result = dialog.endCode();
  m_timers.killAllOf(dialog.handle());
  dialog.endWindow();
  return dialog.endCode();
}

bool HeadlessHost::takePostedAndDeliver() {
  auto m = takePosted();
  if (!m) return false;
  deliver(*m);
  return true;
}

bool HeadlessHost::createWindow(Dialog& dialog, Dialog* parent) {
  const bool child = (dialog.dialogTemplate().flags & kChildWindow) != 0;
  if (child && !parent) return false;
  dialog.beginWindow(child ? parent : dialog.owner(), false);
  if (!child) m_topLevel.push_back(dialog.handle());
  dialog.initialise();
  return true;
}

void HeadlessHost::destroyWindow(Dialog& dialog) {
  m_timers.killAllOf(dialog.handle());
  m_topLevel.erase(std::remove(m_topLevel.begin(), m_topLevel.end(), dialog.handle()), m_topLevel.end());
  dialog.endWindow();
}

void HeadlessHost::runMessageLoop() {
  int firings = 0;
  while (!m_topLevel.empty()) {
    if (takePostedAndDeliver()) continue;
    if (firings < kMaxTimerFiringsPerRun && fireNextTimer(std::nullopt)) {
      ++firings;
      continue;
    }
    if (!waitForPosted(m_idleWait)) return;  // nothing more will happen
  }
}

// --- Services ---------------------------------------------------------------------------

BoxResult HeadlessHost::messageBox(Dialog* /*owner*/, const MessageBoxRequest& request) {
  const BoxResult answer = m_boxResponder ? m_boxResponder(request) : FirstButton(request.buttons);
  m_boxes.push_back({request, answer});
  return answer;
}

std::optional<std::string> HeadlessHost::chooseFile(Dialog* /*owner*/, const FileChooserRequest& request) {
  m_choosers.push_back(request);
  if (!m_chooserResponder) return std::nullopt;
  auto chosen = m_chooserResponder(request);
  if (chosen) *chosen = WithDefaultExtension(*chosen, request.defaultExtension);
  return chosen;
}

int HeadlessHost::popupMenu(Dialog& /*owner*/, const std::vector<MenuItem>& items, Point /*at*/) {
  const int chosen = m_menuResponder ? m_menuResponder(items) : 0;
  m_menus.push_back({items, chosen});
  return chosen;
}

void HeadlessHost::setWaitCursor(bool on) { m_waitCursor += on ? 1 : -1; }

}  // namespace kit::ui
