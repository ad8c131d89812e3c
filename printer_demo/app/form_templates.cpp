#include "printer_demo/app/form_templates.h"

#include "printer_demo/app/resource.h"

namespace j57 {

using namespace kit::ui;
using namespace j57::res;

namespace {

ControlTemplate Named(ControlTemplate control, std::string name) {
  control.name = std::move(name);
  return control;
}

ControlTemplate Combo(std::uint16_t id, std::string text, Rect r, std::string name) {
  ControlTemplate control = EditableDropDown(id, r, {}, kDisabled);
  control.text = std::move(text);
  control.name = std::move(name);
  return control;
}

}  // namespace

DialogTemplate Form1Template() {
  DialogTemplate t;
  t.id = IDD_FORM1;
  t.name = "Form1";
  t.caption = "Form1";
  t.width = 250;
  t.height = 196;
  t.controls = {
      Named(Label(FORM1_LABEL1, "   J57 Thermal Printer ", {10, 4, 230, 18}, kCentered), "Label1"),
      // The two option buttons form one group.
      Named(RadioButton(FORM1_OPTION1, "Serial", {10, 24, 60, 10}, kGroupStart), "Option1"),
      Named(RadioButton(FORM1_OPTION2, "Parallel", {10, 126, 60, 10}), "Option2"),
      Named(GroupBox(FORM1_FRAME1, "Configure", {10, 36, 230, 84}, kGroupStart), "Frame1"),
      Named(Label(FORM1_LABEL2, "Port", {18, 52, 40, 8}), "Label2"),
      Combo(FORM1_COMBO1, "COM1", {60, 50, 55, 12}, "Combo1"),
      Named(Label(FORM1_LABEL3, "Data", {18, 74, 40, 8}), "Label3"),
      Combo(FORM1_COMBO2, "8", {60, 72, 55, 12}, "Combo2"),
      Named(Label(FORM1_LABEL4, "Parity", {18, 96, 40, 8}), "Label4"),
      Combo(FORM1_COMBO3, "None", {60, 94, 55, 12}, "Combo3"),
      Named(Label(FORM1_LABEL5, "Baud", {125, 52, 50, 8}), "Label5"),
      Combo(FORM1_COMBO4, "9600", {177, 50, 55, 12}, "Combo4"),
      Named(Label(FORM1_LABEL6, "Stop bits", {125, 74, 50, 8}), "Label6"),
      Combo(FORM1_COMBO5, "1", {177, 72, 55, 12}, "Combo5"),
      Named(Label(FORM1_LABEL7, "Handshaking", {125, 96, 50, 8}), "Label7"),
      Combo(FORM1_COMBO6, "None", {177, 94, 55, 12}, "Combo6"),
      Named(GroupBox(FORM1_FRAME2, "Configure", {10, 138, 230, 28}), "Frame2"),
      Named(Label(FORM1_LABEL8, "Port", {18, 151, 40, 8}), "Label8"),
      Combo(FORM1_COMBO7, "LPT1", {60, 149, 55, 12}, "Combo7"),
      Named(Button(FORM1_COMMAND1, "Enter", {50, 174, 60, 16}), "Command1"),
      Named(Button(FORM1_COMMAND2, "Exit", {140, 174, 60, 16}), "Command2"),
  };
  return t;
}

DialogTemplate Form2Template() {
  DialogTemplate t;
  t.id = IDD_FORM2;
  t.name = "Form2";
  t.caption = "Form2";
  t.width = 250;
  t.height = 170;
  ControlTemplate types = EditableDropDown(FORM2_COMBO1, {40, 96, 80, 12}, {});
  types.name = "Combo1";
  t.controls = {
      Named(GroupBox(FORM2_FRAME2, "Catering", {10, 6, 110, 66}), "Frame2"),
      Named(Button(FORM2_COMMAND1, "Menu ", {20, 20, 90, 18}), "Command1"),
      Named(Button(FORM2_COMMAND3, "CHECKS", {20, 44, 90, 18}), "Command3"),
      Named(GroupBox(FORM2_FRAME1, "Retail", {130, 6, 110, 66}), "Frame1"),
      Named(Button(FORM2_COMMAND4, "Shopping List", {140, 20, 90, 18}), "Command4"),
      Named(GroupBox(FORM2_FRAME3, "Code Bar", {10, 80, 230, 56}), "Frame3"),
      Named(Label(FORM2_LABEL1, "Type", {18, 98, 20, 8}), "Label1"),
      types,
      Named(Button(FORM2_COMMAND8, "Normal", {18, 114, 64, 16}), "Command8"),
      Named(Button(FORM2_COMMAND2, "Widen", {92, 114, 64, 16}), "Command2"),
      Named(Button(FORM2_COMMAND5, "Higher", {166, 114, 64, 16}), "Command5"),
      Named(Button(FORM2_COMMAND6, "Manual Test", {40, 144, 80, 18}), "Command6"),
      Named(Button(FORM2_COMMAND7, "Back", {140, 144, 80, 18}), "Command7"),
  };
  return t;
}

DialogTemplate Form3Template() {
  DialogTemplate t;
  t.id = IDD_FORM3;
  t.name = "Form3";
  t.caption = "Form3";
  t.width = 250;
  t.height = 200;
  ControlTemplate count = EditableDropDown(FORM3_COMBO1, {50, 160, 50, 12}, {});
  count.text = "1";
  count.name = "Combo1";
  t.controls = {
      Named(GroupBox(FORM3_FRAME1, "Data", {10, 6, 230, 136}), "Frame1"),
      Named(EditBox(FORM3_TEXT1, {18, 18, 214, 96}, kMultiLine | kScrollBars), "Text1"),
      Named(Button(FORM3_COMMAND1, "File Open", {30, 120, 80, 16}), "Command1"),
      Named(Button(FORM3_COMMAND2, "Delete Data", {140, 120, 80, 16}), "Command2"),
      Named(GroupBox(FORM3_FRAME2, "Configure", {10, 146, 230, 48}), "Frame2"),
      Named(Label(FORM3_LABEL1, "Times", {18, 162, 30, 8}), "Label1"),
      count,
      Named(Button(FORM3_COMMAND3, "Sent", {110, 158, 56, 16}), "Command3"),
      Named(Button(FORM3_COMMAND4, "Back", {174, 158, 56, 16}), "Command4"),
  };
  return t;
}

}  // namespace j57
