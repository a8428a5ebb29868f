// Ids of the resource library Vesk_Res_936.dll (resource language 2052, code page 936).
// Included by the resource scripts and by the program's code.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// ---- dialogs ---------------------------------------------------------------
#define IDD_PANEL102 102  // empty child panel
#define IDD_CHATVIEW 131
#define IDD_GAMEVIEW 142
#define IDD_EXIT 148
#define IDD_SETUP 155
#define IDD_RESULT 164
#define IDD_SETRULE 186
#define IDD_DEFAULTRULE 207
#define IDD_WAIT 208
#define IDD_TICKER 212
#define IDD_BROWSER 215
#define IDD_WAITINDICT 300
#define IDD_INDICT 301
#define IDD_TIPPOPUP 29663
#define IDD_PANEL29721 29721  // empty child panel
#define IDD_PANEL29723 29723  // empty child panel
#define IDD_MSGBOX2 29733
#define IDD_WAITBOX 29734
#define IDD_TIPS 29735
#define IDD_NOTICE 29800
#define IDD_MSGBOX 29810
#define IDD_WATCHERBET 29820
#define IDD_PLAYERBET 29821
#define IDD_PANEL29890 29890  // not shown by this client
#define IDD_ABOUTBOX 29891

// ---- menu, accelerators, icons, cursor --------------------------------------
#define IDR_MAINFRAME 128
#define IDI_VESK 209
#define IDI_WAITBOX 29801
#define IDI_MSG_INFO 29846
#define IDI_MSG_QUESTION 29847
#define IDI_ABOUT 29894
#define IDC_HANDCURSOR 29710  // custom type "HANDCURSOR"
#define ID_GAME_HELP 131      // shows the help window
#ifndef ID_APP_ABOUT
#define ID_APP_ABOUT 0xE140
#endif
#ifndef ID_APP_EXIT
#define ID_APP_EXIT 0xE141
#endif

// ---- bitmaps (names follow the theme files of the same id) ------------------
#define IDB_ICON5 136        // previous trick button, 4 cells
#define IDB_DIGITS11 153     // small digits, 11-pixel cells, white transparent
#define IDB_VESK32 155       // declarer badge
#define IDB_SHOWCARD 166     // show-cards button, 4 cells
#define IDB_ICON1 168        // settings button, 4 cells
#define IDB_PLAYER 169       // seat panel background, 2 cells of 140 x 157
#define IDB_JF 171           // bid marks: no bid, 1, 2, 3
#define IDB_PASS 172         // "pass" mark
#define IDB_TALKWIN 173      // chat background tile
#define IDB_TABLEFILL 174    // table fill tile
#define IDB_LOGO 175         // table logo
#define IDB_CLOCKDIGITS 176  // turn clock digits 0..9 and colon, 11 cells
#define IDB_CLOCKBACK 177    // turn clock face
#define IDB_BTN_START 178    // start button, 4 cells
#define IDB_BTN_TAKEOUT 179  // play button, 4 cells
#define IDB_BTN_PASS 180     // pass button, 4 cells
#define IDB_BTN_SEARCH 181   // hint button, 4 cells
#define IDB_CARDBACK 182     // card back
#define IDB_TURNMARK 184     // blinking turn marker, 32 x 32 cells, green key
#define IDB_ICON4 185        // sort button, 4 cells
#define IDB_ICON6 186        // score board button, 4 cells
#define IDB_FARMER 202       // farmer badge
#define IDB_ADVICE 211       // survey button, 4 cells of 78 x 31
#define IDB_WAITICON 219     // wait dialog picture
#define IDB_POPUP_TL 29664   // popup frame pieces 29664..29673
#define IDB_POPUP_TOP 29665
#define IDB_POPUP_TR 29666
#define IDB_POPUP_LEFT 29667
#define IDB_POPUP_RIGHT 29668
#define IDB_POPUP_BL 29669
#define IDB_POPUP_BOTTOM 29670
#define IDB_POPUP_BR 29671
#define IDB_POPUP_BACK 29672
#define IDB_POPUP_CLOSE 29673
#define IDB_MARK_READY 29708  // status marks 14 x 14
#define IDB_MARK_OFFLINE 29709
#define IDB_MARK_WATCH 29710
#define IDB_MARK_WIN 29711
#define IDB_MARK_AUTOTRUST 29712
#define IDB_MARK_TRUST 29713
#define IDB_ICON3A 29714    // counter-clockwise seating, 4 cells
#define IDB_ICON3B 29715    // clockwise seating, 4 cells
#define IDB_ICON2A 29716    // trusteeship, 4 cells
#define IDB_ICON2B 29717    // cancel trusteeship, 4 cells
#define IDB_BT_JF_NO 29718  // bid buttons, 4 cells of 85 x 29
#define IDB_BT_JF_1 29719
#define IDB_BT_JF_2 29720
#define IDB_BT_JF_3 29721
#define IDB_BT_2_1 29722  // small round buttons, 4 cells
#define IDB_BT_1_2 29723
#define IDB_BT_1_3 29724
#define IDB_BT_1_1 29725

