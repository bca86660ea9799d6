#pragma once
// Numbers of the service requests; 25 to 29 are downloads of links the service handed out.

namespace RequestId {

enum : int {
    GetAds = 0,
    GetCode,
    Polling,
    GetLoginStatus = 4,
    GetUserInfo,
    GetConfig,
    Feedback = 10,
    LoginStatistics,
    ConvertStatistics,
    OpenStatistics,
    GetSmsCode = 15,
    CheckSmsCodeLogin = 17,
    CheckSmsCodeBind,
    GotoClause,
    SetErrorMsg,
    UserRegister,
    UserLogin,
    Upgrade,
    UpgradeSilent,
    DownloadAdImage,
    DownloadAvatar,
    DownloadUpdater = 28,
    DownloadQrImage,
};

} // namespace RequestId
