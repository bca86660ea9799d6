#pragma once
// Names of the glossary text ids that code looks up.

namespace TextId {
inline constexpr int AppTitle = 1;
inline constexpr int DropFilesHere = 2;       // "Drag %% File Onto Here ..."
inline constexpr int Success = 3;
inline constexpr int ConversionFailed = 5;
inline constexpr int Prompt = 6;              // the title of prompts
inline constexpr int Ok = 8;
inline constexpr int Cancel = 9;
inline constexpr int FileCannotOpen = 10;
inline constexpr int MergedSuffix = 11;
inline constexpr int CompressSuffix = 13;
inline constexpr int DecryptSuffix = 14;
inline constexpr int ExtractSuffix = 15;
inline constexpr int CannotCreateProcess = 18;
inline constexpr int Converting = 20;
inline constexpr int GettingPages = 22;
inline constexpr int DecryptingFile = 23;
inline constexpr int Waiting = 24;            // "Waiting %%"
inline constexpr int PageCountFailed = 25;
inline constexpr int CheckingEncryption = 26;
inline constexpr int ContinueButton = 28;     // "%%" / "继续%%"
inline constexpr int StartButton = 29;        // "%%" / "开始%%"
inline constexpr int UpdateTitle = 30;
inline constexpr int NewestVersion = 31;
inline constexpr int ExitProcess = 34;
inline constexpr int FileState = 35;          // "%% File %%"
inline constexpr int AddFileFailed = 36;
inline constexpr int CheckEncryptStatus = 37;
inline constexpr int HotKeyFailed = 38;    // "Fail To %% Hot Key"
inline constexpr int BusyPreprocessing = 43;
inline constexpr int BusyConverting = 44;
inline constexpr int AccountUnavailable = 45;
inline constexpr int UserInfoFailed = 47;
inline constexpr int UserConfigFailed = 48;
inline constexpr int CorrectYour = 49;        // "Please Correct Your %%"
inline constexpr int PleaseEnter = 50;        // "Please Enter %%"
inline constexpr int SubmitSuccess = 51;
inline constexpr int PasswordError = 52;
inline constexpr int EnterPassword = 56;      // "Enter %% Password"
inline constexpr int ExtractingPdf = 57;      // 57 to 61: one per operation, in operation order
inline constexpr int MergingPdf = 60;
inline constexpr int Update = 65;
inline constexpr int SplittingPage = 66;      // "Splitting Page %d / %d"
inline constexpr int Reason = 67;
inline constexpr int RunInBackground = 106;
inline constexpr int ConfigurationUnreadable = 108; // "... cannot be read ...\n%%" (the file)
inline constexpr int CompressingPage = 130;   // "Compressing Page %% / %%"
inline constexpr int CompressedSizes = 131;   // "%% → %% (%%)": sizes before and after, change
} // namespace TextId
