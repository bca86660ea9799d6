#include "core/converter/CompressToolRunner.h"

#include "core/converter/SiblingProgram.h"

#include <charconv>

namespace Converter {

namespace {

bool number(std::string_view text, int& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

} // namespace

std::wstring CompressToolRunner::programPath()
{
    return SiblingProgram::find(L"korvex-compress", KORVEX_COMPRESS_PATH);
}

ChildProcess::Result CompressToolRunner::run(CompressionLevel level, const std::wstring& input,
                                             const std::wstring& output, ProcessSlot* slot, const Progress& progress)
{
    ChildProcess::Options options;
    options.onOutputLine = [&](std::string_view line) {
        int done = 0, count = 0;
        if (progress && readPageLine(line, done, count))
            progress(done, count);
    };
    const std::string name = compressionLevelName(level);
    return SiblingProgram::run(programPath(), {std::wstring(name.begin(), name.end()), input, output}, slot, options);
}

bool CompressToolRunner::readPageLine(std::string_view line, int& done, int& count)
{
    constexpr std::string_view prefix = "page\t";
    if (line.substr(0, prefix.size()) != prefix)
        return false;
    line.remove_prefix(prefix.size());
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos)
        return false;
    return number(line.substr(0, tab), done) && number(line.substr(tab + 1), count) && done >= 1 && done <= count;
}

} // namespace Converter
