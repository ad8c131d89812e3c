#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "printer_demo/core/barcode_test.h"
#include "printer_demo/core/date_stamp.h"
#include "printer_demo/core/printer_connection.h"
#include "printer_demo/core/wall_clock.h"

namespace j57 {

// How one print action ended.
struct PrintOutcome {
  enum class Status {
    Sent,     // every piece was written
    NoRoute,  // no route: nothing was sent, which is not an error
    Failed,   // nothing or only part was sent; message says what and how much
  };
  Status status = Status::Sent;
  std::size_t bytesSent = 0;
  std::string message;

  bool failed() const { return status == Status::Failed; }
};

// The print actions of the demonstration. Each one forms its date stamp first, then
// asks for the route, then writes its pieces in order (a parallel port is opened at
// the start and closed at the end of the action).
class PrintActions {
 public:
  PrintActions(PrinterConnection& connection, WallClock& clock, DateSeparators separators = {});

  PrintOutcome printMenu();
  PrintOutcome printChecks();
  PrintOutcome printShoppingList();
  // typeText is the text of the type list; a text that names no type sends nothing
  // (a parallel port is still opened and closed).
  PrintOutcome printBarcode(std::string_view typeText, BarcodeSize size);
  // countText is the text of the repeat count box; a text that is no number fails
  // before anything is opened or sent.
  PrintOutcome sendText(std::string_view textBytes, std::string_view countText);

 private:
  template <typename MakePieces>
  PrintOutcome run(MakePieces makePieces);

  PrinterConnection& m_connection;
  WallClock& m_clock;
  DateSeparators m_separators;
};

}  // namespace j57
