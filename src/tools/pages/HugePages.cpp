#include "HugePages.h"

#include "core/converter/HugePageHeap.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace HugePages {

void restartWithThem(char** argv)
{
    const std::optional<std::string> tunables = HugePageHeap::tunables(true);
    if (!tunables)
        return;
    const char* had = std::getenv("GLIBC_TUNABLES");
    const std::string before = had ? had : "";
    if (::setenv("GLIBC_TUNABLES", tunables->substr(tunables->find('=') + 1).c_str(), 1) != 0)
        return;
    ::execv("/proc/self/exe", argv);
    // Without /proc the run goes on as it is, without them; what the caller had stays.
    if (had)
        ::setenv("GLIBC_TUNABLES", before.c_str(), 1);
    else
        ::unsetenv("GLIBC_TUNABLES");
}

} // namespace HugePages
