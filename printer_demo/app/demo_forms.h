#pragma once

#include <memory>
#include <string>

#include "platform/ui/host.h"
#include "printer_demo/core/date_stamp.h"
#include "printer_demo/core/print_actions.h"
#include "printer_demo/core/wall_clock.h"
#include "printer_demo/sysenv/dos_device_table.h"
#include "printer_demo/sysenv/serial_line.h"

namespace j57 {

class Form1;
class Form2;
class Form3;

// What the demo's forms need from outside: the system's device names, the way serial
// lines are opened, the clock and date format of the date stamps, and the program's
// folder (where the file chooser starts).
struct DemoEnvironment {
  DosDeviceTable* devices = nullptr;
  SerialLineOpener serialOpener;
  WallClock* clock = nullptr;
  DateSeparators separators;
  std::string programFolder;
};

// The program's three forms and the moves between them. A form is "loaded" while its
// window exists; the program ends when no form is loaded. Form1 owns the serial
// control; every print action asks it (and Form1's parallel port box) for the route.
class DemoForms {
 public:
  DemoForms(kit::ui::Host& host, DemoEnvironment environment);
  ~DemoForms();

  // Loads and shows Form1.
  bool start();
  bool anyLoaded() const;

  Form1& form1() { return *m_form1; }
  Form2& form2() { return *m_form2; }
  Form3& form3() { return *m_form3; }
  PrintActions& printActions() { return *m_actions; }
  const DemoEnvironment& environment() const { return m_environment; }

  // Navigation.
  void showForm2HideForm1();  // "Enter"
  void backToForm1();         // "Back" on Form2: unload Form2, show Form1, close the serial port
  void showForm3HideForm2();  // "Manual Test"
  void backToForm2();         // "Back" on Form3: unload Form3, show Form2

  // A failure the user must know about, as a box over the given form.
  void reportFailure(kit::ui::Dialog& over, const std::string& message);

 private:
  class Connection;

  kit::ui::Host& m_host;
  DemoEnvironment m_environment;
  std::unique_ptr<Form1> m_form1;
  std::unique_ptr<Form2> m_form2;
  std::unique_ptr<Form3> m_form3;
  std::unique_ptr<Connection> m_connection;
  std::unique_ptr<PrintActions> m_actions;
};

// Title of the boxes that report failures.
inline constexpr const char* kFailureTitle = "J57 Demo";

}  // namespace j57
