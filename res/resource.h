// Every resource and command id of Veltrano, in one place: the resource script, the Windows
// code and the portable core all take them from here. Plain #defines, so the resource compiler
// reads it too.
#pragma once

// Clock window and its resources
#define IDD_CLOCK 102
#define IDS_ABOUTBOX 101
#define IDR_CLOCK_MENU 138
#define IDI_CLOCK 128
#define IDM_ABOUTBOX 16
// The clock's tray icon has the id of the program icon.
#define IDN_TRAY_ICON 128

// Shutdown countdown
#define IDD_SHUTDOWN_COUNTDOWN 185

// Alarm and shutdown dialog
#define IDD_ALARM_SHUTDOWN 176
#define IDC_ALARM_LIST 1004
#define IDC_ALARM_TIME 1005
#define IDC_REMINDER 1006
#define IDC_ADD_ALARM 1007
#define IDC_DELETE_ALARM 1008
#define IDC_SHUTDOWN_ENABLED 1010
#define IDC_SHUTDOWN_TIME 1011
#define IDC_SHUTDOWN_REPEAT 1012
#define IDC_SOUND_PATH 1016
#define IDC_DEFAULT_SOUND 1017
#define IDC_CHOOSE_SOUND 1018
#define IDC_PLAY_SOUND 1019
#define IDC_STOP_SOUND 1020
#define IDC_WAKE_FOR_ALARMS 1070
// The repeat rule of the alarm being added or changed: the rule, the days of a rule of chosen
// days (Monday first, ids in a row), the notice of a year China's calendar does not know.
#define IDC_CHANGE_ALARM 1040
#define IDC_ALARM_RULE 1041
#define IDC_RULE_MONDAY 1042
#define IDC_RULE_SUNDAY 1048
#define IDC_RULE_NOTICE 1049

// Alarm music duration dialog
#define IDD_MUSIC_DURATION 188
#define IDC_DURATION_10 1021
#define IDC_DURATION_20 1022
#define IDC_DURATION_30 1023
#define IDC_DURATION_60 1024
#define IDC_DURATION_WHOLE 1025

// Options dialog
#define IDD_OPTIONS 141
#define IDC_HOURLY_CHIME 1001
#define IDC_SHOW_SECOND_HAND 1002
#define IDC_START_WITH_SYSTEM 1003
#define IDC_ZOOM_SLIDER 1014
#define IDC_ZOOM_LABEL 1015

// Custom dial dialog
#define IDD_CUSTOM_DIAL 189
#define IDC_PREVIEW_FRAME 1026
#define IDC_FACE_PATH 1027
#define IDC_BROWSE_FACE 1028
#define IDC_HOUR_PATH 1029
#define IDC_BROWSE_HOUR 1030
#define IDC_MINUTE_PATH 1031
#define IDC_BROWSE_MINUTE 1032
#define IDC_SECOND_PATH 1033
#define IDC_BROWSE_SECOND 1034
#define IDC_CASE_PATH 1035
#define IDC_BROWSE_CASE 1036

// About dialog
#define IDD_ABOUT 100
#define IDC_LINK 1013
#define IDC_ABOUT_VERSION 1037

// Ringing window: the snooze is IDOK (Enter), closing is IDCANCEL (Escape, the close box)
#define IDD_RINGING 191
#define IDC_RINGING_LIST 1060
#define IDC_RINGING_SOUND_OFF 1061
#define IDC_SNOOZE_MINUTES 1062

// Alarm dialog artwork
#define IDI_MUSIC_NOTE 187
#define IDC_LINK_HAND 186
#define IDB_PLAY 194
#define IDB_STOP 195
#define IDB_FOLDER 197

