// Resource numbers and control identifiers shared by the resource script and the code.
// The numbers are the product's own; do not renumber. Several windows reuse the same control
// number for different controls, so identifiers are named per window where they differ.
// resources/MANIFEST.md says what every bitmap shows and where it is used.
#pragma once

// ---------------------------------------------------------------------------------------------
// Icons, strings, commands

#define IDI_PROGRAM 128
#define IDS_ABOUTBOX 101
// System menu command of the browser window
#define IDM_ABOUTBOX 0x0010

// ---------------------------------------------------------------------------------------------
// Dialog templates

#define IDD_ABOUTBOX 100
#define IDD_BROWSER 102
#define IDD_LOGIN 129

// Notices
#define IDD_CONNECTING_NOTICE 260
#define IDD_CONNECTION_ERROR_NOTICE 263
#define IDD_BAD_LOGIN_NOTICE 211
#define IDD_LOADING_NOTICE 138
#define IDD_USER_IN_USE_NOTICE 209
#define IDD_CLOSE_CLIENTS_NOTICE 208
#define IDD_GAME_IN_USE_NOTICE 137
#define IDD_FULL_ACCOUNT_ONLY_NOTICE 210
#define IDD_LIGHT_ACCOUNT_NOTICE 271
#define IDD_UPGRADE_REMINDER 254

// Controller set-up windows
#define IDD_A26C 252
#define IDD_GBCC 270
#define IDD_GENC 248
#define IDD_NESC 250
#define IDD_SMSC 280
#define IDD_SNESC 238

// ---------------------------------------------------------------------------------------------
// Bitmaps. Buttons: _NORMAL / _PRESSED / _DISABLED images of one button.

// Window backgrounds
#define IDB_BROWSER_BACKGROUND 213
#define IDB_LOGIN_BACKGROUND 220
#define IDB_CONNECTING_NOTICE 261
#define IDB_CONNECTION_ERROR_NOTICE 262
#define IDB_BAD_LOGIN_NOTICE 217
#define IDB_LOADING_NOTICE 219
#define IDB_USER_IN_USE_NOTICE 223
#define IDB_CLOSE_CLIENTS_NOTICE 224
#define IDB_GAME_IN_USE_FULL 214
#define IDB_GAME_IN_USE_FREE 215
#define IDB_FULL_ACCOUNT_ONLY_NOTICE 221
#define IDB_LIGHT_ACCOUNT_NOTICE 273
#define IDB_UPGRADE_REMINDER 255
#define IDB_A26C_BACKGROUND 253
#define IDB_GBCC_BACKGROUND 277
#define IDB_GENC_BACKGROUND 249
#define IDB_NESC_BACKGROUND 251
#define IDB_SMSC_BACKGROUND 289
#define IDB_SNESC_BACKGROUND 239

// Login window
#define IDB_LOGIN_NORMAL 139
#define IDB_LOGIN_PRESSED 140
#define IDB_LOGIN_DISABLED 145  // also the (never shown) disabled image of some CLOSE buttons
#define IDB_CANCEL_NORMAL 143
#define IDB_CANCEL_PRESSED 144
#define IDB_SIGNUP_NORMAL 226
#define IDB_SIGNUP_PRESSED 225

// Lamps: login Save Settings / Auto Login, set-up windows' player lamps
#define IDB_LAMP_ON 146
#define IDB_LAMP_OFF 147

// Browser letter-range buttons
#define IDB_RANGE_0_9_NORMAL 148
#define IDB_RANGE_0_9_PRESSED 149
#define IDB_RANGE_A_B_NORMAL 150
#define IDB_RANGE_A_B_PRESSED 151
#define IDB_RANGE_C_D_NORMAL 153
#define IDB_RANGE_C_D_PRESSED 152
#define IDB_RANGE_E_F_NORMAL 155
#define IDB_RANGE_E_F_PRESSED 154
#define IDB_RANGE_G_H_NORMAL 157
#define IDB_RANGE_G_H_PRESSED 156
#define IDB_RANGE_I_J_NORMAL 159
#define IDB_RANGE_I_J_PRESSED 158
#define IDB_RANGE_K_L_NORMAL 161
#define IDB_RANGE_K_L_PRESSED 160
#define IDB_RANGE_M_N_NORMAL 163
#define IDB_RANGE_M_N_PRESSED 162
#define IDB_RANGE_O_P_NORMAL 165
#define IDB_RANGE_O_P_PRESSED 164
#define IDB_RANGE_Q_R_NORMAL 167
#define IDB_RANGE_Q_R_PRESSED 166
#define IDB_RANGE_S_T_NORMAL 169
#define IDB_RANGE_S_T_PRESSED 168
#define IDB_RANGE_U_V_NORMAL 171
#define IDB_RANGE_U_V_PRESSED 170
#define IDB_RANGE_W_X_NORMAL 173
#define IDB_RANGE_W_X_PRESSED 172
#define IDB_RANGE_Y_Z_NORMAL 175
#define IDB_RANGE_Y_Z_PRESSED 174
#define IDB_RANGE_ALL_NORMAL 177
#define IDB_RANGE_ALL_PRESSED 176

