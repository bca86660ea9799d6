#pragma once
// Runs korvex-pages, our child program for page work that needs one load of a PDF with its
// bookmarks: the one next to our executable, else the one this build wrote. A job that
// cannot find it keeps to the qpdf command lines.

#include "core/converter/ChildProcess.h"

#include <string>
#include <vector>

namespace Converter {

class PageToolRunner {
public:
    // Exit code of a split by bookmarks of a document that has none of the asked level.
    static constexpr int kNoBookmarks = 4;

    // Empty when there is none.
    static std::wstring programPath();
    static bool available() { return !programPath().empty(); }

    static ChildProcess::Result run(const std::vector<std::wstring>& args, ProcessSlot* slot,
                                    const ChildProcess::Options& options = {});
};

} // namespace Converter
