#include "platform/ui/dialog.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "platform/ui/property_page.h"
#include "platform/ui/text_order.h"

namespace kit::ui {

namespace {

bool IsList(ControlKind k) {
  return k == ControlKind::ListBox || k == ControlKind::DropDownList ||
         k == ControlKind::EditableDropDown;
}

bool IsTextEntry(ControlKind k) {
  return k == ControlKind::Edit || k == ControlKind::EditableDropDown ||
         k == ControlKind::IpAddress;
}

bool TakesFocus(ControlKind k) {
  switch (k) {
    case ControlKind::StaticText:
    case ControlKind::GroupBox:
    case ControlKind::Picture:
    case ControlKind::EtchedLine:
    case ControlKind::ProgressBar:
      return false;
    default:
      return true;
  }
}

// The longest prefix of at most `limit` bytes that does not cut a UTF-8 sequence.
std::size_t Utf8Boundary(const std::string& text, std::size_t limit) {
  if (limit >= text.size()) return text.size();
  std::size_t cut = limit;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

std::string DottedAddress(std::uint32_t a) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", (a >> 24) & 0xFF, (a >> 16) & 0xFF, (a >> 8) & 0xFF,
                a & 0xFF);
  return buf;
}

// Reads "a.b.c.d" with four fields of 0..255; anything else is no address.
std::optional<std::uint32_t> ParseDotted(const std::string& text) {
  std::uint32_t value = 0;
  int fields = 0;
  std::size_t i = 0;
  while (fields < 4) {
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return std::nullopt;
    unsigned field = 0;
    int digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 4) {
      field = field * 10 + static_cast<unsigned>(text[i] - '0');
      ++i;
      ++digits;
    }
    if (field > 255 || digits > 3) return std::nullopt;
    value = (value << 8) | field;
    ++fields;
    if (fields < 4) {
      if (i >= text.size() || text[i] != '.') return std::nullopt;
      ++i;
    }
  }
  if (i != text.size()) return std::nullopt;
  return value;
}

}  // namespace

Dialog::Dialog(Host& host, DialogTemplate dialogTemplate, Dialog* owner)
    : m_host(host),
      m_template(std::move(dialogTemplate)),
      m_owner(owner),
      m_handle(host.attach(*this)),
      m_caption(m_template.caption) {
  for (const auto& t : m_template.controls) m_controls.emplace_back(t);
}

Dialog::~Dialog() {
  if (m_created) m_host.destroyWindow(*this);
  // A page that goes first leaves its page area, so that the area never holds a
  // dangling page.
  if (Dialog* owner = m_host.find(m_areaOwner)) owner->forgetPage(this);
  m_host.detach(m_handle);
}

void Dialog::forgetPage(const Dialog* page) {
  for (auto& c : m_controls) {
    for (std::size_t i = 0; i < c.pages.size();) {
      if (c.pages[i].page == page) {
        c.pages.erase(c.pages.begin() + static_cast<std::ptrdiff_t>(i));
        if (c.selection == static_cast<int>(i)) c.selection = -1;
        else if (c.selection > static_cast<int>(i)) --c.selection;
        changed(c.id);
      } else {
        ++i;
      }
    }
  }
}

// --- Running --------------------------------------------------------------------------

int Dialog::runModal() { return m_host.runModal(*this); }

bool Dialog::create(Dialog* parent) {
  if (m_created) return false;
  return m_host.createWindow(*this, parent);
}

void Dialog::destroyWindow() {
  if (m_created) m_host.destroyWindow(*this);
}

void Dialog::endDialog(int code) {
  m_ended = true;
  m_endCode = code;
  m_host.modalEnded(*this);
}

void Dialog::beginWindow(Dialog* parentWindow, bool modal) {
  m_controls.clear();
  for (const auto& t : m_template.controls) m_controls.emplace_back(t);
  m_parentWindow = parentWindow;
  m_caption = m_template.caption;
  m_created = true;
  m_modal = modal;
  m_ended = false;
  m_endCode = 0;
  m_windowEnabled = true;
  // Child windows (pages) start hidden; their parent shows them.
  m_shown = (m_template.flags & kChildWindow) == 0;
  m_focus = 0;
  for (const auto& c : m_controls) {
    if (c.visible && c.enabled && TakesFocus(c.kind) && c.kind != ControlKind::PageArea) {
      m_focus = c.id;
      break;
    }
  }
}

