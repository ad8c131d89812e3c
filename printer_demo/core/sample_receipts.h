#pragma once

#include <string>

#include "printer_demo/core/bytes.h"
#include "printer_demo/core/print_route.h"

namespace j57 {

// The three sample receipts, as the pieces written on the given route. Each route
// has its own layout of the columns, so the tables differ per parallel port.

// "Menu ": longStamp is the long date stamp of the click.
Pieces MenuReceipt(PrintRoute route, const std::string& longStamp);
// "CHECKS": shortStamp is the short date stamp of the click.
Pieces ChecksReceipt(PrintRoute route, const std::string& shortStamp);
// "Shopping List": shortStamp is the short date stamp of the click.
Pieces ShoppingListReceipt(PrintRoute route, const std::string& shortStamp);

// The sample barcode block that ends "CHECKS" and "Shopping List"; withPageMove
// includes the page-mode vertical move.
Pieces SampleBarcodeBlock(bool withPageMove);

}  // namespace j57
