// Resource numbers of GrabPlugin.dll, shared by its .rc file, its code and its tests.
#pragma once

#define IDS_PROJNAME 100
#define IDR_APPID_SCRIPT 101
#define IDR_BAND_SCRIPT 102
#define IDR_BAND_MENU 4
#define IDB_BAND_SMALL 201
#define IDB_BAND_LARGE 208

#define ID_FINE_SELECTION 209
#define ID_AUTO_SELECTION 210
#define ID_ICON_SMALL 204
#define ID_ICON_LARGE 205
#define ID_SHOW_TEXT 207
