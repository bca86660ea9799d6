#include "core/converter/PdfOperations.h"

#include "core/app/TextTable.h"
#include "core/common/Utils.h"
#include "core/converter/CompressToolRunner.h"
#include "core/converter/JobFailure.h"
#include "core/converter/OutputCheck.h"
#include "core/converter/OutputLeftovers.h"
#include "core/converter/PageRanges.h"
#include "core/converter/PageToolRunner.h"
#include "core/converter/PrivateTempFolder.h"
#include "core/converter/QpdfArguments.h"
#include "core/converter/QpdfRunner.h"
#include "core/converter/WorkingZone.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <unistd.h>

namespace Converter {

namespace {

namespace fs = std::filesystem;

// A name beside the output that nobody else uses; hidden, so it cannot pass for a result.
std::optional<fs::path> temporaryNameBeside(const fs::path& output)
{
    static std::atomic<unsigned> counter{0};
    thread_local std::mt19937_64 random{std::random_device{}()};
    const fs::path folder = output.has_parent_path() ? output.parent_path() : fs::path(".");
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = partFileName(counter.fetch_add(1), random());
        fs::path candidate = folder / name;
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(candidate, ec)))
            return candidate;
    }
    return std::nullopt;
}

// The pages korvex-pages finds in the file's page tree; -1 when it cannot tell.
int countPagesInTree(const std::wstring& input, int stated, ProcessSlot* slot, ConvertError* error)
{
    const std::wstring claim = L"the file states " + std::to_wstring(stated) + L" pages, more than it can hold";
    if (!PageToolRunner::available()) {
        setFailure(error, input, FailureReason::NotAPdf, claim);
        return -1;
    }
    ChildProcess::Options options;
    options.captureOutput = true;
    options.outputLimit = 64;
    const ChildProcess::Result run = PageToolRunner::run({L"count", input}, slot, options);
    if (!run.started || !QpdfRunner::isSuccessCode(run.exitCode)) {
        setQpdfFailure(error, input, run, false);
        return -1;
    }
    const int pages = parsePageCount(run.output);
    if (pages < 1)
        setFailure(error, input, FailureReason::NotAPdf, claim);
    return pages < 1 ? -1 : pages;
}

struct WriteJob {
    // Must exist, and are never replaced by the output.
    std::vector<std::wstring> inputs;
    std::wstring output;
    // The arguments for a run that writes to the given path.
    std::function<std::vector<std::wstring>(const std::wstring& target)> arguments;
    std::optional<std::string> standardInput;
    bool passwordGiven = false;
    // Run korvex-pages instead of qpdf.
    bool pageTool = false;
    // Run korvex-compress at this level instead (any level but Standard), with its progress.
    CompressionLevel level = CompressionLevel::Standard;
    CompressToolRunner::Progress progress;
};

// korvex-pages reads qpdf's numeric ranges ("1-3,5,r2-z"); other ones stay with qpdf.
bool pageToolReads(const std::wstring& range)
{
    return !range.empty() && range.find_first_not_of(L"0123456789zr-,") == std::wstring::npos;
}

