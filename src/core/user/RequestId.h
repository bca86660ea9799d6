#pragma once
// Numbers of the service requests; 25 to 29 are downloads of links the service handed out.

namespace RequestId {

inline constexpr int GetAds = 0;
inline constexpr int GetCode = 1;
inline constexpr int Polling = 2;
inline constexpr int GetLoginStatus = 4;
inline constexpr int GetUserInfo = 5;
inline constexpr int GetConfig = 6;
inline constexpr int Feedback = 10;
inline constexpr int LoginStatistics = 11;
inline constexpr int ConvertStatistics = 12;
inline constexpr int OpenStatistics = 13;
inline constexpr int GetSmsCode = 15;
inline constexpr int CheckSmsCodeLogin = 17;
inline constexpr int CheckSmsCodeBind = 18;
inline constexpr int GotoClause = 19;
inline constexpr int SetErrorMsg = 20;
inline constexpr int UserRegister = 21;
inline constexpr int UserLogin = 22;
inline constexpr int Upgrade = 23;
inline constexpr int UpgradeSilent = 24;
inline constexpr int DownloadAdImage = 25;
inline constexpr int DownloadAvatar = 26;
inline constexpr int DownloadUpdater = 28;
inline constexpr int DownloadQrImage = 29;

} // namespace RequestId
