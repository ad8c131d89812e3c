#pragma once
// Dialog templates: what a dialog resource held. A template is plain data; a Dialog
// builds its control states from it each time its window is created.
#include <cstdint>
#include <string>
#include <vector>

namespace kit::ui {

// Positions and sizes of controls are in dialog units: a quarter of the dialog font's
// average character width horizontally, an eighth of its height vertically.
struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct Point {
  int x = 0;
  int y = 0;
};

enum class ControlKind : std::uint8_t {
  StaticText,
  GroupBox,
  Picture,
  EtchedLine,
  PushButton,
  CheckBox,
  RadioButton,
  Edit,
  DropDownList,      // choose from the list only
  EditableDropDown,  // free text plus a list
  ListBox,
  ListView,          // report view: columns, rows, small icons
  IpAddress,
  Slider,
  ProgressBar,
  PageArea,          // property sheet with tabs; pages are added at run time
};

// Style flags of a control (bit set).
enum StyleFlag : std::uint32_t {
  kDisabled = 1u << 0,
  kHidden = 1u << 1,
  kReadOnly = 1u << 2,
  kNumberOnly = 1u << 3,      // edits accept digits only
  kMultiLine = 1u << 4,
  kSorted = 1u << 5,          // list boxes and drop-downs keep their items sorted
  kGroupStart = 1u << 6,      // first control of a radio group
  kDefaultButton = 1u << 7,   // Enter presses this button
  kCentered = 1u << 8,        // static text centred
  kScrollBars = 1u << 9,      // multi-line edits and lists with both scroll bars
  kFullRowSelect = 1u << 10,  // list view
  kGridLines = 1u << 11,      // list view
  kSmallIcons = 1u << 12,     // list view rows carry an icon
  kWhiteBackground = 1u << 13,
  kSunken = 1u << 14,         // static text or picture with a sunken frame
};
using Style = std::uint32_t;

// Controls without an identifier (labels, frames) carry this id, as in resources.
constexpr std::uint16_t kNoId = 0xFFFF;

struct Font {
  std::string family = "DejaVu Sans";
  int pointSize = 8;
  int pixelHeight = 0;  // when above 0 it wins over pointSize (a font made by height)
  int weight = 400;
};

struct ControlTemplate {
  std::uint16_t id = kNoId;
  ControlKind kind = ControlKind::StaticText;
  std::string text;  // UTF-8; a picture's text names its image resource
  Rect rect;
  Style style = 0;
  int textLimit = 0;  // 0: no limit
  std::vector<std::string> items;  // initial list entries
  std::string name;  // optional name of the control ("Combo1") for form-style programs
};

enum DialogFlag : std::uint32_t {
  kChildWindow = 1u << 0,  // no border or caption: a page placed inside a parent
  kNoCloseBox = 1u << 1,
  kNoCaption = 1u << 2,
};

struct DialogTemplate {
  int id = 0;
  std::string caption;
  int width = 0;  // dialog units
  int height = 0;
  Font font;
  std::vector<ControlTemplate> controls;
  std::uint32_t flags = 0;
  std::string name;  // optional ("Form1")
};

// Short builders so that templates read like a resource script.
ControlTemplate Label(std::uint16_t id, std::string text, Rect r, Style s = 0);
ControlTemplate GroupBox(std::uint16_t id, std::string text, Rect r, Style s = 0);
ControlTemplate Button(std::uint16_t id, std::string text, Rect r, Style s = 0);
ControlTemplate CheckBox(std::uint16_t id, std::string text, Rect r, Style s = 0);
ControlTemplate RadioButton(std::uint16_t id, std::string text, Rect r, Style s = 0);
ControlTemplate EditBox(std::uint16_t id, Rect r, Style s = 0, int limit = 0);
ControlTemplate DropDownList(std::uint16_t id, Rect r, std::vector<std::string> items, Style s = 0);
ControlTemplate EditableDropDown(std::uint16_t id, Rect r, std::vector<std::string> items, Style s = 0);
ControlTemplate Control(std::uint16_t id, ControlKind kind, Rect r, Style s = 0);

}  // namespace kit::ui
