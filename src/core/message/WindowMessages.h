#pragma once
// Numbers of the custom window messages (Win32-style, above WM_USER) and of the notification
// sub-codes; the gui maps them to its own events, the numbers stay as named here.

namespace WindowMessages {

inline constexpr int WM_CLOSE = 0x0010;
inline constexpr int WM_USER = 0x0400;

inline constexpr int WM_UI_NOTIFY = 1125;          // sub-code in wParam
inline constexpr int WM_USER_REFRESH = 1126;
inline constexpr int WM_LOGGED_OFF = 1130;
inline constexpr int WM_FILE_CHECK_STATUS = 1136;
inline constexpr int WM_TRAY_NOTIFY = 1139;
inline constexpr int WM_RUN_FINISHED = 1140;
inline constexpr int WM_PANE_STATE_CHANGED = 1141;
inline constexpr int WM_CODE_COUNTDOWN = 1142;     // login window: wParam the code page
inline constexpr int WM_FILE_RESULT = 1143;
// To the download window: wParam bytes expected, a NotifyNumber with the bytes received so far.
inline constexpr int WM_DOWNLOAD_PROGRESS = 1144;  // WM_USER + 120
inline constexpr int WM_MENU_COMMAND = 1145;
inline constexpr int WM_ACTIVATE_INSTANCE = 1148;  // WM_USER + 124
inline constexpr int WM_FILE_CHECK_DONE = 1150;

// Timers live on the window's thread; workers start and stop them with these messages
// (wParam: timer id; a TimerPayload carries the period of a start).
inline constexpr int WM_START_TIMER = WM_USER + 900;
inline constexpr int WM_STOP_TIMER = WM_USER + 901;

// Sub-codes of WM_UI_NOTIFY.
namespace Notify {
inline constexpr int QrImage = 1;
inline constexpr int DownloadFinished = 0;      // the download failed: the window tells the user
inline constexpr int UpdaterStarted = 40;       // the verified updater runs: the program ends
inline constexpr int RequestError = 10;
inline constexpr int ParseError = 11;
inline constexpr int JsonError = 12;
inline constexpr int LoggedOffElsewhere = 22;
inline constexpr int AccountProblem = 23;
inline constexpr int RowProgressShown = 24;     // RowPayload: the row's progress bar appears
inline constexpr int RowProgress = 25;          // RowProgress
inline constexpr int HistoryEntry = 29;         // WidePathPayload: an output for the history
inline constexpr int AvatarReady = 27;
inline constexpr int UpgradeReply = 30;
inline constexpr int AdsReply = 31;
inline constexpr int AdImageReady = 36;
} // namespace Notify

// Sub-codes of WM_UI_NOTIFY to the login window (QrImage above carries the picture's path).
namespace LoginNotify {
inline constexpr int QrLink = 2;          // 1: link received, picture downloading; 0: refused
inline constexpr int PollingStatus = 3;   // an answer that is neither "success" nor "wait"
inline constexpr int PollingFailed = 4;
inline constexpr int CodeSent = 6;        // number: the page
inline constexpr int CheckRefused = 7;    // CodeMessage
inline constexpr int SendRefused = 8;     // CodeMessage
inline constexpr int CheckFailed = 9;     // number: the page
inline constexpr int SendFailed = 13;
inline constexpr int SignedInNoPhone = 14;
inline constexpr int SignUpReply = 33;    // JsonPayload with the whole reply
inline constexpr int SignInRefused = 35;
} // namespace LoginNotify

// Code pages of the login window.
enum CodePage : int {
    kBindPhonePage = 1,
    kSmsLoginPage,
};

// Timer ids of the login window: the QR countdown with its polling, and the resend countdowns.
enum LoginTimer : int {
    kQrTimer = 1,
    kSmsResendTimer,
    kBindResendTimer,
};

// Timer ids of the main window.
inline constexpr int kLoginStatusTimer = 1;

} // namespace WindowMessages
