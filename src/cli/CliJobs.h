#pragma once
// Runs the jobs of one command line through the PDF engine and prints their results: each
// output path on standard output, each failure with its reason on standard error.

#include "CommandLine.h"

#include "core/converter/ConvertError.h"
#include "core/converter/OutputNameClaims.h"
#include "core/converter/ProcessSlot.h"

#include <string>

class CliJobs {
public:
    // Every qpdf run goes through slot; once it is closed, no further job starts.
    CliJobs(const CommandLine& line, std::wstring password, Converter::ProcessSlot& slot)
        : m_line(line), m_password(std::move(password)), m_slot(slot) {}

    // 0 when every job succeeded, 1 when any failed.
    int run();

private:
    bool info(const std::wstring& path);
    // One job of a zone through the converter; output claimed from makeOutputPath.
    bool convert(int zone, const CommandLine::Input& input);
    bool decryptWithPassword(const std::wstring& path, const std::wstring& password);
    bool merge();
    bool split(const std::wstring& path);

    std::wstring outputFor(int zone, const std::wstring& input);
    bool report(const std::wstring& label, bool ok, const ConvertError& error, const std::wstring& output);

    const CommandLine& m_line;
    std::wstring m_password;
    Converter::ProcessSlot& m_slot;
    std::wstring m_outFolder;
    Converter::OutputNameClaims m_claims;
};
