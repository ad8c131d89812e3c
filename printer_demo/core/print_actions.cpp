#include "printer_demo/core/print_actions.h"

#include <optional>

#include "printer_demo/core/manual_text.h"
#include "printer_demo/core/number_text.h"
#include "printer_demo/core/sample_receipts.h"

namespace j57 {
namespace {

// Writes one piece and counts it; false once a write failed (outcome then says so).
bool WritePiece(ByteSink& sink, std::span<const std::uint8_t> piece, PrintOutcome& outcome) {
  if (auto error = sink.write(piece)) {
    outcome.status = PrintOutcome::Status::Failed;
    outcome.message = *error + " (" + std::to_string(outcome.bytesSent) + " bytes were sent before)";
    return false;
  }
  outcome.bytesSent += piece.size();
  return true;
}

PrintOutcome WriteAll(ByteSink& sink, const Pieces& pieces) {
  PrintOutcome outcome;
  for (const Bytes& piece : pieces)
    if (!WritePiece(sink, piece, outcome)) break;
  return outcome;
}

PrintOutcome Failure(std::string message) {
  PrintOutcome outcome;
  outcome.status = PrintOutcome::Status::Failed;
  outcome.message = std::move(message);
  return outcome;
}

}  // namespace

PrintActions::PrintActions(PrinterConnection& connection, WallClock& clock, DateSeparators separators)
    : m_connection(connection), m_clock(clock), m_separators(std::move(separators)) {}

// Chooses the route, opens a parallel port for the action, lets write send the
// pieces for the route and closes the port again.
template <typename Write>
PrintOutcome PrintActions::run(Write write) {
  const std::optional<PrintRoute> route =
      ChooseRoute(m_connection.serialOpen(), m_connection.parallelName());
  if (!route) return PrintOutcome{PrintOutcome::Status::NoRoute, 0, {}};
  if (*route == PrintRoute::Serial) return write(*route, m_connection.serialPort());
  auto opened = m_connection.openParallel(ParallelNumber(*route));
  if (auto* error = std::get_if<std::string>(&opened)) return Failure(*error);
  auto& device = std::get<std::unique_ptr<ByteSink>>(opened);
  PrintOutcome outcome = write(*route, *device);
  device.reset();
  return outcome;
}

PrintOutcome PrintActions::printMenu() {
  const std::string stamp = LongDateStamp(m_clock.now(), m_separators);
  return run([&](PrintRoute route, ByteSink& sink) { return WriteAll(sink, MenuReceipt(route, stamp)); });
}

PrintOutcome PrintActions::printChecks() {
  const std::string stamp = ShortDateStamp(m_clock.now(), m_separators);
  return run([&](PrintRoute route, ByteSink& sink) { return WriteAll(sink, ChecksReceipt(route, stamp)); });
}

PrintOutcome PrintActions::printShoppingList() {
  const std::string stamp = ShortDateStamp(m_clock.now(), m_separators);
  return run([&](PrintRoute route, ByteSink& sink) { return WriteAll(sink, ShoppingListReceipt(route, stamp)); });
}

PrintOutcome PrintActions::printBarcode(std::string_view typeText, BarcodeSize size) {
  const BarcodeType* type = FindBarcodeType(typeText);
  return run([&](PrintRoute, ByteSink& sink) { return WriteAll(sink, type ? BarcodeTestPieces(*type, size) : Pieces{}); });
}

PrintOutcome PrintActions::sendText(std::string_view textBytes, std::string_view countText) {
  const std::optional<long> copies = ParseWholeNumber(countText, -32768, 32767);
  if (!copies)
    return Failure("The repeat count \"" + std::string(countText) + "\" is not a whole number from -32768 to 32767.");
  // The copies are written one by one rather than gathered, so a long text repeated
  // many times needs no more memory than the text itself.
  return run([&](PrintRoute, ByteSink& sink) {
    PrintOutcome outcome;
    const auto text = std::span(reinterpret_cast<const std::uint8_t*>(textBytes.data()), textBytes.size());
    for (long i = 0; i < *copies; ++i)
      if (!WritePiece(sink, text, outcome)) return outcome;
    for (const Bytes& piece : ManualTextPieces({}, 0))  // LF and the cut
      if (!WritePiece(sink, piece, outcome)) break;
    return outcome;
  });
}

}  // namespace j57
