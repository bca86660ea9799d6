#include "PictureFactory.h"

#include "Crypto.h"
#include "PngImage.h"

#include <cstdint>

namespace {

// An endless stream of pseudo-random bits derived from the seed.
class SeedBits {
public:
    explicit SeedBits(const std::string& seed) : m_seed(seed) {}

    bool next()
    {
        if (m_bit >= m_pool.size() * 4) {
            m_pool = Crypto::sha256Hex(m_seed + "#" + std::to_string(m_round++));
            m_bit = 0;
        }
        const char c = m_pool[m_bit / 4];
        const int nibble = c <= '9' ? c - '0' : c - 'a' + 10;
        return (nibble >> (m_bit++ % 4)) & 1;
    }

    std::uint32_t colour()
    {
        std::uint32_t rgb = 0;
        for (int i = 0; i < 24; ++i)
            rgb = (rgb << 1) | (next() ? 1u : 0u);
        return rgb & 0x7F7F7F; // dark enough to show on white
    }

private:
    std::string m_seed;
    std::string m_pool;
    size_t m_bit = 0;
    int m_round = 0;
};

void finder(PngImage& image, int x, int y, int module)
{
    image.fillRect(x, y, 7 * module, 7 * module, 0x000000);
    image.fillRect(x + module, y + module, 5 * module, 5 * module, 0xFFFFFF);
    image.fillRect(x + 2 * module, y + 2 * module, 3 * module, 3 * module, 0x000000);
}

} // namespace

std::string PictureFactory::qrCode(const std::string& seed)
{
    constexpr int modules = 25, module = 6, margin = (164 - modules * module) / 2;
    PngImage image(164, 164);
    SeedBits bits(seed);
    for (int row = 0; row < modules; ++row) {
        for (int col = 0; col < modules; ++col) {
            if (bits.next())
                image.fillRect(margin + col * module, margin + row * module, module, module, 0x000000);
        }
    }
    for (auto [cx, cy] : {std::pair{0, 0}, std::pair{modules - 7, 0}, std::pair{0, modules - 7}}) {
        image.fillRect(margin + cx * module - module, margin + cy * module - module, 9 * module,
                       9 * module, 0xFFFFFF);
        finder(image, margin + cx * module, margin + cy * module, module);
    }
    return image.encode();
}

std::string PictureFactory::avatar(const std::string& seed)
{
    constexpr int cells = 6, cell = 16;
    PngImage image(96, 96, 0xF0F0F0);
    SeedBits bits(seed);
    const std::uint32_t colour = bits.colour();
    for (int row = 0; row < cells; ++row) {
        for (int col = 0; col < cells / 2; ++col) {
            if (bits.next()) {
                image.fillRect(col * cell, row * cell, cell, cell, colour);
                image.fillRect((cells - 1 - col) * cell, row * cell, cell, cell, colour);
            }
        }
    }
    return image.encode();
}

std::string PictureFactory::banner(const std::string& seed)
{
    PngImage image(300, 80);
    SeedBits bits(seed);
    for (int stripe = 0; stripe < 6; ++stripe)
        image.fillRect(stripe * 50, 0, 50, 80, bits.colour() | 0x404040);
    return image.encode();
}