void Dialog::initialise() { OnInitDialog(); }

void Dialog::endWindow() {
  m_created = false;
  m_modal = false;
  for (auto& c : m_controls) {
    for (auto& p : c.pages) {
      if (p.page && p.page->isCreated()) p.page->destroyWindow();
    }
  }
}

// --- Window ----------------------------------------------------------------------------

void Dialog::setCaption(std::string caption) {
  m_caption = std::move(caption);
  m_host.windowChanged(*this);
}

void Dialog::moveTo(Point position) {
  m_position = position;
  m_host.windowChanged(*this);
}

void Dialog::showWindow(bool show) {
  m_shown = show;
  m_host.windowChanged(*this);
}

void Dialog::enableWindow(bool enable) {
  m_windowEnabled = enable;
  m_host.windowChanged(*this);
}

void Dialog::setWhiteBackground(bool white) {
  m_whiteBackground = white;
  m_host.windowChanged(*this);
}

void Dialog::addSystemMenuItem(int command, std::string text) {
  m_systemMenu.push_back({0, {}});
  m_systemMenu.push_back({command, std::move(text)});
  m_host.windowChanged(*this);
}

// --- Controls -------------------------------------------------------------------------

ControlState* Dialog::find(int id) {
  if (id < 0 || id == kNoId) return nullptr;
  for (auto& c : m_controls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

const ControlState* Dialog::control(int id) const { return const_cast<Dialog*>(this)->find(id); }

const ControlState* Dialog::controlByName(const std::string& name) const {
  for (const auto& c : m_controls) {
    if (!name.empty() && c.name == name) return &c;
  }
  return nullptr;
}

std::vector<int> Dialog::controlIds() const {
  std::vector<int> ids;
  for (const auto& c : m_controls) {
    if (c.id != kNoId) ids.push_back(c.id);
  }
  return ids;
}

void Dialog::changed(int id) {
  if (m_created) m_host.controlChanged(*this, id);
}

std::string Dialog::text(int id) const {
  const auto* c = control(id);
  return c ? c->text : std::string();
}

bool Dialog::setText(int id, std::string text) {
  auto* c = find(id);
  if (!c) return false;
  c->text = std::move(text);
  if (c->kind == ControlKind::EditableDropDown) c->selection = findItemExact(id, c->text);
  changed(id);
  return true;
}

bool Dialog::enable(int id, bool enable) {
  auto* c = find(id);
  if (!c) return false;
  c->enabled = enable;
  changed(id);
  return true;
}

bool Dialog::isEnabled(int id) const {
  const auto* c = control(id);
  return c && c->enabled;
}

bool Dialog::show(int id, bool show) {
  auto* c = find(id);
  if (!c) return false;
  c->visible = show;
  changed(id);
  return true;
}

bool Dialog::isVisible(int id) const {
  const auto* c = control(id);
  return c && c->visible;
}

bool Dialog::setReadOnly(int id, bool readOnly) {
  auto* c = find(id);
  if (!c) return false;
  c->readOnly = readOnly;
  changed(id);
  return true;
}

bool Dialog::setCheck(int id, bool checked) {
  auto* c = find(id);
  if (!c) return false;
  c->checked = checked;
  changed(id);
  return true;
}

bool Dialog::isChecked(int id) const {
  const auto* c = control(id);
  return c && c->checked;
}

bool Dialog::checkRadioButton(int first, int last, int id) {
  bool found = false;
  for (auto& c : m_controls) {
    if (c.id < first || c.id > last || c.id == kNoId) continue;
    const bool on = c.id == id;
    found = found || on;
    if (c.checked != on) {
      c.checked = on;
      changed(c.id);
    }
  }
  return found;
}

int Dialog::checkedRadioButton(int first, int last) const {
  for (const auto& c : m_controls) {
    if (c.id >= first && c.id <= last && c.id != kNoId && c.checked) return c.id;
  }
  return 0;
}

bool Dialog::setTextLimit(int id, int limit) {
  auto* c = find(id);
  if (!c) return false;
  c->textLimit = std::max(0, limit);
  changed(id);
  return true;
}

bool Dialog::setFont(int id, Font font) {
  auto* c = find(id);
  if (!c) return false;
  c->font = std::move(font);
  changed(id);
  return true;
}

bool Dialog::setTooltip(int id, std::string text) {
  auto* c = find(id);
  if (!c) return false;
  c->tooltip = std::move(text);
  changed(id);
  return true;
}

bool Dialog::setControlBackground(int id, bool white) {
  auto* c = find(id);
  if (!c) return false;
  c->whiteBackground = white;
  changed(id);
  return true;
}

bool Dialog::setFocus(int id) {
  if (id != 0 && !find(id)) return false;
  const int old = m_focus;
  if (old == id) return true;
  m_focus = id;
  if (m_created) m_host.focusChanged(*this, id);
  if (old != 0) {
    Event kill;
    kill.kind = EventKind::KillFocus;
    kill.controlId = old;
    kill.otherId = id;
    dispatch(kill);
  }
  if (id != 0) {
    Event set;
    set.kind = EventKind::SetFocus;
    set.controlId = id;
    set.otherId = old;
    dispatch(set);
  }
  return true;
}

bool Dialog::setControlRect(int id, Rect rect) {
  auto* c = find(id);
  if (!c) return false;
  c->rect = rect;
  changed(id);
  return true;
}

Rect Dialog::controlRect(int id) const {
  const auto* c = control(id);
  return c ? c->rect : Rect{};
}

Rect Dialog::controlPixels(int id) const { return m_host.toPixels(*this, controlRect(id)); }

bool Dialog::scrollToEnd(int id) {
  if (!find(id)) return false;
  if (m_created) m_host.scrollToEnd(*this, id);
  return true;
}

// --- Lists ------------------------------------------------------------------------------

int Dialog::addItem(int id, std::string text) {
  auto* c = find(id);
  if (!c || !IsList(c->kind)) return -1;
  int index = static_cast<int>(c->items.size());
  if (c->style & kSorted) {
    auto it = std::upper_bound(c->items.begin(), c->items.end(), text,
                               [](const std::string& a, const std::string& b) { return TextLess(a, b); });
    index = static_cast<int>(it - c->items.begin());
  }
  return insertItem(id, index, std::move(text));
}

int Dialog::insertItem(int id, int index, std::string text) {
  auto* c = find(id);
  if (!c || !IsList(c->kind)) return -1;
  if (index < 0 || index > static_cast<int>(c->items.size())) index = static_cast<int>(c->items.size());
  c->items.insert(c->items.begin() + index, std::move(text));
  if (c->selection >= index) ++c->selection;
  changed(id);
  return index;
}

bool Dialog::deleteItem(int id, int index) {
  auto* c = find(id);
  if (!c || !IsList(c->kind) || index < 0 || index >= static_cast<int>(c->items.size())) return false;
  c->items.erase(c->items.begin() + index);
  if (c->selection == index) {
    c->selection = -1;
    if (c->kind != ControlKind::EditableDropDown) c->text.clear();
  } else if (c->selection > index) {
    --c->selection;
  }
  changed(id);
  return true;
}

bool Dialog::clearItems(int id) {
  auto* c = find(id);
  if (!c || !IsList(c->kind)) return false;
  c->items.clear();
  c->selection = -1;
  if (c->kind != ControlKind::EditableDropDown) c->text.clear();
  changed(id);
  return true;
}

int Dialog::itemCount(int id) const {
  const auto* c = control(id);
  return c && IsList(c->kind) ? static_cast<int>(c->items.size()) : 0;
}

std::string Dialog::itemText(int id, int index) const {
  const auto* c = control(id);
  if (!c || index < 0 || index >= static_cast<int>(c->items.size())) return {};
  return c->items[static_cast<std::size_t>(index)];
}

int Dialog::findItemExact(int id, const std::string& text) const {
  const auto* c = control(id);
  if (!c) return -1;
  for (std::size_t i = 0; i < c->items.size(); ++i) {
    if (c->items[i] == text) return static_cast<int>(i);
  }
  return -1;
}

bool Dialog::setSelection(int id, int index) {
  auto* c = find(id);
  if (!c) return false;
  if (c->kind == ControlKind::ListView) {
    if (index < -1 || index >= static_cast<int>(c->rows.size())) return false;
    c->selection = index;
    changed(id);
    return true;
  }
  if (!IsList(c->kind) || index < -1 || index >= static_cast<int>(c->items.size())) return false;
  c->selection = index;
  if (index >= 0) {
    c->text = c->items[static_cast<std::size_t>(index)];
  } else if (c->kind != ControlKind::EditableDropDown) {
    c->text.clear();
  }
  changed(id);
  return true;
}

int Dialog::selection(int id) const {
  const auto* c = control(id);
  return c ? c->selection : -1;
}

// --- Slider and progress bar ---------------------------------------------------------

bool Dialog::setRange(int id, int low, int high) {
  auto* c = find(id);
  if (!c || (c->kind != ControlKind::Slider && c->kind != ControlKind::ProgressBar) || low > high) return false;
  c->rangeMin = low;
  c->rangeMax = high;
  c->position = std::clamp(c->position, low, high);
  changed(id);
  return true;
}

bool Dialog::setPosition(int id, int position) {
  auto* c = find(id);
  if (!c || (c->kind != ControlKind::Slider && c->kind != ControlKind::ProgressBar)) return false;
  c->position = std::clamp(position, c->rangeMin, c->rangeMax);
  changed(id);
  return true;
}

int Dialog::position(int id) const {
  const auto* c = control(id);
  return c ? c->position : 0;
}

// --- List view -------------------------------------------------------------------------

bool Dialog::setColumns(int id, std::vector<ListColumn> columns) {
  auto* c = find(id);
  if (!c || c->kind != ControlKind::ListView) return false;
  c->columns = std::move(columns);
  changed(id);
  return true;
}

int Dialog::insertRow(int id, int index, std::vector<std::string> cells, int icon) {
  auto* c = find(id);
  if (!c || c->kind != ControlKind::ListView) return -1;
  if (index < 0 || index > static_cast<int>(c->rows.size())) index = static_cast<int>(c->rows.size());
  c->rows.insert(c->rows.begin() + index, ListRow{std::move(cells), icon});
  if (c->selection >= index) ++c->selection;
  changed(id);
  return index;
}

bool Dialog::setCell(int id, int row, int column, std::string text) {
  auto* c = find(id);
  if (!c || c->kind != ControlKind::ListView || row < 0 || row >= static_cast<int>(c->rows.size()) ||
      column < 0 || column > 255)
    return false;
  auto& cells = c->rows[static_cast<std::size_t>(row)].cells;
  if (cells.size() <= static_cast<std::size_t>(column)) cells.resize(static_cast<std::size_t>(column) + 1);
  cells[static_cast<std::size_t>(column)] = std::move(text);
  changed(id);
  return true;
}

std::string Dialog::cellText(int id, int row, int column) const {
  const auto* c = control(id);
  if (!c || row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0) return {};
  const auto& cells = c->rows[static_cast<std::size_t>(row)].cells;
  return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)] : std::string();
}

