#include "core/converter/JobFailure.h"

#include "core/common/Utils.h"
#include "core/converter/QpdfRunner.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace Converter {

namespace {

// The last line that says something; qpdf ends with the line that explains its failure.
std::wstring lastLine(const std::string& text)
{
    const std::size_t end = text.find_last_not_of(" \t\r\n");
    if (end == std::string::npos)
        return {};
    const std::size_t begin = text.rfind('\n', end);
    const std::size_t from = begin == std::string::npos ? 0 : begin + 1;
    return Utils::utf8ToWide(text.substr(from, end + 1 - from));
}

} // namespace

bool checkInputFile(ConvertError* error, const std::wstring& reported, const std::wstring& input)
{
    struct stat info {};
    if (::stat(Utils::wideToUtf8(input).c_str(), &info) != 0) {
        setFailure(error, reported, FailureReason::CannotOpenInput, input + L": " + systemErrorText(errno));
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        setFailure(error, reported, FailureReason::CannotOpenInput, input + L": not a regular file");
        return false;
    }
    return true;
}

void setFailure(ConvertError* error, const std::wstring& input, int reason, const std::wstring& detail)
{
    if (!error)
        return;
    error->code = ConvertError::kPdfFailure;
    error->message = input;
    error->reason = reason;
    error->detail = detail;
}

void setQpdfFailure(ConvertError* error, const std::wstring& input, const ChildProcess::Result& run,
                    bool passwordGiven)
{
    if (!run.started) {
        setFailure(error, input, FailureReason::CannotStartQpdf,
                   QpdfRunner::programPath() + L": " + systemErrorText(run.startError));
        return;
    }
    const std::string& said = run.errorTail;
    int reason = FailureReason::None;
    if (said.find("invalid password") != std::string::npos)
        reason = passwordGiven ? FailureReason::WrongPassword : FailureReason::PasswordProtected;
    else if (said.find("can't find PDF header") != std::string::npos ||
             said.find("not a PDF file") != std::string::npos)
        reason = FailureReason::NotAPdf;
    else if (said.find("No such file or directory") != std::string::npos)
        reason = FailureReason::CannotOpenInput;
    else if (said.find("(ENOSPC)") != std::string::npos || said.find("(EDQUOT)") != std::string::npos ||
             said.find("No space left on device") != std::string::npos)
        reason = FailureReason::CannotCreateOutput; // the page program names the error, qpdf says its text

    std::wstring detail = lastLine(said);
    if (run.signal != 0)
        detail = L"qpdf was stopped by signal " + std::to_wstring(run.signal);
    else if (detail.empty())
        detail = L"qpdf exited with code " + std::to_wstring(run.exitCode) + L" and wrote no output";
    setFailure(error, input, reason, detail);
}

std::wstring systemErrorText(int errorNumber)
{
    return Utils::utf8ToWide(std::strerror(errorNumber));
}

} // namespace Converter
