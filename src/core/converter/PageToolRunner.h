#pragma once
// Runs korvex-pages, our child program for page work that needs one load of a PDF with its
// bookmarks: the one next to our executable, else the one this build wrote. A job that
// cannot find it keeps to the qpdf command lines.

#include "core/converter/ChildProcess.h"

#include <cstddef>
#include <string>
#include <vector>

namespace Converter {

class PageToolRunner {
public:
    // Exit code of a split by bookmarks of a document that has none of the asked level.
    static constexpr int kNoBookmarks = 4;

    // Address space the page program may take: far above what real books need (a 2,415-page
    // manual takes a few hundred MB), so a file built to exhaust memory fails there instead of
    // taking the machine down. None in sanitizer builds, whose shadow memory reserves terabytes.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    static constexpr std::size_t kMemoryLimit = 0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
    static constexpr std::size_t kMemoryLimit = 0;
#else
    static constexpr std::size_t kMemoryLimit = std::size_t(4) << 30;
#endif
#else
    static constexpr std::size_t kMemoryLimit = std::size_t(4) << 30;
#endif

    // Empty when there is none.
    static std::wstring programPath();
    static bool available() { return !programPath().empty(); }

    // The child runs under kMemoryLimit unless options give a limit of their own.
    static ChildProcess::Result run(const std::vector<std::wstring>& args, ProcessSlot* slot,
                                    const ChildProcess::Options& options = {});

    // The first page of each bookmark of that level, in bookmark order; empty when the file has
    // none or cannot be read.
    static std::vector<int> bookmarkStarts(const std::wstring& pdf, int level, ProcessSlot* slot = nullptr);
};

} // namespace Converter