int Dialog::rowCount(int id) const {
  const auto* c = control(id);
  return c ? static_cast<int>(c->rows.size()) : 0;
}

bool Dialog::clearRows(int id) {
  auto* c = find(id);
  if (!c || c->kind != ControlKind::ListView) return false;
  c->rows.clear();
  c->selection = -1;
  changed(id);
  return true;
}

// --- IP address ------------------------------------------------------------------------

bool Dialog::setAddress(int id, std::uint32_t address) {
  auto* c = find(id);
  if (!c || c->kind != ControlKind::IpAddress) return false;
  c->text = DottedAddress(address);
  changed(id);
  return true;
}

bool Dialog::clearAddress(int id) {
  auto* c = find(id);
  if (!c || c->kind != ControlKind::IpAddress) return false;
  c->text.clear();
  changed(id);
  return true;
}

std::optional<std::uint32_t> Dialog::address(int id) const {
  const auto* c = control(id);
  if (!c || c->kind != ControlKind::IpAddress) return std::nullopt;
  return ParseDotted(c->text);
}

// --- Page area -------------------------------------------------------------------------

int Dialog::addPage(int areaId, PropertyPage& page, std::string caption) {
  auto* c = find(areaId);
  if (!c || c->kind != ControlKind::PageArea) return -1;
  c->pages.push_back({&page, std::move(caption)});
  static_cast<Dialog&>(page).m_areaOwner = m_handle;
  changed(areaId);
  return static_cast<int>(c->pages.size()) - 1;
}

