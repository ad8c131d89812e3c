#include "platform/ui/dialog_template.h"

#include <utility>

namespace kit::ui {

namespace {
ControlTemplate Make(std::uint16_t id, ControlKind kind, std::string text, Rect r, Style s) {
  ControlTemplate t;
  t.id = id;
  t.kind = kind;
  t.text = std::move(text);
  t.rect = r;
  t.style = s;
  return t;
}
}  // namespace

ControlTemplate Label(std::uint16_t id, std::string text, Rect r, Style s) {
  return Make(id, ControlKind::StaticText, std::move(text), r, s);
}
ControlTemplate GroupBox(std::uint16_t id, std::string text, Rect r, Style s) {
  return Make(id, ControlKind::GroupBox, std::move(text), r, s);
}
ControlTemplate Button(std::uint16_t id, std::string text, Rect r, Style s) {
  return Make(id, ControlKind::PushButton, std::move(text), r, s);
}
ControlTemplate CheckBox(std::uint16_t id, std::string text, Rect r, Style s) {
  return Make(id, ControlKind::CheckBox, std::move(text), r, s);
}
ControlTemplate RadioButton(std::uint16_t id, std::string text, Rect r, Style s) {
  return Make(id, ControlKind::RadioButton, std::move(text), r, s);
}
ControlTemplate EditBox(std::uint16_t id, Rect r, Style s, int limit) {
  ControlTemplate t = Make(id, ControlKind::Edit, {}, r, s);
  t.textLimit = limit;
  return t;
}
ControlTemplate DropDownList(std::uint16_t id, Rect r, std::vector<std::string> items, Style s) {
  ControlTemplate t = Make(id, ControlKind::DropDownList, {}, r, s);
  t.items = std::move(items);
  return t;
}
ControlTemplate EditableDropDown(std::uint16_t id, Rect r, std::vector<std::string> items, Style s) {
  ControlTemplate t = Make(id, ControlKind::EditableDropDown, {}, r, s);
  t.items = std::move(items);
  return t;
}
ControlTemplate Control(std::uint16_t id, ControlKind kind, Rect r, Style s) {
  return Make(id, kind, {}, r, s);
}

}  // namespace kit::ui
