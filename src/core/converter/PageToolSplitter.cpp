#include "core/converter/PageToolSplitter.h"

#include "core/common/Utils.h"
#include "core/converter/BookmarkPieceName.h"
#include "core/converter/FolderSync.h"
#include "core/converter/JobFailure.h"
#include "core/converter/OutputCheck.h"
#include "core/converter/PageToolRunner.h"
#include "core/converter/PdfSplitter.h"
#include "core/converter/QpdfRunner.h"
#include "core/converter/SplitFolder.h"
#include "core/converter/SplitPlan.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>

namespace Converter {

namespace {

namespace fs = std::filesystem;

struct Piece {
    SplitPiece pages;
    std::wstring title;
};

std::vector<std::string_view> fields(std::string_view line)
{
    std::vector<std::string_view> result;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        result.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos)
            return result;
        start = tab + 1;
    }
}

bool number(std::string_view text, int& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool allInside(const SplitPlan& plan, int pageCount)
{
    bool inside = true;
    bool any = false;
    plan.visit([&](const SplitPiece& piece) {
        any = true;
        inside = piece.first >= 1 && piece.last >= 1 && piece.first <= pageCount && piece.last <= pageCount;
        return inside;
    });
    return any && inside;
}

} // namespace

PageToolSplitter::PageToolSplitter(const InputElement& input, std::wstring folder, ProcessSlot* slot,
                                   Progress progress)
    : m_input(input), m_folder(std::move(folder)), m_slot(slot), m_progress(std::move(progress))
{
}

bool PageToolSplitter::handles(const InputElement& input)
{
    // Only korvex-pages can cut by bookmarks or by written size.
    if (input.splitMode() == InputElement::kSplitByBookmarks || input.splitMode() == InputElement::kSplitBySize)
        return true;
    const SplitPlan plan = SplitPlan::of(input);
    if (!plan.isValid() || input.pageCount() < 1 || input.toPage() < 1 || input.toPage() > input.pageCount())
        return false;
    // Every piece of an every-N plan up to a real page lies inside; only points need a look.
    return (plan.cutsEvery() || allInside(plan, input.pageCount())) && PageToolRunner::available();
}

