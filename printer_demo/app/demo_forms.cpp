#include "printer_demo/app/demo_forms.h"

#include "printer_demo/app/form1.h"
#include "printer_demo/app/form2.h"
#include "printer_demo/app/form3.h"
#include "printer_demo/app/resource.h"
#include "printer_demo/sysenv/parallel_sink.h"

namespace j57 {

// The route of every print action: Form1's serial control while it is open, else the
// parallel port named in Form1's Combo7.
class DemoForms::Connection final : public PrinterConnection {
 public:
  explicit Connection(DemoForms& forms) : m_forms(forms) {}
  bool serialOpen() const override { return m_forms.form1().MSComm1().PortOpen(); }
  ByteSink& serialPort() override { return m_forms.form1().MSComm1(); }
  std::string parallelName() const override { return m_forms.form1().text(res::FORM1_COMBO7); }
  std::variant<std::unique_ptr<ByteSink>, std::string> openParallel(int number) override {
    return OpenParallelSink(number);
  }

 private:
  DemoForms& m_forms;
};

DemoForms::DemoForms(kit::ui::Host& host, DemoEnvironment environment)
    : m_host(host), m_environment(std::move(environment)) {
  m_form1 = std::make_unique<Form1>(host, *this);
  m_form2 = std::make_unique<Form2>(host, *this);
  m_form3 = std::make_unique<Form3>(host, *this);
  m_connection = std::make_unique<Connection>(*this);
  m_actions = std::make_unique<PrintActions>(*m_connection, *m_environment.clock, m_environment.separators);
}

DemoForms::~DemoForms() {
  // Windows go before the objects they point to.
  m_form3->destroyWindow();
  m_form2->destroyWindow();
  m_form1->destroyWindow();
}

bool DemoForms::start() {
  if (!m_form1->create()) return false;
  m_form1->showWindow(true);
  return true;
}

bool DemoForms::anyLoaded() const {
  return m_form1->isCreated() || m_form2->isCreated() || m_form3->isCreated();
}

void DemoForms::showForm2HideForm1() {
  if (!m_form2->isCreated()) m_form2->create();
  m_form2->showWindow(true);
  m_form1->showWindow(false);
}

void DemoForms::backToForm1() {
  m_form3->destroyWindow();
  m_form2->destroyWindow();
  m_form1->showWindow(true);
  if (m_form1->MSComm1().PortOpen()) m_form1->MSComm1().closePort();
}

void DemoForms::showForm3HideForm2() {
  if (!m_form3->isCreated()) m_form3->create();
  m_form3->showWindow(true);
  m_form2->showWindow(false);
}

void DemoForms::backToForm2() {
  m_form3->destroyWindow();
  m_form2->showWindow(true);
}

void DemoForms::reportFailure(kit::ui::Dialog& over, const std::string& message) {
  over.messageBox(message, kFailureTitle, kit::ui::BoxButtons::Ok, kit::ui::BoxIcon::Warning);
}

}  // namespace j57
