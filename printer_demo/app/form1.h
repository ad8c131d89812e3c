#pragma once

#include "platform/ui/dialog.h"
#include "printer_demo/sysenv/comm_control.h"

namespace j57 {

class DemoForms;

// The first window: serial or parallel attachment and its settings; "Enter" opens
// the chosen attachment and shows Form2, "Exit" ends the program.
class Form1 final : public kit::ui::Dialog {
 public:
  Form1(kit::ui::Host& host, DemoForms& forms);

  CommControl& MSComm1() { return m_comm; }

  bool OnInitDialog() override;  // the form's Load
  void OnClose() override;
  const kit::ui::MessageMap* messageMap() const override;

 private:
  void OnOption1Click();
  void OnOption2Click();
  void OnEnter();
  void OnExit();
  void enableSerialBoxes(bool serial);

  DemoForms& m_forms;
  CommControl m_comm;
};

}  // namespace j57
