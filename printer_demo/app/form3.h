#pragma once

#include "platform/ui/dialog.h"

namespace j57 {

class DemoForms;

// The manual text test: a text box filled by typing or from a file, sent N times
// followed by LF and a cut.
class Form3 final : public kit::ui::Dialog {
 public:
  Form3(kit::ui::Host& host, DemoForms& forms);

  bool OnInitDialog() override;  // the form's Load: fills the repeat count list
  void OnClose() override;       // as "Back"
  const kit::ui::MessageMap* messageMap() const override;

 private:
  void OnFileOpen();
  void OnDeleteData();
  void OnSent();
  void OnBack();

  DemoForms& m_forms;
};

}  // namespace j57
