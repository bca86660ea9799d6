#include "core/converter/PageToolRunner.h"

#include "core/converter/SiblingProgram.h"

#include <charconv>
#include <string_view>

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

std::vector<int> PageToolRunner::bookmarkStarts(const std::wstring& pdf, int level, ProcessSlot* slot)
{
    std::vector<int> starts;
    ChildProcess::Options options;
    options.onOutputLine = [&starts](std::string_view line) {
        int page = 0;
        const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), page);
        if (error == std::errc() && end == line.data() + line.size() && page >= 1)
            starts.push_back(page);
    };
    const ChildProcess::Result result = run({L"starts", pdf, std::to_wstring(level)}, slot, options);
    if (result.exitCode != 0 && result.exitCode != 3)
        starts.clear();
    return starts;
}

} // namespace Converter
