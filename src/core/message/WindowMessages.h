#pragma once
// Numbers of the custom window messages (Win32-style, above WM_USER) and of the notification
// sub-codes; the gui maps them to its own events, the numbers stay as named here.

namespace WindowMessages {

inline constexpr int WM_USER = 0x0400;

inline constexpr int WM_UI_NOTIFY = 1125;          // sub-code in wParam
inline constexpr int WM_USER_REFRESH = 1126;
inline constexpr int WM_LOGGED_OFF = 1130;
inline constexpr int WM_FILE_CHECK_STATUS = 1136;
inline constexpr int WM_TRAY_NOTIFY = 1139;
inline constexpr int WM_RUN_FINISHED = 1140;
inline constexpr int WM_PANE_STATE_CHANGED = 1141;
inline constexpr int WM_FILE_RESULT = 1143;
inline constexpr int WM_MENU_COMMAND = 1145;
inline constexpr int WM_ACTIVATE_INSTANCE = 1148;  // WM_USER + 124
inline constexpr int WM_FILE_CHECK_DONE = 1150;

} // namespace WindowMessages
