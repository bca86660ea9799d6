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
    if (options.memoryLimit != 0 || kMemoryLimit == 0)
        return SiblingProgram::run(programPath(), args, slot, options);
    ChildProcess::Options limited = options;
    limited.memoryLimit = kMemoryLimit;
    return SiblingProgram::run(programPath(), args, slot, limited);
}

} // namespace Converter
