#include "sim/printer/virtual_printer.h"

#include <utility>

#include "platform/text/code_page.h"

namespace printer {
namespace {

ReceiptLayout::Options LayoutOptions(int paperWidth) {
  ReceiptLayout::Options options;
  options.paperWidth = paperWidth;
  options.decoder = [](std::string_view pair) { return kit::ToUtf8(pair, kit::CodePage::Gbk936); };
  return options;
}

}  // namespace

VirtualPrinter::VirtualPrinter(int paperWidth)
    : m_layout(LayoutOptions(paperWidth)),
      m_parser([this](const PrinterCommand& command) { m_layout.execute(command); }) {}

void VirtualPrinter::feed(std::span<const std::uint8_t> bytes) {
  m_parser.feed(bytes);
  for (Receipt& receipt : m_layout.takeFinished()) m_receipts.push_back(std::move(receipt));
}

void VirtualPrinter::finish() {
  m_parser.finish();
  for (Receipt& receipt : m_layout.takeFinished()) m_receipts.push_back(std::move(receipt));
  if (auto rest = m_layout.flush()) m_receipts.push_back(std::move(*rest));
}

std::vector<Receipt> VirtualPrinter::takeReceipts() { return std::exchange(m_receipts, {}); }

}  // namespace printer
