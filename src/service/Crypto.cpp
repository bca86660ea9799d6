#include "Crypto.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <stdexcept>
#include <vector>

namespace {

constexpr int kIterations = 20000;

std::string toHex(const unsigned char* data, size_t size)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

std::vector<unsigned char> randomBytes(int count)
{
    std::vector<unsigned char> bytes(static_cast<size_t>(count));
    if (RAND_bytes(bytes.data(), count) != 1)
        throw std::runtime_error("no random bytes available");
    return bytes;
}

std::string pbkdf2(std::string_view password, const std::string& saltHex, int iterations)
{
    unsigned char out[32];
    if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()),
                          reinterpret_cast<const unsigned char*>(saltHex.data()),
                          static_cast<int>(saltHex.size()), iterations, EVP_sha256(), sizeof out,
                          out) != 1)
        throw std::runtime_error("password hashing failed");
    return toHex(out, sizeof out);
}

} // namespace

std::string Crypto::sha256Hex(std::string_view bytes)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1)
        throw std::runtime_error("SHA-256 failed");
    return toHex(digest, length);
}

std::string Crypto::randomHex(int byteCount)
{
    const auto bytes = randomBytes(byteCount);
    return toHex(bytes.data(), bytes.size());
}

std::string Crypto::randomDigits(int count)
{
    std::string out;
    while (static_cast<int>(out.size()) < count) {
        for (unsigned char b : randomBytes(count)) {
            if (b < 250 && static_cast<int>(out.size()) < count) // 250 = 25 × 10: no bias
                out += static_cast<char>('0' + b % 10);
        }
    }
    return out;
}

std::string Crypto::hashPassword(std::string_view password)
{
    const std::string salt = randomHex(16);
    return "pbkdf2-sha256$" + std::to_string(kIterations) + "$" + salt + "$" +
           pbkdf2(password, salt, kIterations);
}

bool Crypto::verifyPassword(std::string_view password, const std::string& stored)
{
    const size_t a = stored.find('$');
    const size_t b = a == std::string::npos ? a : stored.find('$', a + 1);
    const size_t c = b == std::string::npos ? b : stored.find('$', b + 1);
    if (c == std::string::npos || stored.compare(0, a, "pbkdf2-sha256") != 0)
        return false;
    int iterations = 0;
    try {
        iterations = std::stoi(stored.substr(a + 1, b - a - 1));
    } catch (const std::exception&) {
        return false;
    }
    if (iterations <= 0)
        return false;
    const std::string expected = stored.substr(c + 1);
    const std::string actual = pbkdf2(password, stored.substr(b + 1, c - b - 1), iterations);
    return expected.size() == actual.size() &&
           CRYPTO_memcmp(expected.data(), actual.data(), actual.size()) == 0;
}
