#pragma once
// A small dialog used by the kit's own tests: one of most control kinds and a message
// map that logs every event it receives.
#include <string>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/property_page.h"

namespace kit::ui::sample {

enum : std::uint16_t {
  kLabel = 100,
  kEdit = 101,
  kDigits = 102,
  kCheck = 103,
  kRadioA = 104,
  kRadioB = 105,
  kRadioC = 106,  // first of a second group
  kList = 107,
  kSortedList = 108,
  kCombo = 109,
  kSlider = 110,
  kApply = 111,
  kView = 112,
  kAddress = 113,
  kArea = 114,
  kReadOnlyEdit = 115,
};

constexpr std::uint32_t kMessagePing = kMessageUser + 5;

inline DialogTemplate SampleTemplate() {
  DialogTemplate t;
  t.id = 500;
  t.caption = "Sample";
  t.width = 300;
  t.height = 200;
  t.controls = {
      Label(kLabel, "Name:", {5, 5, 40, 10}),
      EditBox(kEdit, {50, 5, 80, 12}, 0, 6),
      EditBox(kDigits, {50, 20, 80, 12}, kNumberOnly, 5),
      EditBox(kReadOnlyEdit, {50, 35, 80, 12}, kReadOnly),
      CheckBox(kCheck, "Fix", {5, 50, 60, 10}),
      RadioButton(kRadioA, "A", {5, 65, 30, 10}, kGroupStart),
      RadioButton(kRadioB, "B", {40, 65, 30, 10}),
      RadioButton(kRadioC, "C", {80, 65, 30, 10}, kGroupStart),
      DropDownList(kList, {5, 80, 60, 50}, {"115200", "57600"}),
      Control(kSortedList, ControlKind::ListBox, {70, 80, 60, 50}, kSorted),
      EditableDropDown(kCombo, {140, 80, 60, 50}, {"COM1", "COM2"}),
      Control(kSlider, ControlKind::Slider, {5, 135, 100, 12}),
      Button(kApply, "Apply", {150, 150, 40, 14}, kDefaultButton),
      Control(kView, ControlKind::ListView, {200, 5, 90, 60}),
      Control(kAddress, ControlKind::IpAddress, {200, 70, 90, 12}),
      Button(kIdOk, "OK", {200, 180, 40, 14}),
      Button(kIdCancel, "Cancel", {250, 180, 40, 14}),
  };
  return t;
}

class SampleDialog : public Dialog {
 public:
  explicit SampleDialog(Host& host, DialogTemplate t = SampleTemplate()) : Dialog(host, std::move(t)) {}

  std::vector<std::string> log;
  int initCount = 0;

  bool OnInitDialog() override {
    ++initCount;
    setText(kEdit, initialName);
    return true;
  }
  std::string initialName = "abc";

  const MessageMap* messageMap() const override {
    static const MessageMap map = MessageMapBuilder<SampleDialog>()
                                      .on(EventKind::Click, kApply, &SampleDialog::OnApply)
                                      .onRange(EventKind::Click, kRadioA, kRadioC, &SampleDialog::OnRadio)
                                      .on(EventKind::KillFocus, kAnyKey, &SampleDialog::OnFocus)
                                      .on(EventKind::SetFocus, kAnyKey, &SampleDialog::OnFocus)
                                      .on(EventKind::TextChange, kAnyKey, &SampleDialog::OnEvent)
                                      .on(EventKind::SelectionChange, kAnyKey, &SampleDialog::OnEvent)
                                      .on(EventKind::Timer, kAnyKey, &SampleDialog::OnEvent)
                                      .on(EventKind::SliderMoved, kSlider, &SampleDialog::OnEvent)
                                      .on(EventKind::DoubleClick, kView, &SampleDialog::OnEvent)
                                      .on(EventKind::ContextMenu, kAnyKey, &SampleDialog::OnEvent)
                                      .on(EventKind::SystemCommand, kAnyKey, &SampleDialog::OnEvent)
                                      .onMessage(kMessagePing, &SampleDialog::OnPing)
                                      .build();
    return &map;
  }

 private:
  void OnApply() { log.push_back("apply"); }
  void OnRadio(const Event& e) { log.push_back("radio " + std::to_string(e.controlId)); }
  void OnFocus(const Event& e) {
    log.push_back(std::string(e.kind == EventKind::SetFocus ? "set " : "kill ") + std::to_string(e.controlId) +
                  " " + std::to_string(e.otherId));
  }
  void OnEvent(const Event& e) {
    static const char* names[] = {"click", "dblclick", "sel", "text", "setfocus", "killfocus", "slide",
                                  "timer", "close", "enter", "escape", "context", "message", "syscmd"};
    log.push_back(std::string(names[static_cast<int>(e.kind)]) + " " + std::to_string(e.controlId));
  }
  std::intptr_t OnPing(std::uintptr_t w, std::intptr_t l) {
    log.push_back("ping " + std::to_string(w) + " " + std::to_string(l));
    return static_cast<std::intptr_t>(w) + l;
  }
};

}  // namespace kit::ui::sample