bool writeOutput(const WriteJob& job, ProcessSlot* slot, ConvertError* error)
{
    const std::wstring reported = job.inputs.empty() ? std::wstring() : job.inputs.front();
    if (job.inputs.empty() || job.output.empty()) {
        setFailure(error, reported, FailureReason::InvalidParameters, L"no input or no output");
        return false;
    }
    for (const std::wstring& input : job.inputs) {
        if (!checkInputFile(error, reported, input))
            return false;
    }

    const fs::path output = Utils::toFsPath(job.output);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(output, ec))) {
        for (const std::wstring& input : job.inputs) {
            if (fs::equivalent(output, Utils::toFsPath(input), ec)) {
                setFailure(error, reported, FailureReason::CannotCreateOutput,
                           job.output + L": the output would replace an input");
                return false;
            }
        }
        if (fs::is_directory(fs::symlink_status(output, ec))) {
            setFailure(error, reported, FailureReason::CannotCreateOutput,
                       job.output + L": " + systemErrorText(EISDIR));
            return false;
        }
        // An earlier run's file stays until this run's result replaces it: qpdf writes under a
        // temporary name that is renamed into place only on success, so an old file can never
        // pass for this run's result, and a failed run loses nothing.
    }

    const fs::path folder = output.has_parent_path() ? output.parent_path() : fs::path(".");
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        setFailure(error, reported, FailureReason::CannotCreateOutput,
                   Utils::fromFsPath(folder) + L": " + systemErrorText(errno));
        return false;
    }
    const std::optional<fs::path> temporary = temporaryNameBeside(output);
    if (!temporary) {
        setFailure(error, reported, FailureReason::CannotCreateOutput, job.output);
        return false;
    }

    ChildProcess::Options options;
    options.input = job.standardInput;
    const std::vector<std::wstring> arguments = job.arguments(Utils::fromFsPath(*temporary));
    ChildProcess::Result run;
    if (job.level != CompressionLevel::Standard)
        run = CompressToolRunner::run(job.level, arguments.at(0), arguments.at(1), slot, job.progress);
    else if (job.pageTool)
        run = PageToolRunner::run(arguments, slot, options);
    else
        run = QpdfRunner::run(arguments, slot, options);
    bool ok = run.started && QpdfRunner::isSuccessCode(run.exitCode);
    if (!ok) {
        setQpdfFailure(error, reported, run, job.passwordGiven);
    } else if (!isCompletePdf(temporary->string())) {
        ok = false;
        setFailure(error, reported, FailureReason::CannotCreateOutput,
                   job.output + L": the written file is incomplete (is the disk full?)");
    } else {
        fs::rename(*temporary, output, ec);
        if (ec) {
            ok = false;
            setFailure(error, reported, FailureReason::CannotCreateOutput,
                       job.output + L": " + Utils::utf8ToWide(ec.message()));
        }
    }
    if (!ok)
        fs::remove(*temporary, ec);
    return ok;
}

} // namespace

bool compressPdf(const std::wstring& input, const std::wstring& output, ProcessSlot* slot,
                 ConvertError* error)
{
    return compressPdf(input, output, CompressionLevel::Standard, {}, slot, error);
}

bool compressPdf(const std::wstring& input, const std::wstring& output, CompressionLevel level,
                 const std::function<void(int done, int count)>& progress, ProcessSlot* slot, ConvertError* error)
{
    WriteJob job;
    job.inputs = {input};
    job.output = output;
    job.level = level;
    job.progress = progress;
    job.arguments = [&](const std::wstring& target) -> std::vector<std::wstring> {
        if (level != CompressionLevel::Standard)
            return {input, target};
        return QpdfArguments::compress(input, target);
    };
    return writeOutput(job, slot, error);
}

bool extractPages(const std::wstring& input, const std::wstring& range, const std::wstring& output,
                  ProcessSlot* slot, ConvertError* error)
{
    WriteJob job;
    job.inputs = {input};
    job.output = output;
    // korvex-pages keeps the bookmarks of the extracted pages and drops the others.
    job.pageTool = pageToolReads(range) && PageToolRunner::available();
    job.arguments = [&](const std::wstring& target) -> std::vector<std::wstring> {
        if (job.pageTool)
            return {L"extract", input, range, target};
        return QpdfArguments::extract(input, range, target);
    };
    return writeOutput(job, slot, error);
}

bool mergePdfs(const PdfHandleParameter::MergeList& list, const std::wstring& output,
               ProcessSlot* slot, ConvertError* error, bool alternate)
{
    WriteJob job;
    for (const auto& entry : list)
        job.inputs.push_back(entry.first);
    job.output = output;
    // korvex-pages gives every input a bookmark that holds that input's own bookmarks.
    job.pageTool = std::all_of(list.begin(), list.end(), [](const auto& entry) {
        return pageToolReads(entry.second);
    }) && PageToolRunner::available();
    job.arguments = [&](const std::wstring& target) {
        if (!job.pageTool)
            return QpdfArguments::merge(list, target, alternate);
        std::vector<std::wstring> args = {L"merge", target};
        if (alternate)
            args.insert(args.begin() + 1, L"--alternate");
        for (const auto& [file, range] : list)
            args.insert(args.end(), {file, range});
        return args;
    };
    return writeOutput(job, slot, error);
}