PropertyPage* Dialog::page(int areaId, int index) const {
  const auto* c = control(areaId);
  if (!c || index < 0 || index >= static_cast<int>(c->pages.size())) return nullptr;
  return c->pages[static_cast<std::size_t>(index)].page;
}

int Dialog::activePage(int areaId) const {
  const auto* c = control(areaId);
  return c && c->kind == ControlKind::PageArea ? c->selection : -1;
}

void Dialog::hidePage(PropertyPage* page) {
  if (page && page->isCreated()) page->showWindow(false);
}

bool Dialog::showPage(int areaId, PropertyPage* page) {
  const auto* area = control(areaId);
  if (!page->isCreated()) {
    // Pages sit below the tabs of the area.
    page->m_position = Point{area->rect.x + 3, area->rect.y + 14};
    if (!m_host.createWindow(*page, this)) return false;
  }
  page->moveTo(Point{area->rect.x + 3, area->rect.y + 14});
  page->showWindow(true);
  return true;
}

bool Dialog::setActivePage(int areaId, int index) {
  auto* c = find(areaId);
  if (!c || c->kind != ControlKind::PageArea || index < 0 || index >= static_cast<int>(c->pages.size()))
    return false;
  if (!m_created) {
    c->selection = index;  // remembered; shown when the window exists
    return true;
  }
  const int old = c->selection;
  PropertyPage* oldPage = old >= 0 ? c->pages[static_cast<std::size_t>(old)].page : nullptr;
  PropertyPage* newPage = c->pages[static_cast<std::size_t>(index)].page;
  if (old == index && newPage->isCreated()) return true;
  if (oldPage && oldPage->isCreated() && !oldPage->OnKillActive()) return false;
  hidePage(oldPage);
  if (!showPage(areaId, newPage)) {
    if (oldPage && oldPage->isCreated()) oldPage->showWindow(true);
    return false;
  }
  c = find(areaId);  // the page's creation may have touched the control list
  c->selection = index;
  changed(areaId);
  if (!newPage->OnSetActive()) {
    hidePage(newPage);
    c->selection = old;
    if (oldPage && oldPage->isCreated()) oldPage->showWindow(true);
    changed(areaId);
    return false;
  }
  return true;
}

