#include "core/converter/PageToolRunner.h"

#include "core/converter/SiblingProgram.h"

namespace Converter {

std::wstring PageToolRunner::programPath()
{
    return SiblingProgram::find(L"korvex-pages", KORVEX_PAGES_PATH);
}

ChildProcess::Result PageToolRunner::run(const std::vector<std::wstring>& args, ProcessSlot* slot,
                                         const ChildProcess::Options& options)
{
    return SiblingProgram::run(programPath(), args, slot, options);
}

} // namespace Converter
