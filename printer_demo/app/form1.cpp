#include "printer_demo/app/form1.h"

#include "printer_demo/app/demo_forms.h"
#include "printer_demo/app/form2.h"
#include "printer_demo/app/form_templates.h"
#include "printer_demo/app/resource.h"
#include "printer_demo/sysenv/serial_setup.h"

namespace j57 {

using namespace res;
using kit::ui::EventKind;

Form1::Form1(kit::ui::Host& host, DemoForms& forms)
    : Dialog(host, Form1Template()), m_forms(forms), m_comm(*forms.environment().devices, forms.environment().serialOpener) {}

const kit::ui::MessageMap* Form1::messageMap() const {
  static const auto map = kit::ui::MessageMapBuilder<Form1>()
                              .on(EventKind::Click, FORM1_OPTION1, &Form1::OnOption1Click)
                              .on(EventKind::Click, FORM1_OPTION2, &Form1::OnOption2Click)
                              .on(EventKind::Click, FORM1_COMMAND1, &Form1::OnEnter)
                              .on(EventKind::Click, FORM1_COMMAND2, &Form1::OnExit)
                              .build();
  return &map;
}

bool Form1::OnInitDialog() {
  kit::ui::Font title;
  title.pointSize = 14;
  title.weight = 700;
  setFont(FORM1_LABEL1, title);
  for (const char* name : {"COM1", "COM2", "COM3", "COM4"}) addItem(FORM1_COMBO1, name);
  for (const char* baud : {"9600", "19200", "38400", "115200"}) addItem(FORM1_COMBO4, baud);
  for (const char* handshake : {"Cts/Rts", "Dsr/Dtr"}) addItem(FORM1_COMBO6, handshake);
  for (const char* name : {"LPT1", "LPT2", "LPT3"}) addItem(FORM1_COMBO7, name);
  checkRadioButton(FORM1_OPTION1, FORM1_OPTION2, FORM1_OPTION1);
  if (isEnabled(FORM1_OPTION1)) enableSerialBoxes(true);
  // COM5 to COM8 name the first four serial devices; the names stay for the whole run.
  DosDeviceTable& devices = *m_forms.environment().devices;
  for (int k = 0; k < 4; ++k)
    devices.define(DosDeviceTable::kRawTargetPath, "COM" + std::to_string(5 + k), "\\Device\\Serial" + std::to_string(k));
  return true;
}

void Form1::enableSerialBoxes(bool serial) {
  for (int id = FORM1_COMBO1; id <= FORM1_COMBO6; ++id) enable(id, serial);
  enable(FORM1_COMBO7, !serial);
}

void Form1::OnOption1Click() { enableSerialBoxes(true); }
void Form1::OnOption2Click() { enableSerialBoxes(false); }

void Form1::OnEnter() {
  // Numbers first: a text that is no number stops here, with the first window still up.
  const auto line = ConvertLineTexts(text(FORM1_COMBO4), text(FORM1_COMBO2), text(FORM1_COMBO5));
  if (const auto* error = std::get_if<std::string>(&line)) {
    m_forms.reportFailure(*this, *error);
    return;
  }
  m_forms.showForm2HideForm1();
  if (!isChecked(FORM1_OPTION1)) return;
  if (auto error = OpenSerialPort(m_comm, PortNumberFromName(text(FORM1_COMBO1)), std::get<LineNumbers>(line))) {
    // Without the serial port every print would go to the parallel port instead, so
    // the user goes back to the settings.
    m_forms.reportFailure(m_forms.form2(), *error);
    m_forms.backToForm1();
  }
}

void Form1::OnExit() {
  m_comm.closePort();
  destroyWindow();
}

void Form1::OnClose() { OnExit(); }

}  // namespace j57
