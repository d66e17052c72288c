// Resource ids of Veltrano, shared by the resource script and the code.
#pragma once

// Clock window and its resources
#define IDD_CLOCK 102
#define IDS_ABOUTBOX 101
#define IDR_CLOCK_MENU 138
#define IDI_CLOCK 128
#define IDM_ABOUTBOX 16

// Shutdown countdown
#define IDD_SHUTDOWN_COUNTDOWN 185

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

// Sounds
#define IDR_WAVE_CHIME 175
#define IDR_WAVE_ALARM 179

#ifdef RC_INVOKED
// Command ids of the clock menu; the code takes them from core/command_ids.h.
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
#endif