// --- Messages and timers ----------------------------------------------------------------

std::intptr_t Dialog::send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  Event e;
  e.kind = EventKind::Message;
  e.message = message;
  e.controlId = static_cast<int>(message);
  e.wParam = wParam;
  e.lParam = lParam;
  return dispatch(e);
}

bool Dialog::post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  return m_host.post(PostedMessage{m_handle, message, wParam, lParam});
}

bool Dialog::setTimer(int timerId, std::chrono::milliseconds period) {
  if (!m_created || period.count() < 0) return false;
  return m_host.setTimer(*this, timerId, period);
}

bool Dialog::killTimer(int timerId) { return m_host.killTimer(*this, timerId); }

// --- Services ---------------------------------------------------------------------------

BoxResult Dialog::messageBox(const std::string& text, const std::string& title, BoxButtons buttons,
                             BoxIcon icon) {
  return m_host.messageBox(this, MessageBoxRequest{text, title, buttons, icon});
}

std::optional<std::string> Dialog::chooseFile(const FileChooserRequest& request) {
  return m_host.chooseFile(this, request);
}

int Dialog::popupMenu(const std::vector<MenuItem>& items, Point at) { return m_host.popupMenu(*this, items, at); }

// --- The user ---------------------------------------------------------------------------

const ControlState* Dialog::findVisible(int id) const {
  const auto* c = control(id);
  return c && c->visible ? c : nullptr;
}

bool Dialog::userCanUse(int id) const {
  const auto* c = findVisible(id);
  return m_created && m_windowEnabled && c && c->enabled;
}

std::pair<std::size_t, std::size_t> Dialog::radioGroupOf(std::size_t index) const {
  std::size_t first = index;
  while (first > 0 && !(m_controls[first].style & kGroupStart)) --first;
  std::size_t last = index + 1;
  while (last < m_controls.size() && !(m_controls[last].style & kGroupStart)) ++last;
  return {first, last};
}

bool Dialog::userFocus(int id) {
  const auto* c = control(id);
  if (!userCanUse(id) || !TakesFocus(c->kind)) return false;
  return setFocus(id);
}

