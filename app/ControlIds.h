#pragma once
// Ids of the main dialog's controls, as in its template (res/main-window.tbl), and of the
// resources it uses.

inline constexpr int IDD_TESMIRA_DIALOG = 102;
inline constexpr int IDR_MAINFRAME = 128; // the program icon
inline constexpr int IDS_ABOUTBOX = 101;  // the About item of the window menu
inline constexpr int IDM_ABOUTBOX = 16;   // its command id
inline constexpr int IDB_PNG_STEP1 = 131; // 131 to 134: the four skin images
inline constexpr int IDB_PNG_LOGO = 135;  // the logo banner

inline constexpr int IDC_BTN_SELECT_SOURCE = 1000;
inline constexpr int IDC_BTN_PLAY = 1001;
inline constexpr int IDC_BTN_PAUSE = 1002;
inline constexpr int IDC_BTN_STOP = 1003;
inline constexpr int IDC_BTN_SET_START = 1004;
inline constexpr int IDC_BTN_SET_END = 1005;
inline constexpr int IDC_BTN_START_CUT = 1006;
inline constexpr int IDC_BTN_OPEN_SAVE_FOLDER = 1007;
inline constexpr int IDC_BTN_SET_SAVE_FOLDER = 1008;
inline constexpr int IDC_BTN_SPEED_PLUS = 1009;
inline constexpr int IDC_BTN_SPEED_MINUS = 1010;
inline constexpr int IDC_BTN_PITCH_PLUS = 1011;
inline constexpr int IDC_BTN_PITCH_MINUS = 1012;
inline constexpr int IDC_BTN_MAKER_PAGE = 1013;
inline constexpr int IDC_BTN_PRELISTEN = 1014;
inline constexpr int IDC_BTN_LISTEN_HEAD = 1015;
inline constexpr int IDC_BTN_LISTEN_TAIL = 1016;
inline constexpr int IDC_SLIDER_POSITION = 1021;
inline constexpr int IDC_SLIDER_SPEED = 1023;
inline constexpr int IDC_SLIDER_PITCH = 1024;
inline constexpr int IDC_LABEL_STEP1 = 1027; // 1027 to 1030: the step labels
inline constexpr int IDC_LABEL_STEP2 = 1028;
inline constexpr int IDC_LABEL_STEP3 = 1029;
inline constexpr int IDC_LABEL_STEP4 = 1030;
inline constexpr int IDC_STATIC_LOGO = 1031;
inline constexpr int IDC_COUNTER = 1032;
inline constexpr int IDC_EDIT_START = 1033;
inline constexpr int IDC_EDIT_SOURCE = 1034;
inline constexpr int IDC_EDIT_END = 1035;
inline constexpr int IDC_EDIT_FADE_IN = 1036;
inline constexpr int IDC_EDIT_OUTPUT = 1037;
inline constexpr int IDC_EDIT_SPEED = 1038;
inline constexpr int IDC_EDIT_PITCH = 1039;
inline constexpr int IDC_PROGRESS_CUT = 1040;
inline constexpr int IDC_CHECK_FADE_IN = 1041;
inline constexpr int IDC_STATIC_VIDEO = 1042;
inline constexpr int IDC_LABEL_TIME = 1043;
inline constexpr int IDC_STATIC_SECONDS = 1044;
inline constexpr int IDC_STATIC_LENGTH = 1047;
inline constexpr int IDC_CHECK_FADE_OUT = 1048;
inline constexpr int IDC_EDIT_FADE_OUT = 1049;
inline constexpr int IDC_EDIT_SAVE_FOLDER = 1050;
inline constexpr int IDC_RADIO_CUSTOM_RANGE = 1055;
inline constexpr int IDC_RADIO_WHOLE_SOURCE = 1056;
inline constexpr int IDC_WAVEFORM = 1057;
inline constexpr int IDC_CHECK_LOSSLESS = 1058;

// Window timers of the main dialog.
inline constexpr int kPlaybackTimerId = 1;
inline constexpr int kPlaybackTimerMs = 1000;
inline constexpr int kCutTimerId = 2;
inline constexpr int kCutTimerMs = 500;
