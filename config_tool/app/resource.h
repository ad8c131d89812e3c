#pragma once
// Resource numbers of Tarnwave: dialogs, controls and private window messages. They are
// part of the program's interfaces (pages talk to the main window by message number).
#include <cstdint>

namespace tarnwave {

// Standard buttons.
constexpr std::uint16_t IDOK = 1;
constexpr std::uint16_t IDCANCEL = 2;

// CMess, dialog 170 "Note".
constexpr int IDD_MESS = 170;
constexpr std::uint16_t IDC_MESS_TEXT = 1086;
constexpr std::uint16_t IDC_MESS_OK_MIDDLE = 3;

// CFixComplete, dialog 176 "Note".
constexpr int IDD_FIX_COMPLETE = 176;
constexpr std::uint16_t IDC_FIX_COMPLETE_TEXT = 1000;

// CWlSet, dialog 184 "Wireless Setting".
constexpr int IDD_WL_SET = 184;
constexpr std::uint16_t IDC_WL_PASSWORD = 1040;
constexpr std::uint16_t IDC_WL_MAC = 1039;
constexpr std::uint16_t IDC_WL_FIX_MAC = 1093;

// CSeriesSet, dialog 131 "Serial Setting".
constexpr int IDD_SERIES_SET = 131;
constexpr std::uint16_t IDC_SERIES_BAUD = 1058;
constexpr std::uint16_t IDC_SERIES_DATA_BIT = 1022;
constexpr std::uint16_t IDC_SERIES_PARITY = 1020;
constexpr std::uint16_t IDC_SERIES_STOP_BIT = 1021;

// ---- Main window, dialog 102 (ids of its controls go here) ----------------------------
constexpr int IDD_MAIN = 102;
constexpr std::uint16_t IDC_MAIN_PORT_LABEL = 1098;
constexpr std::uint16_t IDC_MAIN_PORT = 1007;
constexpr std::uint16_t IDC_MAIN_PORT_SET = 1004;
constexpr std::uint16_t IDC_MAIN_WIRELESS_GROUP = 1097;
constexpr std::uint16_t IDC_MAIN_CHANNEL_LABEL = 1096;
constexpr std::uint16_t IDC_MAIN_CHANNEL = 1010;
constexpr std::uint16_t IDC_MAIN_WIRELESS_SET = 1049;
constexpr std::uint16_t IDC_MAIN_SEARCH = 1043;
constexpr std::uint16_t IDC_MAIN_MODIFY_ALL = 1088;
constexpr std::uint16_t IDC_MAIN_DEVICE_LIST = 1047;
constexpr std::uint16_t IDC_MAIN_FRAME = 1084;
// The page area is made at run time; its number only has to differ from every control's.
constexpr std::uint16_t IDC_MAIN_PAGE_AREA = 0xE900;
constexpr int IDI_MAIN_WINDOW = 161;  // window icon
constexpr int IDI_MAIN_DEVICE = 171;  // small icon of the device list rows
// Pages of the page area, in order (their dialogs are 129, 133, 134 and 140).
constexpr int kConfigPageIndex = 0;
constexpr int kFunctionTestPageIndex = 1;
constexpr int kFirmwarePageIndex = 2;
constexpr int kInformationPageIndex = 3;

// ---- end of main window -----------------------------------------------------------------


// ---- ConfigPage, dialog 129, and CAdvance, dialog 130 -----------------------------------

// ---- end of ConfigPage and CAdvance -----------------------------------------------------


// ---- CSetPage, dialog 133, CScan 159, socket dialogs 136-139 ----------------------------

// ---- end of CSetPage and socket dialogs -------------------------------------------------


// ---- CFwPage, dialog 134, and CInfoPage, dialog 140 -------------------------------------

// ---- end of CFwPage and CInfoPage -------------------------------------------------------


// Private window messages (WM_USER = 1024).
constexpr std::uint32_t WM_USER = 0x0400;
constexpr std::uint32_t WM_GET_MODULE_LINK = WM_USER + 1;    // 1025: a page asks for the ModuleLink
constexpr std::uint32_t WM_SHOW_PAGE = WM_USER + 101;        // 1125: show a page again
constexpr std::uint32_t WM_SHOW_NOTE = WM_USER + 200;        // a note handed over by another thread

}  // namespace tarnwave
