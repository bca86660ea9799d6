#pragma once
// Writes the pieces of a split with korvex-pages: one load of the input for all pieces, each
// piece with the bookmarks that point into it. Cuts at given points or every N pages
// ("<title>_<first>_<last>.pdf", as PdfSplitter names them), or at the bookmarks of one level
// ("<bookmark title>_<n>_<first>_<last>.pdf"), or into pieces of at most a size as written
// (named as points are; a single page over the size is a piece of its own). The pieces are written into a hidden folder
// inside the output folder and moved to their names one by one as they are done, each after
// the progress call for it; whatever the run leaves unfinished is removed, and an output
// folder that this run created and that stays empty is removed too.

#include "core/converter/ConvertError.h"
#include "core/converter/InputElement.h"

#include <functional>
#include <string>
#include <vector>

namespace Converter {

class ProcessSlot;

class PageToolSplitter {
public:
    // (last page of the piece about to be written, page count of the input)
    using Progress = std::function<void(int current, int total)>;

    PageToolSplitter(const InputElement& input, std::wstring folder, ProcessSlot* slot, Progress progress);

    // True when this splitter should write the input's plan: always for a split by bookmarks
    // or by size;
    // for points and every-N plans when korvex-pages is there and every piece lies inside the
    // document (odd plans go to qpdf piece by piece, which judges them as before).
    static bool handles(const InputElement& input);

    bool run(ConvertError* error);

    // The pages this run wrote as a piece of their own over the size (korvex-pages says which),
    // in page order; empty unless the run split by size.
    const std::vector<int>& oversizePages() const { return m_oversizePages; }

private:
    const InputElement& m_input;
    std::wstring m_folder;
    ProcessSlot* m_slot;
    Progress m_progress;
    std::vector<int> m_oversizePages;
};

} // namespace Converter
