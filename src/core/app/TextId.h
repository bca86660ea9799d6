#pragma once
// Names of the glossary text ids that code looks up.

namespace TextId {
enum : int {
    AppTitle = 1,
    DropFilesHere,  // "Drag %% File Onto Here ..."
    Success,
    ConversionFailed = 5,
    Prompt,  // the title of prompts
    Ok = 8,
    Cancel,
    FileCannotOpen,
    MergedSuffix,
    CompressSuffix = 13,
    DecryptSuffix,
    ExtractSuffix,
    CannotCreateProcess = 18,
    Converting = 20,
    GettingPages = 22,
    DecryptingFile,
    Waiting,  // "Waiting %%"
    PageCountFailed,
    CheckingEncryption,
    ContinueButton = 28,  // "%%" / "继续%%"
    StartButton,  // "%%" / "开始%%"
    UpdateTitle,
    NewestVersion,
    Continue = 16,
    ExitProcess = 34,
    FileState,  // "%% File %%"
    AddFileFailed,
    CheckEncryptStatus,
    HotKeyFailed,  // "Fail To %% Hot Key"
    SoftwareUpdate,  // 39 to 42: the tray menu
    OnlineHelp,
    AboutUs,
    Feedback,
    BusyPreprocessing,
    BusyConverting,
    AccountUnavailable,
    UserInfoFailed = 47,
    UserConfigFailed,
    CorrectYour,  // "Please Correct Your %%"
    PleaseEnter,  // "Please Enter %%"
    SubmitSuccess,
    PasswordError,
    EnterPassword = 56,  // "Enter %% Password"
    ExtractingPdf,  // 57 to 61: one per operation, in operation order
    MergingPdf = 60,
    Update = 65,
    SplittingPage,  // "Splitting Page %d / %d"
    Reason,
    RunInBackground = 106,
    ConfigurationUnreadable = 108,  // "... cannot be read ...\n%%" (the file)
    CompressingPage = 130,  // "Compressing Page %% / %%"
    CompressedSizes,  // "%% → %% (%%)": sizes before and after, change
};

// The window's own texts, numbered from 1001 on beside the glossary's.
enum : int {
    WindowTitle = 1001,  // "... v%% ...": the version
    OtherLanguage,  // the language switch names the other language
    LogIn,
    IsAdded,
    IsNotExisting,
    SelectPdfFiles,
    PdfFilter,
    ConvertWord,
    ConversionWord,
    PagesPerDocument,
    PasswordWord,
    RegisterWord,
    CancelWord,
    ScreenshotFile,  // "%1" minutes, "%2" seconds (QString::arg)
    UpdateReminder,
    UpdateFailed,  // "%%": the maker's site
    SelectFolder = 1018,
    LoginTitle,
    LoginWelcome,
    FetchingQrLink,
    SendCode,
    Resend,
    NetworkErrorChinese,
    NetworkErrorEnglish,
    QrTab,
    SmsTab,
    ScanQr,
    QrSecondsLeft,  // "%%": seconds
    QrExpired,
    WrongPhone,
    ResendIn,  // "%%": seconds
    WrongPhoneOrCode,
    DownloadingQr,
    QrRefused,
    PollingError,
    PollingStatusError,
    CodeRequested,
    CodeRequestFailed,
    CodeServerError,
    IsEmpty,  // "%% Is Empty!"
    ConfirmPasswordField,
    InconsistentPassword,
    SigningUp,
    SystemError,
    ConfirmEmail,
    AccountMismatch,
    Warning,
    EmailField,
    ForbiddenCharacters,  // "%% can not Contain ..."
    NicknameField,
    PasswordField,
    PageRangeWord,
    SplitPointsWord,
};

// The page pictures: the row's picker button and the picker itself.
enum : int {
    PickPages = 1150,
    PickerTitle,  // "%%": file name
    PickerRangeHint,
    PickerSplitHint,
    PickerBookmarkHint,  // "%%": level
    PickedRange,  // "%%", "%%": first and last page
    PickedPoints,  // "%%": the list
    NoPickedPoints,
};

// The split and merge modes beyond the first three.
enum : int {
    SplitBySize = 1102,
    MergeInOrder,
    MergeAlternate,
    ReversePages,  // a merge row's pages last to first
    MegabytesPerPiece,
    PageOverPieceSize,  // "%%": the page
    PieceSizeOutOfRange,
};

} // namespace TextId
