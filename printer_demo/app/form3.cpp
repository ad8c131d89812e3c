#include "printer_demo/app/form3.h"

#include "printer_demo/core/box_text.h"
#include "printer_demo/app/demo_forms.h"
#include "printer_demo/app/form_templates.h"
#include "printer_demo/app/resource.h"
#include "printer_demo/core/text_file.h"

namespace j57 {

using namespace res;
using kit::ui::EventKind;

Form3::Form3(kit::ui::Host& host, DemoForms& forms) : Dialog(host, Form3Template()), m_forms(forms) {}

const kit::ui::MessageMap* Form3::messageMap() const {
  static const auto map = kit::ui::MessageMapBuilder<Form3>()
                              .on(EventKind::Click, FORM3_COMMAND1, &Form3::OnFileOpen)
                              .on(EventKind::Click, FORM3_COMMAND2, &Form3::OnDeleteData)
                              .on(EventKind::Click, FORM3_COMMAND3, &Form3::OnSent)
                              .on(EventKind::Click, FORM3_COMMAND4, &Form3::OnBack)
                              .build();
  return &map;
}

bool Form3::OnInitDialog() {
  for (const char* count : {"1", "2", "3", "5", "8", "10"}) addItem(FORM3_COMBO1, count);
  return true;
}

void Form3::OnDeleteData() { setText(FORM3_TEXT1, ""); }

void Form3::OnFileOpen() {
  kit::ui::FileChooserRequest request;
  request.mode = kit::ui::ChooserMode::Open;
  request.title = "Open File";
  request.filter = "*txt";
  request.initialDirectory = m_forms.environment().programFolder;
  request.mustExist = true;  // the path and the file must exist; no read-only box
  const auto chosen = chooseFile(request);
  if (!chosen) {
    messageBox("Open file fails", "Varnex ", kit::ui::BoxButtons::Ok, kit::ui::BoxIcon::Information);
    return;
  }
  const TextFile file = ReadTextFile(*chosen);
  if (!file.ok) {
    m_forms.reportFailure(*this, file.error);
    return;
  }
  const auto text = FileBytesToBoxText(file.bytes);
  if (!text) {
    m_forms.reportFailure(*this, *chosen + " is neither UTF-8 nor code page 936 text.");
    return;
  }
  setText(FORM3_TEXT1, *text);
}

void Form3::OnSent() {
  const auto bytes = BoxTextToPrinterBytes(text(FORM3_TEXT1));
  if (!bytes) {
    m_forms.reportFailure(*this, "The text holds characters the printer's code page (936) does not have.");
    return;
  }
  const PrintOutcome outcome = m_forms.printActions().sendText(*bytes, text(FORM3_COMBO1));
  if (outcome.failed()) m_forms.reportFailure(*this, outcome.message);
}

void Form3::OnBack() { m_forms.backToForm2(); }
void Form3::OnClose() { OnBack(); }

}  // namespace j57
