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

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
