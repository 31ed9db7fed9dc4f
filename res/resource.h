// Resource ids shared by the resource script and the program.
#pragma once

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_MONITOR_DIALOG 102
#define IDD_CONFIGURE 106
#define IDD_ITEM_PARAMS 107
#define IDD_STAT_CONSOLE 108
#define IDD_USAGE 109

// Icons and the background bitmap. 129 and 146 are asked for but deliberately absent.
#define IDR_MAINFRAME 128
#define IDI_APP_SMALL_MISSING 146
#define IDI_ABOUT 147
#define IDI_INTERFACE 150
#define IDI_WINDOW_BIG 152
#define IDI_APP_MISSING 129
#define IDB_BACKGROUND 145

// Main window (102): two hidden, disabled owner-drawn buttons.
#define IDC_CONFIGURE_BUTTON 1006
#define IDC_EXIT_BUTTON 1027

// Configure (106).
#define IDC_EDIT_PRESET 1000
#define IDC_INTERFACE_LIST 1005
#define IDC_STATISTICS_BUTTON 1006
#define IDC_GRAPH_SCALE_SLIDER 1008
#define IDC_GRAPH_SCALE_LABEL 1009
#define IDC_STYLE_NORMAL 1010
#define IDC_STYLE_MIRROR 1011
#define IDC_TRAY_SLIDER 1012
#define IDC_REFRESH_SLIDER 1015
#define IDC_REFRESH_LABEL 1016
#define IDC_AUTOSCALE_CHECK 1018
#define IDC_PRESET_COMBO 1019
#define IDC_STYLE_OVERLAPPED 1029
#define IDC_SEPARATE_SCALE_CHECK 1032
#define IDC_TRAY_SCALE_LABEL 1034
#define IDC_SHOW_ALL_CHECK 1035

// Item parameters (107).
#define IDC_NAME_EDIT 1020
#define IDC_MIN_EDIT 1021
#define IDC_MAX_EDIT 1022
#define IDC_DEF_EDIT 1028
#define IDC_BANDD_EDIT 1030
#define IDC_BANDU_EDIT 1031

// About (100).
#define IDC_HOME_PAGE_LINK 1025
#define IDC_MAIL_LINK 1026

// Statistics Console (108).
#define IDC_CONSOLE_BUTTON 1000

// Usage (109): the totals' table row by row (today, yesterday, this month, last month), each
// received, sent and both; the two charts; the allowance.
#define IDC_USAGE_INTERFACE 1040
#define IDC_USAGE_CELL_FIRST 1041
#define IDC_USAGE_CELL_LAST 1052
#define IDC_USAGE_DAYS_LABEL 1053
#define IDC_USAGE_DAYS_CHART 1054
#define IDC_USAGE_MONTHS_LABEL 1055
#define IDC_USAGE_MONTHS_CHART 1056
#define IDC_USAGE_LOG_NOTE 1057
#define IDC_ALLOWANCE_AMOUNT 1058
#define IDC_ALLOWANCE_UNIT 1059
#define IDC_ALLOWANCE_DAY 1060
#define IDC_ALLOWANCE_STATUS 1061

// Popup-menu commands of the main window.
#define IDM_ALWAYS_ON_TOP 500
#define IDM_TRAY_ONLY 501
#define IDM_TASKBAR_READOUT 540
#define IDM_EVERY_TASKBAR 541
// The statistic shown for each direction, in the order of their selections 0..6.
#define IDM_CURRENT_RECEIVE 503
#define IDM_MINUTE_AVERAGE_RECEIVE 504
#define IDM_HOUR_AVERAGE_RECEIVE 505
#define IDM_TOTAL_RECEIVED 506
#define IDM_BANDWIDTH_RECEIVE 507
#define IDM_MINUTE_BANDWIDTH_RECEIVE 508
#define IDM_HOUR_BANDWIDTH_RECEIVE 509
#define IDM_CURRENT_SEND 521
#define IDM_MINUTE_AVERAGE_SEND 522
#define IDM_HOUR_AVERAGE_SEND 523
#define IDM_TOTAL_SENT 524
#define IDM_BANDWIDTH_SEND 525
#define IDM_MINUTE_BANDWIDTH_SEND 526
#define IDM_HOUR_BANDWIDTH_SEND 527
#define IDM_RECEIVE_FIRST IDM_CURRENT_RECEIVE
#define IDM_RECEIVE_LAST IDM_HOUR_BANDWIDTH_RECEIVE
#define IDM_SEND_FIRST IDM_CURRENT_SEND
#define IDM_SEND_LAST IDM_HOUR_BANDWIDTH_SEND
#define IDM_SETUP 534
#define IDM_ABOUT 536
#define IDM_EXIT 537
#define IDM_STAT_CONSOLE 538
#define IDM_USAGE 539

// Resource type of a dialog's initial control items (the combo box list of the Configure dialog).
#define RT_DIALOG_INIT 240
