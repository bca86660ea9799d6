#include "HugePageHeap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sys/stat.h>

namespace HugePageHeap {

namespace {

// The page program's heap is jemalloc's, which reads its options from this variable.
constexpr const char* kOptions = "MALLOC_CONF";
constexpr const char* kSwitch = "thp";
// Measured: a loaded document takes about 125 KiB of heap whatever its size, and then 16 to 30
// bytes for each byte of the file (its objects parsed, copied and written again).
constexpr std::uintmax_t kPerDocument = 128 << 10;
constexpr std::uintmax_t kPerFileByte = 16;
// From here on the 2 MiB a huge page may leave untouched is an eighth of the heap or less.
constexpr std::uintmax_t kWorthFrom = std::uintmax_t(16) << 20;

// Whether the options ("name:value,...") set the switch; "metadata_thp" is another one.
bool setIn(const std::string& options)
{
    const std::string wanted = std::string(kSwitch) + ":";
    for (std::size_t at = 0; at <= options.size();) {
        const std::size_t end = std::min(options.find(',', at), options.size());
        if (options.compare(at, wanted.size(), wanted) == 0)
            return true;
        at = end + 1;
    }
    return false;
}

} // namespace

bool worthFor(const std::vector<std::string>& inputs)
{
    std::uintmax_t expected = 0;
    for (const std::string& input : inputs) {
        struct stat info {};
        // A file that cannot be read fails the run anyway.
        if (::stat(input.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            const auto bytes = static_cast<std::uintmax_t>(info.st_size);
            if (bytes >= kWorthFrom / kPerFileByte)
                return true;
            expected += kPerFileByte * bytes;
        }
        expected += kPerDocument;
        if (expected >= kWorthFrom)
            return true;
    }
    return false;
}

bool switchSet()
{
    const char* options = std::getenv(kOptions);
    return options && setIn(options);
}

} // namespace HugePageHeap
