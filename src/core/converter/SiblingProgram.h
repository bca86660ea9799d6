#pragma once
// Finds and runs one of our child programs: the one next to our executable, else the one this
// build wrote.

#include "core/converter/ChildProcess.h"

#include <string>
#include <vector>

namespace Converter {

class SiblingProgram {
public:
    // The program of that name in the folder of our executable, when it is there and may be
    // run; empty otherwise. The one place that looks there, for qpdf too.
    static std::wstring beside(const std::wstring& name);
    // The one beside us, else the one this build wrote; empty when neither is there.
    static std::wstring find(const std::wstring& name, const char* builtPath);

    // A missing program gives a result that did not start (ENOENT).
    static ChildProcess::Result run(const std::wstring& program, const std::vector<std::wstring>& args,
                                    ProcessSlot* slot, const ChildProcess::Options& options);
};

} // namespace Converter