// Command buttons (93 x 34)
#define IDB_LAUNCH_NORMAL 181
#define IDB_LAUNCH_PRESSED 179
#define IDB_LAUNCH_DISABLED 180
#define IDB_CLOSE_NORMAL 185  // reads "CLOSE"
#define IDB_CLOSE_PRESSED 184
#define IDB_GAME_INFO_NORMAL 187
#define IDB_GAME_INFO_PRESSED 186
#define IDB_GAME_INFO_DISABLED 188
#define IDB_CONTROLS_NORMAL 190
#define IDB_CONTROLS_PRESSED 189
#define IDB_UPGRADE_NORMAL 192  // green
#define IDB_UPGRADE_PRESSED 191
#define IDB_SEARCH_NORMAL 195
#define IDB_SEARCH_PRESSED 193
#define IDB_SEARCH_DISABLED 194
#define IDB_OK_NORMAL 241
#define IDB_OK_PRESSED 240
#define IDB_OK_DISABLED 244
#define IDB_NO_THANKS_NORMAL 259
#define IDB_NO_THANKS_PRESSED 257
#define IDB_NO_THANKS_DISABLED 258
#define IDB_ADVANCED_NORMAL 243
#define IDB_ADVANCED_PRESSED 242
#define IDB_SET_ALL_NORMAL 247
#define IDB_SET_ALL_PRESSED 245
#define IDB_SET_ALL_DISABLED 246

// Browser system buttons (80 x 29)
#define IDB_NES_NORMAL 197
#define IDB_NES_PRESSED 196
#define IDB_SNES_NORMAL 199
#define IDB_SNES_PRESSED 198
#define IDB_ATARI_NORMAL 201
#define IDB_ATARI_PRESSED 200
#define IDB_GENESIS_NORMAL 203
#define IDB_GENESIS_PRESSED 202
#define IDB_GAMEBOY_NORMAL 268
#define IDB_GAMEBOY_PRESSED 267
#define IDB_COLECO_NORMAL 290
#define IDB_COLECO_PRESSED 291
#define IDB_SMS_NORMAL 279
#define IDB_SMS_PRESSED 278
#define IDB_GAMEGEAR_NORMAL 286
#define IDB_GAMEGEAR_PRESSED 285

// Browser window buttons
#define IDB_QUIT_NORMAL 204  // x in a circle, 30 x 30
#define IDB_QUIT_PRESSED 207
#define IDB_MINIMISE_NORMAL 205  // - in a circle, 30 x 30
#define IDB_MINIMISE_PRESSED 206
#define IDB_CHANGE_USER_NORMAL 265
#define IDB_CHANGE_USER_PRESSED 266

// Game list scroll bars and header
#define IDB_VSCROLL_TOP_CAP 227     // 12 x 11
#define IDB_VSCROLL_UP 228          // 12 x 26
#define IDB_VSCROLL_TRACK 229       // 12 x 1
#define IDB_VSCROLL_DOWN 230        // 12 x 26
#define IDB_VSCROLL_BOTTOM_CAP 231  // 12 x 11
#define IDB_VSCROLL_THUMB 232       // 12 x 26
#define IDB_HEADER_FILL 233         // 1 x 20
#define IDB_HEADER_LEFT_EDGE 234    // 2 x 20
#define IDB_HEADER_RIGHT_EDGE 235   // 2 x 20
#define IDB_HSCROLL_TRACK 236       // 1 x 12

// ---------------------------------------------------------------------------------------------
// Control identifiers shared by many windows

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#define IDC_OK_ACTION 1      // the window's OK action (IDOK)
#define IDC_CANCEL_ACTION 2  // the window's Cancel action (IDCANCEL)

// ---------------------------------------------------------------------------------------------
// Browser window (template 102)

