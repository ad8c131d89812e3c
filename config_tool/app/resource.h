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

// ---- end of main window -----------------------------------------------------------------


// ---- ConfigPage, dialog 129, and CAdvance, dialog 130 -----------------------------------

// ---- end of ConfigPage and CAdvance -----------------------------------------------------


// ---- CSetPage, dialog 133, CScan 159, socket dialogs 136-139 ----------------------------

// ---- end of CSetPage and socket dialogs -------------------------------------------------


// ---- CFwPage, dialog 134, and CInfoPage, dialog 140 -------------------------------------
constexpr int IDD_FW_PAGE = 134;
constexpr std::uint16_t IDC_FW_PATH = 1077;
constexpr std::uint16_t IDC_FW_BROWSE = 1000;
constexpr std::uint16_t IDC_FW_MODE_MAIN = 1078;
constexpr std::uint16_t IDC_FW_MODE_LOAD = 1015;
constexpr std::uint16_t IDC_FW_PROGRESS = 1042;
constexpr std::uint16_t IDC_FW_START = 1045;
// Reports of the firmware worker, posted to the firmware page.
constexpr std::uint32_t WM_FW_STOPPED = 1026;
constexpr std::uint32_t WM_FW_STARTED = 1027;
constexpr std::uint32_t WM_FW_BLOCK_SENT = 1028;
constexpr std::uint32_t WM_FW_FINISHED = 1029;
constexpr std::uint32_t WM_FW_FAILED = 1030;  // wParam block number, lParam result code
// The page's stop request, a thread message to the worker.
constexpr std::uint32_t WM_FW_STOP_REQUEST = 1026;

constexpr int IDD_INFO_PAGE = 140;
constexpr std::uint16_t IDC_INFO_MAC = 1085;
constexpr std::uint16_t IDC_INFO_HARDWARE = 1086;
constexpr std::uint16_t IDC_INFO_FIRMWARE = 1087;
constexpr std::uint16_t IDC_INFO_RELEASE = 1088;

// ---- end of CFwPage and CInfoPage -------------------------------------------------------


// Private window messages (WM_USER = 1024).
constexpr std::uint32_t WM_USER = 0x0400;
constexpr std::uint32_t WM_GET_MODULE_LINK = WM_USER + 1;    // 1025: a page asks for the ModuleLink
constexpr std::uint32_t WM_SHOW_PAGE = WM_USER + 101;        // 1125: show a page again
constexpr std::uint32_t WM_SHOW_NOTE = WM_USER + 200;        // a note handed over by another thread

}  // namespace tarnwave
