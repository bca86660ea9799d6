#include "core/converter/QpdfRunner.h"

#include "core/common/Utils.h"
#include "core/converter/SiblingProgram.h"
#include "core/platform/DebugLog.h"

namespace Converter {

std::wstring QpdfRunner::programPath()
{
    // Debian's qpdf unless one lies beside us.
    if (std::wstring beside = SiblingProgram::beside(L"qpdf"); !beside.empty())
        return beside;
    return Utils::utf8ToWide(KORVEX_QPDF_PATH);
}

ChildProcess::Result QpdfRunner::run(const std::vector<std::wstring>& args, ProcessSlot* slot,
                                     const ChildProcess::Options& options)
{
    const std::string program = Utils::wideToUtf8(programPath());
    std::vector<std::string> narrow;
    narrow.reserve(args.size());
    std::string trace = "qpdf:";
    for (const std::wstring& arg : args) {
        narrow.push_back(Utils::wideToUtf8(arg));
        trace += " [" + narrow.back() + "]";
    }
    Platform::debugLog(trace + "\n");
    ChildProcess::Result result = ChildProcess::run(program, narrow, slot, options);
    if (!result.started)
        Platform::debugLog("qpdf: cannot start " + program + "\n");
    return result;
}

} // namespace Converter
