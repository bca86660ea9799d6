#include "core/converter/PdfSplitter.h"

#include "core/common/Utils.h"
#include "core/converter/FolderSync.h"
#include "core/converter/JobFailure.h"
#include "core/converter/OutputCheck.h"
#include "core/converter/PageRanges.h"
#include "core/converter/PdfOperations.h"
#include "core/converter/QpdfArguments.h"
#include "core/converter/QpdfRunner.h"

#include <filesystem>

namespace Converter {

namespace {

namespace fs = std::filesystem;

// The page range in a piece name qpdf made from "%d.pdf": "0007.pdf" or "011-020.pdf".
bool parsePieceName(std::string_view name, SplitPiece& piece)
{
    if (name.size() < 5 || name.substr(name.size() - 4) != ".pdf")
        return false;
    name.remove_suffix(4);
    const std::size_t dash = name.find('-');
    int first = 0;
    int last = 0;
    const auto number = [](std::string_view digits, int& value) {
        if (digits.empty() || digits.size() > 10 ||
            digits.find_first_not_of("0123456789") != std::string_view::npos)
            return false;
        const long long v = std::stoll(std::string(digits));
        if (v > 0x7FFFFFFF)
            return false;
        value = static_cast<int>(v);
        return true;
    };
    if (dash == std::string_view::npos) {
        if (!number(name, first))
            return false;
        last = first;
    } else if (!number(name.substr(0, dash), first) || !number(name.substr(dash + 1), last)) {
        return false;
    }
    piece = SplitPiece{first, last};
    return true;
}

} // namespace

PdfSplitter::PdfSplitter(const InputElement& input, std::wstring folder, ProcessSlot* slot,
                         Progress progress)
    : m_input(input), m_folder(std::move(folder)), m_title(Utils::getFileTitle(input.path())),
      m_slot(slot), m_progress(std::move(progress))
{
}

std::wstring PdfSplitter::piecePath(const std::wstring& folder, const std::wstring& title,
                                    const SplitPiece& piece)
{
    return Utils::withTrailingSeparator(folder) + pieceName(title, piece);
}

std::wstring PdfSplitter::pieceName(const std::wstring& title, const SplitPiece& piece)
{
    return title + L'_' + std::to_wstring(piece.first) + L'_' + std::to_wstring(piece.last) + L".pdf";
}

bool PdfSplitter::canSplitInOneRun(const InputElement& input)
{
    return input.splitMode() == InputElement::kSplitEvery && input.pagesPerPiece() >= 1 &&
           input.pageCount() >= 1 && input.toPage() >= 1 && input.toPage() <= input.pageCount() &&
           input.pagesPerPiece() < input.toPage();
}

bool PdfSplitter::run(ConvertError* error)
{
    const SplitPlan plan = SplitPlan::of(m_input);
    if (!plan.isValid()) {
        setFailure(error, m_input.path(), FailureReason::InvalidParameters,
             L"pages per piece must be at least 1, not " + std::to_wstring(m_input.pagesPerPiece()));
        return false;
    }
    std::wstring problem;
    if (!m_target.open(m_folder, problem)) {
        setFailure(error, m_input.path(), FailureReason::CannotCreateOutput, problem);
        return false;
    }
    FolderSync sync(Utils::toFsPath(m_folder).string());
    bool ok = canSplitInOneRun(m_input) ? runInOne(plan, error) : runPerPiece(plan, error);
    if (ok && !sync.flush()) {
        setFailure(error, m_input.path(), FailureReason::CannotCreateOutput,
                   m_folder + L": the pieces could not be written to the disk (is it full?)");
        ok = false;
    }
    if (!ok) {
        // A folder this run made and wrote nothing into goes again; pieces written before the
        // failure stay, and so does their folder.
        m_target.removeIfMadeAndEmpty();
    }
    return ok;
}

void PdfSplitter::reportProgress(int current) const
{
    if (!m_progress)
        return;
    // Without a known page count the plan's last page is the best total there is; with
    // neither, no "page n of m" is shown (never "1 / -1"), only the plain step.
    const int total = m_input.pageCount() >= 1 ? m_input.pageCount() : m_input.toPage();
    if (current < 1 || total < 1)
        m_progress(0, 0);
    else
        m_progress(current, total);
}

bool PdfSplitter::runPerPiece(const SplitPlan& plan, ConvertError* error, std::size_t skip)
{
    bool ok = true;
    plan.visit([&](const SplitPiece& piece) {
        if (skip > 0) {
            --skip;
            return true;
        }
        reportProgress(piece.last);
        if (!m_target.stillInPlace()) {
            setFailure(error, m_input.path(), FailureReason::CannotCreateOutput,
                       m_folder + L": the folder was replaced while the split ran");
            return ok = false;
        }
        ok = extractPages(m_input.path(), pageRangeText(piece.first, piece.last),
                          piecePath(m_folder, m_title, piece), m_slot, error);
        return ok;
    });
    return ok;
}

bool PdfSplitter::runInOne(const SplitPlan& plan, ConvertError* error)
{
    const std::wstring& input = m_input.path();
    if (!checkInputFile(error, input, input))
        return false;
    // Every piece needs a page and every page some bytes: a plan beyond that was made from a
    // page count the file cannot hold, and is never built in full.
    std::error_code sizeError;
    if (!plan.hasAtMost(fs::file_size(Utils::toFsPath(input), sizeError)) || sizeError) {
        setFailure(error, input, FailureReason::InvalidParameters,
                   L"the plan has more pieces than the file can hold pages");
        return false;
    }
    const std::vector<SplitPiece> pieces = plan.pieces();
    std::vector<std::wstring> targets;
    targets.reserve(pieces.size());
    std::error_code ec;
    for (const SplitPiece& piece : pieces) {
        targets.push_back(pieceName(m_title, piece));
        // An earlier run's piece must not be mistaken for one of this run.
        if (!m_target.removeEarlier(targets.back())) {
            setFailure(error, input, FailureReason::CannotCreateOutput, piecePath(m_folder, m_title, piece));
            return false;
        }
    }

    // qpdf writes into a hidden folder of its own and is started there, so its "%d" output
    // pattern holds no folder text that could contain a "%d" of its own.
    std::wstring problem;
    if (!m_target.makeWorkFolder(problem)) {
        setFailure(error, input, FailureReason::CannotCreateOutput, problem);
        return false;
    }
    const fs::path workFolder = m_target.workFolder();

    std::size_t written = 0;
    bool unexpectedName = false;
    std::wstring renameProblem;
    ChildProcess::Options options;
    options.workingDirectory = workFolder.string();
    options.onOutputLine = [&](std::string_view line) {
        static constexpr std::string_view kWrote = "wrote file ";
        const std::size_t at = line.find(kWrote);
        if (at == std::string_view::npos || unexpectedName || !renameProblem.empty())
            return;
        const std::string_view name = line.substr(at + kWrote.size());
        SplitPiece piece{};
        if (!parsePieceName(name, piece) || written >= pieces.size() || !(pieces[written] == piece)) {
            unexpectedName = true;
            return;
        }
        if (!isCompletePdf((workFolder / name).string(), Flush::Later)) {
            renameProblem = Utils::withTrailingSeparator(m_folder) + targets[written] +
                            L": the written file is incomplete (is the disk full?)";
            return;
        }
        if (!m_target.moveIn(std::string(name), targets[written], renameProblem))
            return;
        ++written;
        if (written < pieces.size())
            reportProgress(pieces[written].last);
    };

    reportProgress(pieces.front().last);
    const std::wstring absoluteInput = Utils::fromFsPath(fs::absolute(Utils::toFsPath(input), ec));
    ChildProcess::Result run;
    try {
        run = QpdfRunner::run(
            QpdfArguments::splitEvery(absoluteInput, plan.piecesSize(), plan.toPage(), m_input.pageCount(), L"%d.pdf"),
            m_slot, options);
    } catch (...) {
        m_target.removeWorkFolder(); // nothing hidden stays behind a failed job
        throw;
    }
    m_target.removeWorkFolder();

    if (!run.started || !QpdfRunner::isSuccessCode(run.exitCode)) {
        setQpdfFailure(error, input, run, false);
        return false;
    }
    if (!renameProblem.empty()) {
        setFailure(error, input, FailureReason::CannotCreateOutput, renameProblem);
        return false;
    }
    // A qpdf that names or reports its pieces in another way: the remaining pieces one by one.
    if (written != pieces.size())
        return runPerPiece(plan, error, written);
    return true;
}

} // namespace Converter