bool Dialog::userClick(int id) {
  if (!userCanUse(id)) return false;
  auto* c = find(id);
  if (c->kind != ControlKind::PushButton && c->kind != ControlKind::CheckBox &&
      c->kind != ControlKind::RadioButton && c->kind != ControlKind::StaticText &&
      c->kind != ControlKind::Picture)
    return false;
  if (TakesFocus(c->kind)) {
    userFocus(id);
    // The focus handlers may have ended or changed the dialog.
    if (endedModal() || !userCanUse(id)) return true;
    c = find(id);
  }
  if (c->kind == ControlKind::CheckBox) {
    c->checked = !c->checked;
    changed(id);
  } else if (c->kind == ControlKind::RadioButton) {
    const auto index = static_cast<std::size_t>(c - m_controls.data());
    const auto [first, last] = radioGroupOf(index);
    for (std::size_t i = first; i < last; ++i) {
      auto& r = m_controls[i];
      if (r.kind != ControlKind::RadioButton) continue;
      const bool on = i == index;
      if (r.checked != on) {
        r.checked = on;
        changed(r.id);
      }
    }
  }
  Event e;
  e.kind = EventKind::Click;
  e.controlId = id;
  dispatch(e);
  return true;
}

bool Dialog::userDoubleClick(int id, int row) {
  if (!userCanUse(id)) return false;
  auto* c = find(id);
  if (c->kind == ControlKind::ListView || c->kind == ControlKind::ListBox) {
    const int count = static_cast<int>(c->kind == ControlKind::ListView ? c->rows.size() : c->items.size());
    if (row >= count) return false;
    if (row >= 0 && !setSelection(id, row)) return false;
  }
  userFocus(id);
  Event e;
  e.kind = EventKind::DoubleClick;
  e.controlId = id;
  dispatch(e);
  return true;
}

bool Dialog::userType(int id, const std::string& text) {
  if (!userCanUse(id)) return false;
  auto* c = find(id);
  if (!IsTextEntry(c->kind) || c->readOnly) return false;
  userFocus(id);
  if (endedModal() || !userCanUse(id)) return true;
  c = find(id);
  std::string accepted;
  for (char ch : text) {
    if ((c->style & kNumberOnly) && (ch < '0' || ch > '9')) continue;  // the edit refuses it
    accepted += ch;
  }
  if (c->textLimit > 0 && accepted.size() > static_cast<std::size_t>(c->textLimit))
    accepted.resize(Utf8Boundary(accepted, static_cast<std::size_t>(c->textLimit)));
  c->text = accepted;
  if (c->kind == ControlKind::EditableDropDown) c->selection = findItemExact(id, c->text);
  changed(id);
  Event e;
  e.kind = EventKind::TextChange;
  e.controlId = id;
  dispatch(e);
  return true;
}

bool Dialog::userSelect(int id, int index) {
  if (!userCanUse(id)) return false;
  const auto* c = control(id);
  if (!IsList(c->kind) && c->kind != ControlKind::ListView) return false;
  if (index < -1) return false;
  userFocus(id);
  if (endedModal() || !userCanUse(id)) return true;
  if (!setSelection(id, index)) return false;
  Event e;
  e.kind = EventKind::SelectionChange;
  e.controlId = id;
  dispatch(e);
  return true;
}

bool Dialog::userSlide(int id, int position) {
  if (!userCanUse(id) || control(id)->kind != ControlKind::Slider) return false;
  userFocus(id);
  setPosition(id, position);
  Event e;
  e.kind = EventKind::SliderMoved;
  e.controlId = id;
  dispatch(e);
  return true;
}

int Dialog::defaultButton() const {
  for (const auto& c : m_controls) {
    if (c.kind == ControlKind::PushButton && (c.style & kDefaultButton) && c.visible) return c.id;
  }
  return 0;
}

void Dialog::runCommand(int id) {
  Event e;
  e.kind = EventKind::Click;
  e.controlId = id;
  dispatch(e);
}

bool Dialog::isTabStop(std::size_t index) const {
  const auto& c = m_controls[index];
  if (!c.visible || !c.enabled || !TakesFocus(c.kind) || c.kind == ControlKind::PageArea || c.id == kNoId)
    return false;
  if (c.kind != ControlKind::RadioButton) return true;
  // In a radio group only the ticked button takes the focus by Tab; the first one when
  // none is ticked.
  const auto [first, last] = radioGroupOf(index);
  std::size_t firstRadio = last;
  for (std::size_t i = first; i < last; ++i) {
    if (m_controls[i].kind != ControlKind::RadioButton) continue;
    if (m_controls[i].checked) return i == index;
    if (firstRadio == last) firstRadio = i;
  }
  return firstRadio == index;
}

