#include "core/converter/SiblingProgram.h"

#include "core/common/Utils.h"
#include "core/platform/DebugLog.h"

#include <cerrno>
#include <unistd.h>

namespace Converter {

std::wstring SiblingProgram::beside(const std::wstring& name)
{
    const std::wstring folder = Utils::getModuleDirectory();
    if (folder.empty())
        return {};
    const std::wstring path = folder + name;
    return ::access(Utils::wideToUtf8(path).c_str(), X_OK) == 0 ? path : std::wstring();
}

std::wstring SiblingProgram::find(const std::wstring& name, const char* builtPath)
{
    if (std::wstring path = beside(name); !path.empty())
        return path;
    if (::access(builtPath, X_OK) == 0)
        return Utils::utf8ToWide(builtPath);
    return {};
}

ChildProcess::Result SiblingProgram::run(const std::wstring& program, const std::vector<std::wstring>& args,
                                         ProcessSlot* slot, const ChildProcess::Options& options)
{
    if (program.empty()) {
        ChildProcess::Result missing;
        missing.startError = ENOENT;
        return missing;
    }
    std::vector<std::string> narrow;
    narrow.reserve(args.size());
    for (const std::wstring& arg : args)
        narrow.push_back(Utils::wideToUtf8(arg));
    const std::string path = Utils::wideToUtf8(program);
    Platform::debugLog(path + ": " + (narrow.empty() ? std::string() : narrow.front()) + "\n");
    return ChildProcess::run(path, narrow, slot, options);
}

} // namespace Converter
