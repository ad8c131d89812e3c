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
constexpr int IDD_CONFIG_PAGE = 129;
constexpr std::uint16_t IDC_CFG_REFRESH = 1059;
constexpr std::uint16_t IDC_CFG_MODIFY = 1018;
constexpr std::uint16_t IDC_CFG_RECOVERY = 1031;
constexpr std::uint16_t IDC_CFG_IMPORT = 1061;
constexpr std::uint16_t IDC_CFG_EXPORT = 1062;
constexpr std::uint16_t IDC_CFG_ADVANCE = 1063;
constexpr std::uint16_t IDC_CFG_SSID = 1044;
constexpr std::uint16_t IDC_CFG_ENCRY = 1050;
constexpr std::uint16_t IDC_CFG_KEY_TYPE = 1023;
constexpr std::uint16_t IDC_CFG_KEY_INDEX_1 = 1079;  // radio group "1" to "4": 1079 to 1082
constexpr std::uint16_t IDC_CFG_KEY_INDEX_4 = 1082;
constexpr std::uint16_t IDC_CFG_KEY = 1017;
constexpr std::uint16_t IDC_CFG_DHCP = 1051;
constexpr std::uint16_t IDC_CFG_IP_ADDR = 1020;
constexpr std::uint16_t IDC_CFG_MASK = 1019;
constexpr std::uint16_t IDC_CFG_GATEWAY = 1021;
constexpr std::uint16_t IDC_CFG_DNS = 1022;
constexpr std::uint16_t IDC_CFG_AUTO_WORKMODE = 1052;
constexpr std::uint16_t IDC_CFG_PROTOCOL = 1053;
constexpr std::uint16_t IDC_CFG_CS_MODE = 1054;
constexpr std::uint16_t IDC_CFG_SERVER_ADDR = 1055;
constexpr std::uint16_t IDC_CFG_PORT = 1056;
constexpr std::uint16_t IDC_CFG_CONNECT_TIME = 1094;

constexpr int IDD_ADVANCE = 130;
constexpr std::uint16_t IDC_ADV_CANCEL = 1001;
constexpr std::uint16_t IDC_ADV_NET_MODE = 1012;
constexpr std::uint16_t IDC_ADV_ADHOC_BUILD = 1064;
constexpr std::uint16_t IDC_ADV_BG_MODE = 1019;
constexpr std::uint16_t IDC_ADV_MAX_RATE = 1046;
constexpr std::uint16_t IDC_ADV_BSSID_MODE = 1034;
constexpr std::uint16_t IDC_ADV_BSSID = 1006;
constexpr std::uint16_t IDC_ADV_CHANNEL_MODE = 1039;
constexpr std::uint16_t IDC_ADV_CHANNEL = 1010;
constexpr std::uint16_t IDC_ADV_RETRY_MODE = 1020;
constexpr std::uint16_t IDC_ADV_RETRY = 1007;
constexpr std::uint16_t IDC_ADV_ROAMING = 1050;
// "Channel List:" boxes for channels 1 to 14, in channel order.
constexpr std::uint16_t IDC_ADV_CHANNEL_BOXES[14] = {1057, 1021, 1022, 1025, 1028, 1023, 1030,
                                                     1024, 1026, 1032, 1029, 1027, 1033, 1031};
