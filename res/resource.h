// Resource ids shared by the resource script and the program.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_MONITOR_DIALOG 102
#define IDD_CONFIGURE 106
#define IDD_ITEM_PARAMS 107
#define IDD_STAT_CONSOLE 108

#define IDR_MAINFRAME 128
#define IDI_APP_SMALL_MISSING 146
#define IDI_ABOUT 147
#define IDI_INTERFACE 150
#define IDI_WINDOW_BIG 152
#define IDI_APP_MISSING 129
#define IDB_BACKGROUND 145

#define IDC_CONFIGURE_BUTTON 1006
#define IDC_EXIT_BUTTON 1027

// Resource type of a dialog's initial control items (the combo box list of the Configure dialog).
#define RT_DIALOG_INIT 240
