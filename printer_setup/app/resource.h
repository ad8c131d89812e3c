#pragma once
// Resource numbers of the installer: dialogs, controls, pictures, the icon,
// the string of the about item and the system-menu command. The language
// files address controls by these numbers ("IDD<dialog>_<control>").
#include <cstdint>

namespace kit::setup {

// Dialogs.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_SETUP_DIALOG = 102;
inline constexpr int IDD_LANGUAGE = 137;
inline constexpr int IDD_WELCOME = 138;
inline constexpr int IDD_COPY = 140;
inline constexpr int IDD_SETTING = 143;

// Icon, pictures, strings, commands.
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDB_WELCOME = 144;
inline constexpr int IDB_HEADER = 145;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDM_ABOUTBOX = 16;

// Frame (102).
inline constexpr std::uint16_t IDC_SHEETRECT = 1000;
inline constexpr std::uint16_t ID_WIZBACK = 12323;
inline constexpr std::uint16_t ID_WIZNEXT = 12324;
inline constexpr std::uint16_t ID_WIZFINISH = 12325;
inline constexpr std::uint16_t IDC_CANCEL = 1061;

// About box (100).
inline constexpr std::uint16_t IDC_ABOUT_VERSION = 1062;
inline constexpr std::uint16_t IDC_ABOUT_LINE2 = 1063;

// Shared by the pages.
inline constexpr std::uint16_t IDC_HEADER = 1040;
inline constexpr std::uint16_t IDC_HEADER_PICTURE = 1065;
inline constexpr std::uint16_t IDC_TEXTBOX = 1019;  // never takes a text from the language file

// Welcome page (138).
inline constexpr std::uint16_t IDC_WELCOME_TITLE = 1042;
inline constexpr std::uint16_t IDC_WELCOME_TEXT1 = 1043;
inline constexpr std::uint16_t IDC_WELCOME_TEXT2 = 1044;
inline constexpr std::uint16_t IDC_WELCOME_TEXT3 = 1045;

// System and language page (137).
inline constexpr std::uint16_t IDC_LANGUAGE_TITLE = 1051;
inline constexpr std::uint16_t IDC_LANGUAGE_SUBTITLE = 1052;
inline constexpr std::uint16_t IDC_SYSTEM_GROUP = 1053;
inline constexpr std::uint16_t IDC_LANGUAGE_GROUP = 1054;
inline constexpr std::uint16_t IDC_CHINESE = 1037;
inline constexpr std::uint16_t IDC_ENGLISH = 1038;
inline constexpr std::uint16_t IDC_WIN2000 = 1070;
inline constexpr std::uint16_t IDC_WINXP = 1071;
inline constexpr std::uint16_t IDC_WIN2003 = 1072;
inline constexpr std::uint16_t IDC_VISTA = 1073;
inline constexpr std::uint16_t IDC_WIN7 = 1074;

// Printer series page (143).
inline constexpr std::uint16_t IDC_SERIES_LABEL = 1055;
inline constexpr std::uint16_t IDC_SERIES_LIST = 1006;
inline constexpr std::uint16_t IDC_SETTING_GROUP = 1056;
inline constexpr std::uint16_t IDC_DEFAULT_PRINTER = 1039;
inline constexpr std::uint16_t IDC_NAME_LABEL = 1057;

// Progress page (140).
inline constexpr std::uint16_t IDC_COPY_TITLE = 1058;
inline constexpr std::uint16_t IDC_COPY_SUBTITLE = 1059;
inline constexpr std::uint16_t IDC_COPY_TEXT = 1060;
inline constexpr std::uint16_t IDC_PROGRESS = 1035;

// Timer of the progress page.
inline constexpr int kInstallTimer = 1;

}  // namespace kit::setup
