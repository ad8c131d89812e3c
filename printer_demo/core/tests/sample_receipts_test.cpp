// Byte-exact receipts on each route, written out as the printer receives them.
#include "printer_demo/core/sample_receipts.h"

#include <gtest/gtest.h>

#include <string>

#include "printer_demo/core/tests/piece_stream.h"

namespace j57 {
namespace {

const std::string kLong = "2026/03/07    09:05:04 ";
const std::string kShort = "2026/03/07   09:05";
const std::string kDash42(42, '-');
const std::string kDash41(41, '-');
const std::string kDash40(40, '-');
// The sample CODE128 with its settings, after the centring command.
const std::string kPageMove = "\x1D\x5C\x64" + std::string(1, '\0');
const std::string kBarcodeSettings = "\x1D\x66" + std::string(1, '\0') + "\x1D\x48\x03\x1D\x68\x64\x1D\x77\x02";
const std::string kCode128 = "\x1D\x6B\x49\x0A{BNo.{C\x0C\x22\x38";
const std::string kCut = "\x1D\x56\x42" + std::string(1, '\0');
const std::string kLeft = "\x1B\x61" + std::string(1, '\0');
const std::string kNormal = "\x1D\x21" + std::string(1, '\0');

struct RouteCase {
  PrintRoute route;
  std::string expected;
};

std::string Menu(const std::string& prawns) {
  return "\x1D\x21\x11Num:(Hall)3\n\x1D\x21\x01Waiter:99\n\x1D\x21\x01" + kLong + "\n\x1D\x21\x11" + prawns +
         "\n" + kNormal + "PNO:0001\n" + kCut;
}

TEST(SampleReceipts, MenuOnEveryRoute) {
  const RouteCase cases[] = {{PrintRoute::Serial, Menu("1 Fried Prawns ")},
                             {PrintRoute::Lpt1, Menu("1 Fried Prawns")},
                             {PrintRoute::Lpt2, Menu("1 Fried Prawns")},
                             {PrintRoute::Lpt3, Menu("1 Fried Prawns")}};
  for (const RouteCase& c : cases)
    EXPECT_EQ(Stream(MenuReceipt(c.route, kLong)), c.expected) << RouteName(c.route);
}

TEST(SampleReceipts, ChecksOnEveryRoute) {
  const std::string serial =
      "\x1D\x21\x11" "      J57\n" "  Thermal Printer\n" + kNormal +
      "Number:100001         No   :0001\n" "Waiter:009            Table:0008\n" "Time:" + kShort + "\n\n"
      "Item       Amount   Price    Account\n" + kDash42 + "\n" + kNormal +
      "Fried Prawns1      68      68\n" "Peking Duck 1      68      68\n" + kDash42 + "\n"
      "Sub Total: 136    Tips:    0.00\n" "Rebate:    0.00   Present: 12.00\n"
      "Neutralize:0.00   Total:   136\n" + kDash42 + "\n" "Sign_______________\n"
      "\x1B\x61\x01" + kPageMove + kBarcodeSettings + kCode128 + "\x1B\x0A" "\x09"
      "We hope you come back soon\n" + kCut + kLeft;
  const std::string lpt1 =
      "\x1D\x21\x11\x0A" "       J57\n" "  Thermal Printer\n" + kNormal +
      "Number:100001     No   :0001\n" "Waiter:009        Table:0008\n" "Time:" + kShort + "\n\n"
      "Item       Amount   Price    Account\n" + kDash42 + "\n" + kNormal +
      "Fried Prawns 1      68      68\n" "\x1B\x40" "Peking Duck  1      68      68\n" + kDash42 + "\n"
      "Sub Total  :136     Tips   : 0.00\n" "Rebate     :0.00    Present: 12.00\n"
      "Neutralize :0.00    Total  : 136\n" + kDash42 + "\n" "Sign\n"
      "\x1B\x61\x01" + kBarcodeSettings + kCode128 + "\x1B\x0C"
      "    We hope you come back soon\n" + kCut + kLeft;
  const std::string lpt2 =
      "\x1D\x21\x11" "      J57\n" "  Thermal Printer\n" + kNormal +
      "Number  :100001       No   :0001\n" "Waiter  :009          Table:0008\n" "Time:" + kShort + "\n\n"
      "Item       Amount   Price    Account\n" + kDash42 + "\n" + kNormal +
      "Fried Prawns 1      68      68\n" "\x1B\x40" "Peking Duck 1      68      68\n" + kDash42 + "\n"
      "Sub total  :136     Tips   :0.00\n" "Rebate     :0.00    Present: 12.00\n"
      "Neutralize :0.00    Total  : 136\n" + kDash42 + "\n" "Sign\n"
      "\x1B\x61\x01" + kPageMove + kBarcodeSettings + kCode128 + "\x1B\x0C" "\x09"
      "We hope you come back soon\n" + kCut + kLeft;
  const std::string lpt3 =
      "\x1D\x21\x11" "        J57\n" " POS Thermal Printer\n" + kNormal +
      "Number  :100001       No   :0001\n" "Waiter  :009          Table:0008\n" "Time:" + kShort + "\n\n"
      "Item       Amount   Price    Account\n" + kDash42 + "\n" + kNormal +
      "Fried Prawns 1      68      68\n" "\x1B\x40" "Peking Duck 1      68      68\n" + kDash42 + "\n"
      "Sub Total :136      Tips   :0.00\n" "Rebate    :0.00     Present: 12.00\n"
      "Neutralize:0.00     Total  : 136\n" + kDash42 + "\n" "Sign\n"
      "\x1B\x61\x01" + kPageMove + kBarcodeSettings + kCode128 + "\x1B\x0C"
      "        We hope you come back soon\n" + kCut + kLeft;
  const RouteCase cases[] = {{PrintRoute::Serial, serial},
                             {PrintRoute::Lpt1, lpt1},
                             {PrintRoute::Lpt2, lpt2},
                             {PrintRoute::Lpt3, lpt3}};
  for (const RouteCase& c : cases)
    EXPECT_EQ(Stream(ChecksReceipt(c.route, kShort)), c.expected) << RouteName(c.route);
}

TEST(SampleReceipts, ShoppingListOnEveryRoute) {
  const std::string head = "\x1D\x21\x11" "        J57\n" " POS Thermal Printer\n" + kNormal;
  const std::string tail = "\x1B\x44\x0A" "\x09" "Welcome for you to come\n" "\x1B\x61\x01" + kPageMove +
                           kBarcodeSettings + kCode128 + "\x1B\x0C" + kCut;
  const std::string serial =
      head + "List  : 270500027719\n" "Banker:10012\n" "Time  :" + kShort + "\n" + kDash40 + "\n"
      "Item    Code   Price Amount  Total\n" "Apple   00789   2.8   1      1.8\n"
      "Durian  00788   9.0   1      32.0\n" "Pomfret 00790   28.0  1      30.0\n" + kDash41 + "\n"
      "Total:    63.8\n" "Pay  :    Cash   $   100.0\n" "Surplus:  Cash   $   36.2\n" "Goods  : 3\n" +
      tail + kLeft;
  const std::string lpt1 =
      head + "List: 270500027719\n" "Banker:10012\n" "Time:" + kShort + "\n" + kDash41 + "\n"
      "Item     Code   Price  Amount  Total\n" "Apple    00789   2.8    1      1.8\n"
      "Durian   00788   9.0    1      32.0\n" "Pomfret  00790   28.0   1      30.0\n" + kDash41 + "\n"
      "Sub total:    63.8\n" "Pay      :    Cash   $   100.0\n" "Surplus  :    Cash   $   36.2\n"
      "Goods    :    3\n" + tail + "\x1B\x40";
  const std::string lpt2 =
      head + "List: 270500027719\n" "Banker:10012\n" "Time:" + kShort + "\n" + kDash41 + "\n"
      "Item   Code    Price  Amount  Total\n" "Apple   00789   2.8    1      1.8\n"
      "Durian  00788   9.0    1      32.0\n" "Pomfret 00790   28.0   1      30.0\n" + kDash41 + "\n"
      "Sub total:     63.8\n" "Pay      :  Cash   $   100.0\n" "Surplus  :  Cash   $   36.2\n"
      "Goods    :  3\n" + tail + kLeft;
  const std::string lpt3 =
      head + "List: 270500027719\n" "Banker:10012\n" "Time:" + kShort + "\n" + kDash41 + "\n"
      "Item      Code  Price  Amount  Total\n" "Apple     00789   2.8    1     1.8\n"
      "Durian    00788   9.0    1     32.0\n" "Pomfret   00790   28.0   1     30.0\n" + kDash41 + "\n"
      "Sub total:     63.8\n" "Pay      :     Cash   $   100.0\n" "Surplus  :     Cash   $   36.2\n"
      "Goods    :     3\n" + tail + kLeft;
  const RouteCase cases[] = {{PrintRoute::Serial, serial},
                             {PrintRoute::Lpt1, lpt1},
                             {PrintRoute::Lpt2, lpt2},
                             {PrintRoute::Lpt3, lpt3}};
  for (const RouteCase& c : cases)
    EXPECT_EQ(Stream(ShoppingListReceipt(c.route, kShort)), c.expected) << RouteName(c.route);
}

}  // namespace
}  // namespace j57
