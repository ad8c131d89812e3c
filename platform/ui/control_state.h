#pragma once
// The state of one control, kept by its Dialog whatever host shows it. Hosts read it to
// draw; only Dialog changes it (and tells the host), so headless and Qt runs agree.
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/dialog_template.h"

namespace kit::ui {

class PropertyPage;

struct ListColumn {
  std::string title;
  int width = 0;  // pixels, as list controls take them
};

struct ListRow {
  std::vector<std::string> cells;
  int icon = -1;  // index into the window's small icons; -1 none
};

struct PageEntry {
  PropertyPage* page = nullptr;  // not owned
  std::string caption;
};

struct ControlState {
  explicit ControlState(const ControlTemplate& t);

  std::uint16_t id;
  ControlKind kind;
  std::string name;
  Rect rect;
  Style style;
  std::string text;  // caption, edit text, drop-down text, dotted IP address ("" = blank)
  bool enabled;
  bool visible;
  bool readOnly;
  bool checked = false;
  int textLimit;
  std::vector<std::string> items;
  int selection = -1;  // list entry, list view row or active page; -1 none
  int rangeMin = 0;
  int rangeMax = 100;
  int position = 0;
  std::vector<ListColumn> columns;
  std::vector<ListRow> rows;
  std::vector<PageEntry> pages;
  std::optional<Font> font;  // set on the control; none: the dialog font
  std::string tooltip;
  bool whiteBackground;
};

}  // namespace kit::ui
