#pragma once
// Writes the pieces of a split as "<title>_<first>_<last>.pdf" into the output folder
// (created with every missing folder above it; see SplitFolder for what it refuses). An every-N plan over real pages is written by
// one qpdf run (--split-pages), each piece renamed as soon as qpdf reports it; other plans
// take one run per piece and stop at the first piece that fails. Either way the progress
// call for a piece comes before the piece is written, and pieces written before a failure
// stay. A folder the split created stays only when something was written into it.

#include "core/converter/ConvertError.h"
#include "core/converter/InputElement.h"
#include "core/converter/SplitFolder.h"
#include "core/converter/SplitPlan.h"

#include <cstddef>
#include <functional>
#include <string>

namespace Converter {

class ProcessSlot;

class PdfSplitter {
public:
    // (last page of the piece about to be written, page count of the input)
    using Progress = std::function<void(int current, int total)>;

    PdfSplitter(const InputElement& input, std::wstring folder, ProcessSlot* slot, Progress progress);

    bool run(ConvertError* error);

    static std::wstring piecePath(const std::wstring& folder, const std::wstring& title,
                                  const SplitPiece& piece);
    // The file name alone: "<title>_<first>_<last>.pdf".
    static std::wstring pieceName(const std::wstring& title, const SplitPiece& piece);
    // True when one qpdf run can write the whole plan: every N pages, of a document whose
    // page count is known and covers the plan, in more than one piece.
    static bool canSplitInOneRun(const InputElement& input);

private:
    // skip: pieces already written.
    bool runPerPiece(const SplitPlan& plan, ConvertError* error, std::size_t skip = 0);
    bool runInOne(const SplitPlan& plan, ConvertError* error);
    // The progress call for the piece ending at page current.
    void reportProgress(int current) const;

    const InputElement& m_input;
    std::wstring m_folder;
    std::wstring m_title;
    ProcessSlot* m_slot;
    Progress m_progress;
    SplitFolder m_target;
};

} // namespace Converter