// Built-in looks: face, second hand, minute hand, hour hand, case
#define IDR_PNG_FACE1 134
#define IDR_PNG_SECOND1 135
#define IDR_PNG_MINUTE1 136
#define IDR_PNG_HOUR1 137
#define IDR_PNG_CASE1 140
#define IDR_PNG_SECOND2 142
#define IDR_PNG_FACE2 143
#define IDR_PNG_HOUR2 144
#define IDR_PNG_CASE2 145
#define IDR_PNG_MINUTE2 146
#define IDR_PNG_SECOND3 147
#define IDR_PNG_FACE3 148
#define IDR_PNG_HOUR3 149
#define IDR_PNG_CASE3 150
#define IDR_PNG_MINUTE3 151
#define IDR_PNG_SECOND4 152
#define IDR_PNG_FACE4 153
#define IDR_PNG_HOUR4 154
#define IDR_PNG_CASE4 155
#define IDR_PNG_MINUTE4 156
#define IDR_PNG_FACE5 180
#define IDR_PNG_HOUR5 181
#define IDR_PNG_CASE5 182
#define IDR_PNG_MINUTE5 183
#define IDR_PNG_SECOND5 184
#define IDR_PNG_CHECKERBOARD 190

// Art for high-DPI screens, drawn by the asset generator at twice the size of the 1x image
// whose id is DOUBLE_ART_ID_OFFSET less, from the same description.
#define DOUBLE_ART_ID_OFFSET 2000
#define IDB_PLAY_2X 2194
#define IDB_STOP_2X 2195
#define IDB_FOLDER_2X 2197
#define IDR_PNG_FACE1_2X 2134
#define IDR_PNG_SECOND1_2X 2135
#define IDR_PNG_MINUTE1_2X 2136
#define IDR_PNG_HOUR1_2X 2137
#define IDR_PNG_CASE1_2X 2140
#define IDR_PNG_SECOND2_2X 2142
#define IDR_PNG_FACE2_2X 2143
#define IDR_PNG_HOUR2_2X 2144
#define IDR_PNG_CASE2_2X 2145
#define IDR_PNG_MINUTE2_2X 2146
#define IDR_PNG_SECOND3_2X 2147
#define IDR_PNG_FACE3_2X 2148
#define IDR_PNG_HOUR3_2X 2149
#define IDR_PNG_CASE3_2X 2150
#define IDR_PNG_MINUTE3_2X 2151
#define IDR_PNG_SECOND4_2X 2152
#define IDR_PNG_FACE4_2X 2153
#define IDR_PNG_HOUR4_2X 2154
#define IDR_PNG_CASE4_2X 2155
#define IDR_PNG_MINUTE4_2X 2156
#define IDR_PNG_FACE5_2X 2180
#define IDR_PNG_HOUR5_2X 2181
#define IDR_PNG_CASE5_2X 2182
#define IDR_PNG_MINUTE5_2X 2183
#define IDR_PNG_SECOND5_2X 2184
#define IDR_PNG_CHECKERBOARD_2X 2190
// The clock icon (IDI_CLOCK) in 16, 20, 24, 32, 40 and 48 pixels, for the tray and the window
// from 96 to 192 DPI.
#define IDI_CLOCK_SIZES 2128

// Sounds
#define IDR_WAVE_CHIME 175
#define IDR_WAVE_ALARM 179

// Commands of the clock menu
#define ID_EXIT 32771
#define ID_OPACITY_100 32773
#define ID_OPACITY_80 32774
#define ID_OPACITY_60 32775
#define ID_OPACITY_40 32776
#define ID_OPACITY_20 32777
#define ID_ABOUT 32778
#define ID_LOCK_POSITION 32779
#define ID_ALWAYS_ON_TOP 32780
#define ID_OPTIONS 32781
#define ID_STYLE1 32783
#define ID_STYLE2 32784
#define ID_STYLE3 32785
#define ID_STYLE4 32786
#define ID_CLICK_THROUGH 32787
#define ID_ALARM_SHUTDOWN 32788
#define ID_STYLE5 32789
#define ID_STYLE_CUSTOM 32790
