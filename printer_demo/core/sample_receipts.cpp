#include "printer_demo/core/sample_receipts.h"

#include <array>
#include <optional>
#include <string_view>

#include "printer_demo/core/escpos_commands.h"

namespace j57 {
namespace {

// One step of a receipt: the piece for serial, LPT1, LPT2 and LPT3, or nothing where
// a route leaves the step out.
using Step = std::array<std::optional<Bytes>, 4>;

Step Same(const Bytes& piece) { return {piece, piece, piece, piece}; }

Step SameLine(std::string_view text) { return Same(TextLine(text)); }

Step Lines(std::string_view serial, std::string_view lpt1, std::string_view lpt2,
           std::string_view lpt3) {
  return {TextLine(serial), TextLine(lpt1), TextLine(lpt2), TextLine(lpt3)};
}

std::string Dashes(int count) { return std::string(static_cast<std::size_t>(count), '-'); }

void Append(Pieces& pieces, const Pieces& more) { pieces.insert(pieces.end(), more.begin(), more.end()); }

Pieces Select(PrintRoute route, const std::vector<Step>& steps) {
  Pieces pieces;
  const auto column = static_cast<std::size_t>(route);
  for (const Step& step : steps)
    if (step[column]) pieces.push_back(*step[column]);
  return pieces;
}

}  // namespace

Pieces SampleBarcodeBlock(bool withPageMove) {
  Pieces pieces{cmd::JustifyCentre()};
  if (withPageMove) pieces.push_back(cmd::PageMoveDown100());
  Append(pieces, {cmd::HriFontA(), cmd::HriAboveAndBelow(), cmd::BarcodeHeight(0x64),
                  cmd::BarcodeWidth(0x02), cmd::SampleCode128()});
  return pieces;
}

Pieces MenuReceipt(PrintRoute route, const std::string& longStamp) {
  const bool serial = route == PrintRoute::Serial;
  return {cmd::SizeDouble(),
          TextLine("Num:(Hall)3"),
          cmd::SizeDoubleHeight(),
          TextLine("Waiter:99"),
          cmd::SizeDoubleHeight(),
          TextLine(longStamp),
          cmd::SizeDouble(),
          TextLine(serial ? "1 Fried Prawns " : "1 Fried Prawns"),
          cmd::SizeNormal(),
          TextLine("PNO:0001"),
          cmd::FeedAndPartialCut()};
}

Pieces ChecksReceipt(PrintRoute route, const std::string& shortStamp) {
  const Bytes doubleWithFeed{0x1D, 0x21, 0x11, 0x0A};
  const std::string rule = Dashes(42);
  const std::vector<Step> head{
      {cmd::SizeDouble(), doubleWithFeed, cmd::SizeDouble(), cmd::SizeDouble()},
      Lines("      J57", "       J57", "      J57", "        J57"),
      Lines("  Thermal Printer", "  Thermal Printer", "  Thermal Printer", " POS Thermal Printer"),
      Same(cmd::SizeNormal()),
      Lines("Number:100001         No   :0001", "Number:100001     No   :0001",
            "Number  :100001       No   :0001", "Number  :100001       No   :0001"),
      Lines("Waiter:009            Table:0008", "Waiter:009        Table:0008",
            "Waiter  :009          Table:0008", "Waiter  :009          Table:0008"),
      SameLine("Time:" + shortStamp),
      Same(cmd::LF()),
      SameLine("Item       Amount   Price    Account"),
      SameLine(rule),
      Same(cmd::SizeNormal()),
      Lines("Fried Prawns1      68      68", "Fried Prawns 1      68      68",
            "Fried Prawns 1      68      68", "Fried Prawns 1      68      68"),
      {std::nullopt, cmd::Initialize(), cmd::Initialize(), cmd::Initialize()},
      Lines("Peking Duck 1      68      68", "Peking Duck  1      68      68",
            "Peking Duck 1      68      68", "Peking Duck 1      68      68"),
      SameLine(rule),
      Lines("Sub Total: 136    Tips:    0.00", "Sub Total  :136     Tips   : 0.00",
            "Sub total  :136     Tips   :0.00", "Sub Total :136      Tips   :0.00"),
      Lines("Rebate:    0.00   Present: 12.00", "Rebate     :0.00    Present: 12.00",
            "Rebate     :0.00    Present: 12.00", "Rebate    :0.00     Present: 12.00"),
      Lines("Neutralize:0.00   Total:   136", "Neutralize :0.00    Total  : 136",
            "Neutralize :0.00    Total  : 136", "Neutralize:0.00     Total  : 136"),
      SameLine(rule),
      Lines("Sign_______________", "Sign", "Sign", "Sign"),
  };
  Pieces pieces = Select(route, head);
  Append(pieces, SampleBarcodeBlock(route != PrintRoute::Lpt1));
  const std::vector<Step> tail{
      {cmd::EscLf(), cmd::PrintPageData(), cmd::PrintPageData(), cmd::PrintPageData()},
      {cmd::HT(), std::nullopt, cmd::HT(), std::nullopt},
      Lines("We hope you come back soon", "    We hope you come back soon",
            "We hope you come back soon", "        We hope you come back soon"),
      Same(cmd::FeedAndPartialCut()),
      Same(cmd::JustifyLeft()),
  };
  Append(pieces, Select(route, tail));
  return pieces;
}

Pieces ShoppingListReceipt(PrintRoute route, const std::string& shortStamp) {
  const std::string parallelTime = "Time:" + shortStamp;
  const std::string rule41 = Dashes(41);
  Bytes welcome = cmd::HT();
  const Bytes welcomeText = TextLine("Welcome for you to come");
  welcome.insert(welcome.end(), welcomeText.begin(), welcomeText.end());
  const std::vector<Step> head{
      Same(cmd::SizeDouble()),
      SameLine("        J57"),
      SameLine(" POS Thermal Printer"),
      Same(cmd::SizeNormal()),
      Lines("List  : 270500027719", "List: 270500027719", "List: 270500027719", "List: 270500027719"),
      SameLine("Banker:10012"),
      Lines("Time  :" + shortStamp, parallelTime, parallelTime, parallelTime),
      Lines(Dashes(40), rule41, rule41, rule41),
      Lines("Item    Code   Price Amount  Total", "Item     Code   Price  Amount  Total",
            "Item   Code    Price  Amount  Total", "Item      Code  Price  Amount  Total"),
      Lines("Apple   00789   2.8   1      1.8", "Apple    00789   2.8    1      1.8",
            "Apple   00789   2.8    1      1.8", "Apple     00789   2.8    1     1.8"),
      Lines("Durian  00788   9.0   1      32.0", "Durian   00788   9.0    1      32.0",
            "Durian  00788   9.0    1      32.0", "Durian    00788   9.0    1     32.0"),
      Lines("Pomfret 00790   28.0  1      30.0", "Pomfret  00790   28.0   1      30.0",
            "Pomfret 00790   28.0   1      30.0", "Pomfret   00790   28.0   1     30.0"),
      SameLine(rule41),
      Lines("Total:    63.8", "Sub total:    63.8", "Sub total:     63.8", "Sub total:     63.8"),
      Lines("Pay  :    Cash   $   100.0", "Pay      :    Cash   $   100.0",
            "Pay      :  Cash   $   100.0", "Pay      :     Cash   $   100.0"),
      Lines("Surplus:  Cash   $   36.2", "Surplus  :    Cash   $   36.2",
            "Surplus  :  Cash   $   36.2", "Surplus  :     Cash   $   36.2"),
      Lines("Goods  : 3", "Goods    :    3", "Goods    :  3", "Goods    :     3"),
      Same(cmd::TabAtColumn10()),
      Same(welcome),
  };
  Pieces pieces = Select(route, head);
  Append(pieces, SampleBarcodeBlock(true));
  const std::vector<Step> tail{
      Same(cmd::PrintPageData()),
      Same(cmd::FeedAndPartialCut()),
      {cmd::JustifyLeft(), cmd::Initialize(), cmd::JustifyLeft(), cmd::JustifyLeft()},
  };
  Append(pieces, Select(route, tail));
  return pieces;
}

}  // namespace j57
