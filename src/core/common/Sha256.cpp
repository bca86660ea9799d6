#include "core/common/Sha256.h"

#include <openssl/evp.h>

#include <cctype>

namespace Utils {

std::string sha256Hex(std::string_view bytes)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1)
        return {};
    return hexDigest(digest, length);
}

std::string hexDigest(const unsigned char* digest, unsigned int length)
{
    static const char* const kHex = "0123456789abcdef";
    std::string hex;
    hex.reserve(length * 2);
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 0x0f];
    }
    return hex;
}

bool sha256Matches(std::string_view bytes, const std::string& expectedHex)
{
    return digestMatches(sha256Hex(bytes), expectedHex);
}

bool digestMatches(const std::string& actual, const std::string& expectedHex)
{
    if (expectedHex.size() != 64)
        return false;
    std::string expected;
    for (const char c : expectedHex) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
        expected += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return !actual.empty() && actual == expected;
}

} // namespace Utils
