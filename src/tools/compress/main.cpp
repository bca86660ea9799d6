// korvex-compress: compresses one PDF at one level, a child program of the engine.
//
//   korvex-compress lossless|balanced|strong INPUT OUTPUT
//
// Prints "page\t<n>\t<count>" as each page is done and, at the end, "kept\t<what>": "level"
// (the level's result), "lossless" or "copy" (the input as it was), whichever was smaller
// than the input. Exit codes as qpdf's: 0 done, 3 done with warnings, 2 failed.
// The program limits its own address space, so a file that asks for more memory than that
// fails this run only.

#include "CompressDriver.h"
#include "tools/common/OutOfMemory.h"

#include <cstdio>
#include <exception>
#include <string>
#include <sys/resource.h>

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 2;
constexpr int kWarnings = 3;
constexpr rlim_t kAddressSpace = rlim_t(4) << 30;

void limitMemory()
{
    // Sanitizer builds reserve far more address space than they use.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
    return;
#endif
#endif
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > kAddressSpace)) {
        limit.rlim_cur = kAddressSpace;
        ::setrlimit(RLIMIT_AS, &limit);
    }
#endif
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: korvex-compress lossless|balanced|strong INPUT OUTPUT\n");
        return kFailed;
    }
    const std::string level = argv[1];
    CompressDriver::Level parsed;
    if (level == "lossless")
        parsed = CompressDriver::Level::Lossless;
    else if (level == "balanced")
        parsed = CompressDriver::Level::Balanced;
    else if (level == "strong")
        parsed = CompressDriver::Level::Strong;
    else {
        std::fprintf(stderr, "korvex-compress: unknown level %s\n", argv[1]);
        return kFailed;
    }
    limitMemory();
    OutOfMemory::endProgramOnIt("korvex-compress: out of memory", kFailed);
    try {
        const CompressDriver::Outcome outcome = CompressDriver(parsed, argv[2], argv[3]).run();
        std::printf("kept\t%s\n", outcome.kept.c_str());
        return outcome.warnings ? kWarnings : kDone;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "korvex-compress: out of memory\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvex-compress: %s\n", e.what());
    }
    return kFailed;
}