constexpr std::uint16_t IDC_ADV_BAUD = 1058;
constexpr std::uint16_t IDC_ADV_DATA_BIT = 1049;
constexpr std::uint16_t IDC_ADV_PARITY = 1047;
constexpr std::uint16_t IDC_ADV_STOP_BIT = 1048;
constexpr std::uint16_t IDC_ADV_FRAME_CYCLE = 1035;
constexpr std::uint16_t IDC_ADV_FRAME_CYCLE_SLIDER = 1045;
constexpr std::uint16_t IDC_ADV_FRAME_LENGTH = 1037;
constexpr std::uint16_t IDC_ADV_FRAME_LENGTH_SLIDER = 1038;
constexpr std::uint16_t IDC_ADV_ESCAPE_TIME = 1044;
constexpr std::uint16_t IDC_ADV_ESCAPE_TIME_SLIDER = 1036;
constexpr std::uint16_t IDC_ADV_ESCAPE = 1043;
constexpr std::uint16_t IDC_ADV_WEB = 1041;
constexpr std::uint16_t IDC_ADV_WEB_PORT = 1042;
constexpr std::uint16_t IDC_ADV_GPIO1_MODE = 1065;
constexpr std::uint16_t IDC_ADV_COM_MODE = 1066;
constexpr std::uint16_t IDC_ADV_PASSWORD = 1017;

// ---- end of ConfigPage and CAdvance -----------------------------------------------------


// ---- CSetPage, dialog 133, CScan 159, socket dialogs 136-139 ----------------------------
constexpr int IDD_SET_PAGE = 133;
constexpr std::uint16_t IDC_SET_CONNECT = 1005;
constexpr std::uint16_t IDC_SET_DISCONNECT = 1009;
constexpr std::uint16_t IDC_SET_SCAN = 1010;
constexpr std::uint16_t IDC_SET_STATUS = 1016;
constexpr std::uint16_t IDC_SET_RESET = 1027;
constexpr std::uint16_t IDC_SET_SOCK_CREATE = 1025;
constexpr std::uint16_t IDC_SET_SOCK_CLOSE = 1012;
constexpr std::uint16_t IDC_SET_SOCK_QUERY = 1011;
constexpr std::uint16_t IDC_SET_SOCK_SEND = 1013;
constexpr std::uint16_t IDC_SET_SOCK_RECEIVE = 1014;
constexpr std::uint16_t IDC_SET_COMMAND = 1076;
constexpr std::uint16_t IDC_SET_COMMAND_SEND = 1075;
constexpr std::uint16_t IDC_SET_CLEAR = 1077;
constexpr std::uint16_t IDC_SET_OUTPUT = 1070;
constexpr int IDM_SET_CLEAR = 1;  // the output box's pop-up menu

constexpr int IDD_SCAN = 159;
constexpr std::uint16_t IDC_SCAN_PROGRESS = 1042;
constexpr std::uint32_t WM_SCAN_STEP = 0x0400 + 60;  // wParam: the bar's next value

constexpr int IDD_SOCKET_SET = 136;
constexpr std::uint16_t IDC_SOCK_PROTOCOL = 1053;
constexpr std::uint16_t IDC_SOCK_CS_MODE = 1054;
constexpr std::uint16_t IDC_SOCK_SERVER_ADDR = 1071;
constexpr std::uint16_t IDC_SOCK_TIMEOUT = 1094;
constexpr std::uint16_t IDC_SOCK_PORT = 1005;

constexpr int IDD_SOCKET_RELATIVE = 137;
constexpr std::uint16_t IDC_SOCK_REL_NUMBER = 1005;

constexpr int IDD_SOCKET_SEND = 138;
constexpr std::uint16_t IDC_SOCK_SEND_NUMBER = 1072;
constexpr std::uint16_t IDC_SOCK_SEND_DATA = 1004;
constexpr std::uint16_t IDC_SOCK_SEND_HEX = 1020;
constexpr std::uint16_t IDC_SOCK_SEND_OK = 1000;

constexpr int IDD_SOCKET_RECV = 139;
constexpr std::uint16_t IDC_SOCK_RECV_NUMBER = 1073;
constexpr std::uint16_t IDC_SOCK_RECV_COUNT = 1074;
constexpr std::uint16_t IDC_SOCK_RECV_HEX = 1020;
constexpr std::uint16_t IDC_SOCK_RECV_DISPLAY = 1004;
constexpr std::uint16_t IDC_SOCK_RECV_RECEIVE = 1087;
constexpr std::uint16_t IDC_SOCK_RECV_CANCEL = 5;

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