// ---- WAVE sounds -------------------------------------------------------------
#define IDW_DEAL 166
#define IDW_PLAYCARD 171
#define IDW_REFUSED 172
#define IDW_HOVER 173
#define IDW_TICK 177
#define IDW_TIMEUP 183
#define IDW_READY 184
#define IDW_BID 185
#define IDW_LOSE 186
#define IDW_BOMB 187
#define IDW_BIGWIN 188
#define IDW_PLAYERLEFT 189
#define IDW_WIN 190
#define IDW_START 196

// ---- controls ------------------------------------------------------------------
// exit dialog 148
#define IDC_FORCEEXIT 1003
#define IDC_ASKOTHERS 1004
#define IDC_EXITTEXT 1017
#define IDC_WANTTRUSTEXIT 1028
#define IDC_EXITCANCEL 1152
// wait dialog 208
#define IDC_WAIT_CANCEL 1041
#define IDC_WAIT_ICON 1042
#define IDC_WAIT_TEXT 1043
// complaint dialogs 300, 301
#define IDC_INDICT_TEXT 302
#define IDC_INDICTBTN 1008
#define IDC_NOINDICTBTN 1009
#define IDC_INDICT_COUNTDOWN 1036
#define IDC_WAITINDICT_COUNTDOWN 1007
#define IDC_WAITINDICT_TEXT 1037
// game view form 142
#define IDC_NOTICE 102
#define IDC_FLOATINGTEXT 107  // the floating text overlay, made by the view
#define IDC_START 1006
#define IDC_SETTINGS 1007
#define IDC_SORT 1008
#define IDC_PASS 1009
#define IDC_SHOWCARD 1012
#define IDC_TAKEOUT 1016
#define IDC_SEAT_CCW 1018
#define IDC_SEAT_CW 1019
#define IDC_LASTROUND 1020
#define IDC_TRUSTEE 1026
#define IDC_CANCELTRUSTEE 1027
#define IDC_SURVEY 1029
#define IDC_TURNMARK 1030
#define IDC_SCOREBOARD 1033
#define IDC_SCREENSHOT 1036
#define IDC_SEARCH 1038
#define IDC_TURNCLOCK 1057
#define IDC_CALL1 1070
#define IDC_CALL2 1071
#define IDC_CALL3 1072
#define IDC_CALL0 1073
// settings dialog 155
#define IDC_ALLOWWATCH 1008
#define IDC_BKCOLOR 1015
#define IDC_BKBMP 1016
#define IDC_MUSIC 1017
#define IDC_TILE 1014
#define IDC_BK_COLOR_RADIO 1020
#define IDC_BK_PICTURE_RADIO 1021
#define IDC_SOUND 1022
#define IDC_MUSICON 1023
#define IDC_BK_DEFAULT_RADIO 1024
#define IDC_SEAT_CCW_RADIO 1025
#define IDC_SEAT_CW_RADIO 1026
#define IDC_VOICE 1027
#define IDC_TRADSOUND 1028
#define IDC_BTN_CAPTUREDIR 1036
#define IDC_CAPTUREDIR 1044
#define IDC_SMALLCARDS 1048
#define IDC_MOVECARDS 1049
#define IDC_FLOATTEXT 1050
// score board 164
#define IDC_RESULTLIST 106  // the score board's list container
// rule dialogs 186, 207
#define IDC_SCOREBYROUNDS 1001
#define IDC_ROUNDS 1004
#define IDC_RECORDSCORE 1066
#define IDC_CHATMODE 1068
#define IDC_SECONDS 1069
// message boxes 29733, 29810
#define IDC_MSG_BTN1 29714
#define IDC_MSG_BTN2 29715
#define IDC_MSG_BTN3 29716
#define IDC_MSG_TEXT 29811
#define IDC_MSG_ICON 29812
#define IDC_MSG_COUNTDOWN 29813
#define IDC_MSG_EDIT 29852
#define IDC_MSG_PASSWORD 29853
// wait box 29734 and notice 29800
#define IDC_WAITBOX_ICON 29802
#define IDC_WAITBOX_TEXT 29803
#define IDC_WAITBOX_CANCEL 29804
// help window 29735
#define IDC_TIPS_LINK 29750
#define IDC_TIPS_AGAIN 29753
// about box 29891
#define IDC_ABOUT_TEXT1 29891
#define IDC_ABOUT_TEXT2 29892
#define IDC_ABOUT_ICON 29893

