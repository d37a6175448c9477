// Resource ids of the controller: icon, menu, strings, dialogs and their controls, bitmaps.
#pragma once

// Icon, menu and strings.
#define IDR_MAINFRAME 128
#define IDR_TRAY_MENU 1
#define IDS_APP_TITLE 57344

// Commands of the tray menu.
#define ID_CONFIGURATION 133
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665

// Bitmaps and the XSL sheet.
#define IDB_BANNER 1028
#define IDB_BACKGROUND 147
#define IDR_XSL_IDENTITY 140

// Save dialog.
#define IDD_SAVE 129
#define IDC_PORTION 1001
#define IDC_SAVE_TEXT 1002
#define IDC_SAVE_DATABASE 1003
#define IDC_SAVE_XML 1004
#define IDC_SAVE_CLIPBOARD 1005
#define IDC_SAVE_HTML 1006
#define IDC_PREVIEW 1011
#define IDC_APPEND 1014

// About box and splash screen.
#define IDD_ABOUTBOX 100
#define IDD_SPLASH 150
#define IDC_ABOUT_BANNER 1040
#define IDC_WEBSITE 1041
#define IDC_MEMORY 1042

// Settings dialog and its pages.
#define IDD_SETTINGS 135
#define IDD_GENERAL 136
#define IDD_DATABASE 137
#define IDD_ODBC 131
#define IDD_ACCESS 138
#define IDC_PAGE_TREE 1012

// General page.
#define IDC_AUTO_START 1014
#define IDC_COLOR_SWATCH 1023
#define IDC_CHOOSE_COLOR 1022
#define IDC_NORMAL_KEY 1043
#define IDC_MULTI_KEY 1045
#define IDC_DESELECT_KEY 1044
#define IDC_EXCLUDE_TABLE_KEY 1046
#define IDC_SUPPRESS_LINKS 1038
#define IDC_DATETIME_URL 1039
#define IDC_APPEND_NOTHING 1031
#define IDC_APPEND_DATETIME 1032
#define IDC_APPEND_CONTENT 1033
#define IDC_APPEND_LENGTH 1030
#define IDC_CLEAR_QUICK_SAVE 1015

// Database page.
#define IDC_USE_ODBC 1024
#define IDC_USE_ACCESS 1025

// ODBC page.
#define IDC_DSN_CHOICE 1003
#define IDC_DSN 1004
#define IDC_FILE_DSN_CHOICE 1005
#define IDC_FILE_DSN 1006
#define IDC_BROWSE_DSN 1007
#define IDC_ODBC_USER 1008
#define IDC_ODBC_PASSWORD 1009
#define IDC_ODBC_EXTRA 1010
#define IDC_ODBC_TABLE 1011
#define IDC_TEST_CONNECTION 5
#define IDC_CREATE_ACCESS_TABLE 6
#define IDC_CREATE_MYSQL_TABLE 7

// Access page.
#define IDC_ACCESS_PATH 1026
#define IDC_BROWSE_MDB 1015
#define IDC_ACCESS_PASSWORD 1020
#define IDC_ACCESS_TABLE 1021
#define IDC_ACCESS_TEST 1027
#define IDC_ACCESS_CREATE_TABLE 1028

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
