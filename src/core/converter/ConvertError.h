#pragma once
// A failed job as the converter reports it.

#include <string>

struct ConvertError {
    // Every failure of the PDF converter carries this code.
    static constexpr int kPdfFailure = 201;

    int code = 0;
    // The input file's path.
    std::wstring message;
    // Glossary id of the likeliest cause ("Password Error", "Unsupport Format", ...), 0 when
    // there is none to name; windows may ignore it, the command line shows it.
    int reason = 0;
    // What qpdf (or the engine) said about it, untranslated; may be empty.
    std::wstring detail;
};

// Glossary ids of the causes a failed job can name (ConvertError::reason).
namespace FailureReason {
inline constexpr int None = 0;
inline constexpr int CannotStartQpdf = 18;     // "Fail To Create Conversion Process"
inline constexpr int WrongPassword = 52;       // "Password Error"
inline constexpr int CannotCreateOutput = 73;  // "Unable To Create Outfile"
inline constexpr int CannotOpenInput = 74;     // "Unable To Open Infile"
inline constexpr int InvalidParameters = 75;   // "Invalid Params"
inline constexpr int CannotCreateTemp = 76;    // "Unable To Create Temp"
inline constexpr int PasswordProtected = 91;   // "Password Protected"
inline constexpr int NotAPdf = 100;            // "Unsupport Format"
inline constexpr int NoBookmarks = 107;        // "This File Has No Bookmarks"
} // namespace FailureReason