// ---- strings -------------------------------------------------------------------
#define IDS_SOCKETINIT 104
#define IDS_BLANK 128
#define IDS_LISTHEAD 1000  // 1000..1003
#define IDS_RANKLABELS 1004
#define IDS_SUITNAMES 1005
#define IDS_GAMESTATUS 3000  // 3000..3041
#define IDS_WAITSTART 3002
#define IDS_PLAYERLIST 3005
#define IDS_FORCEQUIT 3009
#define IDS_CONFIRMQUIT 3010
#define IDS_ENTERFROMLOBBY 3013
#define IDS_SERIESROW 3017
#define IDS_HANDROW 3019
#define IDS_LEAVEREQUEST 3023
#define IDS_LEAVEREFUSED 3027
#define IDS_ACTIONERROR 3030
#define IDS_RANGEROW 3035
#define IDS_STARTFAILED 3050
#define IDS_TOTALROW 3036
#define IDS_FINALROW 3037
#define IDS_SHOWCARDS 3040
#define IDS_BUTTONTEXT 4000  // 4000..4003
#define IDS_HANDCOLUMN 4003
#define IDS_PLAYERROR 5000  // 5000..5004
#define IDS_TOOLTIP 6000    // 6000..6005
#define IDS_ASKQUIT 9005
#define IDS_SHOWCARDPLAY 9007
#define IDS_ABOUTMENU 10018
#define IDS_BET 29600  // 29600..29662
#define IDS_SENDFAIL 29674
#define IDS_MSGBOXBTN 29700  // 29700..29706
#define IDS_NETERROR 29900   // 29900..29935
#define IDS_TITLEFONT 29931
#define IDS_KAIFONT 29932
#define IDS_ABOUTCAPTION 29933
#define IDS_CODEPAGE 29936
#define IDS_SETUPMENU 29937
#define IDS_TRUST 29940  // 29940..29947
#define IDS_VERSION 29999
#define IDS_APP_TITLE 57344
#define IDS_FONTNAME 57672
#define IDS_INTROURL 57673
#define IDS_TRUSTEXITWARN 57674  // 57674..57675
#define IDS_TRUSTEXITASK 57676
