#include "core/converter/PageToolRunner.h"

#include "core/common/Utils.h"
#include "core/platform/DebugLog.h"

#include <cerrno>
#include <unistd.h>

namespace Converter {

std::wstring PageToolRunner::programPath()
{
    if (std::wstring beside = Utils::programBesideExecutable(L"korvex-pages"); !beside.empty())
        return beside;
    if (::access(KORVEX_PAGES_PATH, X_OK) == 0)
        return Utils::utf8ToWide(KORVEX_PAGES_PATH);
    return {};
}

ChildProcess::Result PageToolRunner::run(const std::vector<std::wstring>& args, ProcessSlot* slot,
                                         const ChildProcess::Options& options)
{
    const std::string program = Utils::wideToUtf8(programPath());
    if (program.empty()) {
        ChildProcess::Result missing;
        missing.startError = ENOENT;
        return missing;
    }
    std::vector<std::string> narrow;
    narrow.reserve(args.size());
    for (const std::wstring& arg : args)
        narrow.push_back(Utils::wideToUtf8(arg));
    Platform::debugLog("korvex-pages: " + (narrow.empty() ? std::string() : narrow.front()) + "\n");
    return ChildProcess::run(program, narrow, slot, options);
}

} // namespace Converter