bool PageToolSplitter::run(ConvertError* error)
{
    const std::wstring& input = m_input.path();
    const bool byBookmarks = m_input.splitMode() == InputElement::kSplitByBookmarks;
    const bool bySize = m_input.splitMode() == InputElement::kSplitBySize;
    // Neither plan is known before korvex-pages has read the file.
    const bool unplanned = byBookmarks || bySize;
    if (byBookmarks && m_input.bookmarkLevel() < 1) {
        setFailure(error, input, FailureReason::InvalidParameters,
                   L"bookmark levels start at 1, not " + std::to_wstring(m_input.bookmarkLevel()));
        return false;
    }
    if (bySize && m_input.pieceBytes() < 1) {
        setFailure(error, input, FailureReason::InvalidParameters, L"a piece needs a size above 0 bytes");
        return false;
    }
    if (!Utils::pathExists(input)) {
        setFailure(error, input, FailureReason::CannotOpenInput, input + L": " + systemErrorText(ENOENT));
        return false;
    }
    if (!PageToolRunner::available()) {
        setFailure(error, input, FailureReason::CannotStartQpdf, L"korvex-pages: " + systemErrorText(ENOENT));
        return false;
    }

    std::error_code ec;
    // Every piece needs a page and every page some bytes: a plan beyond that was made from a
    // page count the file cannot hold, and is never written out in full.
    const std::uintmax_t size = fs::file_size(Utils::toFsPath(input), ec);
    if (!unplanned && (ec || !SplitPlan::of(m_input).hasAtMost(size))) {
        setFailure(error, input, FailureReason::InvalidParameters,
                   L"the plan has more pieces than the file can hold pages");
        return false;
    }
    SplitFolder target;
    std::wstring problem;
    if (!target.open(m_folder, problem)) {
        setFailure(error, input, FailureReason::CannotCreateOutput, problem);
        return false;
    }
    if (!target.makeWorkFolder(problem)) {
        setFailure(error, input, FailureReason::CannotCreateOutput, problem);
        target.removeIfMadeAndEmpty();
        return false;
    }
    const fs::path workFolder = target.workFolder();
    FolderSync sync(Utils::toFsPath(m_folder).string());

    const std::wstring inputTitle = Utils::getFileTitle(input);
    std::vector<std::wstring> args = {L"split", input, Utils::fromFsPath(workFolder)};
    ChildProcess::Options options;
    if (byBookmarks) {
        args.insert(args.end(), {L"--bookmarks", std::to_wstring(m_input.bookmarkLevel())});
    } else if (bySize) {
        args.insert(args.end(), {L"--size", std::to_wstring(m_input.pieceBytes())});
        // The row's pages when it names real ones; korvex-pages judges them against the file.
        if (m_input.toPage() >= 1)
            args.push_back(std::to_wstring(std::max(1, m_input.fromPage())) + L"-" + std::to_wstring(m_input.toPage()));
    } else {
        args.push_back(L"--pieces");
        std::string ranges;
        for (const SplitPiece& piece : SplitPlan::of(m_input).pieces()) {
            ranges += std::to_string(piece.first) + '-' + std::to_string(piece.last) + '\n';
            // An earlier run's piece must not be mistaken for one of this run.
            target.removeEarlier(PdfSplitter::pieceName(inputTitle, piece));
        }
        options.input = std::move(ranges);
    }

    m_oversizePages.clear();
    std::vector<Piece> planned;
    std::size_t written = 0;
    bool confused = false;
    std::wstring moveProblem;
    const auto nameOf = [&](std::size_t index) {
        const Piece& piece = planned[index];
        if (!byBookmarks)
            return PdfSplitter::pieceName(inputTitle, piece.pages);
        return bookmarkPieceName(piece.title, static_cast<int>(index + 1), piece.pages.first,
                                 piece.pages.last, inputTitle);
    };
    options.onOutputLine = [&](std::string_view line) {
        if (confused || !moveProblem.empty())
            return;
        const std::vector<std::string_view> part = fields(line);
        int n = 0;
        if (part[0] == "piece" && part.size() == 5) {
            Piece piece{};
            if (!number(part[1], n) || n != static_cast<int>(planned.size()) + 1 ||
                !number(part[2], piece.pages.first) || !number(part[3], piece.pages.last)) {
                confused = true;
                return;
            }
            piece.title = Utils::utf8ToWide(std::string(part[4]));
            planned.push_back(std::move(piece));
            // A size split names its pieces only as it writes them.
            if (bySize && !target.removeEarlier(nameOf(planned.size() - 1)))
                moveProblem = Utils::withTrailingSeparator(m_folder) + nameOf(planned.size() - 1);
        } else if (part[0] == "oversize" && part.size() == 2) {
            // Only the piece just announced, and only a single page, can be over the size.
            if (!bySize || !number(part[1], n) || n < 1 || n != static_cast<int>(planned.size()) ||
                planned.back().pages.first != planned.back().pages.last ||
                (!m_oversizePages.empty() && m_oversizePages.back() >= planned.back().pages.first)) {
                confused = true;
                return;
            }
            m_oversizePages.push_back(planned.back().pages.first);
        } else if (part[0] == "planned") {
            if (m_progress && !planned.empty())
                m_progress(planned.front().pages.last, m_input.pageCount());
        } else if (part[0] == "wrote" && part.size() == 2) {
            if (!number(part[1], n) || n != static_cast<int>(written) + 1 || written >= planned.size()) {
                confused = true;
                return;
            }
            const std::wstring name = nameOf(written);
            const std::string piece = std::to_string(n) + ".pdf";
            if (!isCompletePdf((workFolder / piece).string(), Flush::Later)) {
                moveProblem = Utils::withTrailingSeparator(m_folder) + name +
                              L": the written file is incomplete (is the disk full?)";
                return;
            }
            if (!target.moveIn(piece, name, moveProblem))
                return;
            ++written;
            if (written < planned.size() && m_progress)
                m_progress(planned[written].pages.last, m_input.pageCount());
            else if (bySize && m_progress)
                m_progress(planned[written - 1].pages.last, m_input.pageCount());
        }
    };

    ChildProcess::Result run;
    try {
        run = PageToolRunner::run(args, m_slot, options);
    } catch (...) {
        target.removeWorkFolder(); // nothing hidden stays behind a failed job
        throw;
    }
    target.removeWorkFolder();
    bool ok = false;
    if (!run.started || !QpdfRunner::isSuccessCode(run.exitCode)) {
        setQpdfFailure(error, input, run, false);
        if (run.exitCode == PageToolRunner::kNoBookmarks && error)
            error->reason = FailureReason::NoBookmarks;
    } else if (!moveProblem.empty()) {
        setFailure(error, input, FailureReason::CannotCreateOutput, moveProblem);
    } else if (confused || planned.empty() || written != planned.size()) {
        setFailure(error, input, FailureReason::None, L"korvex-pages did not report every piece");
    } else if (!sync.flush()) {
        setFailure(error, input, FailureReason::CannotCreateOutput,
                   m_folder + L": the pieces could not be written to the disk (is it full?)");
    } else {
        ok = true;
    }
    // Nothing at the output path when nothing was written there.
    if (!ok && written == 0)
        target.removeIfMadeAndEmpty();
    return ok;
}

} // namespace Converter
