#include "PngInfo.h"

namespace {

unsigned readUint32(const std::string& s, size_t at)
{
    return (static_cast<unsigned char>(s[at]) << 24) | (static_cast<unsigned char>(s[at + 1]) << 16) |
           (static_cast<unsigned char>(s[at + 2]) << 8) | static_cast<unsigned char>(s[at + 3]);
}

} // namespace

PngInfo PngInfo::read(const std::string& bytes)
{
    PngInfo info;
    const std::string signature("\x89PNG\r\n\x1a\n", 8);
    if (bytes.size() < 8 + 25 + 12 || bytes.compare(0, 8, signature) != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return info;
    if (bytes.compare(bytes.size() - 8, 4, "IEND") != 0)
        return info;
    info.width = static_cast<int>(readUint32(bytes, 16));
    info.height = static_cast<int>(readUint32(bytes, 20));
    info.valid = true;
    return info;
}
