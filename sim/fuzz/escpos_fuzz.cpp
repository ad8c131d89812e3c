// Print jobs as the virtual printer receives them: any bytes, arriving in pieces of any
// size. The parser and the receipt layout must take everything without crashing, and
// the result must not depend on where the stream was cut into pieces.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "sim/printer/virtual_printer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t piece = 1 + data[0] % 17;
  std::span<const std::uint8_t> job(data + 1, size - 1);

  printer::VirtualPrinter whole;
  whole.feed(job);
  whole.finish();
  const auto wholeReceipts = whole.takeReceipts();

  printer::VirtualPrinter pieces;
  for (std::size_t at = 0; at < job.size(); at += piece) pieces.feed(job.subspan(at, std::min(piece, job.size() - at)));
  pieces.finish();
  const auto pieceReceipts = pieces.takeReceipts();

  if (wholeReceipts.size() != pieceReceipts.size() || whole.bytesParsed() != pieces.bytesParsed()) std::abort();
  return 0;
}
