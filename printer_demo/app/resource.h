#pragma once
// Window and control numbers of the J57 demo's three forms.
#include <cstdint>

namespace j57::res {

constexpr int IDD_FORM1 = 101;
constexpr int IDD_FORM2 = 102;
constexpr int IDD_FORM3 = 103;

// Form1: attachment and port setup.
constexpr std::uint16_t FORM1_LABEL1 = 1001;
constexpr std::uint16_t FORM1_OPTION1 = 1002;  // "Serial"
constexpr std::uint16_t FORM1_OPTION2 = 1003;  // "Parallel"
constexpr std::uint16_t FORM1_FRAME1 = 1004;
constexpr std::uint16_t FORM1_FRAME2 = 1005;
constexpr std::uint16_t FORM1_LABEL2 = 1006;
constexpr std::uint16_t FORM1_LABEL3 = 1007;
constexpr std::uint16_t FORM1_LABEL4 = 1008;
constexpr std::uint16_t FORM1_LABEL5 = 1009;
constexpr std::uint16_t FORM1_LABEL6 = 1010;
constexpr std::uint16_t FORM1_LABEL7 = 1011;
constexpr std::uint16_t FORM1_LABEL8 = 1012;
constexpr std::uint16_t FORM1_COMBO1 = 1021;  // serial port name
constexpr std::uint16_t FORM1_COMBO2 = 1022;  // data bits
constexpr std::uint16_t FORM1_COMBO3 = 1023;  // parity (shown only)
constexpr std::uint16_t FORM1_COMBO4 = 1024;  // baud rate
constexpr std::uint16_t FORM1_COMBO5 = 1025;  // stop bits
constexpr std::uint16_t FORM1_COMBO6 = 1026;  // handshaking (shown only)
constexpr std::uint16_t FORM1_COMBO7 = 1027;  // parallel port name
constexpr std::uint16_t FORM1_COMMAND1 = 1031;  // "Enter"
constexpr std::uint16_t FORM1_COMMAND2 = 1032;  // "Exit"

// Form2: sample receipts and barcode tests.
constexpr std::uint16_t FORM2_FRAME1 = 2001;
constexpr std::uint16_t FORM2_FRAME2 = 2002;
constexpr std::uint16_t FORM2_FRAME3 = 2003;
constexpr std::uint16_t FORM2_LABEL1 = 2004;
constexpr std::uint16_t FORM2_COMBO1 = 2011;    // barcode type
constexpr std::uint16_t FORM2_COMMAND1 = 2021;  // "Menu "
constexpr std::uint16_t FORM2_COMMAND2 = 2022;  // "Widen"
constexpr std::uint16_t FORM2_COMMAND3 = 2023;  // "CHECKS"
constexpr std::uint16_t FORM2_COMMAND4 = 2024;  // "Shopping List"
constexpr std::uint16_t FORM2_COMMAND5 = 2025;  // "Higher"
constexpr std::uint16_t FORM2_COMMAND6 = 2026;  // "Manual Test"
constexpr std::uint16_t FORM2_COMMAND7 = 2027;  // "Back"
constexpr std::uint16_t FORM2_COMMAND8 = 2028;  // "Normal"

// Form3: manual text test.
constexpr std::uint16_t FORM3_FRAME1 = 3001;
constexpr std::uint16_t FORM3_FRAME2 = 3002;
constexpr std::uint16_t FORM3_LABEL1 = 3003;
constexpr std::uint16_t FORM3_TEXT1 = 3011;
constexpr std::uint16_t FORM3_COMBO1 = 3012;    // repeat count
constexpr std::uint16_t FORM3_COMMAND1 = 3021;  // "File Open"
constexpr std::uint16_t FORM3_COMMAND2 = 3022;  // "Delete Data"
constexpr std::uint16_t FORM3_COMMAND3 = 3023;  // "Sent"
constexpr std::uint16_t FORM3_COMMAND4 = 3024;  // "Back"

}  // namespace j57::res
