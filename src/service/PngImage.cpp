#include "PngImage.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

namespace {

void putUint32(std::string& out, std::uint32_t value)
{
    out += static_cast<char>(value >> 24);
    out += static_cast<char>(value >> 16);
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value);
}

void putChunk(std::string& out, const char type[4], const std::string& data)
{
    putUint32(out, static_cast<std::uint32_t>(data.size()));
    const std::string body = std::string(type, 4) + data;
    out += body;
    putUint32(out, static_cast<std::uint32_t>(
                       crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

} // namespace

PngImage::PngImage(int width, int height, std::uint32_t background)
    : m_width(std::max(1, width)), m_height(std::max(1, height)),
      m_pixels(static_cast<size_t>(m_width) * m_height * 3)
{
    fillRect(0, 0, m_width, m_height, background);
}

void PngImage::fillRect(int x, int y, int w, int h, std::uint32_t rgb)
{
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(m_width, x + w), y1 = std::min(m_height, y + h);
    for (int row = y0; row < y1; ++row) {
        for (int col = x0; col < x1; ++col) {
            std::uint8_t* p = &m_pixels[(static_cast<size_t>(row) * m_width + col) * 3];
            p[0] = static_cast<std::uint8_t>(rgb >> 16);
            p[1] = static_cast<std::uint8_t>(rgb >> 8);
            p[2] = static_cast<std::uint8_t>(rgb);
        }
    }
}

std::string PngImage::encode() const
{
    // Each row starts with filter type 0 (none).
    std::string raw;
    raw.reserve(static_cast<size_t>(m_height) * (m_width * 3 + 1));
    for (int row = 0; row < m_height; ++row) {
        raw += '\0';
        raw.append(reinterpret_cast<const char*>(&m_pixels[static_cast<size_t>(row) * m_width * 3]),
                   static_cast<size_t>(m_width) * 3);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                  reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("PNG compression failed");
    packed.resize(packedSize);

    std::string header;
    putUint32(header, static_cast<std::uint32_t>(m_width));
    putUint32(header, static_cast<std::uint32_t>(m_height));
    header += '\x08'; // 8 bits per sample
    header += '\x02'; // RGB
    header += std::string(3, '\0'); // deflate, adaptive filtering, no interlace

    std::string out("\x89PNG\r\n\x1a\n", 8);
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", packed);
    putChunk(out, "IEND", std::string());
    return out;
}
