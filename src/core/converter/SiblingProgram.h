#pragma once
// Finds and runs one of our child programs: the one next to our executable, else the one this
// build wrote.

#include "core/converter/ChildProcess.h"

#include <string>
#include <vector>

namespace Converter {

class SiblingProgram {
public:
    // Empty when neither is there.
    static std::wstring find(const std::wstring& name, const char* builtPath);

    // A missing program gives a result that did not start (ENOENT).
    static ChildProcess::Result run(const std::wstring& program, const std::vector<std::wstring>& args,
                                    ProcessSlot* slot, const ChildProcess::Options& options);
};

} // namespace Converter
