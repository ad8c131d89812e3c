#pragma once

#include "printer_demo/core/bytes.h"

// The printer commands the demonstration sends, by their command-set names.
namespace j57::cmd {

inline Bytes LF() { return {0x0A}; }
inline Bytes HT() { return {0x09}; }
inline Bytes Initialize() { return {0x1B, 0x40}; }                    // ESC @
inline Bytes JustifyLeft() { return {0x1B, 0x61, 0x00}; }             // ESC a 0
inline Bytes JustifyCentre() { return {0x1B, 0x61, 0x01}; }           // ESC a 1
inline Bytes TabAtColumn10() { return {0x1B, 0x44, 0x0A}; }           // ESC D 10
inline Bytes PrintPageData() { return {0x1B, 0x0C}; }                 // ESC FF
inline Bytes EscLf() { return {0x1B, 0x0A}; }                         // not a command of the set
inline Bytes SizeNormal() { return {0x1D, 0x21, 0x00}; }              // GS ! 0
inline Bytes SizeDoubleHeight() { return {0x1D, 0x21, 0x01}; }        // GS ! 1
inline Bytes SizeDouble() { return {0x1D, 0x21, 0x11}; }              // GS ! 0x11
inline Bytes FeedAndPartialCut() { return {0x1D, 0x56, 0x42, 0x00}; } // GS V 66 0
inline Bytes PageMoveDown100() { return {0x1D, 0x5C, 0x64, 0x00}; }   // GS \ 100
inline Bytes HriFontA() { return {0x1D, 0x66, 0x00}; }                // GS f 0
inline Bytes HriAboveAndBelow() { return {0x1D, 0x48, 0x03}; }        // GS H 3
inline Bytes BarcodeHeight(std::uint8_t dots) { return {0x1D, 0x68, dots}; }  // GS h n
inline Bytes BarcodeWidth(std::uint8_t width) { return {0x1D, 0x77, width}; } // GS w n

// CODE128 of the sample barcode: code set B, "No.", code set C, the pairs 12 34 56.
inline Bytes SampleCode128() {
  return {0x1D, 0x6B, 0x49, 0x0A, 0x7B, 0x42, 0x4E, 0x6F, 0x2E, 0x7B, 0x43, 0x0C, 0x22, 0x38};
}

}  // namespace j57::cmd