#define IDC_BROWSER_LAUNCH 1
#define IDC_BROWSER_CLOSE 2
#define IDC_BROWSER_LIST 1029
#define IDC_BROWSER_SEARCH_BOX 1032
#define IDC_BROWSER_SEARCH 1033
#define IDC_BROWSER_GAME_INFO 1023
#define IDC_BROWSER_SETUP_HELP 1035
#define IDC_BROWSER_UPGRADE_NOW 1038
#define IDC_BROWSER_CHANGE_USER 1018
#define IDC_BROWSER_QUIT 1040
#define IDC_BROWSER_MINIMISE 1041
// System buttons
#define IDC_BROWSER_NES 1001
#define IDC_BROWSER_SNES 1002
#define IDC_BROWSER_ATARI 1003
#define IDC_BROWSER_GENESIS 1004
#define IDC_BROWSER_GAMEBOY 1019
#define IDC_BROWSER_SMS 1020
#define IDC_BROWSER_GAMEGEAR 1021
#define IDC_BROWSER_COLECO 1022
// Letter-range buttons
#define IDC_BROWSER_RANGE_0_9 1024
#define IDC_BROWSER_RANGE_A_B 1005
#define IDC_BROWSER_RANGE_C_D 1006
#define IDC_BROWSER_RANGE_E_F 1007
#define IDC_BROWSER_RANGE_G_H 1008
#define IDC_BROWSER_RANGE_I_J 1009
#define IDC_BROWSER_RANGE_K_L 1010
#define IDC_BROWSER_RANGE_M_N 1011
#define IDC_BROWSER_RANGE_O_P 1012
#define IDC_BROWSER_RANGE_Q_R 1013
#define IDC_BROWSER_RANGE_S_T 1014
#define IDC_BROWSER_RANGE_U_V 1015
#define IDC_BROWSER_RANGE_W_X 1016
#define IDC_BROWSER_RANGE_Y_Z 1017
#define IDC_BROWSER_RANGE_ALL 1025

// Game list's own scroll bars (created by the list, not by the template)
#define IDC_LIST_SCROLLBAR 0xFFFF

// ---------------------------------------------------------------------------------------------
// Login window (template 129)

#define IDC_LOGIN_LOGIN 1
#define IDC_LOGIN_CANCEL 2
#define IDC_LOGIN_USERNAME 1000
#define IDC_LOGIN_PASSWORD 1001
#define IDC_LOGIN_SAVE_SETTINGS 1039  // lamp
#define IDC_LOGIN_AUTO_LOGIN 1040     // lamp
#define IDC_LOGIN_SIGNUP 1041

// ---------------------------------------------------------------------------------------------
// Notices

#define IDC_NOTICE_OK 1
#define IDC_NOTICE_CANCEL 2
#define IDC_NOTICE_UPGRADE_ACCOUNT 1034  // GameInUseNotice, free accounts only

// ---------------------------------------------------------------------------------------------
// Controller set-up windows (templates 238, 248, 250, 252, 270, 280)

#define IDC_SETUP_OK 1
#define IDC_SETUP_CANCEL 2
#define IDC_SETUP_ADVANCED 1042
#define IDC_SETUP_SET_ALL 1068  // GENC, NESC, SNESC
#define IDC_SETUP_PLAYER1 1075  // lamp
#define IDC_SETUP_PLAYER2 1076  // lamp

// Fields of GENC, NESC, SNESC and the keyboard column of GBCC
#define IDC_SETUP_UP 1060
#define IDC_SETUP_DOWN 1061
#define IDC_SETUP_LEFT 1062
#define IDC_SETUP_RIGHT 1063
#define IDC_SETUP_SELECT 1064
#define IDC_SETUP_START 1065
#define IDC_SETUP_A 1066
#define IDC_SETUP_B 1067

#define IDC_GENC_C 1073

#define IDC_SNESC_X 1040
#define IDC_SNESC_Y 1069
#define IDC_SNESC_L 1070
#define IDC_SNESC_R 1071

#define IDC_GBCC_AUTO_A 1069
#define IDC_GBCC_AUTO_B 1070
#define IDC_GBCC_JOY_SELECT 1077
#define IDC_GBCC_JOY_START 1078
#define IDC_GBCC_JOY_A 1079
#define IDC_GBCC_JOY_B 1080
#define IDC_GBCC_JOY_AUTO_A 1081
#define IDC_GBCC_JOY_AUTO_B 1082
#define IDC_GBCC_SET_ALL_KEYBOARD 1083
#define IDC_GBCC_SET_ALL_JOYSTICK 1084

// SMSC: keyboard column 1060-1063 and 1084-1086, joystick column 1064-1067 and 1087-1089
#define IDC_SMSC_UP 1060
#define IDC_SMSC_DOWN 1061
#define IDC_SMSC_LEFT 1062
#define IDC_SMSC_RIGHT 1063
#define IDC_SMSC_BUTTON1 1084
#define IDC_SMSC_BUTTON2 1085
#define IDC_SMSC_PAUSE 1086
#define IDC_SMSC_JOY_UP 1064
#define IDC_SMSC_JOY_DOWN 1065
#define IDC_SMSC_JOY_LEFT 1066
#define IDC_SMSC_JOY_RIGHT 1067
#define IDC_SMSC_JOY_BUTTON1 1087
#define IDC_SMSC_JOY_BUTTON2 1088
#define IDC_SMSC_JOY_PAUSE 1089
#define IDC_SMSC_SET_ALL_KEYBOARD 1091
#define IDC_SMSC_SET_ALL_JOYSTICK 1090