void Dialog::focusNextTabStop() {
  const std::size_t count = m_controls.size();
  std::size_t start = count;  // after the focused control; from the top when none
  for (std::size_t i = 0; i < count; ++i) {
    if (m_focus != 0 && m_controls[i].id == m_focus) start = i;
  }
  for (std::size_t step = 1; step <= count; ++step) {
    const std::size_t i = (start + step) % count;
    if (isTabStop(i)) {
      setFocus(m_controls[i].id);
      return;
    }
  }
}

bool Dialog::canPress(int id) const {
  const auto* c = control(id);
  return !c || (c->visible && c->enabled);
}

void Dialog::keyElsewhere(Key key) {
  // A page passes Enter and Escape on to the window it sits in, as the system's dialog
  // manager does for nested dialogs.
  if ((m_template.flags & kChildWindow) && m_parentWindow) {
    m_parentWindow->keyElsewhere(key);
    return;
  }
  if (key == Key::Enter) {
    if (const int id = defaultButton()) {
      if (canPress(id)) runCommand(id);
      return;
    }
  }
  // Forms have no OK or Cancel: only a modal dialog takes the standard commands.
  if (!m_modal) return;
  const int command = key == Key::Enter ? kIdOk : kIdCancel;
  if (canPress(command)) runCommand(command);
}

bool Dialog::userKey(Key key) {
  if (!m_created || !m_windowEnabled) return false;
  const ControlState* focused = m_focus != 0 ? findVisible(m_focus) : nullptr;
  const bool onButton = focused && focused->enabled &&
                        (focused->kind == ControlKind::PushButton || focused->kind == ControlKind::CheckBox ||
                         focused->kind == ControlKind::RadioButton);
  switch (key) {
    case Key::Tab:
      focusNextTabStop();
      return true;
    case Key::Space:
      if (onButton) userClick(m_focus);
      return true;
    case Key::Enter:
    case Key::Escape:
      break;
  }
  Event e;
  e.kind = key == Key::Enter ? EventKind::Enter : EventKind::Escape;
  e.controlId = m_focus;
  if (const MessageMap* map = messageMap(); map && map->find(e.kind, m_focus)) {
    dispatch(e);
  } else if (key == Key::Enter && onButton && focused->kind == ControlKind::PushButton) {
    runCommand(m_focus);
  } else if (key == Key::Enter && focused && focused->kind == ControlKind::Edit && (focused->style & kMultiLine) &&
             !focused->readOnly) {
    // A multi-line edit takes Enter as a line break, which a user types as text.
  } else {
    keyElsewhere(key);
  }
  return true;
}

bool Dialog::userClose() {
  if (!m_created || !m_windowEnabled) return false;
  if (m_template.flags & kNoCloseBox) return false;
  Event e;
  e.kind = EventKind::Close;
  dispatch(e);
  return true;
}

bool Dialog::userContextMenu(int id, Point at) {
  if (!m_created) return false;
  if (id != 0 && !findVisible(id)) return false;
  Event e;
  e.kind = EventKind::ContextMenu;
  e.controlId = id;
  e.point = at;
  dispatch(e);
  return true;
}

bool Dialog::userSelectPage(int areaId, int index) {
  if (!userCanUse(areaId)) return false;
  return setActivePage(areaId, index);
}

bool Dialog::userSystemCommand(int command) {
  if (!m_created) return false;
  const bool known = std::any_of(m_systemMenu.begin(), m_systemMenu.end(),
                                 [&](const SystemMenuItem& i) { return i.command == command && command != 0; });
  if (!known) return false;
  Event e;
  e.kind = EventKind::SystemCommand;
  e.controlId = command;
  dispatch(e);
  return true;
}

std::intptr_t Dialog::dispatch(const Event& event) {
  if (const MessageMap* map = messageMap()) {
    if (const MessageEntry* entry = map->find(event.kind, event.controlId)) return entry->handler(*this, event);
  }
  switch (event.kind) {
    case EventKind::Click:
      if (event.controlId == kIdOk) OnOK();
      if (event.controlId == kIdCancel) OnCancel();
      break;
    case EventKind::Close:
      OnClose();
      break;
    case EventKind::Message:
      if (event.message == kMessageClose) OnClose();
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace kit::ui
