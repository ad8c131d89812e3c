#include "printer_demo/app/form2.h"

#include "printer_demo/app/demo_forms.h"
#include "printer_demo/app/form_templates.h"
#include "printer_demo/app/resource.h"

namespace j57 {

using namespace res;
using kit::ui::EventKind;

Form2::Form2(kit::ui::Host& host, DemoForms& forms) : Dialog(host, Form2Template()), m_forms(forms) {}

const kit::ui::MessageMap* Form2::messageMap() const {
  static const auto map = kit::ui::MessageMapBuilder<Form2>()
                              .on(EventKind::Click, FORM2_COMMAND1, &Form2::OnMenu)
                              .on(EventKind::Click, FORM2_COMMAND3, &Form2::OnChecks)
                              .on(EventKind::Click, FORM2_COMMAND4, &Form2::OnShoppingList)
                              .on(EventKind::Click, FORM2_COMMAND8, &Form2::OnNormal)
                              .on(EventKind::Click, FORM2_COMMAND2, &Form2::OnWiden)
                              .on(EventKind::Click, FORM2_COMMAND5, &Form2::OnHigher)
                              .on(EventKind::Click, FORM2_COMMAND6, &Form2::OnManualTest)
                              .on(EventKind::Click, FORM2_COMMAND7, &Form2::OnBack)
                              .build();
  return &map;
}

bool Form2::OnInitDialog() {
  for (const BarcodeType& type : BarcodeTypes()) addItem(FORM2_COMBO1, std::string(type.listText));
  setText(FORM2_COMBO1, std::string(kInitialBarcodeType));
  return true;
}

void Form2::report(const PrintOutcome& outcome) {
  if (outcome.failed()) m_forms.reportFailure(*this, outcome.message);
}

void Form2::OnMenu() { report(m_forms.printActions().printMenu()); }
void Form2::OnChecks() { report(m_forms.printActions().printChecks()); }
void Form2::OnShoppingList() { report(m_forms.printActions().printShoppingList()); }
void Form2::OnNormal() { report(m_forms.printActions().printBarcode(text(FORM2_COMBO1), BarcodeSize::Normal)); }
void Form2::OnWiden() { report(m_forms.printActions().printBarcode(text(FORM2_COMBO1), BarcodeSize::Widen)); }
void Form2::OnHigher() { report(m_forms.printActions().printBarcode(text(FORM2_COMBO1), BarcodeSize::Higher)); }
void Form2::OnManualTest() { m_forms.showForm3HideForm2(); }
void Form2::OnBack() { m_forms.backToForm1(); }
void Form2::OnClose() { OnBack(); }

}  // namespace j57
