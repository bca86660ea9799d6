#include "core/network/TransferLimits.h"

namespace Network {

TransferLimits TransferLimits::reply()
{
    return {8ull << 20, 1, 30, 60};
}

TransferLimits TransferLimits::picture()
{
    return {8ull << 20, 64, 30, 120};
}

TransferLimits TransferLimits::download(std::uint64_t announcedSize)
{
    const bool announced = announcedSize > 0 && announcedSize <= kMaxDownloadBytes;
    // A slow line may take long for the whole program, but not stand still for a minute.
    return {announced ? announcedSize : kMaxDownloadBytes, 512, 60, 3 * 3600};
}

} // namespace Network
