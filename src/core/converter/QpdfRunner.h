#pragma once
// Runs the qpdf program: the one next to our executable when there is one, else the one this
// build was configured with.

#include "core/converter/ChildProcess.h"

#include <string>
#include <vector>

namespace Converter {

class QpdfRunner {
public:
    // Exit codes of qpdf that mean the job was done (3: done, with warnings).
    static bool isSuccessCode(int exitCode) { return exitCode == 0 || exitCode == 3; }

    // Looked up anew for every command, so a qpdf dropped next to the program is used at once.
    static std::wstring programPath();

    static ChildProcess::Result run(const std::vector<std::wstring>& args, ProcessSlot* slot,
                                    const ChildProcess::Options& options = {});
};

} // namespace Converter
