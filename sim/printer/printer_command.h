#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace printer {

// One command (or one data byte) of the printer's ESC/POS stream, as the parser
// hands it to the layout.
enum class CommandKind {
  Text,             // a: the data byte (printable, or part of a double-byte character)
  LineFeed,         // LF
  CarriageReturn,   // CR: no movement when automatic line feed is off
  HorizontalTab,    // HT
  Initialize,       // ESC @
  Justify,          // ESC a n: a = 0 left, 1 centre, 2 right
  TabPositions,     // ESC D: data = the columns
  PrintMode,        // ESC !: a = mode bits
  Emphasis,         // ESC E: a = on/off
  Underline,        // ESC -: a = 0, 1, 2 dots
  Font,             // ESC M: a = 0 font A, 1 font B
  LineSpacing,      // ESC 2 (a = -1: default) or ESC 3 n (a = n dots)
  FeedDots,         // ESC J n: a = dots
  FeedLines,        // ESC d n: a = lines
  CharacterSize,    // GS !: a = width multiplier, b = height multiplier
  Cut,              // GS V / ESC i / ESC m: a = dots fed first, b = 1 when partial
  HriPosition,      // GS H: a = 0 none, 1 above, 2 below, 3 both
  HriFont,          // GS f: a = 0 font A, 1 font B
  BarcodeHeight,    // GS h: a = dots
  BarcodeWidth,     // GS w: a = module width in dots
  Barcode,          // GS k: a = system m, data = the data bytes (without terminator or count)
  ChineseMode,      // FS & (a = 1) and FS . (a = 0)
  PageModeOnly,     // a command that has no effect in standard mode; text = its name
  Unknown,          // bytes the printer does not understand; text says why
};

struct PrinterCommand {
  CommandKind kind = CommandKind::Unknown;
  int a = 0;
  int b = 0;
  std::vector<std::uint8_t> data;
  std::string text;
};

}  // namespace printer