bool decryptPdf(const std::wstring& input, std::wstring& output, const std::wstring& password,
                ProcessSlot* slot, ConvertError* error)
{
    if (!checkInputFile(error, input, input))
        return false;
    if (password.find_first_of(std::wstring(L"\r\n\0", 3)) != std::wstring::npos) {
        setFailure(error, input, FailureReason::WrongPassword, L"a password cannot hold a line break");
        return false;
    }
    std::wstring target = output;
    const bool privateCopy = target.empty();
    if (privateCopy) {
        const std::size_t slash = input.rfind(Utils::kPathSeparator);
        target = PrivateTempFolder::instance().newCopyPath(
            slash == std::wstring::npos ? input : input.substr(slash + 1));
        if (target.empty()) {
            setFailure(error, input, FailureReason::CannotCreateTemp, PrivateTempFolder::instance().folder());
            return false;
        }
        output = target;
    }

    WriteJob job;
    job.inputs = {input};
    job.output = target;
    job.passwordGiven = !password.empty();
    if (job.passwordGiven)
        job.standardInput = Utils::wideToUtf8(password) + "\n";
    job.arguments = [&](const std::wstring& written) {
        return QpdfArguments::decrypt(input, written, job.passwordGiven);
    };
    const bool ok = writeOutput(job, slot, error);
    if (!ok && privateCopy)
        PrivateTempFolder::instance().removeCopy(target);
    return ok;
}

int countPages(const std::wstring& input, ProcessSlot* slot, ConvertError* error)
{
    if (!checkInputFile(error, input, input))
        return -1;
    ChildProcess::Options options;
    options.captureOutput = true;
    // The page program reads the same number as qpdf --show-npages, in blocks where qpdf seeks
    // before every small read: 0.05 s instead of 0.5 s for 20,000 pages.
    const ChildProcess::Result run = PageToolRunner::available()
                                         ? PageToolRunner::run({L"count", L"--stated", input}, slot, options)
                                         : QpdfRunner::run(QpdfArguments::pageCount(input), slot, options);
    if (!run.started || !QpdfRunner::isSuccessCode(run.exitCode)) {
        setQpdfFailure(error, input, run, false);
        return -1;
    }
    const int pages = parsePageCount(run.output);
    if (pages < 0) {
        setFailure(error, input, FailureReason::None,
                   L"no page count was printed: " + Utils::utf8ToWide(run.output.substr(0, 200)));
        return -1;
    }
    // qpdf prints the page tree's /Count as the file states it. A count beyond one page per
    // byte of the file is a lie (or an unusual file): the real page tree decides.
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(Utils::toFsPath(input), ec);
    if (!ec && static_cast<std::uintmax_t>(pages) <= size)
        return pages;
    return countPagesInTree(input, pages, slot, error);
}

bool queryEncryption(const std::wstring& input, ProcessSlot* slot)
{
    return looksEncrypted(queryEncryptionText(input, slot));
}

std::string queryEncryptionText(const std::wstring& input, ProcessSlot* slot)
{
    if (!checkInputFile(nullptr, input, input))
        return {};
    // Both streams, as qpdf wrote them: its warnings arrive on standard error.
    ChildProcess::Options options;
    options.captureOutput = true;
    options.mergeErrorIntoOutput = true;
    return QpdfRunner::run(QpdfArguments::encryption(input), slot, options).output;
}

bool looksEncrypted(const std::string& queryOutput)
{
    if (queryOutput.find("not encrypted") == std::string::npos)
        return true;
    // "Not encrypted" from a file qpdf had to repair: decrypting rewrites it cleanly.
    return queryOutput.find("warning") != std::string::npos;
}

int parsePageCount(const std::string& output)
{
    int pages = -1;
    if (readNumber(Utils::utf8ToWide(output), pages) != PageTextStatus::Ok || pages < 0)
        return -1;
    return pages;
}

std::wstring makeOutputPath(int zone, const std::wstring& input, const std::wstring& extension,
                            const std::wstring& saveFolder)
{
    const WorkingZone::Info* pdfZone = WorkingZone::info(zone);
    if (!pdfZone)
        return {};
    const std::wstring base = Utils::withTrailingSeparator(saveFolder) + Utils::getFileTitle(input);
    if (zone == WorkingZone::Split) // a folder for the pieces
        return base;
    return base + Glossary::text(pdfZone->suffixText) + extension;
}

} // namespace Converter
