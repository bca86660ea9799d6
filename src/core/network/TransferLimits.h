#pragma once
// How much and how slowly one transfer may arrive. Every reply is bounded: a service or a link
// that sends without end, or trickles, ends the transfer with an error instead of filling the
// memory or holding a thread for ever.

#include <cstdint>

namespace Network {

struct TransferLimits {
    std::uint64_t maxBytes;   // the body may not be longer (an announced longer one is refused)
    long lowSpeedBytes;       // slower than this many bytes a second ...
    long lowSpeedSeconds;     // ... for this many seconds ends the transfer (0: no such check)
    long totalSeconds;        // the whole transfer, connecting included (0: no limit)

    // JSON replies of the service.
    static TransferLimits reply();
    // QR codes, avatars and advertisement pictures.
    static TransferLimits picture();
    // The updater: the size the offer announced (exactly that much may arrive), else at most
    // kMaxDownloadBytes.
    static TransferLimits download(std::uint64_t announcedSize);

    static constexpr std::uint64_t kMaxDownloadBytes = 512ull << 20;
};

} // namespace Network
