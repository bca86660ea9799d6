// Installs the crash handler, puts a "decrypted copy" into the private folder, prints the
// folder, then faults ("segv") or waits to be killed ("wait").

#include "core/common/Utils.h"
#include "core/converter/PrivateTempFolder.h"
#include "core/crash/CrashHandler.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <unistd.h>

namespace {
volatile int* g_null = nullptr;
}

int main(int argc, char** argv)
{
    CrashHandler::install();
    auto& folder = Converter::PrivateTempFolder::instance();
    const std::wstring copy = folder.newCopyPath(L"secret.pdf");
    std::ofstream(Utils::toFsPath(copy)) << "%PDF-1.7 decrypted\n";
    std::printf("%s\n", Utils::wideToUtf8(folder.folder()).c_str());
    std::fflush(stdout);
    if (argc > 1 && std::strcmp(argv[1], "wait") == 0) {
        for (;;)
            ::pause();
    }
    return *g_null;
}
