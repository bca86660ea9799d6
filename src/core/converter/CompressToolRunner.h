#pragma once
// Runs korvex-compress, our child program for the compression levels beyond qpdf's stream
// compression, and reads its progress: "page\t<n>\t<count>" lines as pages are done.

#include "core/converter/ChildProcess.h"
#include "core/converter/CompressionLevel.h"

#include <functional>
#include <string>
#include <string_view>

namespace Converter {

class CompressToolRunner {
public:
    // (pages done, page count)
    using Progress = std::function<void(int done, int count)>;

    // Empty when there is none.
    static std::wstring programPath();

    static ChildProcess::Result run(CompressionLevel level, const std::wstring& input, const std::wstring& output,
                                    ProcessSlot* slot, const Progress& progress);

    // The page line's numbers; false for any other line or numbers that do not make sense.
    static bool readPageLine(std::string_view line, int& done, int& count);
};

} // namespace Converter
