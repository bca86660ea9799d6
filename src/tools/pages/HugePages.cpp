#include "HugePages.h"

#include "core/converter/HugePageHeap.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace HugePages {

void restartWithThem(char** argv)
{
    const std::optional<std::string> options = HugePageHeap::options(true);
    if (!options)
        return;
    const std::string name = options->substr(0, options->find('='));
    const char* had = std::getenv(name.c_str());
    const std::string before = had ? had : "";
    if (::setenv(name.c_str(), options->substr(name.size() + 1).c_str(), 1) != 0)
        return;
    ::execv("/proc/self/exe", argv);
    // Without /proc the run goes on as it is, without them; what the caller had stays.
    if (had)
        ::setenv(name.c_str(), before.c_str(), 1);
    else
        ::unsetenv(name.c_str());
}

} // namespace HugePages
