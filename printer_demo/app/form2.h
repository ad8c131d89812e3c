#pragma once

#include "platform/ui/dialog.h"
#include "printer_demo/core/barcode_test.h"
#include "printer_demo/core/print_actions.h"

namespace j57 {

class DemoForms;

// The window of sample prints: three receipts, the barcode tests, "Manual Test" and
// "Back".
class Form2 final : public kit::ui::Dialog {
 public:
  Form2(kit::ui::Host& host, DemoForms& forms);

  bool OnInitDialog() override;  // the form's Load: fills the type list
  void OnClose() override;       // as "Back", so the first window comes back
  const kit::ui::MessageMap* messageMap() const override;

 private:
  void OnMenu();
  void OnChecks();
  void OnShoppingList();
  void OnNormal();
  void OnWiden();
  void OnHigher();
  void OnManualTest();
  void OnBack();
  void report(const PrintOutcome& outcome);

  DemoForms& m_forms;
};

}  // namespace j57
